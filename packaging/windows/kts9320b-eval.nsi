; The installer of the KTS9320B Evaluation Software for Windows.
;   makensis -DVERSION=1.0.0 -DSTAGE=<the installed files> -DOUTFILE=<setup.exe> kts9320b-eval.nsi
; The board's own driver library, USBFunctions.dll, is the user's: a USBFunctions.dll in the
; installation folder that is not the simulated board's own copy is never replaced or removed,
; through a reinstall, an upgrade and the uninstaller alike. sim\USBFunctions.dll, the simulated
; board that --driver sim loads, always comes with the program.
Unicode true
!include LogicLib.nsh

!define PRODUCT "KTS9320B Evaluation Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Sets $R0 to 1 when $INSTDIR\USBFunctions.dll is missing or is the copy of the simulated board
; this installer put there: the same size and the same time stamp to the 100 ns as
; sim\USBFunctions.dll, which both come from the same file of the same installer. Anything else
; is a board's library and stays.
!macro DEFAULT_DRIVER_IS_OURS un
Function ${un}DefaultDriverIsOurs
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $R0 0
  ${IfNot} ${FileExists} "$INSTDIR\USBFunctions.dll"
    StrCpy $R0 1
  ${ElseIf} ${FileExists} "$INSTDIR\sim\USBFunctions.dll"
    GetFileTime "$INSTDIR\USBFunctions.dll" $0 $1
    GetFileTime "$INSTDIR\sim\USBFunctions.dll" $2 $3
    ${If} $0 == $2
    ${AndIf} $1 == $3
      FileOpen $0 "$INSTDIR\USBFunctions.dll" r
      FileSeek $0 0 END $1
      FileClose $0
      FileOpen $2 "$INSTDIR\sim\USBFunctions.dll" r
      FileSeek $2 0 END $3
      FileClose $2
      ${If} $1 == $3
        StrCpy $R0 1
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFAULT_DRIVER_IS_OURS ""
!insertmacro DEFAULT_DRIVER_IS_OURS "un."

Section "Program"
  SetShellVarContext all
  ; Asked before sim\ is replaced, against the copy an earlier installation left.
  Call DefaultDriverIsOurs
  SetOutPath "$INSTDIR"
  File "${STAGE}\kts9320b-eval.exe"
  File "${STAGE}\kts9320b-cli.exe"
  File "${STAGE}\KTS9330FW.Hex"
  File "${STAGE}\README.md"
  File "${STAGE}\COPYING"
  ${If} $R0 == 1
    ; The same file as sim\USBFunctions.dll below, so both carry the same time stamp.
    File "/oname=USBFunctions.dll" "${STAGE}\sim\USBFunctions.dll"
  ${Else}
    DetailPrint "The board's driver library $INSTDIR\USBFunctions.dll stays as it is."
  ${EndIf}
  SetOutPath "$INSTDIR\sim"
  File "${STAGE}\sim\USBFunctions.dll"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\kts9320b-eval.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Corvantis"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kts9320b-eval.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Call un.DefaultDriverIsOurs
  ${If} $R0 == 1
    Delete "$INSTDIR\USBFunctions.dll"
  ${EndIf}
  Delete "$INSTDIR\sim\USBFunctions.dll"
  RMDir "$INSTDIR\sim"
  Delete "$INSTDIR\kts9320b-eval.exe"
  Delete "$INSTDIR\kts9320b-cli.exe"
  Delete "$INSTDIR\KTS9330FW.Hex"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\COPYING"
  Delete "$INSTDIR\uninstall.exe"
  ; Removed only when empty: a board's library keeps its folder.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
