#pragma once

#include <windows.h>

#include "core/ClipboardSource.h"

// CF_TEXT from the system clipboard, opened on behalf of the owner window (none until the main
// window exists) only for the length of one read.
class Win32Clipboard : public ClipboardSource {
public:
    explicit Win32Clipboard(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    std::string GetClipboardText() override;
    uint32_t SequenceNumber() override { return GetClipboardSequenceNumber(); }

private:
    HWND owner_;
};

// The 8-bit text in a global memory block: up to its first NUL, and never past the block's end,
// since another program's CF_TEXT need not hold a NUL. Empty when the block cannot be locked.
std::string TextOfGlobalBlock(HGLOBAL block);
