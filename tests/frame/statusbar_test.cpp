// The status bar's panes, the status message and the tooltip, on the real view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/document.h"
#include "frame/settingsdata.h"
#include "frame/statusbar.h"
#include "res/resource.h"
#include "tests/support/apptest.h"
#include "tests/support/memprofile.h"
#include "view/list.h"

namespace {

std::string PaneIni(const std::vector<uint32_t> &types)
{
    std::vector<unsigned char> bytes;
    for (uint32_t t : types)
        for (int i = 0; i < 4; ++i) bytes.push_back((unsigned char)(t >> (8 * i)));
    return "[StatusBar]\r\nItemNumber=" + std::to_string(types.size()) +
           "\r\nItemData=" + EncodeProfileBlob(bytes.data(), bytes.size()) + "\r\n";
}

class StatusBar : public AppTest {
protected:
    std::vector<UINT> Types()
    {
        std::vector<UINT> out;
        for (int i = 0; i < Vs()->partCount; ++i) out.push_back(Vs()->parts[i].type);
        return out;
    }
    std::string Text(int part) { return Vs()->parts[part].text; }

    // The tooltip text with the mouse over the given part.
    std::string TipOver(int part)
    {
        RECT rc;
        SendMessageA(Vs()->statusBar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&rc));
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(Vs()->statusBar, &pt);
        SetCursorPos(pt.x, pt.y);
        NMTTDISPINFOA info = {};
        info.hdr.hwndFrom = Vs()->statusTip;
        info.hdr.idFrom = reinterpret_cast<UINT_PTR>(Vs()->statusBar);
        info.hdr.code = TTN_GETDISPINFOA;
        EXPECT_TRUE(StatusTooltipText(view, &info));
        return info.lpszText ? info.lpszText : "";
    }
};

TEST_F(StatusBar, NoDocumentShowsTheFillerAloneAcrossTheBar)
{
    Start();
    Run(CMD_FILE_CLOSE);
    EXPECT_EQ(Types(), (std::vector<UINT>{kPaneFiller}));
    EXPECT_EQ(Vs()->parts[0].right, -1);
    EXPECT_EQ(Text(0), "");
}

TEST_F(StatusBar, NewDocumentShowsItsNameAndNothingOfAFile)
{
    Start(PaneIni({kPaneFilename, kPaneFolder, kPaneFileTime, kPaneFileSize}));
    EXPECT_EQ(Types(), (std::vector<UINT>{kPaneFilename, kPaneFiller}));
    EXPECT_EQ(Text(0), "New");
    EXPECT_GT(Vs()->parts[0].right, 20);

    // A New document has no file icon: its name starts at the pane's left edge, not an icon's width in.
    constexpr int kWidth = 120, kHeight = 20, kIconWidth = 16;
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB};
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT whole = {0, 0, kWidth, kHeight};
    FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    DRAWITEMSTRUCT draw = {};
    draw.hDC = dc;
    draw.rcItem = whole;
    draw.itemData = reinterpret_cast<ULONG_PTR>(&Vs()->parts[0]);
    EXPECT_TRUE(DrawStatusPart(view, &draw));
    GdiFlush();
    int firstInk = kWidth;
    const auto *pixels = static_cast<const uint32_t *>(bits);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < firstInk; ++x)
            if ((pixels[y * kWidth + x] & 0xFFFFFF) != 0xFFFFFF) firstInk = x;
    EXPECT_LT(firstInk, kIconWidth);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(StatusBar, FileDocumentShowsFolderDateAndSize)
{
    std::string dir = HarnessTempDir();
    // An item line: a file of other lines would be asked about before opening.
    std::string path = HarnessWriteFile(dir + "de.lng", "1=\"" + std::string(1530, 'x') + "\"\r\n");
    Start(PaneIni({kPaneFilename, kPaneFolder, kPaneFileTime, kPaneFileSize}), "Parlevo.exe " + path);
    PumpUntil([&] { return Vs()->partCount == 5; });
    ASSERT_EQ(Types(), (std::vector<UINT>{kPaneFilename, kPaneFolder, kPaneFileTime, kPaneFileSize, kPaneFiller}));
    EXPECT_EQ(Text(0), "de.lng");
    EXPECT_EQ(Text(1) + "\\", dir);
    EXPECT_FALSE(Text(2).empty());
    EXPECT_EQ(Text(3), "1.50 KB");
    // Each pane starts where the one before it ends.
    EXPECT_LT(Vs()->parts[0].right, Vs()->parts[1].right);
    EXPECT_EQ(TipOver(3), "File size");
    EXPECT_EQ(TipOver(1), "Folder");
}

TEST_F(StatusBar, DefaultListShowsTheProgressNamedByItsTooltip)
{
    Start();
    ASSERT_EQ(Types(), (std::vector<UINT>{kPaneFilename, kPaneProgress, kPaneFiller}));
    EXPECT_EQ(Text(1).rfind("0 of ", 0), 0u) << Text(1);
    EXPECT_EQ(TipOver(1), "Translation progress");
}

TEST_F(StatusBar, DocumentAtADriveRootShowsTheDriveWithABackslash)
{
    Start(PaneIni({kPaneFolder}), "Parlevo.exe C:\\nothere-parlevo.lng");
    PumpUntil([&] { return Vs()->partCount == 2; });
    EXPECT_EQ(Text(0), "C:\\");
}

TEST_F(StatusBar, SaveConfirmationStaysInTheLastPane)
{
    Start();
    ShowStatusMessage(view, IDI_SAVED, "Successfully written to: saved.lng (12 Byte)");
    ASSERT_GE(Vs()->partCount, 1);
    EXPECT_EQ(Vs()->parts[Vs()->partCount - 1].type, kPaneMessage);
    EXPECT_EQ(Text(Vs()->partCount - 1), "Successfully written to: saved.lng (12 Byte)");
    EXPECT_EQ(Vs()->statusIcon, UINT(IDI_SAVED));
    // Later layouts, also of a new document, keep the message pane.
    Run(CMD_FILE_NEW);
    EXPECT_EQ(Types().back(), kPaneMessage);
    EXPECT_EQ(Text(Vs()->partCount - 1), "Successfully written to: saved.lng (12 Byte)");
    std::string tip = TipOver(Vs()->partCount - 1);
    EXPECT_EQ(tip, "Successfully written to: saved.lng (12 Byte)");
}

TEST_F(StatusBar, TooltipOfALongMessageIsCutTo79Characters)
{
    Start();
    std::string message(200, 'm');
    ShowStatusMessage(view, IDI_SAVED, message.c_str());
    EXPECT_EQ(TipOver(Vs()->partCount - 1), std::string(79, 'm'));
}

TEST_F(StatusBar, FillerAloneGivesOneEmptyPaneWithAnEmptyTooltip)
{
    Start("[StatusBar]\r\nItemNumber=0\r\n");
    EXPECT_EQ(Types(), (std::vector<UINT>{kPaneFiller}));
    EXPECT_EQ(TipOver(0), "");
}

TEST_F(StatusBar, SwitchedOffGivesNoBarAndAListDownToTheBottom)
{
    Start("[Option]\r\nStatusBar=0\r\n");
    EXPECT_EQ(Vs()->statusBar, nullptr);
    RECT client, list;
    GetClientRect(view, &client);
    GetWindowRect(Vs()->list, &list);
    MapWindowPoints(nullptr, view, reinterpret_cast<POINT *>(&list), 2);
    EXPECT_EQ(list.bottom, client.bottom);
}

TEST_F(StatusBar, DateTimeFormattingCanBeCalledAgain)
{
    std::string path = HarnessWriteFile(HarnessTempDir() + "t.lng", "x");
    char a[128], b[128];
    ASSERT_TRUE(FormatFileDateTime(path.c_str(), a, sizeof a));
    ASSERT_TRUE(FormatFileDateTime(path.c_str(), b, sizeof b));
    EXPECT_STREQ(a, b);
    EXPECT_FALSE(FormatFileDateTime("C:\\no\\such\\file.lng", a, sizeof a));
    EXPECT_STREQ(a, "");
    char tiny[4];
    FormatFileDateTime(path.c_str(), tiny, sizeof tiny); // bounded
}

} // namespace
