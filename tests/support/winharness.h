// Window tests: the program's state in the test process, message pumping, files, modal dialogs.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Fresh application state set up as start-up does, with settings from iniText (empty: no file).
void HarnessStartApp(const std::string &iniText = "");
void HarnessStopApp(); // destroys leftover frames, releases the state

// A fresh empty folder for one test, with a trailing backslash.
std::string HarnessTempDir();
std::string HarnessWriteFile(const std::string &path, const std::string &bytes);
std::string HarnessReadFile(const std::string &path);
bool HarnessFileExists(const std::string &path);

void PumpMessages(); // every queued message of this thread
// Pumps until cond() holds or timeoutMs passes; returns cond().
bool PumpUntil(const std::function<bool()> &cond, DWORD timeoutMs = 5000);

std::string WindowText(HWND window);

// Calls action(dialog) once for each dialog or message box that becomes active on this thread,
// from inside its modal loop. One driver at a time.
struct ModalDriver {
    static inline ModalDriver *current;
    std::function<void(HWND)> action;
    std::vector<HWND> handled; // activated while this driver was on, each driven once
    int seen = 0;
    std::string lastText; // of the last message box

    explicit ModalDriver(std::function<void(HWND)> act) : action(std::move(act)) { current = this; }
    ~ModalDriver() { current = nullptr; }
    ModalDriver(const ModalDriver &) = delete;
    int Seen() const { return seen; }
    const std::string &LastText() const { return lastText; }
};

void PressButton(HWND dialog, int id); // BN_CLICKED, as a click sends
std::string MessageBoxText(HWND box);
