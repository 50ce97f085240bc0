#include "app/Win32Clipboard.h"

#include <cstring>
#include <new>

namespace {

std::string CopyUpToNul(const char* bytes, size_t size) noexcept {
    try {
        return std::string(bytes, strnlen(bytes, size));
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace

std::string TextOfGlobalBlock(HGLOBAL block) {
    const auto* bytes = static_cast<const char*>(GlobalLock(block));
    if (bytes == nullptr) {
        return {};
    }
    std::string text = CopyUpToNul(bytes, GlobalSize(block));
    GlobalUnlock(block);
    return text;
}

std::string Win32Clipboard::GetClipboardText() {
    if (!IsClipboardFormatAvailable(CF_TEXT)) {
        return {};
    }
    if (!OpenClipboard(owner_)) {
        return {};  // another program holds it
    }
    HANDLE data = GetClipboardData(CF_TEXT);
    std::string text = data == nullptr ? std::string() : TextOfGlobalBlock(data);
    CloseClipboard();
    return text;
}
