// Progress, back and forward, and repeated texts, driven through the real view with the
// sample module (its repeated texts: "Preview" 27 and 1006, "Pixels" 1012 and 50007).
#include <gtest/gtest.h>

#include <string>

#include "frame/settingsdata.h"
#include "state/appstate.h"
#include "tests/view/viewtesting.h"
#include "view/list.h"
#include "view/worktrack.h"

namespace
{

class WorkView : public ViewTest
{
protected:
    // Translates the row of id; the offer to fill its repeats gets answer.
    void TranslateById(UINT id, const std::string &text, int answer = IDC_FR_NO, bool dontAsk = false)
    {
        TranslateRow(RowOf(id), {text}, [&](HWND offer) {
            offers++;
            if (dontAsk) CheckDlgButton(offer, IDC_FR_DONT_ASK, BST_CHECKED);
            PressButton(offer, answer);
        });
    }
    int offers = 0;
};

TEST_F(WorkView, ProgressFollowsOpenTranslateAndFill)
{
    Start("[Option]\r\nAskToFillRepeated=0\r\n");
    // The pane, the progress drawn in the title row of 27's category (row 0) and that title itself.
    auto state = [&]() {
        char progress[64] = "";
        WorkCategoryProgressText(view, 0, progress, sizeof progress);
        return Pane(kPaneProgress) + "|" + progress + "|" + Cell(0, kColumnText);
    };
    EXPECT_EQ(state(), "0 of 412 translated (0%)|0 of 51|Standard string");
    TranslateById(27, "Vorschau");
    EXPECT_EQ(std::to_string(offers) + " " + state(),
              "0 1 of 412 translated (0%)|1 of 51|Standard string"); // AskToFillRepeated=0 asks nothing
    ModalDriver driver([](HWND box) { PressButton(box, IDOK); });
    Run(CMD_TEXT_FILL_REPEATED);
    EXPECT_EQ(driver.LastText() + "|" + Cell(RowOf(1006), kColumnTranslated) + "|" + Pane(kPaneProgress),
              "1 rows filled|Vorschau|2 of 412 translated (0%)");
    EXPECT_TRUE(Vs()->modified);
}

// Back and forward go through the rows opened in Translate; Translate Previous walks up.
TEST_F(WorkView, PlacesOfTheOpenedRowsAndPreviousUntranslated)
{
    Start();
    for (UINT id : {103u, 27u, 1012u})
        TranslateRow(RowOf(id), {});
    SelectOnly({RowOf(50007)});
    const std::pair<UINT, UINT> kSteps[] = {{CMD_EDIT_BACK, 27},    {CMD_EDIT_BACK, 103},     {CMD_EDIT_BACK, 0},
                                            {CMD_EDIT_FORWARD, 27}, {CMD_EDIT_FORWARD, 1012}, {CMD_EDIT_FORWARD, 0}};
    int place = RowOf(50007);
    for (const auto &[command, id] : kSteps) {
        EXPECT_EQ(Run(command), id ? 1 : 0) << id;
        place = id ? RowOf(id) : place;                    // at the oldest and newest place nothing moves
        EXPECT_EQ(Focused(), std::to_string(place)) << id; // focused and alone selected
    }

    SetTranslation(RowOf(1005), "schon da");
    SelectOnly({RowOf(1006)});
    ListSetRowState(view, RowOf(1006), LVIS_FOCUSED, LVIS_FOCUSED);
    std::string opened;
    ModalDriver driver([&](HWND dialog) {
        opened = DlgText(dialog, IDC_TR_ID);
        PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(CMD_TEXT_TRANSLATE_PREVIOUS), 0);
    EXPECT_EQ(opened, "1004") << "the first untranslated row above";
}

TEST_F(WorkView, OfferAfterOkFillsTheRepeatsAndCanBeTurnedOff)
{
    Start();
    TranslateById(1012, "Pixel", IDC_FR_YES, true);
    TranslateById(27, "Vorschau"); // asks nothing: Don't ask again holds
    EXPECT_EQ(std::to_string(offers) + " " + Cell(RowOf(50007), kColumnTranslated) + "|" +
                  Cell(RowOf(1006), kColumnTranslated),
              "1 Pixel|");
    EXPECT_NE(HarnessReadFile(AppSettingsPath()).find("AskToFillRepeated=0"), std::string::npos);
}

} // namespace
