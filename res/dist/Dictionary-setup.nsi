; The installer, Dictionary-setup.exe: per user, no administrator. Built by
; scripts/make-dist.sh (dictionary_make_installer in program-folder.sh):
;   makensis -DVERSION=1.45 -DVERSION_NUMBERS=1.45.0.0 -DPAYLOAD=dist/Dictionary
;            -DICON=book.ico -DOUTFILE=dist/Dictionary-setup.exe Dictionary-setup.nsi
; PAYLOAD is the program folder as the zip holds it. dictionary-tool.exe of
; the release puts it in place (install-files), so that an upgrade keeps
; every dictionary the user changed or made, and takes it away again
; (uninstall-files), keeping those.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
SetCompressorDictSize 32

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dictionary"
!define SETTINGS_KEY "Software\Tamrin\Dictionary"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The folder of the program folder the release is unpacked into first.
!define STAGING ".install-new"
; dictionary-tool's exit status when a program of the folder still runs.
!define PROGRAMS_RUNNING 5

Name "Dictionary"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Dictionary"
; An upgrade goes where the last installation went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
BrandingText "Dictionary ${VERSION}"

VIProductVersion "${VERSION_NUMBERS}"
VIFileVersion "${VERSION_NUMBERS}"
VIAddVersionKey "ProductName" "Dictionary"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Dictionary ${VERSION} setup"
VIAddVersionKey "CompanyName" "Tamrin"
VIAddVersionKey "LegalCopyright" "Freeware"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Dictionary.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Dictionary"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "The dictionaries you changed or made stay in the program's folder. Tick the box to remove your settings (the options and the window's place) as well."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Runs dictionary-tool COMMAND in the program folder until no program of
; the folder is in its way; $0 is its exit status. Silent: gives up at once.
!macro RunTool TOOL COMMAND
    ${Do}
        nsExec::ExecToLog '"${TOOL}" --root "$INSTDIR" ${COMMAND}'
        Pop $0
        ${If} $0 != ${PROGRAMS_RUNNING}
            ${Break}
        ${EndIf}
        ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Dictionary is still running from $INSTDIR and does not quit. Close it, then press Retry." /SD IDCANCEL IDRETRY`
            ${Break}
        ${EndIf}
    ${Loop}
!macroend

Section "Dictionary"
    SetShellVarContext current
    InitPluginsDir
    ; The release's own tool does the work: the installed one may be older.
    SetOutPath "$PLUGINSDIR"
    File "${PAYLOAD}/dictionary-tool.exe"
    RMDir /r "$INSTDIR\${STAGING}"
    SetOutPath "$INSTDIR\${STAGING}"
    File /r "${PAYLOAD}/*"
    !insertmacro RunTool "$PLUGINSDIR\dictionary-tool.exe" 'install-files "${STAGING}"'
    SetOutPath "$INSTDIR"
    RMDir /r "$INSTDIR\${STAGING}"
    ${If} $0 != 0
        SetErrorLevel 2
        Abort "Dictionary could not be installed: see the lines above. Your dictionaries are as they were."
    ${EndIf}

    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Dictionary.lnk" "$INSTDIR\Dictionary.exe" "" "$INSTDIR\Dictionary.exe" 0
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Dictionary"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tamrin"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Dictionary.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K /G=1" $1 $2 $3
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

Section "-un.Dictionary"
    SetShellVarContext current
    ; The installed tool removes the files it recorded, from a copy, since
    ; it removes itself.
    ${If} ${FileExists} "$INSTDIR\dictionary-tool.exe"
        InitPluginsDir
        CopyFiles /SILENT "$INSTDIR\dictionary-tool.exe" "$PLUGINSDIR"
        !insertmacro RunTool "$PLUGINSDIR\dictionary-tool.exe" "uninstall-files"
        ${If} $0 == ${PROGRAMS_RUNNING}
            SetErrorLevel 2
            Abort "Dictionary is still running; nothing was removed."
        ${EndIf}
    ${Else}
        DetailPrint "dictionary-tool.exe is missing: every dictionary is kept."
    ${EndIf}
    Delete "$INSTDIR\Dictionary.exe"
    Delete "$INSTDIR\dictionary-tool.exe"
    Delete "$INSTDIR\Uninstall.exe"
    Delete "$SMPROGRAMS\Dictionary.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; "Start with Windows" of this copy (quoted as written now, bare as before).
    ReadRegStr $1 HKCU "${RUN_KEY}" "Dictionary"
    ${If} $1 == '"$INSTDIR\Dictionary.exe"'
    ${OrIf} $1 == "$INSTDIR\Dictionary.exe"
        DeleteRegValue HKCU "${RUN_KEY}" "Dictionary"
    ${EndIf}
    RMDir "$INSTDIR"

    ; Say where the dictionaries that stay are.
    StrCpy $2 ""
    FindFirst $3 $4 "$INSTDIR\*"
    ${DoWhile} $4 != ""
        ${If} $4 != "."
        ${AndIf} $4 != ".."
        ${AndIf} ${FileExists} "$INSTDIR\$4\*"
            StrCpy $2 "$2$\r$\n    $4"
        ${EndIf}
        FindNext $3 $4
    ${Loop}
    FindClose $3
    ${If} $2 != ""
        DetailPrint "Kept in $INSTDIR:$2"
        MessageBox MB_OK|MB_ICONINFORMATION "Your dictionaries with changes, and the ones you made, were kept in $INSTDIR:$2" /SD IDOK
    ${EndIf}
SectionEnd

Section /o "un.Remove my settings"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Tamrin"
SectionEnd
