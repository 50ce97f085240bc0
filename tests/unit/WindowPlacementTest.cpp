#include "core/WindowPlacement.h"

#include <gtest/gtest.h>

#include <array>

// A 200 x 100 dialog; the far edges are pulled in before the near ones, so a dialog larger than the
// work area shows its top-left corner. Halves round toward zero, as the framework's centring did.
TEST(WindowPlacement, DialogCentresOnItsOwnerOrWorkAreaAndStaysInsideTheWorkArea) {
    const WindowRect screen{0, 0, 1024, 738};  // a taskbar at the bottom
    const struct {
        WindowRect centre, area;
        int left, top;
    } cases[] = {{{100, 100, 550, 400}, screen, 225, 200},
                 {{0, 40, 1024, 768}, {0, 40, 1024, 768}, 412, 354},
                 {{-901, 101, -400, 300}, {-1280, 0, 0, 1024}, -750, 150},
                 {{900, 650, 1100, 760}, screen, 824, 638},
                 {{-300, -200, 100, 0}, screen, 0, 0},
                 {{0, 0, 150, 80}, {0, 0, 150, 80}, 0, 0}};
    for (const auto& [centre, area, left, top] : cases) {
        const WindowRect placed = CentredDialogRect(centre, area, 200, 100);
        EXPECT_EQ((std::array{placed.left, placed.top, placed.right, placed.bottom}),
                  (std::array{left, top, left + 200, top + 100}))
            << centre.left << "," << centre.top;
    }
}
