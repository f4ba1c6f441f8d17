# The release package of the Windows build: a zip to unpack anywhere and an NSIS installer (Program
# Files, a Start-menu folder, an uninstaller listed in Add/Remove Programs). scripts/package.sh runs
# CPack on a configured build; `make package` calls it.
#
# The version is the project's: the file names, the installer and the registry take it from
# project(VERSION), as the programs' version resources do (src/app/res/version.h.in).

# One flat folder: the tool, roomsim to try it out without an AIM client, and their documents.
# The programs link their runtime statically, so no DLL goes with them.
install(TARGETS tavik-varrow roomsim RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
              ${PROJECT_SOURCE_DIR}/CHANGELOG.md DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/tools/roomsim/README.md DESTINATION . RENAME roomsim-README.md)

set(CPACK_GENERATOR ZIP NSIS)
# The NSIS lines below hold backslashes and quotes: CPack is to write them out as they are.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME tavik-varrow)
set(CPACK_PACKAGE_VENDOR "Tavik Varrow authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tavik Varrow V.2: a companion for AIM chat rooms")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(CPACK_PACKAGE_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(CPACK_PACKAGE_VERSION_PATCH ${PROJECT_VERSION_PATCH})
# One package per build: win32 (i686) or win64 (x86_64).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TV_PACKAGE_ARCH win64)
else()
  set(TV_PACKAGE_ARCH win32)
endif()
set(CPACK_PACKAGE_FILE_NAME tavik-varrow-${PROJECT_VERSION}-${TV_PACKAGE_ARCH})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Tavik Varrow V.2")
# Without the version, so that a later installer finds and replaces this one.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY TavikVarrow)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
# Stripping gives a program a new PE time stamp: with SOURCE_DATE_EPOCH set (scripts/package.sh
# sets it), Debian's binutils take that time, the commit's, instead of the present one.
set(CPACK_STRIP_FILES ON)
# What CPack has staged, before each package is made of it: the programs signed (when asked for)
# and every file dated as the commit. SHA256SUMS, over all packages, comes from scripts/package.sh.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/package-stage.cmake)

set(CPACK_NSIS_PACKAGE_NAME "Tavik Varrow V.2")
set(CPACK_NSIS_DISPLAY_NAME "Tavik Varrow V.2")
# The Start-menu entries, written out rather than through CPACK_PACKAGE_EXECUTABLES, which would
# point them at "$INSTDIR\.\tavik-varrow.exe" in this flat layout.
set(CPACK_NSIS_CREATE_ICONS_EXTRA [[
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\Tavik Varrow V.2.lnk" "$INSTDIR\tavik-varrow.exe"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\roomsim (stand-in chat room).lnk" "$INSTDIR\roomsim.exe"
]])
set(CPACK_NSIS_DELETE_ICONS_EXTRA [[
  Delete "$SMPROGRAMS\$MUI_TEMP\Tavik Varrow V.2.lnk"
  Delete "$SMPROGRAMS\$MUI_TEMP\roomsim (stand-in chat room).lnk"
]])
# The page "Start Tavik Varrow when I log on" after the licence, and a running tool closed before
# files are replaced or removed (cmake/installer.nsh). CPack writes its own licence page line only
# where this variable is unset; here it is the same line and the new page after it (and the key
# where CPack records the install folder, for installer.nsh).
set(CPACK_NSIS_LICENSE_PAGE "
  !insertmacro MUI_PAGE_LICENSE \"${CPACK_RESOURCE_FILE_LICENSE}\"
  !define TV_INSTALL_KEY \"Software\\${CPACK_PACKAGE_VENDOR}\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}\"
  !include \"${PROJECT_SOURCE_DIR}/cmake/installer.nsh\"
  Page custom TvAutostartPage TvAutostartPageLeave
")
set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "Call TvCloseRunningCopy")
# File commands after the programs' store no file time. There is one: .onInit unpacks the .ini
# of CPack's options page, which CPack writes anew, with a new time, each time it packs.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  Call TvWriteAutostart
  SetDateSave off
")
# CPack's uninstaller removes the install folder's key but leaves the vendor's key above it, empty.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  Call un.TvCloseRunningCopy
  Call un.TvRemoveAimHandler
  DeleteRegValue HKCU \"\${TV_RUN_KEY}\" \"\${TV_RUN_NAME}\"
  DeleteRegKey SHCTX \"\${TV_INSTALL_KEY}\"
  DeleteRegKey /ifempty SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\"
")
set(CPACK_NSIS_INSTALLED_ICON_NAME tavik-varrow.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/app/res/app.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/app/res/app.ico)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# CPack's own script, with one line more: its .onInit, which runs the earlier install's uninstaller
# (CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL), first calls TvOnInit, which reads what that
# uninstaller is about to remove. CPack takes a template from CPACK_MODULE_PATH before its own.
file(READ "${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in" tv_template)
string(REGEX REPLACE "(\nFunction \\.onInit\r?\n)" "\\1  Call TvOnInit\n" tv_patched
                     "${tv_template}")
if(tv_patched STREQUAL tv_template)
  message(FATAL_ERROR "CPack's NSIS.template.in has no .onInit to call TvOnInit from")
endif()
file(WRITE ${CMAKE_BINARY_DIR}/cpack-nsis/NSIS.template.in "${tv_patched}")
set(CPACK_MODULE_PATH ${CMAKE_BINARY_DIR}/cpack-nsis ${CMAKE_MODULE_PATH})
# The installer has the bitness of its programs, and Windows files each where it files programs
# of that bitness: the 64-bit one into Program Files and the 64-bit registry view (and it runs on
# a Wine without 32-bit support), the 32-bit one into the 32-bit Program Files ("Program Files
# (x86)" on 64-bit Windows) and the 32-bit view. $PROGRAMFILES is that folder in both: NSIS reads
# it from the installer's own registry view, while its $PROGRAMFILES64 reads the other view (it is
# meant for 32-bit installers) and so gives a 64-bit installer "Program Files (x86)". The 64-bit
# one needs the amd64 stubs of NSIS (Debian's nsis has them; the usual Windows download of NSIS
# has only the x86 ones).
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
if(TV_PACKAGE_ARCH STREQUAL "win64")
  set(CPACK_NSIS_DEFINES "Target amd64-unicode")
else()
  set(CPACK_NSIS_DEFINES "Target x86-unicode")
endif()

# Read by CPack at packaging time: a release whose changelog does not start with its version is
# refused, so the two cannot drift apart.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackChangelogCheck.cmake)
file(CONFIGURE OUTPUT ${CPACK_PROJECT_CONFIG_FILE} @ONLY CONTENT [=[
file(STRINGS "@PROJECT_SOURCE_DIR@/CHANGELOG.md" tv_heading REGEX "^## \\[[0-9]" LIMIT_COUNT 1)
string(REGEX REPLACE "^## \\[([^]]*)\\].*" "\\1" tv_top "${tv_heading}")
if(NOT tv_top STREQUAL "@PROJECT_VERSION@")
  message(FATAL_ERROR "CHANGELOG.md's top release is '${tv_top}' but the project version is "
                      "@PROJECT_VERSION@: add its entry before packaging.")
endif()
# Signing, when scripts/package.sh was given a certificate: the installer, and the uninstaller
# before it goes into the installer, which writes it out as signed.
if(CPACK_GENERATOR STREQUAL "NSIS" AND NOT "$ENV{TV_SIGN_PFX}" STREQUAL "")
  string(APPEND CPACK_NSIS_DEFINES "
  !finalize '\"@PROJECT_SOURCE_DIR@/scripts/sign.sh\" \"%1\"' = 0
  !uninstfinalize '\"@PROJECT_SOURCE_DIR@/scripts/sign.sh\" \"%1\"' = 0")
endif()
]=])

include(CPack)
