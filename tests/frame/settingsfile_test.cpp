// The settings file through the platform's profile functions.
#include <gtest/gtest.h>

#include "state/appstate.h"
#include "frame/settings.h"
#include "tests/support/memprofile.h"
#include "tests/support/winharness.h"

// The memory profile refuses as the platform does; its encoding is checked where the program reads it below.
TEST(SettingsFile, BlobsOfAWrongChecksumOrLengthAreRefused)
{
    std::string ini = HarnessTempDir() + "blob.ini", changed = EncodeProfileBlob("F\x9D", 2);
    WritePrivateProfileStringA("S", "K", changed.c_str(), ini.c_str());
    changed[3] = changed[3] == '0' ? '1' : '0';
    WritePrivateProfileStringA("S", "Bad", changed.c_str(), ini.c_str());
    unsigned char out[2];
    EXPECT_FALSE(GetPrivateProfileStructA("S", "Bad", out, 2, ini.c_str()) ||
                 GetPrivateProfileStructA("S", "K", out, 1, ini.c_str()));
    EXPECT_TRUE(GetPrivateProfileStructA("S", "K", out, 2, ini.c_str()) && out[1] == 0x9D);
}

TEST(SettingsFile, MissingFileIsNotCreatedAndAnOldShortcutSectionIsRewritten)
{
    HarnessStartApp("");
    EXPECT_TRUE(!HarnessFileExists(App().settingsPath) && App().settings.shortcuts.Count() == 16); // defaults
    HarnessStopApp();
    const unsigned char row[6] = {'T', 0, 0x0B, 0, 0x48, 0x9C}; // Ctrl+T: Translate (40008)
    HarnessStartApp("[Shortcut]\r\nItemNumber=1\r\nItemData=" + EncodeProfileBlob(row, sizeof row) + "\r\n");
    std::string text = HarnessReadFile(App().settingsPath);
    EXPECT_NE(text.find("ItemNumber=16"), std::string::npos) << text;
    EXPECT_NE(text.find("Version=20261207"), std::string::npos) << text;
    HarnessStopApp();
}
