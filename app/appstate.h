// The application-wide state block and the program's constants.
#pragma once
#include <windows.h>

#include "catalogue/hostmodule.h"
#include "frame/settingsdata.h"
#include "image/codec.h"

struct AppState {
    HINSTANCE instance;
    HostModuleState host;
    SettingsRecord settings;
    CodecRegistry codecs;
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

// The first steps of start-up: common controls, instance handle, codecs, host identity.
void AppInitialise(HINSTANCE instance);
// Reads the host identity from the program's own "APPINFO" resources.
void ReadHostIdentity(HINSTANCE instance);
// Derives the settings file path next to the executable; false when it cannot.
bool DeriveSettingsPath(HINSTANCE instance, char *out, size_t capacity);
