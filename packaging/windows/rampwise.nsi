; The Windows installer: Rampwise for the current user, without administrator rights.
;   makensis -DVERSION=1.2.3.4 -DSTAGE=folder -DICON=file.ico -DOUTFILE=setup.exe rampwise.nsi
; STAGE holds what the portable zip holds (rampwise.exe, README.txt).

!ifndef VERSION | STAGE | ICON | OUTFILE
  !error "VERSION, STAGE, ICON and OUTFILE must be defined"
!endif

; A 64-bit installer: its program files and registry views are the native ones.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Rampwise"
!define PROGRAM "rampwise.exe"
; How long the uninstaller waits for "rampwise.exe /release" before it ends it: a
; program that does not know the switch opens its window instead of ending.
!define RELEASE_WAIT_MS 5000

Name "Rampwise"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Rampwise"
BrandingText "Rampwise ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Rampwise"
VIAddVersionKey /LANG=1033 "CompanyName" "Quelmark"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 Quelmark"
VIAddVersionKey /LANG=1033 "FileDescription" "Rampwise setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEPAGE_TEXT "Setup will install Rampwise ${VERSION} for you alone, into $INSTDIR; \
it needs no administrator rights.$\r$\n$\r$\n\
If Rampwise is installed there already, it is updated: the calibrations that your \
log-on entries keep loaded are kept again once it is done.$\r$\n$\r$\n\
Close Rampwise's window before you continue, then click Next."
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!define MUI_FINISHPAGE_RUN_TEXT "Start Rampwise"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Runs "rampwise.exe /release" from the installation, which ends this user's keepers,
; and gives it RELEASE_WAIT_MS to end before ending it.
!macro DEFINE_RELEASE_KEEPERS prefix
Function ${prefix}ReleaseKeepers
  Push $0
  Push $1
  Push $2
  Push $3
  ${If} ${FileExists} "$INSTDIR\${PROGRAM}"
    ; STARTUPINFOW (104 bytes on x64, only its size set) and PROCESS_INFORMATION (24).
    System::Alloc 104
    Pop $0
    System::Call "*$0(i 104)"
    System::Alloc 24
    Pop $1
    System::Call 'kernel32::CreateProcessW(p 0, w `"$INSTDIR\${PROGRAM}" /release`, p 0, p 0, i 0, i 0, p 0, p 0, p r0, p r1) i .r2'
    ${If} $2 <> 0
      System::Call "*$1(p .r2, p .r3)"
      System::Call "kernel32::WaitForSingleObject(p r2, i ${RELEASE_WAIT_MS}) i .r0"
      ${If} $0 <> 0
        System::Call "kernel32::TerminateProcess(p r2, i 1)"
        System::Call "kernel32::WaitForSingleObject(p r2, i ${RELEASE_WAIT_MS})"
      ${EndIf}
      System::Call "kernel32::CloseHandle(p r2)"
      System::Call "kernel32::CloseHandle(p r3)"
    ${EndIf}
    System::Free $1
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_RELEASE_KEEPERS ""
!insertmacro DEFINE_RELEASE_KEEPERS "un."

; Aborts while Rampwise's window (a dialog titled "Rampwise") is open; interactively it
; first asks to close it. Called before anything is changed, the keepers included.
!macro DEFINE_CLOSED_WINDOW prefix
Function ${prefix}RequireClosedWindow
  Push $0
  retry:
  System::Call 'user32::FindWindowW(w "#32770", w "Rampwise") p .r0'
  ${If} $0 P<> 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Rampwise's window is open. Close it, then choose Retry." /SD IDCANCEL IDRETRY retry
    Pop $0
    Abort "Rampwise's window is open; nothing was changed."
  ${EndIf}
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSED_WINDOW ""
!insertmacro DEFINE_CLOSED_WINDOW "un."

; What the installer and the uninstaller read of the current user's log-on entries.
!macro DEFINE_RUN_VALUES prefix
; $0 = the program that a Run value's command line starts: its first argument, quoted
; or not, in its long form when it exists (an entry may name it by its short path).
Function ${prefix}CommandProgram
  Exch $0
  Push $1
  Push $2
  Push $3
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    StrCpy $2 '"'
  ${Else}
    StrCpy $2 " "
  ${EndIf}
  StrCpy $1 0
  ${Do}
    StrCpy $3 $0 1 $1
    ${IfThen} $3 == "" ${|} ${ExitDo} ${|}
    ${IfThen} $3 == $2 ${|} ${ExitDo} ${|}
    IntOp $1 $1 + 1
  ${Loop}
  StrCpy $0 $0 $1
  System::Call 'kernel32::GetLongPathNameW(w r0, w .r2, i ${NSIS_MAX_STRLEN}) i .r1'
  ${If} $1 > 0
  ${AndIf} $1 < ${NSIS_MAX_STRLEN}
    StrCpy $0 $2
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; $0 = 1 when the value name is one the program writes: "Rampwise", "Rampwise_N" (N >= 1).
Function ${prefix}IsProgramValueName
  Exch $0
  Push $1
  Push $2
  StrCpy $1 $0 9
  StrCpy $2 $0 "" 9
  ${If} $0 == "Rampwise"
    StrCpy $0 1
  ${ElseIf} $1 == "Rampwise_"
    IntOp $1 $2 + 0
    ${If} "$1" == "$2"
    ${AndIf} $1 > 0
      StrCpy $0 1
    ${Else}
      StrCpy $0 0
    ${EndIf}
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro DEFINE_RUN_VALUES ""
!insertmacro DEFINE_RUN_VALUES "un."

; $0 = 1 when a Run value's command asks for a keeper: an argument after the program,
; its quotes taken away, is "/keep" or "-keep" (switch names are case-sensitive).
Function CommandKeeps
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  ; $1 position, $2 character, $3 word, $4 in quotes, $5 words ended (-1: found),
  ; $6 in a word, $7 at a word's end.
  StrCpy $1 0
  StrCpy $3 ""
  StrCpy $4 0
  StrCpy $5 0
  StrCpy $6 0
  ${Do}
    StrCpy $2 $0 1 $1
    IntOp $1 $1 + 1
    StrCpy $7 0
    ${If} $2 == ""
      StrCpy $7 1
    ${ElseIf} $4 == 0
      ${If} $2 == " "
      ${OrIf} $2 == "$\t"
        StrCpy $7 1
      ${EndIf}
    ${EndIf}
    ${If} $2 == '"'
      IntOp $4 $4 ^ 1
      StrCpy $6 1
    ${ElseIf} $7 == 1
      ${If} $6 == 1
        ${If} $5 > 0
          ${If} $3 S== "/keep"
          ${OrIf} $3 S== "-keep"
            StrCpy $5 -1
            ${ExitDo}
          ${EndIf}
        ${EndIf}
        IntOp $5 $5 + 1
        StrCpy $3 ""
        StrCpy $6 0
      ${EndIf}
      ${IfThen} $2 == "" ${|} ${ExitDo} ${|}
    ${Else}
      StrCpy $3 "$3$2"
      StrCpy $6 1
    ${EndIf}
  ${Loop}
  ${If} $5 == -1
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Starts the keepers that the current user's log-on entries of the installed program
; start, each command as it stands, without waiting for it: an update ended them.
Function StartKeepers
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $0 0
  ${Do}
    EnumRegValue $1 HKCU "${RUN_KEY}" $0
    ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
    IntOp $0 $0 + 1
    Push $1
    Call IsProgramValueName
    Pop $2
    ${If} $2 == 1
      ReadRegStr $2 HKCU "${RUN_KEY}" $1
      Push $2
      Call CommandProgram
      Pop $3
      ${If} $3 == "$INSTDIR\${PROGRAM}"
        Push $2
        Call CommandKeeps
        Pop $3
        ${IfThen} $3 == 1 ${|} Exec $2 ${|}
      ${EndIf}
    ${EndIf}
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Section
  SetShellVarContext current
  Call RequireClosedWindow
  ; An update replaces the program: a keeper of the old one would hold the file.
  Call ReleaseKeepers
  SetOutPath "$INSTDIR"
  ; The program goes first: while a copy of it runs, it cannot be replaced, and
  ; nothing else is changed either (the version recorded included).
  SetOverwrite try
  retry:
  ; A keeper that was just ended, or ended by force, may hold the file a moment longer.
  StrCpy $1 0
  ${Do}
    ClearErrors
    File "${STAGE}/${PROGRAM}"
    StrCpy $2 0
    ${IfThen} ${Errors} ${|} StrCpy $2 1 ${|}
    ${If} $2 == 0
    ${OrIf} $1 >= ${RELEASE_WAIT_MS}
      ${ExitDo}
    ${EndIf}
    Sleep 250
    IntOp $1 $1 + 250
  ${Loop}
  ${If} $2 == 1
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Rampwise is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY retry
    ; The program as it was keeps again what it kept.
    Call StartKeepers
    Abort "Rampwise is running; nothing was changed."
  ${EndIf}
  SetOverwrite on
  File "${STAGE}/README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Rampwise.lnk" "$INSTDIR\${PROGRAM}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Rampwise"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quelmark"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  Call StartKeepers
SectionEnd

; The current user's log-on entries that start the installed program; entries of all
; users, and entries that start another copy of the program, stay.
Function un.RemoveRunValues
  StrCpy $0 0
  ${Do}
    EnumRegValue $1 HKCU "${RUN_KEY}" $0
    ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
    Push $1
    Call un.IsProgramValueName
    Pop $2
    ${If} $2 == 1
      ReadRegStr $2 HKCU "${RUN_KEY}" $1
      Push $2
      Call un.CommandProgram
      Pop $2
      ${If} $2 == "$INSTDIR\${PROGRAM}"
        DeleteRegValue HKCU "${RUN_KEY}" $1
        ${Continue}
      ${EndIf}
    ${EndIf}
    IntOp $0 $0 + 1
  ${Loop}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.RequireClosedWindow
  Call un.ReleaseKeepers
  ; The program goes first: while a copy of it runs nothing else is removed.
  retry:
  Delete "$INSTDIR\${PROGRAM}"
  ${If} ${FileExists} "$INSTDIR\${PROGRAM}"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Rampwise is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY retry
    Abort "Rampwise is running; nothing was removed."
  ${EndIf}
  Call un.RemoveRunValues
  Delete "$SMPROGRAMS\Rampwise.lnk"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
