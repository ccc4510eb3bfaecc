; SPDX-License-Identifier: MIT
; The Windows installer, tikora-setup.exe, built by scripts/package-windows with NSIS 3:
;   makensis -DVERSION=1.0 -DFILE_VERSION=1.0.0.0 -DSTAGE=folder -DICON=tikora.ico \
;            -DOUTFILE=tikora-setup.exe packaging/windows/tikora.nsi
; STAGE holds what is installed: tikora.exe, tikora-preview.exe, Skins\, LICENSE.txt, README.txt.
; The program goes into the profile of the user who runs the installer, without elevation: the
; clock, its settings and its start at sign-in are that user's, and an installer elevated by
; another account would put them into that account's profile. A Start-menu entry, and, unless
; the user unticks it, a shortcut in the Startup folder. At the end the installer starts the clock:
; when the finish page's "Start Tikora now" is ticked, in silent mode with /START, and always when
; it ended the clock to update it. The uninstaller removes all of that and leaves the user's
; settings (HKCU\Software\Vardo Software\Tikora).

!ifndef VERSION | FILE_VERSION | STAGE | ICON | OUTFILE
    !error "makensis needs -DVERSION=, -DFILE_VERSION=, -DSTAGE=, -DICON= and -DOUTFILE="
!endif

Unicode true
; A 64-bit installer for a 64-bit program: it sees the 64-bit registry as it is, and runs where
; there is no 32-bit subsystem (a plain wine64, for one).
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Tikora"
!define PUBLISHER "Vardo Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tikora"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${FILE_VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) The Tikora developers, MIT licence"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Tikora now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartClock
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; 1 once the installer has ended the installed clock, which it then starts again.
Var ClockEnded

; The running clock's hidden window that ends it on WM_CLOSE, as Exit does (it saves the
; settings); 0 when no clock runs in this session. Only one clock runs in a session.
!macro FindClock result
    System::Call 'user32::FindWindowW(w "TikoraHiddenWindow", w "Tikora") p .${result}'
!macroend

; Ends the clock if it is the one installed in $INSTDIR, never a copy that runs from elsewhere.
; The clock is given ten seconds, then ended by force.
!macro EndInstalledClock un
    Function ${un}EndInstalledClock
        StrCpy $ClockEnded 0
        !insertmacro FindClock r0
        ${If} $0 == 0
            Return
        ${EndIf}
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
        ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE
        System::Call 'kernel32::OpenProcess(i 0x101001, i 0, i r1) p .r2'
        ${If} $2 == 0
            Return
        ${EndIf}
        System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i .r4'
        ${If} $4 <> 0
        ${AndIf} $3 == "$INSTDIR\tikora.exe"
            System::Call 'user32::PostMessageW(p r0, i 0x0010, p 0, p 0)' ; WM_CLOSE
            System::Call 'kernel32::WaitForSingleObject(p r2, i 10000) i .r5'
            ${If} $5 <> 0
                System::Call 'kernel32::TerminateProcess(p r2, i 1)'
                System::Call 'kernel32::WaitForSingleObject(p r2, i 5000)'
            ${EndIf}
            StrCpy $ClockEnded 1
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r2)'
    FunctionEnd
!macroend
!insertmacro EndInstalledClock ""
!insertmacro EndInstalledClock "un."

; Starts the installed clock in its own folder, unless a clock runs already.
Function StartClock
    !insertmacro FindClock r0
    ${If} $0 == 0
        SetOutPath "$INSTDIR"
        Exec '"$INSTDIR\tikora.exe"'
    ${EndIf}
FunctionEnd

Section "Tikora (required)" SecProgram
    SectionIn RO
    Call EndInstalledClock
    SetOutPath "$INSTDIR"
    File "${STAGE}\tikora.exe"
    File "${STAGE}\tikora-preview.exe"
    File "${STAGE}\LICENSE.txt"
    File "${STAGE}\README.txt"
    File /r "${STAGE}\Skins"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    SetOutPath "$INSTDIR"
    ; Shortcuts start the clock in $OUTDIR, its own folder, where the skin chooser opens beside
    ; the skins.
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tikora.exe" "" "$INSTDIR\tikora.exe" 0
    ; The sign-in start of earlier installers, a Run value, gives way to the Startup shortcut.
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"

    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tikora.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Start at sign-in" SecSignIn
    SetOutPath "$INSTDIR"
    CreateShortcut "$SMSTARTUP\${PRODUCT}.lnk" "$INSTDIR\tikora.exe" "" "$INSTDIR\tikora.exe" 0
SectionEnd

; The clock the update ended runs again; a silent install starts it when asked with /START.
Section "-Start"
    StrCpy $1 $ClockEnded
    ${If} ${Silent}
        ${GetParameters} $0
        ClearErrors
        ${GetOptions} $0 "/START" $2
        ${IfNot} ${Errors}
            StrCpy $1 1
        ${EndIf}
    ${EndIf}
    ${If} $1 == 1
        Call StartClock
    ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The clock, its skins and the skin preview tool."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecSignIn} "Start the clock whenever you sign in."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
    Call un.EndInstalledClock
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$SMSTARTUP\${PRODUCT}.lnk"
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    Delete "$INSTDIR\tikora.exe"
    Delete "$INSTDIR\tikora-preview.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\README.txt"
    RMDir /r "$INSTDIR\Skins"
    Delete "$INSTDIR\uninstall.exe"
    ; Not /r: whatever else the user put here stays.
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
