; The per-user installer of the Windows program: no administrator rights, one folder in the
; user's local application data, a Start-menu entry and an entry in the list of installed
; programs. scripts/package passes the version and the files:
;   makensis -DVERSION=0.1.0 -DPROGRAM=Quillmere.exe -DREADME=README.txt -DLICENSE=LICENSE.txt
;            -DICON=quillmere.ico -DOUTFILE=Quillmere-0.1.0-setup.exe quillmere.nsi
;
; The program keeps its files beside itself (settings.ini, Launcher.mbl, error, the graph
; backgrounds), so installing over an installed copy must never write or delete them, and
; the uninstaller removes them only when the user says so: a silent uninstall (/S) keeps
; them unless /PURGE is given too.

!ifndef VERSION | PROGRAM | README | LICENSE | ICON | OUTFILE
  !error "VERSION, PROGRAM, README, LICENSE, ICON and OUTFILE must be defined (see scripts/package)"
!endif

Unicode true
SetCompressor /SOLID lzma
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include StrFunc.nsh
${UnStrStr}

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define PUBLISHER "The Quillmere developers"

Name "Quillmere"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Quillmere"
; An upgrade goes where the installed copy is, and so finds its settings.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Quillmere ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quillmere.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Quillmere"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Quillmere ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"

; A running copy holds its program file: replacing it would fail halfway, so the user
; is asked to end it first (a silent install gives up with its exit status).
!macro WaitForProgramToEnd un
  Function ${un}WaitForProgramToEnd
    ${Do}
      ${IfNot} ${FileExists} "$INSTDIR\Quillmere.exe"
        Return
      ${EndIf}
      ClearErrors
      FileOpen $0 "$INSTDIR\Quillmere.exe" a
      ${IfNot} ${Errors}
        FileClose $0
        Return
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Quillmere is running. End it (File > Exit), then choose Retry." /SD IDCANCEL IDRETRY retry
      SetErrorLevel 3
      Quit
      retry:
    ${Loop}
  FunctionEnd
!macroend
!insertmacro WaitForProgramToEnd ""
!insertmacro WaitForProgramToEnd "un."

Section "Quillmere"
  SectionIn RO
  Call WaitForProgramToEnd
  SetOutPath "$INSTDIR"
  ; Only files of the package: what the program wrote here is left as it is.
  File "/oname=Quillmere.exe" "${PROGRAM}"
  File "/oname=README.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext current
  CreateShortcut "$SMPROGRAMS\Quillmere.lnk" "$INSTDIR\Quillmere.exe" "" "$INSTDIR\Quillmere.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quillmere"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quillmere.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.quillmere.example"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes the autostart value of the given root when it starts this copy: left behind, it
; would start a program that is gone. One of another copy of Quillmere stays.
!macro RemoveOwnRunValue root
  ReadRegStr $0 ${root} "${RUN_KEY}" "Quillmere"
  ${UnStrStr} $1 $0 "$INSTDIR\Quillmere.exe"
  ${If} $1 != ""
    DeleteRegValue ${root} "${RUN_KEY}" "Quillmere"
  ${EndIf}
!macroend

Section "Uninstall"
  Call un.WaitForProgramToEnd
  SetShellVarContext current
  Delete "$SMPROGRAMS\Quillmere.lnk"
  ; The program writes its autostart value under HKLM; a user without the rights to
  ; change that key has no such value to remove either.
  !insertmacro RemoveOwnRunValue HKCU
  !insertmacro RemoveOwnRunValue HKLM

  Delete "$INSTDIR\Quillmere.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  ; An update's download and the temporaries of a write that was cut off are no one's data.
  Delete "$INSTDIR\qmx.exe"
  Delete "$INSTDIR\.*.qmtmp-*"

  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/PURGE" $R1
  ${If} ${Errors}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Also remove your Quillmere settings and program list (settings.ini, Launcher.mbl) and its error log from $INSTDIR?" \
      /SD IDNO IDYES purge
    Goto kept
  ${EndIf}
  purge:
  Delete "$INSTDIR\settings.ini"
  Delete "$INSTDIR\Launcher.mbl"
  Delete "$INSTDIR\error"
  Delete "$INSTDIR\graphback.bmp"
  Delete "$INSTDIR\cpuback.bmp"
  kept:

  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: kept settings, or files of the user's own, keep the folder.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
