// A fixture for window tests: the program started in the test process with the sample host
// module, its frame and view at hand.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "app/appwindows.h"
#include "state/messages.h"
#include "tests/support/winharness.h"

// "[Module]" with the path of the sample module beside the built program.
std::string SampleModuleIni();

class AppTest : public ::testing::Test {
protected:
    HWND frame = nullptr;
    HWND view = nullptr;

    void TearDown() override;
    // Starts the program: settings from SampleModuleIni() + extraIni, then the command line.
    void Start(const std::string &extraIni = "", const std::string &commandLine = "Parlevo.exe");
    ViewState *Vs() const { return GetViewState(view); }
    LRESULT Run(UINT command, void *arg = nullptr, UINT flags = 0);
    // The index of the row with that string ID, or -1.
    int RowOf(UINT id) const;
    std::string Cell(int row, int column) const;
    void SetTranslation(int row, const std::string &text) const;
    void SelectOnly(std::initializer_list<int> rows) const;
    int FocusedRow() const;
};
