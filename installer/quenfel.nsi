; The per-user installer and its uninstaller. Built by scripts/package:
;   makensis -DVERSION=1.5 -DFILEVERSION=1.5.0.0 -DPROGRAM32=... -DPROGRAM64=...
;            -DPROGRAM32_KB=... -DPROGRAM64_KB=... -DICON=... -DOUTFILE=...
;            -DLANGUAGES=.../languages.nsh quenfel.nsi
; LANGUAGES is made by texts_nsh.py from resources/lang: the languages, and
; our texts in each as LangStrings named by their keys ($(installer.autorun)).
; Installer and uninstaller speak the user's Windows display language when
; they have it, English otherwise.
; It needs no administrator rights: everything goes under the user's own
; profile and HKEY_CURRENT_USER.
;
; Command line: /S silent, /AUTORUN selects "Start with Windows",
; /D=<folder> (last) chooses the folder. The uninstaller takes /S.

Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include WinVer.nsh
!include x64.nsh

!ifndef VERSION | FILEVERSION | PROGRAM32 | PROGRAM64 | PROGRAM32_KB | PROGRAM64_KB | ICON | OUTFILE | LANGUAGES
  !error "Build with scripts/package, which defines VERSION, FILEVERSION, PROGRAM32(_KB), PROGRAM64(_KB), ICON, OUTFILE and LANGUAGES"
!endif

!define PRODUCT "Quenfel"
!define EXE "Quenfel.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The program's own autorun setting, written exactly as its check box writes it.
!define SETTINGS_KEY "Software\${PRODUCT}"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
; Every running copy holds this mutex; its application window (this class,
; titled like the product) ends the program on WM_CLOSE, tray or not, and on
; the registered close message, which a copy with administrator rights
; accepts from us too: Windows drops our WM_CLOSE to it.
!define INSTANCE_MUTEX "${PRODUCT}"
!define APP_WINDOW_CLASS "QuenfelApplication"
!define CLOSE_MESSAGE "Quenfel.Close"
!define ERROR_ACCESS_DENIED 5

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
; 1 where the 64-bit program is the one to install.
Var Install64

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "$(installer.start_now)"

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; After the pages, as the Modern UI wants; English comes first.
!include "${LANGUAGES}"

VIProductVersion "${FILEVERSION}"
VIFileVersion "${FILEVERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "The ${PRODUCT} developers"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${FILEVERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${FILEVERSION}"

; Ends every running copy so that its program file can be replaced or
; removed: asks each one to close, waits for the copies to go, and after ten
; seconds asks the user, naming the copy (silently: gives up, and the caller
; aborts). The lock of a copy with administrator rights may not even be
; opened by us: refused, it still means a copy runs.
; Leaves 1 on the stack when no copy runs any more, 0 otherwise.
!macro DEFINE_CLOSE_RUNNING prefix
Function ${prefix}CloseRunningCopies
  Push $0
  Push $1
  Push $2
  Push $3
  System::Call 'user32::RegisterWindowMessageW(w "${CLOSE_MESSAGE}") i.r3'
  closeAll:
  StrCpy $1 0
  ${Do}
    ; With the rights a copy's own CreateMutex asks (MUTEX_ALL_ACCESS): the
    ; lock is seen as a second copy of the program sees it.
    System::Call 'kernel32::OpenMutexW(i 0x001F0001, i 0, w "${INSTANCE_MUTEX}") p.r0 ?e'
    Pop $2
    ${If} $0 P= 0
    ${AndIf} $2 <> ${ERROR_ACCESS_DENIED}
      StrCpy $0 1
      ${Break}
    ${EndIf}
    ${If} $0 P<> 0
      System::Call 'kernel32::CloseHandle(p r0)'
    ${EndIf}
    ${If} $1 = 0
      DetailPrint "$(installer.closing)"
    ${EndIf}
    ; Asked again every second: a copy that was still starting had no window
    ; the first time.
    IntOp $2 $1 % 10
    ${If} $2 = 0
      FindWindow $2 "${APP_WINDOW_CLASS}" "${PRODUCT}"
      ${DoWhile} $2 <> 0
        SendMessage $2 ${WM_CLOSE} 0 0 /TIMEOUT=2000
        ${If} $3 <> 0
          SendMessage $2 $3 0 0 /TIMEOUT=2000
        ${EndIf}
        FindWindow $2 "${APP_WINDOW_CLASS}" "${PRODUCT}" "" $2
      ${Loop}
    ${EndIf}
    ${If} $1 >= 100
      Call ${prefix}RunningCopyName
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "$(installer.still_running)$\r$\n$\r$\n$(installer.running_copy)" \
        /SD IDCANCEL IDRETRY closeAll
      StrCpy $0 0
      ${Break}
    ${EndIf}
    Sleep 100
    IntOp $1 $1 + 1
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Sets $R1 (the text's {1}) to the program file of the copy that did not
; close, as far as Windows tells it to us; its name otherwise.
Function ${prefix}RunningCopyName
  Push $0
  Push $1
  Push $2
  StrCpy $R1 "${EXE}"
  FindWindow $0 "${APP_WINDOW_CLASS}" "${PRODUCT}"
  ${If} $0 <> 0
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    ; PROCESS_QUERY_LIMITED_INFORMATION, which a copy with more rights grants.
    System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r1) p.r0'
    ${If} $0 P<> 0
      System::Call 'kernel32::QueryFullProcessImageNameW(p r0, i 0, w .r2, *i ${NSIS_MAX_STRLEN}) i.r1'
      ${If} $1 <> 0
        StrCpy $R1 $2
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r0)'
    ${EndIf}
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING ""
!insertmacro DEFINE_CLOSE_RUNNING "un."

; The Run entry is a command line: a path with a blank in it is quoted, the
; same rule the program applies when it writes the entry itself.
; In: the path on the stack. Out: the command on the stack.
Function CommandForPath
  Exch $0
  Push $1
  Push $2
  StrCpy $1 0
  ${Do}
    StrCpy $2 $0 1 $1
    ${If} $2 == ""
      ${Break}
    ${EndIf}
    ${If} $2 == " "
    ${OrIf} $2 == "$\t"
      StrCpy $0 '"$0"'
      ${Break}
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call CloseRunningCopies
  Pop $0
  ${If} $0 <> 1
    Abort "$(installer.nothing_changed)"
  ${EndIf}

  SetOutPath "$INSTDIR"
  ; A file that cannot be replaced is never reported as installed; silently
  ; NSIS answers its own box with Ignore, which sets the error flag.
  ClearErrors
  ${If} $Install64 = 1
    File "/oname=${EXE}" "${PROGRAM64}"
  ${Else}
    File "/oname=${EXE}" "${PROGRAM32}"
  ${EndIf}
  ${If} ${Errors}
    Abort "$(installer.nothing_changed)"
  ${EndIf}
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  SetShellVarContext current
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "$(installer.autorun)" SecAutorun
  WriteRegStr HKCU "${SETTINGS_KEY}" "loadwithwin" "1"
  Push "$INSTDIR\${EXE}"
  Call CommandForPath
  Pop $0
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" $0
SectionEnd

; Unticked on an upgrade of a copy that started with Windows: the user turned
; it off here, so it goes off as the program's own box would turn it off.
Section "-AutorunOff"
  ${IfNot} ${SectionIsSelected} ${SecAutorun}
    ReadRegStr $0 HKCU "${SETTINGS_KEY}" "loadwithwin"
    ${If} $0 == "1"
      WriteRegStr HKCU "${SETTINGS_KEY}" "loadwithwin" "0"
      DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    ${EndIf}
  ${EndIf}
SectionEnd

; NSIS picks the user's Windows display language, or failing that the first
; of the same primary language, which for some is the wrong one: Simplified
; Chinese for Hong Kong and Macao, which write the traditional script;
; Croatian for Serbian; Brazilian Portuguese for Angola and Mozambique.
!macro CHOOSE_WRITTEN_FORM
  System::Call 'kernel32::GetUserDefaultUILanguage() i.r0'
  IntOp $1 $0 & 0x3FF
  !ifdef LANG_TRADCHINESE
    ${If} $0 = 0x0C04
    ${OrIf} $0 = 0x1404
      StrCpy $LANGUAGE ${LANG_TRADCHINESE}
    ${EndIf}
  !endif
  !ifdef LANG_SERBIANLATIN
    ; Every Serbian, in either script; Croatian (0x041A, 0x101A) and Bosnian
    ; (0x141A, 0x201A) keep Croatian.
    ${If} $1 = 0x1A
    ${AndIf} $0 <> 0x041A
    ${AndIf} $0 <> 0x101A
    ${AndIf} $0 <> 0x141A
    ${AndIf} $0 <> 0x201A
      StrCpy $LANGUAGE ${LANG_SERBIANLATIN}
    ${EndIf}
  !endif
  !ifdef LANG_PORTUGUESE
    ${If} $1 = 0x16
    ${AndIf} $0 <> 0x0416
      StrCpy $LANGUAGE ${LANG_PORTUGUESE}
    ${EndIf}
  !endif
!macroend

Function .onInit
  !insertmacro CHOOSE_WRITTEN_FORM
  ${IfNot} ${AtLeastWin7}
    MessageBox MB_OK|MB_ICONSTOP "$(installer.needs_windows7)" /SD IDOK
    Abort
  ${EndIf}
  ; The 64-bit program where x64 code runs natively; the 32-bit one on 32-bit
  ; Windows and on ARM, where it runs everywhere. The section holds both, so
  ; its size is set to the one that is installed.
  ${If} ${RunningX64}
  ${AndIfNot} ${IsNativeARM64}
    StrCpy $Install64 1
    SectionSetSize ${SecProgram} ${PROGRAM64_KB}
  ${Else}
    StrCpy $Install64 0
    SectionSetSize ${SecProgram} ${PROGRAM32_KB}
  ${EndIf}
  ; The box starts as the current setting: ticked when this copy already
  ; starts with Windows, or when the command line asks for it.
  ReadRegStr $0 HKCU "${SETTINGS_KEY}" "loadwithwin"
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/AUTORUN" $2
  ${If} $0 == "1"
  ${OrIfNot} ${Errors}
    !insertmacro SelectSection ${SecAutorun}
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro CHOOSE_WRITTEN_FORM
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningCopies
  Pop $0
  ${If} $0 <> 1
    Abort "$(installer.nothing_removed)"
  ${EndIf}

  ; A copy that has just ended may hold its file for a moment longer.
  StrCpy $1 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\${EXE}"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    ${If} $1 >= 50
      ; The text's {1}.
      StrCpy $R1 "$INSTDIR\${EXE}"
      MessageBox MB_OK|MB_ICONEXCLAMATION "$(installer.could_not_remove)" /SD IDOK
      Abort
    ${EndIf}
    Sleep 100
    IntOp $1 $1 + 1
  ${Loop}
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: anything the user put there stays.
  RMDir "$INSTDIR"

  SetShellVarContext current
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; The run history, and what its writing may have left beside it. By name,
  ; and the folder only when empty, in case it is where the user installed.
  Delete "$LOCALAPPDATA\${PRODUCT}\history.csv"
  Delete "$LOCALAPPDATA\${PRODUCT}\history.csv.bad"
  Delete "$LOCALAPPDATA\${PRODUCT}\history.csv.*.bad"
  Delete "$LOCALAPPDATA\${PRODUCT}\history.csv.tmp"
  Delete "$LOCALAPPDATA\${PRODUCT}\history.csv.lock"
  RMDir "$LOCALAPPDATA\${PRODUCT}"

  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  ; Last, so that a listed program is never a half-removed one.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
