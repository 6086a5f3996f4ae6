; The setup program of Tarvo for 64-bit Windows, in Czech. It shows the licence
; (Tarvo is free software), installs the two programs, the manual and the licence
; into Program Files\Tarvo, adds "Tarvo" to the Start menu and registers an
; uninstaller with the system. The uninstaller
; removes exactly what was installed: the user's settings
; (HKEY_CURRENT_USER\Software\Tarvo1) and data files stay.
;
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.65 -DSTAGE=FOLDER -DOUT=SETUP.exe [-DICON=tarvo.ico] tarvo.nsi
;
; A 64-bit setup program: Tarvo is a 64-bit program, and only such a setup runs
; on a Wine without its 32-bit part.

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!ifndef VERSION
!error "makensis -DVERSION=... -DSTAGE=... -DOUT=... tarvo.nsi"
!endif
!ifndef STAGE
!error "makensis -DVERSION=... -DSTAGE=... -DOUT=... tarvo.nsi"
!endif
!ifndef OUT
!error "makensis -DVERSION=... -DSTAGE=... -DOUT=... tarvo.nsi"
!endif

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvo"

Name "Tarvo ${VERSION}"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\Tarvo"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "Tarvo ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1029 "ProductName" "Tarvo"
VIAddVersionKey /LANG=1029 "FileDescription" "Instalace programu Tarvo ${VERSION}"
VIAddVersionKey /LANG=1029 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1029 "LegalCopyright" "© 2026 Tarvo developers, GPL-3.0-or-later"

!define MUI_ABORTWARNING
!ifdef ICON
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!endif
!insertmacro MUI_PAGE_WELCOME
; The licence text carries a byte order mark, so that the page shows its Czech
; letters whatever the code page of the machine that built the setup.
!insertmacro MUI_PAGE_LICENSE "${STAGE}\Licence.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The finish page offers to start Tarvo. A program started by the elevated setup
; itself would run as the administrator, with the administrator's settings: the
; desktop's shell starts it instead, as the user who is signed in.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Spustit Tarvo"
!define MUI_FINISHPAGE_RUN_FUNCTION StartAsUser
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

Section "Tarvo"
    SectionIn RO
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${STAGE}\tarvo.exe"
    File "${STAGE}\tarvo-cli.exe"
    File "${STAGE}\Návod.pdf"
    File "${STAGE}\Licence.txt"
    WriteUninstaller "$INSTDIR\Odinstalovat.exe"
    ; The shortcut starts Tarvo in the user's own folder, not in the program's
    ; folder, where a user cannot write; the shell expands the variable for
    ; whoever starts it. The working folder of a shortcut is $OUTDIR.
    StrCpy $OUTDIR "%USERPROFILE%"
    CreateShortcut "$SMPROGRAMS\Tarvo.lnk" "$INSTDIR\tarvo.exe" "" "$INSTDIR\tarvo.exe" 0 SW_SHOWNORMAL "" \
        "Příjem a převod dat z totální stanice"
    SetOutPath "$INSTDIR"

    ; Apps & features (per machine).
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tarvo ${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tarvo developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvo.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Odinstalovat.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Odinstalovat.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ; Size in KiB, as Apps & features shows it.
    SectionGetSize 0 $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function StartAsUser
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\tarvo.exe"'
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$INSTDIR\tarvo.exe"
    Delete "$INSTDIR\tarvo-cli.exe"
    Delete "$INSTDIR\Návod.pdf"
    Delete "$INSTDIR\Licence.txt"
    Delete "$INSTDIR\Odinstalovat.exe"
    ; Only an empty folder goes: whatever the user put there stays.
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Tarvo.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
