// Window tests of the view: the program started with the sample module, and its dialogs driven.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/apptest.h"
#include "view/list.h"

inline std::string DlgText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

class ViewTest : public AppTest
{
protected:
    // The text of the status bar's pane of that type; "" without one.
    std::string Pane(UINT type) const
    {
        for (int i = 0; i < Vs()->partCount; ++i)
            if (Vs()->parts[i].type == type) return Vs()->parts[i].text;
        return "";
    }
    // The focused row, and whether it is the one row selected.
    std::string Focused() const
    {
        int focused = FocusedRow(), selected = ListNextRow(view, -1, LVNI_SELECTED);
        bool alone = selected == focused && ListNextRow(view, selected, LVNI_SELECTED) < 0;
        return std::to_string(focused) + (alone ? "" : " (selection differs)");
    }
    // Translate on the row alone: notes the dialog's ID and problem line, then types each text
    // (noting the problem line after it) and presses OK. Other dialogs go to `other`.
    std::vector<std::string> TranslateRow(int row, const std::vector<std::string> &typed,
                                          std::function<void(HWND)> other = nullptr)
    {
        SelectOnly({row});
        std::vector<std::string> seen;
        ModalDriver driver([&](HWND dialog) {
            if (!GetDlgItem(dialog, IDC_TR_TRANSLATION)) return other ? other(dialog) : PressButton(dialog, IDCANCEL);
            seen.push_back(DlgText(dialog, IDC_TR_ID));
            seen.push_back(DlgText(dialog, IDC_TR_PROBLEMS));
            for (const std::string &text : typed) {
                SendDlgItemMessageA(dialog, IDC_TR_TRANSLATION, EM_SETSEL, 0, -1);
                SendDlgItemMessageA(dialog, IDC_TR_TRANSLATION, EM_REPLACESEL, TRUE, LPARAM(text.c_str()));
                seen.push_back(DlgText(dialog, IDC_TR_PROBLEMS));
            }
            PressButton(dialog, IDOK);
        });
        EXPECT_EQ(Run(CMD_TEXT_TRANSLATE), 1);
        return seen;
    }
};
