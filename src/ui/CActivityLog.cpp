#include "ui/CActivityLog.h"

#include <cstring>

#include "core/Time32.h"

namespace {

constexpr DWORD kLogStyle =
    WS_CHILD | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
constexpr LONG kFontHeightTwips = 160;  // 8 points
constexpr char kFontFace[] = "MS Sans Serif";
// Every effect bit but automatic colour, bold and underline: within the append mask the line is
// neither bold nor underlined and takes the explicit colour.
constexpr DWORD kAppendEffects = 0xBFFFFFFA;
// The control's default limit of 32,767 characters would silently stop the log after some
// weeks; 16 Mi characters are about 250,000 lines, years at the rates the program writes.
constexpr LPARAM kTextLimit = 16 * 1024 * 1024;

}  // namespace

std::string CActivityLog::FormatLine(const std::string& time, const std::string& message) {
    return "[ " + time + " ]  " + message + "\r\n";
}

bool CActivityLog::Create(HWND parent, const RECT& rect) {
    if (LoadLibraryA("riched20.dll") == nullptr) {
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

int CActivityLog::Append(const std::string& message, Colour colour) {
    if (!Exists()) {
        return 0;
    }
    const std::string line = FormatLine(FormatTime(clock_.Now()), message);

    CHARRANGE range{CharacterCount(), 0};
    range.cpMax = range.cpMin;
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));

    charFormat_.dwMask = CFM_COLOR | CFM_BOLD | CFM_UNDERLINE;
    charFormat_.dwEffects = kAppendEffects;
    charFormat_.crTextColor = colour;
    range.cpMax = CharacterCount();
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&charFormat_));

    range.cpMin = range.cpMax;
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    Send(EM_HIDESELECTION, TRUE, FALSE);
    Send(EM_LINESCROLL, 0, 1);
    return 1;
}
