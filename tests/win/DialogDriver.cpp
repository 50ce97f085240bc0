#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

constexpr UINT kPollMs = 10;
constexpr int kMessageBoxText = 0xFFFF;

struct Armed {
    std::function<HWND()> find;
    std::function<void(Window)> run;
};
std::vector<Armed> armed;  // the innermost last

// Owned by `owner` (any when null); the program's dialogs, unlike a box, set GWLP_USERDATA.
HWND FindMessageBox(HWND owner) {
    HWND box = nullptr;
    while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
        if (IsWindowVisible(box) && GetWindowLongPtrA(box, GWLP_USERDATA) == 0 &&
            (owner == nullptr || GetWindow(box, GW_OWNER) == owner)) {
            return box;
        }
    }
    return nullptr;
}

void CALLBACK OnPoll(HWND, UINT, UINT_PTR, DWORD) {
    const HWND window = armed.empty() ? nullptr : armed.back().find();
    if (window != nullptr && IsWindowVisible(window)) {
        const auto run = std::move(armed.back().run);
        armed.pop_back();
        run(Window(window));
    } else if (const HWND box = FindMessageBox(nullptr)) {
        ADD_FAILURE() << "unexpected message box: " << Window(box).GetItemText(kMessageBoxText);
        SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
    }
}

void WhileArmed(std::function<HWND()> find, std::function<void(Window)> run,
                const std::function<void()>& action) {
    [[maybe_unused]] static const UINT_PTR poll = SetTimer(nullptr, 0, kPollMs, OnPoll);
    armed.push_back({std::move(find), std::move(run)});
    const size_t depth = armed.size();
    action();
    if (armed.size() == depth) {
        armed.pop_back();
    }
}

}  // namespace

INT_PTR WithScript(std::function<HWND()> find, std::function<void(Window)> script,
                   const std::function<INT_PTR()>& action) {
    const auto thenCancel = [script = std::move(script)](Window dialog) {
        script(dialog);
        if (IsWindowVisible(dialog)) {
            dialog.Send(WM_COMMAND, IDCANCEL);
        }
    };
    INT_PTR result = 0;
    WhileArmed(std::move(find), thenCancel, [&] { result = action(); });
    return result;
}

void AnswerUnderQuit(HWND owner, int answer, const std::function<void()>& action) {
    const auto quitAndAnswer = [answer](Window box) {
        PostQuitMessage(0);
        Click(box, answer);
    };
    WhileArmed([owner] { return FindMessageBox(owner); }, quitAndAnswer, action);
}

MessageBoxContents ClickAndAnswer(Window dialog, int button, int answer) {
    MessageBoxContents box;
    const auto readAndAnswer = [&](Window found) {
        box = {found.GetText(), found.GetItemText(kMessageBoxText)};
        Click(found, answer);
    };
    WhileArmed([dialog] { return FindMessageBox(dialog); }, readAndAnswer,
               [&] { Click(dialog, button); });
    return box;
}
