#include "ui/CActivityLog.h"

#include <algorithm>
#include <cstring>

#include "core/Time32.h"
#include "win/SystemLibrary.h"

namespace {

constexpr DWORD kLogStyle =
    WS_CHILD | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
constexpr LONG kFontHeightTwips = 160;  // 8 points
constexpr char kFontFace[] = "MS Sans Serif";
// Every effect bit but automatic colour, bold and underline: within the append mask the line is
// neither bold nor underlined and takes the explicit colour.
constexpr DWORD kAppendEffects = 0xBFFFFFFA;
// The control's default limit of 32,767 characters would refuse lines long before the log is
// full; 16 Mi characters hold the newest lines even when each carries a long path or URL.
constexpr LPARAM kTextLimit = LPARAM{16} * 1024 * 1024;

}  // namespace

std::string CActivityLog::FormatLine(const std::string& time, const std::string& message) {
    return "[ " + time + " ]  " + message + "\r\n";
}

bool CActivityLog::Create(HWND parent, const RECT& rect) {
    // Mended: loaded by its name, the library was looked for beside the program and in the
    // current folder first, where anyone who can write there (Downloads, a share) could plant one.
    if (LoadSystemLibrary("riched20.dll") == nullptr) {
        return false;
    }
    hwnd_ = CreateWindowExA(0, RICHEDIT_CLASSA, "", kLogStyle, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (hwnd_ == nullptr) {
        return false;
    }
    OnCreate();
    return true;
}

void CActivityLog::OnCreate() {
    Send(EM_SETBKGNDCOLOR, 0, kLogBackground);
    Send(EM_SETOPTIONS, ECOOP_OR, ECO_READONLY);
    Send(EM_SETOPTIONS, ECOOP_XOR, ECO_NOHIDESEL);
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) | WS_EX_STATICEDGE);
    Send(EM_EXLIMITTEXT, 0, kTextLimit);

    charFormat_.cbSize = sizeof charFormat_;
    charFormat_.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE |
                         CFM_STRIKEOUT | CFM_PROTECTED;
    charFormat_.dwEffects = 0;
    charFormat_.yHeight = kFontHeightTwips;
    charFormat_.crTextColor = kBlack;
    std::strncpy(charFormat_.szFaceName, kFontFace, sizeof charFormat_.szFaceName - 1);
    Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&charFormat_));
    Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&charFormat_));
}

// Character positions as selections count them: a rich edit keeps one character per paragraph
// break, which WM_GETTEXTLENGTH would count twice.
LONG CActivityLog::CharacterCount() const {
    GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    return static_cast<LONG>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
}

LONG CActivityLog::FirstVisibleLine() const {
    return static_cast<LONG>(Send(EM_GETFIRSTVISIBLELINE));
}

// The user reads older lines when the view is above the end of the text. A log that fits its
// view, or has none (its window in the tray), follows the end.
bool CActivityLog::IsScrolledUp() const {
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_PAGE | SIF_POS | SIF_RANGE;
    return GetScrollInfo(hwnd_, SB_VERT, &bar) && bar.nPage > 0 &&
           bar.nPos + static_cast<int>(bar.nPage) < bar.nMax;
}

void CActivityLog::Fill(int width, int height) {
    const bool scrolledUp = IsScrolledUp();
    const LONG firstVisible = FirstVisibleLine();
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, width, height, SWP_SHOWWINDOW);
    // Under Wine a view that had no height (its window in the tray) shows nothing once it has one
    // again, until it is scrolled: to the line the user reads, or the newest at the bottom.
    if (scrolledUp) {
        Send(EM_LINESCROLL, 0, firstVisible - FirstVisibleLine());
    } else {
        Send(WM_VSCROLL, SB_BOTTOM);
    }
    // A view with no width scrolls sideways to every line written into it: the lines show from
    // their start again.
    Send(WM_HSCROLL, SB_LEFT);
}

// Returns the number of lines removed: none until the log is full.
LONG CActivityLog::TrimOldestLines() {
    // The empty row after the last line break counts as a line.
    if (Send(EM_GETLINECOUNT) - 1 < maxLines_) {
        return 0;
    }
    CHARRANGE oldest{0, static_cast<LONG>(Send(EM_LINEINDEX, trimLines_))};
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&oldest));
    Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    return trimLines_;
}

// Caret to the end, the line in, the whole line in its colour, the selection hidden at the end.
// The colour is set at the caret before the line goes in: colouring the text once it was in made
// every later change slower under Wine: appends three times, removing old lines five times.
void CActivityLog::InsertLine(const std::string& line, Colour colour) {
    const LONG length = CharacterCount();
    CHARRANGE end{length, length};
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    charFormat_.dwMask = CFM_COLOR | CFM_BOLD | CFM_UNDERLINE;
    charFormat_.dwEffects = kAppendEffects;
    charFormat_.crTextColor = colour;
    Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&charFormat_));
    Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    Send(EM_HIDESELECTION, TRUE, FALSE);
}

int CActivityLog::Append(const std::string& message, Colour colour) {
    if (!Exists()) {
        return 0;
    }
    const std::string line = FormatLine(FormatTime(clock_.Now()), message);
    const bool scrolledUp = IsScrolledUp();
    const LONG firstVisible = FirstVisibleLine();
    const LONG removed = TrimOldestLines();
    InsertLine(line, colour);
    if (scrolledUp) {
        // Changing the text moves the view to the selection: back to the line the user reads.
        Send(EM_LINESCROLL, 0, std::max<LONG>(0, firstVisible - removed) - FirstVisibleLine());
        return 1;
    }
    if (removed > 0) {
        // Where the view lands once the oldest lines are gone is the control's choice: the
        // caret, at the end, back in view.
        Send(EM_SCROLLCARET);
    }
    Send(EM_LINESCROLL, 0, 1);
    return 1;
}
