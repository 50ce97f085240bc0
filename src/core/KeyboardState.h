#pragma once

// The keyboard as it is at this moment, not as the message queue last saw it.
class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    // Either Ctrl key.
    virtual bool IsCtrlDown() = 0;
};
