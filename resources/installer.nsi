; The per-user installer: no administrator rights, the program in %LOCALAPPDATA%\Programs\Tessary,
; a Start-menu entry and an uninstaller. tools/package.sh runs makensis with VERSION (from the
; VERSION file), STAGE (the folder holding the files to install) and OUTFILE.
; A 64-bit installer for a 64-bit program: it runs wherever Tessary can, Wine without its 32-bit
; part included.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"

!define APP "Tessary"
!define MAIN_CLASS "TessaryMain" ; the main window's class: present while the program runs
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
; Running the installer again installs over the earlier copy, wherever it was put.
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} setup"
VIAddVersionKey "CompanyName" "Tessary developers"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 Tessary developers. MIT License."

!define MUI_ICON "tessary.ico"
!define MUI_UNICON "tessary.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tessary.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${APP}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "The program is always removed. Tick what else should go."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Files of a running program cannot be replaced or removed: ask the user to close it first.
; A silent run gives up at once.
!macro RefuseWhileRunning UN
Function ${UN}RefuseWhileRunning
  retry:
    FindWindow $0 "${MAIN_CLASS}"
    StrCmp $0 0 done
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${APP} is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
  done:
FunctionEnd
!macroend
!insertmacro RefuseWhileRunning ""
!insertmacro RefuseWhileRunning "un."

Function .onInit
  Call RefuseWhileRunning
FunctionEnd

Section "${APP}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\Tessary.exe"
  File "${STAGE}\MonitorShading.png"
  File "${STAGE}\MonitorGlare.png"
  File "${STAGE}\README.md"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\Tessary.exe" "" "$INSTDIR\Tessary.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tessary developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tessary.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  Call un.RefuseWhileRunning
FunctionEnd

Section "un.${APP}" UnSecProgram
  SectionIn RO
  Delete "$INSTDIR\Tessary.exe"
  Delete "$INSTDIR\MonitorShading.png"
  Delete "$INSTDIR\MonitorGlare.png"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Left in place unless ticked: thumbnails take long to make again, and the desktop may be showing
; the wallpaper bitmap. The program keeps them beside itself, or in %LOCALAPPDATA%\Tessary when
; its folder is not writable.
Section /o "un.Thumbnail cache and wallpaper bitmap" UnSecCache
  RMDir /r "$INSTDIR\Cache"
  Delete "$INSTDIR\Tessary.bmp"
  Delete "$INSTDIR\TempConvert.bmp"
  RMDir /r "$LOCALAPPDATA\${APP}\Cache"
  Delete "$LOCALAPPDATA\${APP}\Tessary.bmp"
  Delete "$LOCALAPPDATA\${APP}\TempConvert.bmp"
  RMDir "$LOCALAPPDATA\${APP}"
SectionEnd

Section /o "un.Settings" UnSecSettings
  DeleteRegKey HKCU "Software\VB and VBA Program Settings\${APP}"
SectionEnd

; Last: the folder goes only when nothing the user kept is left in it.
Section "-un.Folder"
  RMDir "$INSTDIR"
SectionEnd
