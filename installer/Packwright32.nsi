; The Packwright32 installer. scripts/package.sh runs makensis with:
;   /DARCH=win32|win64   which build the files come from
;   /DSTAGE=DIR          the files to install (the zip's contents)
;   /DOUTFILE=FILE       the installer to write
;   /DVERSION=1.2.3.4 /DVERSION_NAME="V..."   from res/version.h
;   /DROOT=DIR           the source tree (icon)
; Installs for all users into Program Files, with a Start-menu folder, an
; uninstaller listed under Programs and Features, and the .vpp association
; with its "Extract to NAME\" verb.

!if "${ARCH}" == "win64"
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  Target x86-unicode
  !define PROGRAM_FILES "$PROGRAMFILES32"
!endif

!define APP "Packwright32"
!define PROG_ID "Packwright32.Document"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Packwright32"
; The record the program writes about itself at every start: it names the
; removed executable once the program is gone.
!define MODULE_KEY "Software\Halvard Network\Halvard Manager Tools\Halvard Manager PACKWRIGHT32"

!include "MUI2.nsh"

Name "${APP} ${VERSION_NAME}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\${APP}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "${APP} ${VERSION_NAME}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Halvard Manager PACKWRIGHT32"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION_NAME}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "Halvard Network"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 The Packwright32 developers. MIT licence."

!define MUI_ICON "${ROOT}\res\Packwright32.ico"
!define MUI_UNICON "${ROOT}\res\Packwright32.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Packwright32.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\USER-GUIDE.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Tells Explorer that file associations changed, so icons and "Open" follow.
!macro NotifyAssociationsChanged
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

Section "Packwright32"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\Packwright32.exe"
  File "${STAGE}\packwright.exe"
  File "${STAGE}\packwrightw.exe"
  File "${STAGE}\hm_tools.dll"
  File "${STAGE}\hm_modul.dat"
  File "${STAGE}\USER-GUIDE.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${APP}"
  CreateShortcut "$SMPROGRAMS\${APP}\${APP}.lnk" "$INSTDIR\Packwright32.exe"
  CreateShortcut "$SMPROGRAMS\${APP}\User guide.lnk" "$INSTDIR\USER-GUIDE.txt"
  CreateShortcut "$SMPROGRAMS\${APP}\Uninstall ${APP}.lnk" "$INSTDIR\Uninstall.exe"

  ; The same file type the program registers at its start (which adds DDE).
  WriteRegStr HKCR ".vpp" "" "${PROG_ID}"
  WriteRegStr HKCR "${PROG_ID}" "" "VPP Archive File"
  WriteRegStr HKCR "${PROG_ID}\DefaultIcon" "" "$INSTDIR\Packwright32.exe,0"
  WriteRegStr HKCR "${PROG_ID}\shell\open\command" "" '"$INSTDIR\Packwright32.exe" "%1"'
  ; Extracts the archive into the folder named after it, beside it, through
  ; the tool built without a console. A static verb's text cannot hold the
  ; file's name (only a shell extension DLL could put it there), so the
  ; menu shows NAME itself.
  WriteRegStr HKCR "${PROG_ID}\shell\extract" "" 'Extract to NAME\'
  WriteRegStr HKCR "${PROG_ID}\shell\extract\command" "" '"$INSTDIR\packwrightw.exe" extract-here "%1"'
  !insertmacro NotifyAssociationsChanged

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Packwright32 developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Packwright32.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\Packwright32.exe"
  Delete "$INSTDIR\packwright.exe"
  Delete "$INSTDIR\packwrightw.exe"
  Delete "$INSTDIR\hm_tools.dll"
  Delete "$INSTDIR\hm_modul.dat"
  Delete "$INSTDIR\USER-GUIDE.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${APP}\${APP}.lnk"
  Delete "$SMPROGRAMS\${APP}\User guide.lnk"
  Delete "$SMPROGRAMS\${APP}\Uninstall ${APP}.lnk"
  RMDir "$SMPROGRAMS\${APP}"

  ; .vpp is left alone when another program has taken it since.
  ReadRegStr $0 HKCR ".vpp" ""
  StrCmp $0 "${PROG_ID}" 0 +2
    DeleteRegKey HKCR ".vpp"
  ; The file type with all its verbs, Extract to among them.
  DeleteRegKey HKCR "${PROG_ID}"
  !insertmacro NotifyAssociationsChanged

  DeleteRegKey HKLM "${MODULE_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
