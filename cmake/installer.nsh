; The installer's own page and steps, included into the script that CPack writes (packaging.cmake
; says where each is called):
; - the page "Start Tavik Varrow when I log on", ticked when the earlier install starts at log-on,
;   which is also what a silent install (/S) keeps; /AUTOSTART=1 or /AUTOSTART=0 on the command
;   line decides over both. The choice writes or removes the current user's Run entry, and the
;   uninstaller removes it;
; - closing a running copy of the tool before its files are replaced or removed;
; - the uninstaller's removal of roomsim's registration as the handler of aim: links.

!include LogicLib.nsh
!include nsDialogs.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define TV_RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define TV_RUN_NAME "Tavik Varrow V.2"
!define TV_FORM_CLASS "TavikVarrowForm1" ; kFormClassName in src/app/control_ids.h
!define TV_SYNCHRONIZE 0x00100000
!define TV_WAIT_FAILED -1 ; WaitForSingleObject's 0xFFFFFFFF, as System::Call's "i" gives it
!define TV_CLOSE_ROUNDS 5 ; windows closed one after another before the user is asked
!define TV_AIM_KEY "Software\Classes\aim" ; what `roomsim --register` writes
!define TV_UPGRADE_VARIABLE "TV_INSTALLER_UPGRADE"

Var TvAutostart ; "1" or "0"
Var TvAutostartBox

; Called first in .onInit, before CPack's code there runs the earlier install's uninstaller, which
; removes the Run entry.
Function TvOnInit
  ; The entry as the earlier install wrote it: CPack records the install folder under SHCTX, which
  ; is HKLM for an install for all users and HKCU for one for the user alone.
  StrCpy $TvAutostart 0
  ReadRegStr $R0 HKLM "${TV_INSTALL_KEY}" ""
  ${If} $R0 == ""
    ReadRegStr $R0 HKCU "${TV_INSTALL_KEY}" ""
  ${EndIf}
  ReadRegStr $R1 HKCU "${TV_RUN_KEY}" "${TV_RUN_NAME}"
  ${If} $R0 != ""
  ${AndIf} $R1 == '"$R0\tavik-varrow.exe"'
    StrCpy $TvAutostart 1
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AUTOSTART=" $R1
  ${IfNot} ${Errors}
    ${If} $R1 == 1
      StrCpy $TvAutostart 1
    ${Else}
      StrCpy $TvAutostart 0
    ${EndIf}
  ${EndIf}
  ; That uninstaller inherits it and keeps roomsim's aim: registration, as roomsim comes back.
  System::Call 'kernel32::SetEnvironmentVariable(t "${TV_UPGRADE_VARIABLE}", t "1")'
FunctionEnd

Function TvAutostartPage
  !insertmacro MUI_HEADER_TEXT "Start When You Log On" \
    "Choose whether ${TV_RUN_NAME} starts by itself."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 12u "Start Tavik Varrow when I log on"
  Pop $TvAutostartBox
  ${If} $TvAutostart == 1
    ${NSD_Check} $TvAutostartBox
  ${EndIf}
  ${NSD_CreateLabel} 0 20u 100% 40u "Windows then starts ${TV_RUN_NAME} each time you log on to this user account. Uninstalling it takes this away again."
  Pop $0
  nsDialogs::Show
FunctionEnd

Function TvAutostartPageLeave
  ${NSD_GetState} $TvAutostartBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $TvAutostart 1
  ${Else}
    StrCpy $TvAutostart 0
  ${EndIf}
FunctionEnd

Function TvWriteAutostart
  ${If} $TvAutostart == 1
    WriteRegStr HKCU "${TV_RUN_KEY}" "${TV_RUN_NAME}" '"$INSTDIR\tavik-varrow.exe"'
  ${Else}
    ; An earlier install may have asked for it.
    DeleteRegValue HKCU "${TV_RUN_KEY}" "${TV_RUN_NAME}"
  ${EndIf}
FunctionEnd

; A running tool keeps its program file: asked to close as the user would close it, its process is
; waited for, as the file is free only once that has ended. Where that wait fails (the process
; ended before it could be opened, or may not be opened), the window's going is taken instead. One
; that stays is left to the user (a silent run gives up), and so is a window that keeps coming back.
!macro TV_CLOSE_RUNNING_COPY un
Function ${un}TvCloseRunningCopy
  StrCpy $4 0
  retry:
    FindWindow $0 "${TV_FORM_CLASS}"
    StrCmp $0 0 done
    IntOp $4 $4 + 1
    IntCmp $4 ${TV_CLOSE_ROUNDS} 0 0 ask
    DetailPrint "Closing the running ${TV_RUN_NAME}"
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    System::Call 'kernel32::OpenProcess(i ${TV_SYNCHRONIZE}, i 0, i r1) p .r2'
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    System::Call 'kernel32::WaitForSingleObject(p r2, i 15000) i .r3'
    System::Call 'kernel32::CloseHandle(p r2)'
    StrCmp $3 0 retry
    StrCmp $3 ${TV_WAIT_FAILED} 0 ask
    StrCpy $3 150 ; tenths of a second
  window_open:
    IsWindow $0 0 retry
    Sleep 100
    IntOp $3 $3 - 1
    IntCmp $3 0 ask ask window_open
  ask:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${TV_RUN_NAME} is still running. Close it, then click Retry." /SD IDCANCEL IDRETRY again
    Abort
  again:
    StrCpy $4 0
    Goto retry
  done:
FunctionEnd
!macroend
!insertmacro TV_CLOSE_RUNNING_COPY ""
!insertmacro TV_CLOSE_RUNNING_COPY "un."

; roomsim goes, and with it its registration as the handler of aim: links (HKCU, and under Wine
; HKLM too) where that starts this roomsim; a real AIM client's, or another roomsim's, stays. The
; path is compared, not the whole command, whose arguments may differ between roomsim's versions.
!macro TV_REMOVE_AIM_HANDLER root
  ReadRegStr $R0 ${root} "${TV_AIM_KEY}\shell\open\command" ""
  Call un.TvStartsRoomsim
  ${If} $R0 == 1
    DeleteRegKey ${root} "${TV_AIM_KEY}"
  ${EndIf}
!macroend

; Whether the command line in $R0 starts with $INSTDIR\roomsim.exe, quoted or not, in any case
; (StrCmp ignores it): 1 or 0 in $R0.
Function un.TvStartsRoomsim
  StrCpy $R1 $R0 1
  ${If} $R1 == '"'
    StrCpy $R0 $R0 "" 1
  ${EndIf}
  StrLen $R2 "$INSTDIR\roomsim.exe"
  StrCpy $R1 $R0 $R2
  StrCpy $R2 $R0 1 $R2 ; what follows the path
  StrCpy $R0 0
  ${If} $R1 == "$INSTDIR\roomsim.exe"
    ${If} $R2 == '"'
    ${OrIf} $R2 == " "
    ${OrIf} $R2 == ""
      StrCpy $R0 1
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.TvRemoveAimHandler
  ReadEnvStr $R0 ${TV_UPGRADE_VARIABLE}
  ${If} $R0 != 1
    !insertmacro TV_REMOVE_AIM_HANDLER HKCU
    !insertmacro TV_REMOVE_AIM_HANDLER HKLM
  ${EndIf}
FunctionEnd
