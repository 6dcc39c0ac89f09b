; Vevo's installer: for the current user, no administrator rights, into
; %LOCALAPPDATA%\Programs\Vevo. The program keeps local.db, config.ini and console.log in its
; own folder (the Start menu's shortcut starts it there), and its self-update replaces the files
; there, so the folder must be the user's to write. /S installs silently.
; makensis -DVERSION=0.05 -DSOURCE=build-windows/Vevo -DOUTFILE=...-setup.exe installer.nsi
; 64-bit like the program it installs (and Wine without its 32-bit half runs it).
Target amd64-unicode
!include "MUI2.nsh"

Name "Vevo ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Vevo"
InstallDirRegKey HKCU "Software\Vevo" "InstallDir"
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vevo"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Ukrainian"

Section "Vevo"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File /r "${SOURCE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The shortcut's working folder is the folder SetOutPath set: the install folder.
    CreateShortCut "$SMPROGRAMS\Vevo.lnk" "$INSTDIR\vevo.exe"
    WriteRegStr HKCU "Software\Vevo" "InstallDir" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vevo"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The program's files go; the operator's own stay: the database, the settings and the log.
Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Vevo.lnk"
    Delete "$INSTDIR\vevo.exe"
    Delete "$INSTDIR\*.dll"
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\imageformats"
    RMDir /r "$INSTDIR\translations"
    RMDir /r "$INSTDIR\images"
    RMDir /r "$INSTDIR\templates"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "Software\Vevo"
SectionEnd
