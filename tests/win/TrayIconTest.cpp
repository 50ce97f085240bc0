#include "ui/TrayIcon.h"

#include <gtest/gtest.h>

#include "shared/Fakes.h"

namespace {

int refusalsLeft = 0;
int adds = 0;

// A shell that refuses every call at first, as one that is still starting at logon.
BOOL WINAPI SlowShell(DWORD message, PNOTIFYICONDATAA) {
    adds += message == NIM_ADD ? 1 : 0;
    return refusalsLeft-- > 0 ? FALSE : TRUE;
}

}  // namespace

// Mended: an add that the shell refused at logon left the program running hidden without an
// icon, counted as shown; nothing tried again.
TEST(TrayIcon, AnAddTheShellRefusesIsTriedAgainForAWhileAndCountsOnlyOnceItTakes) {
    for (const int refusedAdds : {2, TrayIcon::kRetries + 1}) {
        FakeTimerHost timers;
        TrayIcon icon(timers, SlowShell);
        refusalsLeft = 2 * refusedAdds;  // each add is followed by a look whether it took
        adds = 0;
        icon.Add(nullptr, WM_APP, nullptr, "Vantrel Monitor");
        EXPECT_EQ(timers.timers[kTrayRetryTimer], TrayIcon::kRetryPeriodMs);
        for (int tick = 0; tick < 2 * TrayIcon::kRetries; ++tick) {
            EXPECT_FALSE(icon.IsShown());
            icon.OnRetryTimer();
            if (timers.timers.empty()) {
                break;
            }
        }
        const bool shown = refusedAdds <= TrayIcon::kRetries;
        EXPECT_EQ(icon.IsShown(), shown);
        EXPECT_EQ(adds, shown ? refusedAdds + 1 : TrayIcon::kRetries + 1);
        EXPECT_TRUE(timers.timers.empty());
    }
}
