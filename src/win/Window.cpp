#include "win/Window.h"

#include <vector>

std::string Window::GetText() const {
    const int length = GetWindowTextLengthA(hwnd_);
    if (length <= 0) {
        return {};
    }
    std::vector<char> text(static_cast<size_t>(length) + 1);
    const int copied = GetWindowTextA(hwnd_, text.data(), length + 1);
    return std::string(text.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}
