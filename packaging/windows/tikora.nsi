; SPDX-License-Identifier: MIT
; The Windows installer, tikora-setup.exe, built by scripts/package-windows with NSIS 3:
;   makensis -DVERSION=1.0 -DFILE_VERSION=1.0.0.0 -DSTAGE=folder -DOUTFILE=tikora-setup.exe \
;            packaging/windows/tikora.nsi
; STAGE holds what is installed: tikora.exe, tikora-preview.exe, Skins\, LICENSE.txt, README.txt.
; The program goes under Program Files for every user, with a Start-menu entry; starting at
; sign-in is a choice, for the user who installs. The uninstaller removes all of that and leaves
; the user's settings (HKCU\Software\Vardo Software\Tikora).

!ifndef VERSION | FILE_VERSION | STAGE | OUTFILE
    !error "makensis needs -DVERSION=, -DFILE_VERSION=, -DSTAGE= and -DOUTFILE="
!endif

Unicode true
; A 64-bit installer for a 64-bit program: it sees the 64-bit Program Files and registry as they
; are, and runs where there is no 32-bit subsystem (a plain wine64, for one).
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Tikora"
!define PUBLISHER "Vardo Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tikora"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
VIProductVersion "${FILE_VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "MIT licence"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A clock that runs holds its program file: it is asked to end as a close from outside does (it
; saves its settings and ends), and given a moment to do so.
!macro CloseRunningClock
    nsExec::Exec '"$SYSDIR\taskkill.exe" /IM tikora.exe'
    Pop $0
    ${If} $0 == 0
        Sleep 2000
    ${EndIf}
!macroend

Section "Tikora (required)" SecProgram
    SectionIn RO
    !insertmacro CloseRunningClock
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${STAGE}\tikora.exe"
    File "${STAGE}\tikora-preview.exe"
    File "${STAGE}\LICENSE.txt"
    File "${STAGE}\README.txt"
    File /r "${STAGE}\Skins"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The entry starts the clock in its own folder, where the skin chooser opens beside the skins.
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tikora.exe" "" "$INSTDIR\tikora.exe" 0

    SetRegView 64
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tikora.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Start at sign-in" SecSignIn
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\tikora.exe"'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The clock, its skins and the skin preview tool."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecSignIn} "Start the clock whenever you sign in."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
    !insertmacro CloseRunningClock
    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    Delete "$INSTDIR\tikora.exe"
    Delete "$INSTDIR\tikora-preview.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\README.txt"
    RMDir /r "$INSTDIR\Skins"
    Delete "$INSTDIR\uninstall.exe"
    ; Not /r: whatever else the user put here stays.
    RMDir "$INSTDIR"
    SetRegView 64
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
