; The Windows installer for Parlevo, compiled by scripts/dist.sh with makensis.
; Defines from the command line:
;   VERSION   the program version, e.g. 1.0.4
;   STAGEDIR  the staged package: Parlevo.exe, README.txt, Samples/Lumivex.dll, Samples/de.lng
;   OUTFILE   the setup program to write
;   WIN64     (optional) the 64-bit variant: an amd64 installer of a 64-bit Parlevo.exe into the
;             64-bit Program Files; the shipped installer is the 32-bit one.

!ifndef VERSION
    !error "makensis needs -DVERSION="
!endif
!ifndef STAGEDIR
    !error "makensis needs -DSTAGEDIR="
!endif
!ifndef OUTFILE
    !error "makensis needs -DOUTFILE="
!endif

!ifdef WIN64
    Target amd64-unicode
    !define PROGRAM_FILES "$PROGRAMFILES64"
!else
    Target x86-unicode
    !define PROGRAM_FILES "$PROGRAMFILES"
!endif

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Parlevo"
!define CLASSES "Software\Classes"
!define PROGID "Parlevo.LanguageFile"
; Where the class that .lng named before us is kept, so that uninstalling gives it back.
!define PREVIOUS_PROGID "Parlevo.Backup"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

Name "Parlevo"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\Parlevo"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
; Program Files and the machine-wide file association need an administrator.
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma
BrandingText "Parlevo ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define MUI_ICON "../res/parlevo.ico"
!define MUI_UNICON "../res/parlevo.ico"
!define MUI_ABORTWARNING
; No "Run Parlevo" here: started from the elevated installer it would run as administrator,
; and Explorer could not drop files onto it.
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the README"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Parlevo"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Parlevo ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" ""

Section "Parlevo" SecMain
    SectionIn RO
    SetShellVarContext all

    SetOutPath "$INSTDIR"
    File "${STAGEDIR}/Parlevo.exe"
    File "${STAGEDIR}/README.txt"
    SetOutPath "$INSTDIR\Samples"
    File "${STAGEDIR}/Samples/Lumivex.dll"
    File "${STAGEDIR}/Samples/de.lng"
    SetOutPath "$INSTDIR"

    ; Parlevo keeps its settings beside the exe and writes the module path there. Without this
    ; a user who is not an administrator could never store it under Program Files. A reinstall
    ; keeps the settings that are there.
    ${IfNot} ${FileExists} "$INSTDIR\Parlvo.ini"
        FileOpen $0 "$INSTDIR\Parlvo.ini" w
        FileClose $0
    ${EndIf}
    ; S-1-5-32-545 is the Users group under every language of Windows. Windows XP has no
    ; icacls; its users are administrators anyway.
    nsExec::Exec '"$SYSDIR\icacls.exe" "$INSTDIR\Parlvo.ini" /grant *S-1-5-32-545:(M)'
    Pop $0

    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateDirectory "$SMPROGRAMS\Parlevo"
    CreateShortcut "$SMPROGRAMS\Parlevo\Parlevo.lnk" "$INSTDIR\Parlevo.exe"
    CreateShortcut "$SMPROGRAMS\Parlevo\Parlevo README.lnk" "$INSTDIR\README.txt"

    ; .lng -> Parlevo.LanguageFile, remembering the class that .lng named before.
    ReadRegStr $0 HKLM "${CLASSES}\.lng" ""
    ${If} $0 != ""
    ${AndIf} $0 != "${PROGID}"
        WriteRegStr HKLM "${CLASSES}\.lng" "${PREVIOUS_PROGID}" $0
    ${EndIf}
    WriteRegStr HKLM "${CLASSES}\.lng" "" "${PROGID}"
    WriteRegStr HKLM "${CLASSES}\${PROGID}" "" "Lumivex language file"
    WriteRegStr HKLM "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\Parlevo.exe,0"
    WriteRegStr HKLM "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\Parlevo.exe" "%1"'

    WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "Parlevo"
    WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Parlevo.exe,0"
    WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0

    ; SHCNE_ASSOCCHANGED: Explorer shows the new icon and open command at once.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
    SetShellVarContext all

    Delete "$INSTDIR\Parlevo.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\Parlvo.ini"
    Delete "$INSTDIR\Samples\Lumivex.dll"
    Delete "$INSTDIR\Samples\de.lng"
    Delete "$INSTDIR\Uninstall.exe"
    ; Not recursive: language files the user saved in here stay, and so does the folder.
    RMDir "$INSTDIR\Samples"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Parlevo\Parlevo.lnk"
    Delete "$SMPROGRAMS\Parlevo\Parlevo README.lnk"
    RMDir "$SMPROGRAMS\Parlevo"

    ; Give .lng back to its previous class, but only while it is still ours.
    ReadRegStr $0 HKLM "${CLASSES}\.lng" ""
    ${If} $0 == "${PROGID}"
        ReadRegStr $1 HKLM "${CLASSES}\.lng" "${PREVIOUS_PROGID}"
        ${If} $1 != ""
            WriteRegStr HKLM "${CLASSES}\.lng" "" $1
        ${Else}
            DeleteRegValue HKLM "${CLASSES}\.lng" ""
        ${EndIf}
    ${EndIf}
    DeleteRegValue HKLM "${CLASSES}\.lng" "${PREVIOUS_PROGID}"
    DeleteRegKey /ifempty HKLM "${CLASSES}\.lng"
    DeleteRegKey HKLM "${CLASSES}\${PROGID}"
    DeleteRegKey HKLM "${UNINST_KEY}"

    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
