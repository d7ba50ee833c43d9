; The Windows setup of Rido Kladdorix (NSIS 3, Modern UI 2, German).
;
; Installs for the current user only, without administrator rights, into
; %USERPROFILE%\Rido-Kladdorix: the program keeps "Noten", its settings and
; its key file beside itself, so it must live where the user may write.
; Setup and uninstaller handle only the program's own files (the lists made
; by scripts/package-windows.sh from the ready program folder), its two
; shortcuts and its entry under "Apps & Features"; whatever the teacher's
; work left in the folder stays, byte for byte, through updates and removal.
;
; makensis defines (scripts/package-windows.sh passes them):
;   VERSION      1.2.3
;   SOURCE       the ready program folder (exe, DLLs, Lizenzen, Liesmich.txt)
;   ICON         the program's .ico
;   FILES        include file: the program's files, installed
;   UNFILES      include file: the same files, removed
;   OUTFILE      the setup to write
;   SIZE_KB      the installed size for "Apps & Features"

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Rido Kladdorix"
!define EXE "Rido-Kladdorix.exe"
!define UNINSTALLER "Deinstallieren.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Rido-Kladdorix"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROFILE\Rido-Kladdorix"
; A newer setup goes where the older one put the program.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Rido Kladdorix"

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Willkommen bei Rido Kladdorix"
!define MUI_WELCOMEPAGE_TEXT "Rido Kladdorix ist ein Notenbuch für Lehrkräfte am Gymnasium.$\r$\n$\r$\nDas Programm wird nur für Sie eingerichtet, in Ihren eigenen Ordner; Administratorrechte sind nicht nötig.$\r$\n$\r$\nIst Rido Kladdorix schon eingerichtet, wird nur das Programm erneuert: Ihre Notenbücher im Ordner „Noten“, die Einstellungen und der Schlüssel bleiben unverändert.$\r$\n$\r$\nBitte schließen Sie Rido Kladdorix, falls es gerade läuft.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME

!define MUI_DIRECTORYPAGE_TEXT_TOP "Rido Kladdorix legt seine Notenbücher (Ordner „Noten“) neben sich ab. Wählen Sie deshalb einen Ordner, in den Sie schreiben dürfen; vorgeschlagen ist ein Ordner in Ihrem Benutzerordner."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES

!define MUI_FINISHPAGE_TITLE "Rido Kladdorix ist eingerichtet"
!define MUI_FINISHPAGE_TEXT "Sie finden Rido Kladdorix im Startmenü und auf dem Desktop. Seine Notenbücher legt es im Ordner „Noten“ neben sich ab."
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Rido Kladdorix jetzt starten"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Liesmich.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Liesmich.txt anzeigen"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "Entfernt werden nur das Programm, seine Verknüpfungen im Startmenü und auf dem Desktop und sein Eintrag in „Apps && Features“. Der Ordner „Noten“ mit allen Notenbüchern, die Einstellungen (.Kladdorix-Einstellungen) und der Schlüssel (.Kladdorix-Schluessel) bleiben in diesem Ordner erhalten:"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Rido Kladdorix ist entfernt"
!define MUI_FINISHPAGE_TEXT "Das Programm ist entfernt.$\r$\n$\r$\nIhre Notenbücher (Ordner „Noten“), die Einstellungen und der Schlüssel sind geblieben, wo sie waren:$\r$\n$INSTDIR"
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "German"

Section "Rido Kladdorix" SecProgram
  SectionIn RO
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  SetOverwrite on
  ; Only the program's own files: nothing below "Noten", no settings, no key file.
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The shortcuts start in the program folder and carry the program's icon.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" "Notenbuch für Lehrkräfte"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" "Notenbuch für Lehrkräfte"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; The program's own files by name; folders go only when they are empty.
  !include "${UNFILES}"
  ; The lock the program holds while it runs: it is not data.
  Delete "$INSTDIR\.Kladdorix-Sperre"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"

  DetailPrint "Geblieben sind der Ordner „Noten“, die Einstellungen und der Schlüssel in $INSTDIR."
SectionEnd
