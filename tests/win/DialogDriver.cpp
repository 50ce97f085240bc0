#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace {

constexpr UINT kPollMs = 10;
constexpr UINT kWatchdogPollMs = 100;
constexpr DWORD kUnansweredBoxMs = 1000;

struct PendingScript {
    std::function<HWND()> find;
    std::function<void(Window)> script;
};

std::map<UINT_PTR, PendingScript>& PendingScripts() {
    static std::map<UINT_PTR, PendingScript> scripts;
    return scripts;
}

void CALLBACK OnScriptTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto pending = PendingScripts().find(id);
    if (pending == PendingScripts().end()) {
        KillTimer(nullptr, id);
        return;
    }
    const HWND window = pending->second.find();
    if (window == nullptr || !IsWindowVisible(window)) {
        return;
    }
    KillTimer(nullptr, id);
    PendingScript script = std::move(pending->second);
    PendingScripts().erase(pending);
    script.script(Window(window));
}

UINT_PTR Arm(std::function<HWND()> find, std::function<void(Window)> script) {
    const UINT_PTR id = SetTimer(nullptr, 0, kPollMs, OnScriptTimer);
    PendingScripts()[id] = {std::move(find), std::move(script)};
    return id;
}

void Disarm(UINT_PTR id) {
    KillTimer(nullptr, id);
    PendingScripts().erase(id);
}

std::string ClassName(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// Dialogs of the program carry their object in GWLP_USERDATA; a message box carries nothing.
bool IsMessageBox(HWND window) {
    return GetWindowLongPtrA(window, GWLP_USERDATA) == 0;
}

struct DialogQuery {
    const std::string* title;  // any title when null
    const HWND* owner;         // any owner when null
    bool messageBoxOnly;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
    auto& query = *reinterpret_cast<DialogQuery*>(parameter);
    if (!IsWindowVisible(window) || ClassName(window) != "#32770" ||
        (query.owner != nullptr && GetWindow(window, GW_OWNER) != *query.owner) ||
        (query.messageBoxOnly && !IsMessageBox(window)) ||
        (query.title != nullptr && Window(window).GetText() != *query.title)) {
        return TRUE;
    }
    query.found = window;
    return FALSE;
}

HWND FindThreadDialog(const std::string* title, const HWND* owner, bool messageBoxOnly) {
    DialogQuery query{title, owner, messageBoxOnly, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM parameter) {
    auto& contents = *reinterpret_cast<MessageBoxContents*>(parameter);
    const std::string className = ClassName(child);
    if (className == "Button") {
        contents.buttons.push_back(GetDlgCtrlID(child));
    } else if (className == "Static" && contents.text.empty()) {
        contents.text = Window(child).GetText();
    }
    return TRUE;
}

MessageBoxContents ReadMessageBox(Window box) {
    MessageBoxContents contents{box.GetText(), {}, {}};
    EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&contents));
    return contents;
}

// Fails the test on a message box that stays unanswered.
std::map<HWND, DWORD> boxesFirstSeen;

void CALLBACK OnWatchdogTimer(HWND, UINT, UINT_PTR, DWORD) {
    const HWND box = FindThreadDialog(nullptr, nullptr, true);
    if (box == nullptr) {
        return;
    }
    const DWORD now = GetTickCount();
    const DWORD first = boxesFirstSeen.emplace(box, now).first->second;
    if (now - first < kUnansweredBoxMs) {
        return;
    }
    ADD_FAILURE() << "unanswered message box: " << ReadMessageBox(Window(box)).text;
    SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
}

std::function<void(Window)> ClosingScript(std::function<void(Window)> script) {
    return [script = std::move(script)](Window dialog) {
        script(dialog);
        if (IsWindowVisible(dialog)) {
            ADD_FAILURE() << "the script left the dialog open";
            EndDialog(dialog, kLeftOpen);
        }
    };
}

}  // namespace

INT_PTR RunModal(Dialog& dialog, std::function<void(Window)> script) {
    const UINT_PTR scriptTimer =
        Arm([&dialog] { return dialog.Handle(); }, ClosingScript(std::move(script)));
    const UnansweredBoxWatchdog watchdog;
    const INT_PTR result = dialog.DoModal(nullptr);
    Disarm(scriptTimer);
    return result;
}

UnansweredBoxWatchdog::UnansweredBoxWatchdog()
    : timer_(SetTimer(nullptr, 0, kWatchdogPollMs, OnWatchdogTimer)) {}

UnansweredBoxWatchdog::~UnansweredBoxWatchdog() {
    KillTimer(nullptr, timer_);
    boxesFirstSeen.clear();
}

bool PumpUntil(Window dialog, const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(dialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
    }
    return true;
}

DialogScript::DialogScript(const std::string& title, HWND owner, std::function<void(Window)> script)
    : timer_(Arm([title, owner] { return FindThreadDialog(&title, &owner, false); },
                 [this, script = ClosingScript(std::move(script))](Window found) {
                     ran = true;
                     script(found);
                 })) {}

DialogScript::~DialogScript() {
    Disarm(timer_);
}

MessageBoxAnswer::MessageBoxAnswer(HWND owner, int button)
    : timer_(Arm([owner] { return FindThreadDialog(nullptr, &owner, true); },
                 [this, button](Window found) {
                     answered = true;
                     box = ReadMessageBox(found);
                     found.Send(WM_COMMAND, static_cast<WPARAM>(button));
                 })) {}

MessageBoxAnswer::~MessageBoxAnswer() {
    Disarm(timer_);
}
