; Per-user setup of Halcyra, built by installer/make-setup.sh (makensis from Debian's nsis).
;
;   makensis -DVERSION=1.3.2 -DSTAGE64=DIR -DSTAGE32=DIR -DICON=FILE -DOUTFILE=FILE Halcyra.nsi
;
; STAGE64 and STAGE32 hold Halcyra.exe, Corvane.exe and README.txt of the two builds; the setup
; installs the 64-bit pair on 64-bit Windows and the 32-bit pair elsewhere. Nothing here may
; depend on the build machine or the time of the build: the release compares two builds
; byte for byte.
;
; Installs without administrator rights into %LOCALAPPDATA%\Programs\Halcyra, with a Start menu
; shortcut and an entry in the current user's list of programs. /S installs with the defaults.
; A running copy from the install folder is asked to close first (its window's close runs its
; normal exit: tray icon and hotkeys given back) and is started again in the tray afterwards.

!ifndef VERSION | STAGE64 | STAGE32 | ICON | OUTFILE
  !error "VERSION, STAGE64, STAGE32, ICON and OUTFILE must be defined"
!endif

Unicode true
; Tests on a machine without 32-bit Wine make the same setup with a 64-bit stub (amd64-unicode).
!ifdef TARGET
  Target ${TARGET}
!endif
SetCompressor /SOLID lzma
ManifestSupportedOS all
ManifestDPIAware true
RequestExecutionLevel user

!define PRODUCT "Halcyra"
!define PUBLISHER "Quorvix Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Halcyra"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Halcyra"
!define MAIN_CLASS "HalcyraForm"
!define MAIN_TITLE "Halcyra"
; How long a running copy gets to end after it was asked to close.
!define CLOSE_WAIT_MS 15000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Halcyra"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include Sections.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE OwnInstallFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Halcyra.exe"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; 1 when setup ended a running copy, which it then starts again.
Var WasRunning

; The Run entry as the program's own check box writes it, into $R0: the path, in quotes when
; it holds a blank or a tab, then " /start".
Function RunEntryData
  Push $R1
  Push $R2
  StrCpy $R0 "$INSTDIR\Halcyra.exe"
  StrCpy $R1 0
  ${Do}
    StrCpy $R2 "$INSTDIR\Halcyra.exe" 1 $R1
    ${If} $R2 == ""
      ${ExitDo}
    ${ElseIf} $R2 == " "
    ${OrIf} $R2 == "$\t"
      StrCpy $R0 '"$R0"'
      ${ExitDo}
    ${EndIf}
    IntOp $R1 $R1 + 1
  ${Loop}
  StrCpy $R0 "$R0 /start"
  Pop $R2
  Pop $R1
FunctionEnd

; Setup writes only into a folder that is missing, empty or the one Halcyra is installed in; any
; other gets a Halcyra folder of its own inside it, as Browse gives it. So no other program's
; file is overwritten, and the uninstaller, which removes the setup's files by name, deletes
; none either.
Function OwnInstallFolder
  Push $0
  ${DirState} "$INSTDIR" $0
  ${If} $0 = 1
    ClearErrors
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} ${Errors}
    ${OrIf} $0 != $INSTDIR
      StrCpy $INSTDIR "$INSTDIR\${PRODUCT}"
    ${EndIf}
  ${EndIf}
  Pop $0
FunctionEnd

; Functions that setup and its uninstaller both need; NSIS keeps the two apart by the "un."
; prefix, so each is written once here and compiled twice.
!macro SharedFunctions UN

; Whether the path on the stack (a program path, perhaps in quotes and with arguments after
; it) lies in the install folder. Leaves 1 or 0 on the stack. Windows paths compare without
; regard to case, as StrCmp does.
Function ${UN}PathInInstallFolder
  Exch $0
  Push $1
  Push $2
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
  ${EndIf}
  StrCpy $1 "$INSTDIR\"
  StrLen $2 $1
  StrCpy $0 $0 $2
  ${If} $0 == $1
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Asks every running copy started from the install folder to close, as its own close box
; would, and waits a bounded time for each process to end (one bound for the request and the
; end together, so a hung copy costs no more than one that ignores the request). Sets $WasRunning to 1 when one
; was ended. A copy that does not end leaves a choice to retry or to give up (silently: give
; up), because its files cannot be replaced or removed while it runs.
Function ${UN}EndRunningCopies
  Push $0 ; window
  Push $1 ; process id, then whether the copy is ours
  Push $2 ; process handle
  Push $3 ; image path
  Push $4 ; result
  Push $5 ; window after which the search goes on
  Push $6 ; when the request was sent
  StrCpy $5 0
  ${Do}
    FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}" "" $5
    ${If} $0 = 0
      ${ExitDo}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1) i'
    ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
    System::Call 'kernel32::OpenProcess(i 0x00101000, i 0, i r1) p .r2'
    ${If} $2 = 0
      ; Not ours to wait for (another user's or already gone): leave it.
      StrCpy $5 $0
      ${Continue}
    ${EndIf}
    System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i .r4'
    StrCpy $1 1
    ${If} $4 <> 0
      Push $3
      Call ${UN}PathInInstallFolder
      Pop $1
    ${EndIf}
    ${If} $1 = 0
      ; A copy from another folder does not hold our files.
      System::Call 'kernel32::CloseHandle(p r2)'
      StrCpy $5 $0
      ${Continue}
    ${EndIf}
    DetailPrint "Closing the running Halcyra"
    System::Call 'kernel32::GetTickCount() i .r6'
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=${CLOSE_WAIT_MS}
    System::Call 'kernel32::GetTickCount() i .r4'
    IntOp $4 $4 - $6
    IntOp $4 ${CLOSE_WAIT_MS} - $4
    ${If} $4 < 0
      StrCpy $4 0
    ${EndIf}
    System::Call 'kernel32::WaitForSingleObject(p r2, i r4) i .r4'
    System::Call 'kernel32::CloseHandle(p r2)'
    ${If} $4 <> 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Halcyra is still running and did not close when asked.$\r$\n$\r$\nEnd it from its \
        menu (Exit), then choose Retry." /SD IDCANCEL IDRETRY retry
      DetailPrint "Halcyra did not close; nothing was changed"
      Abort "Halcyra is still running."
      retry:
    ${Else}
      StrCpy $WasRunning 1
    ${EndIf}
    StrCpy $5 0
  ${Loop}
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Deletes the file named on the stack, trying again for a while: a program that has just ended
; (the copy closed above, or the uninstaller that started this copy of itself) can hold its
; file a moment longer. A file that stays is left; the folder then stays too.
Function ${UN}DeleteSoon
  Exch $0
  Push $1
  StrCpy $1 0
  ${Do}
    Delete "$0"
    ${IfNot} ${FileExists} "$0"
    ${OrIf} $1 >= 100
      ${ExitDo}
    ${EndIf}
    Sleep 100
    IntOp $1 $1 + 1
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd

; Whether the Run entry exists and starts a program from the install folder: 1 or 0.
Function ${UN}RunEntryIsOurs
  Push $0
  ClearErrors
  ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
  ${If} ${Errors}
  ${OrIf} $0 == ""
    StrCpy $0 0
  ${Else}
    Push $0
    Call ${UN}PathInInstallFolder
    Pop $0
  ${EndIf}
  Exch $0
FunctionEnd

!macroend

!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

!macro DeleteSoon FILE
  Push "${FILE}"
  !ifdef __UNINSTALL__
    Call un.DeleteSoon
  !else
    Call DeleteSoon
  !endif
!macroend

Section "Halcyra (required)" SecProgram
  SectionIn RO
  Call EndRunningCopies
  !insertmacro DeleteSoon "$INSTDIR\Halcyra.exe"
  !insertmacro DeleteSoon "$INSTDIR\Corvane.exe"
  SetOutPath "$INSTDIR"
!ifdef BRANCH32
  ; Tests only: the 32-bit pair on any Windows, so a 64-bit test machine installs it too.
  ${If} 0 = 1
!else
  ${If} ${RunningX64}
!endif
    File "${STAGE64}/Halcyra.exe"
    File "${STAGE64}/Corvane.exe"
    File "${STAGE64}/README.txt"
  ${Else}
    File "${STAGE32}/Halcyra.exe"
    File "${STAGE32}/Corvane.exe"
    File "${STAGE32}/README.txt"
  ${EndIf}
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Halcyra.lnk" "$INSTDIR\Halcyra.exe" "" "$INSTDIR\Halcyra.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Halcyra.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ; "_?=" runs the uninstaller in place instead of from a copy that returns at once: whoever
  ; starts it (the list of programs, winget, a script) waits for it and reads its outcome.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" _?=$INSTDIR'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" \
    '"$INSTDIR\Uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start Halcyra when I sign in" SecRunAtSignIn
  Call RunEntryData
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" $R0
SectionEnd

Section "-Finish"
  ${IfNot} ${SectionIsSelected} ${SecRunAtSignIn}
    ; Cleared by the user: only an entry of this copy goes, another copy keeps its own.
    Call RunEntryIsOurs
    Pop $0
    ${If} $0 = 1
      DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    ${EndIf}
  ${EndIf}
  ${If} $WasRunning = 1
    ; Back in the tray, as the ended copy was before; its window stays hidden.
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\Halcyra.exe" /start'
  ${EndIf}
SectionEnd

Function .onInit
  SetShellVarContext current
  StrCpy $WasRunning 0
  Call OwnInstallFolder
  ; The sign-in choice starts as it is now, so a silent upgrade keeps it: ticked when the Run
  ; entry starts the copy in the install folder.
  Call RunEntryIsOurs
  Pop $0
  ${If} $0 = 1
    !insertmacro SelectSection ${SecRunAtSignIn}
  ${Else}
    !insertmacro UnselectSection ${SecRunAtSignIn}
  ${EndIf}
FunctionEnd

Function FinishPageShow
  ${If} $WasRunning = 1
    ; Already started again in the tray: a second start would ask about a running copy.
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.EndRunningCopies

  Call un.RunEntryIsOurs
  Pop $0
  ${If} $0 = 1
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}

  Delete "$SMPROGRAMS\Halcyra.lnk"
  !insertmacro DeleteSoon "$INSTDIR\Halcyra.exe"
  !insertmacro DeleteSoon "$INSTDIR\Corvane.exe"
  !insertmacro DeleteSoon "$INSTDIR\README.txt"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${If} $EXEDIR == $INSTDIR
    ; Run in place: its own file is in use until it ends. A copy of it, which NSIS starts
    ; from the temporary folder, waits for that and removes the file and the folder.
    System::Call 'kernel32::GetCurrentProcessId() i .r0'
    ; Its working folder, which Exec passes on, must not be the one to remove.
    SetOutPath "$TEMP"
    Exec '"$INSTDIR\Uninstall.exe" /S /LEFTOVERS=$0'
  ${Else}
    Call un.RemoveLeftovers
  ${EndIf}

  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
    "Also remove your Halcyra settings (the confirmation choice and the shortcut keys)?" \
    /SD IDNO IDNO keep
  DeleteRegKey HKCU "${SETTINGS_KEY}\Settings"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
  keep:
SectionEnd

Function un.onInit
  SetShellVarContext current
  StrCpy $WasRunning 0
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/LEFTOVERS=" $0
  ${IfNot} ${Errors}
    ; SYNCHRONIZE: the uninstaller that started this copy, until it has ended.
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r0) p .r0'
    ${If} $0 != 0
      System::Call 'kernel32::WaitForSingleObject(p r0, i -1) i'
      System::Call 'kernel32::CloseHandle(p r0)'
    ${EndIf}
    Call un.RemoveLeftovers
    Quit
  ${EndIf}
FunctionEnd

Function un.RemoveLeftovers
  SetOutPath "$TEMP"
  !insertmacro DeleteSoon "$INSTDIR\Uninstall.exe"
  ; Only when empty: files the user put there stay.
  RMDir "$INSTDIR"
FunctionEnd
