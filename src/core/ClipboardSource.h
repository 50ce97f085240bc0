#pragma once

#include <cstdint>
#include <string>

// The clipboard's 8-bit text at this moment.
class ClipboardSource {
public:
    virtual ~ClipboardSource() = default;
    // Empty when the clipboard holds no text, holds only other formats, or cannot be opened
    // because another program has it.
    virtual std::string GetClipboardText() = 0;
    // Changes whenever the clipboard's contents change; compare for inequality only.
    virtual uint32_t SequenceNumber() = 0;
};
