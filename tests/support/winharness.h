// The harness for window tests: the program's state set up inside the test process, message
// pumping, temporary files, and a driver for modal dialogs and message boxes.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Resets the application state and starts it as start-up does, with the settings read from
// iniText (written to a fresh temporary Parlvo.ini; empty text means no file).
void HarnessStartApp(const std::string &iniText = "");
// Ends what HarnessStartApp started: destroys leftover frames, releases the state.
void HarnessStopApp();

// A fresh empty folder for one test, with a trailing backslash.
std::string HarnessTempDir();
std::string HarnessWriteFile(const std::string &path, const std::string &bytes);
std::string HarnessReadFile(const std::string &path);
bool HarnessFileExists(const std::string &path);

// Dispatches every queued message of this thread.
void PumpMessages();
// Pumps until cond() holds or timeoutMs passes; returns cond().
bool PumpUntil(const std::function<bool()> &cond, DWORD timeoutMs = 5000);

std::string WindowText(HWND window);
std::string ClassName(HWND window);

// Calls action(dialog) once for each dialog or message box that becomes active on this thread,
// from inside its modal loop. One driver at a time.
class ModalDriver
{
public:
    static ModalDriver *current;
    explicit ModalDriver(std::function<void(HWND)> action) : action_(std::move(action)) { current = this; }
    ~ModalDriver() { current = nullptr; }
    ModalDriver(const ModalDriver &) = delete;
    int Seen() const { return seen_; }
    // The text of the last message box seen.
    const std::string &LastText() const { return lastText_; }
    void OnActivate(HWND dialog);
    void Run();

private:
    std::function<void(HWND)> action_;
    HWND pending_ = nullptr;
    std::vector<HWND> handled_;
    int seen_ = 0;
    std::string lastText_;
};

// Presses a dialog button as a click would (BN_CLICKED to the dialog).
void PressButton(HWND dialog, int id);
// The text of a message box (its static text control).
std::string MessageBoxText(HWND box);
