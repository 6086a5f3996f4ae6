; The setup program of Tarvo for 64-bit Windows, in Czech. It installs the two
; programs, the manual and the licence into Program Files\Tarvo, adds "Tarvo" to
; the Start menu and registers an uninstaller with the system. The uninstaller
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

; The finish page starts nothing: a program started from the elevated setup would
; run as the administrator, with the administrator's settings.
!define MUI_ABORTWARNING
!ifdef ICON
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!endif
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
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
    CreateShortcut "$SMPROGRAMS\Tarvo.lnk" "$INSTDIR\tarvo.exe" "" "$INSTDIR\tarvo.exe" 0 SW_SHOWNORMAL "" \
        "Příjem a převod dat z totální stanice"

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
