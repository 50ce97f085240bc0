#include "core/ClientLauncher.h"

#include <gtest/gtest.h>

namespace {

// Shift-JIS, where the trail byte of a double-byte character can be 0x5C, the backslash.
bool IsShiftJisLeadByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
}

}  // namespace

// Mended: a folder ending in a character whose trail byte is a backslash got no separator.
TEST(ClientLauncher, InstallFolderEndsInABackslashCharacter) {
    const std::pair<const char*, const char*> cases[] = {
        {"D:\\Apps\\Vantrel", "D:\\Apps\\Vantrel\\"},
        {"D:\\Apps\\Vantrel\\", "D:\\Apps\\Vantrel\\"},
        {"", "\\"},
        {"C:\\\x95\x5C", "C:\\\x95\x5C\\"},
        {"C:\\\x95\x5C\\", "C:\\\x95\x5C\\"},
        {"C:\\a\x95", "C:\\a\x95\\"}};
    for (const auto& [stored, folder] : cases) {
        EXPECT_EQ(InstallFolderFromSetting(stored, IsShiftJisLeadByte), folder) << stored;
    }
}
