// The settings file through the platform's profile functions.
#include <gtest/gtest.h>

#include <string>

#include "state/appstate.h"
#include "frame/settings.h"
#include "tests/support/memprofile.h"
#include "tests/support/winharness.h"

TEST(SettingsFile, BlobFormatIsThePlatformsOwn)
{
    std::string ini = HarnessTempDir() + "blob.ini";
    const unsigned char data[6] = {0x46, 0x00, 0x0B, 0x00, 0x9D, 0x9C};
    ASSERT_TRUE(WritePrivateProfileStructA("S", "K", const_cast<unsigned char *>(data), sizeof data, ini.c_str()));
    char text[64] = "";
    GetPrivateProfileStringA("S", "K", "", text, sizeof text, ini.c_str());
    EXPECT_EQ(std::string(text), EncodeProfileBlob(data, sizeof data));

    std::string changed = EncodeProfileBlob(data, sizeof data);
    changed[3] = changed[3] == '0' ? '1' : '0';
    WritePrivateProfileStringA("S", "Bad", changed.c_str(), ini.c_str());
    unsigned char out[6];
    EXPECT_FALSE(GetPrivateProfileStructA("S", "Bad", out, sizeof out, ini.c_str()));
    EXPECT_FALSE(GetPrivateProfileStructA("S", "K", out, 5, ini.c_str()));
    EXPECT_TRUE(GetPrivateProfileStructA("S", "K", out, sizeof out, ini.c_str()));
    EXPECT_EQ(out[4], 0x9D);
}

TEST(SettingsFile, MissingFileIsNotCreatedAndAnOldShortcutSectionIsRewritten)
{
    HarnessStartApp("");
    EXPECT_FALSE(HarnessFileExists(App().settingsPath));
    EXPECT_EQ(App().settings.shortcuts.Count(), 16); // the defaults, as settings_test pins them
    HarnessStopApp();
    const unsigned char row[6] = {'T', 0, 0x0B, 0, 0x48, 0x9C}; // Ctrl+T: Translate (40008)
    HarnessStartApp("[Shortcut]\r\nItemNumber=1\r\nItemData=" + EncodeProfileBlob(row, sizeof row) + "\r\n");
    std::string text = HarnessReadFile(App().settingsPath);
    EXPECT_NE(text.find("ItemNumber=16"), std::string::npos) << text;
    EXPECT_NE(text.find("Version=20261207"), std::string::npos) << text;
    HarnessStopApp();
}
