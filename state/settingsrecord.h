// The settings record: what the settings file configures, as the program holds it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "state/poollist.h"

constexpr uint32_t kShortcutVersion = 20261207;
constexpr int kShortcutCapacity = 1024;
constexpr int kPaneCapacity = 64;
constexpr int kToolbarCapacity = 256;
constexpr int32_t kToolbarSeparator = -1;

// Pane types of the status bar; flagged types have bit 15 set.
constexpr uint32_t kPaneFilename = 0;
constexpr uint32_t kPaneFolder = 1;
constexpr uint32_t kPaneFileTime = 2;
constexpr uint32_t kPaneFileSize = 3;
constexpr uint32_t kPaneProblems = 4; // "2 errors, 5 warnings"
// "1,234 of 2,136 translated (58%)"
constexpr uint32_t kPaneProgress = 5;
constexpr uint32_t kPaneFlagged = 0x8000;
constexpr uint32_t kPaneFiller = 0x8000;
constexpr uint32_t kPaneMessage = 0x8001;

// Accelerator flags as the platform defines them (FVIRTKEY, FNOINVERT, FSHIFT, FCONTROL, FALT).
constexpr uint16_t kAccVirtKey = 0x01;
constexpr uint16_t kAccNoInvert = 0x02;
constexpr uint16_t kAccShift = 0x04;
constexpr uint16_t kAccControl = 0x08;
constexpr uint16_t kAccAlt = 0x10;

struct ShortcutEntry {
    uint16_t key;
    uint16_t flags;
    uint16_t command;
};

using ShortcutList = PoolList<ShortcutEntry, kShortcutCapacity>;
using PaneList = PoolList<uint32_t, kPaneCapacity>;
using ToolbarList = PoolList<int32_t, kToolbarCapacity>;

struct SettingsRecord {
    int32_t askToOverwrite;
    int32_t backup; // keep the replaced file as NAME.bak on a save
    ShortcutList shortcuts;
    PaneList panes;
    ToolbarList toolbarItems;
    int32_t flatStyle;
    int32_t textLabels;
    char bitmapFileName[260];
    int32_t toolbarShown;
    int32_t statusBarShown;
    int32_t loadPosition;
    int32_t savePosition;
    int32_t onlyOneInstance;
    int32_t alwaysOnTop;
    int32_t centerWindow;
    // After the Translate dialog's OK: offer to fill the rows with the same source text
    int32_t askToFillRepeated;
};
