// The status bar's panes, the status message and the tooltip, on the real view.
#include <algorithm>

#include "frame/statusbar.h"
#include "image/draw.h"
#include "res/resource.h"
#include "tests/support/apptest.h"
#include "tests/support/memprofile.h"

namespace
{

class StatusBar : public AppTest
{
protected:
    // Each pane as "type:text", blank-separated.
    std::string Panes()
    {
        std::string out;
        for (int i = 0; i < Vs()->partCount; ++i)
            out += (i ? " " : "") + std::to_string(Vs()->parts[i].type) + ":" +
                   std::string(Vs()->parts[i].text ? Vs()->parts[i].text : "");
        return out;
    }

    // The tooltip text with the mouse over the given part (-1: the last).
    std::string TipOver(int part)
    {
        if (part < 0) part = Vs()->partCount - 1;
        RECT rc;
        SendMessageA(Vs()->statusBar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&rc));
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(Vs()->statusBar, &pt);
        SetCursorPos(pt.x, pt.y);
        NMTTDISPINFOA info = {{Vs()->statusTip, reinterpret_cast<UINT_PTR>(Vs()->statusBar), TTN_GETDISPINFOA}};
        EXPECT_TRUE(StatusTooltipText(view, &info));
        return info.lpszText ? info.lpszText : "";
    }
};

TEST_F(StatusBar, PanesOfTheDocumentWithTheirTooltipsAndTheMessage)
{
    Start();
    EXPECT_EQ(Panes().substr(0, 13) + Panes().substr(Panes().rfind(' ')) + " " + TipOver(1),
              "0:New 5:0 of  32768: Translation progress"); // the default list, without a document's file
    Run(CMD_FILE_CLOSE);
    EXPECT_EQ(Panes() + std::to_string(Vs()->parts[0].right) + TipOver(0), "32768:-1") << "no document: the filler";
    HarnessStopApp();

    std::string dir = HarnessTempDir();
    // An item line: a file of other lines would be asked about before opening.
    std::string path = HarnessWriteFile(dir + "de.lng", "1=\"" + std::string(1530, 'x') + "\"\r\n");
    const uint32_t types[] = {kPaneFilename, kPaneFolder, kPaneFileTime, kPaneFileSize};
    Start("[StatusBar]\r\nItemNumber=4\r\nItemData=" + EncodeProfileBlob(types, sizeof types) + "\r\n",
          "Parlevo.exe " + path);
    PumpUntil([&] { return Vs()->partCount == 5; });
    char time[128], tiny[8] = "zzzzzzz";
    EXPECT_FALSE(FormatFileDateTime("C:\\no\\such\\file.lng", time, sizeof time) || *time);
    FormatFileDateTime(path.c_str(), tiny, 4);
    EXPECT_TRUE(std::string(tiny, 8).find('\0') < 4 && std::string(tiny + 4) == "zzz") << "within the 4 bytes given";
    ASSERT_TRUE(FormatFileDateTime(path.c_str(), time, sizeof time));
    EXPECT_EQ(Panes(), "0:de.lng 1:" + dir.substr(0, dir.size() - 1) + " 2:" + time + " 3:1.50 KB 32768:");
    EXPECT_LT(Vs()->parts[0].right, Vs()->parts[1].right); // each pane starts where the one before ends
    EXPECT_EQ(TipOver(3) + "|" + TipOver(1), "File size|Folder");

    // Later layouts, also of a new document, keep the message pane; a new document has no file.
    const std::string message = "Successfully written to: saved.lng (12 Byte)";
    ShowStatusMessage(view, IDI_SAVED, message.c_str());
    Run(CMD_FILE_NEW);
    EXPECT_EQ(Panes() + "|" + TipOver(-1) + "|" + std::to_string(Vs()->statusIcon),
              "0:New 32769:" + message + "|" + message + "|" + std::to_string(IDI_SAVED));
    ShowStatusMessage(view, IDI_SAVED, std::string(200, 'm').c_str());
    EXPECT_EQ(TipOver(-1), std::string(79, 'm')) << "the tooltip is cut";

    // The new document's name starts at the pane's left edge: a file icon would take 16 pixels.
    BitmapHolder *canvas = BitmapHolderCreate(120, 20);
    DRAWITEMSTRUCT draw = {.hDC = BitmapHolderOpenDC(canvas, nullptr),
                           .rcItem = {0, 0, 120, 20},
                           .itemData = reinterpret_cast<ULONG_PTR>(&Vs()->parts[0])};
    FillRect(draw.hDC, &draw.rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    int firstInk = DrawStatusPart(view, &draw) ? 120 : -1;
    for (int i = 0; i < 120 * 20; ++i)
        if (GetPixel(draw.hDC, i % 120, i / 120) != 0xFFFFFF) firstInk = std::min(firstInk, i % 120);
    EXPECT_TRUE(firstInk >= 0 && firstInk < 16) << firstInk;
    BitmapHolderFree(canvas);
}

// Each icon group holds a 16 and a 32 pixel image of 32 bits: width, height and bits per entry.
TEST(Icons, ProgramAndPaneIconsHoldSmallAndLargeImages)
{
    std::string entries;
    for (UINT id : {IDI_PARLEVO, IDI_FOLDER, IDI_FILETIME, IDI_SAVED}) {
        HRSRC group = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
        auto *dir = group ? static_cast<const BYTE *>(LockResource(LoadResource(nullptr, group))) : nullptr;
        for (const BYTE *e = dir ? dir + 6 : nullptr; e && e < dir + 6 + 14 * (dir[4] | dir[5] << 8); e += 14)
            entries += std::to_string(e[0]) + "x" + std::to_string(e[1]) + "x" + std::to_string(e[6]) + " ";
        entries += "|";
    }
    EXPECT_EQ(entries, "16x16x32 32x32x32 |16x16x32 32x32x32 |16x16x32 32x32x32 |16x16x32 32x32x32 |");
}

} // namespace
