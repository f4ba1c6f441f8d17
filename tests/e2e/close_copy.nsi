; For e2e_package: the installer's closing of a running copy (cmake/installer.nsh) alone, with one
; difference: the copy's process is opened without the right to wait on it, so that the wait fails
; as it does where the process ended before it could be opened, or may not be opened (a null handle
; fails it alike). Wine never gives the installer that: it grants SYNCHRONIZE on a process whatever
; the process's DACL says, and a window goes with its thread, so only a race would.
!include MUI2.nsh
!define TV_INSTALL_KEY "Software\Tavik Varrow authors\TavikVarrow"
!include "${TV_INSTALLER_NSH}"
!define /redef TV_SYNCHRONIZE 0
!insertmacro TV_CLOSE_RUNNING_COPY Rightless

Name "close_copy"
OutFile "${TV_OUT}"
RequestExecutionLevel user
Section
  Call RightlessTvCloseRunningCopy
SectionEnd
