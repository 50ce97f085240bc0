#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

// The dialogs' templates hold date-time pickers and an up-down control, whose window classes
// exist only once the common controls are initialised.
class WinTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls,
                                      ICC_DATE_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WinTestEnvironment);

}  // namespace
