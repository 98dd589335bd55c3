// The application-wide state block and the program's constants.
#pragma once
#include <windows.h>

#include "state/hoststate.h"
#include "state/settingsrecord.h"

struct CodecRegistry;

struct AppState {
    HINSTANCE instance;
    HostModuleState host;
    SettingsRecord settings;
    CodecRegistry *codecs; // the image codecs start-up registers
    HFONT statusFont;
    HBITMAP toolbarImage;
    char settingsPath[MAX_PATH];
    char hostFileName[MAX_PATH];
    char hostName[MAX_PATH];
};

AppState &App();

HINSTANCE AppInstance();
const char *AppProgramName();
const char *AppFrameClass();
const char *AppSettingsBaseName();
const char *AppVersion();
const char *AppBuildDate();
const char *AppClosingLine();
const char *AppHostFileName();
const char *AppHostName();
const char *AppSettingsPath();
const char *AppOptionSection();
CodecRegistry *AppCodecRegistry();
