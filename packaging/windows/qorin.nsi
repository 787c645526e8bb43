; The setup program of Qorin for Windows: installs the folder that the zip also holds, for
; the current user, without administrator rights, into the user's own programs folder, with a
; Start-menu shortcut and an entry in the list of installed programs; its uninstaller takes
; away exactly that. Both run silently with /S.
;
; makensis -DVERSION=W.X.Y.Z -DFILES=files.nsh -DASSETS=assets -DOUT=Qorin-setup.exe qorin.nsi
; FILES is written by setup-files from the folder; ASSETS holds the icon and the side picture.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestSupportedOS all
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "${FILES}"

!define PUBLISHER "The Qorin team"
!define UNINSTALL_LIST "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define UNINSTALL_KEY "${UNINSTALL_LIST}\Qorin"
!define UNINSTALLER "Uninstall.exe"
; Windows' folder for the programs a user installs for themselves (its known folder
; UserProgramFiles).
!define USER_PROGRAMS "$LOCALAPPDATA\Programs"

Name "Qorin"
OutFile "${OUT}"
InstallDir "${USER_PROGRAMS}\Qorin"
; Installing again goes to the folder of the installed copy.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Qorin ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Qorin"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Qorin ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=1033 "OriginalFilename" "Qorin-${VERSION}-setup.exe"

!define MUI_ICON "${ASSETS}/qorin.ico"
!define MUI_UNICON "${ASSETS}/qorin.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${ASSETS}/setup.bmp"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup will install Qorin ${VERSION}, the Polish-Spanish pocket \
dictionary, for you alone. It needs no administrator rights and changes nothing else on this \
computer.$\r$\n$\r$\nClick Next to continue."
!define MUI_FINISHPAGE_RUN "$INSTDIR\Qorin.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Qorin"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Qorin"
  ; The user's programs folder is Windows' own; if the setup program makes it, the
  ; uninstaller removes it again once it is empty.
  ${IfNot} ${FileExists} "${USER_PROGRAMS}\*.*"
    CreateDirectory "${USER_PROGRAMS}"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "QorinMadeProgramsFolder" 1
  ${EndIf}
  !insertmacro QorinInstallFiles
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\Qorin.lnk" "$INSTDIR\Qorin.exe" "" "$INSTDIR\Qorin.exe" 0 \
      SW_SHOWNORMAL "" "Polish-Spanish pocket dictionary"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Qorin"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Qorin.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${QORIN_SIZE_KB}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; Windows keeps a running program's file: while Qorin runs, nothing is removed and the
  ; uninstaller says so (and ends with a failure status when silent).
  ClearErrors
  Delete "$INSTDIR\Qorin.exe"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "Qorin is running. Close it, then remove it again." \
        /SD IDOK
    Abort
  ${EndIf}
  Delete "$SMPROGRAMS\Qorin.lnk"
  !insertmacro QorinRemoveFiles
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Not /r: a folder the user chose may hold files of their own, and they stay.
  RMDir "$INSTDIR"
  ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "QorinMadeProgramsFolder"
  ${If} $0 = 1
    RMDir "${USER_PROGRAMS}"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The list's own key, if the setup program was the first to make it and it is empty now.
  DeleteRegKey /ifempty HKCU "${UNINSTALL_LIST}"
SectionEnd
