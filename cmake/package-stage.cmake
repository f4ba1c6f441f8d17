# Run by CPack on the files it has staged for a package, before it packs them (packaging.cmake
# names it in CPACK_PRE_BUILD_SCRIPTS); scripts/package.sh sets the environment.
# - With TV_SIGN_PFX set, the programs are signed (scripts/sign.sh), so that the zip and the
#   installer both carry signed ones.
# - Every file gets the time SOURCE_DATE_EPOCH (the commit's): the installer records each file's
#   time and sets it on the installed file, and the time of the build would make every package
#   differ from the last.
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}/*.exe")
if(NOT "$ENV{TV_SIGN_PFX}" STREQUAL "" AND programs)
  execute_process(COMMAND "${CMAKE_CURRENT_LIST_DIR}/../scripts/sign.sh" ${programs}
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  file(GLOB_RECURSE staged "${CPACK_TEMPORARY_DIRECTORY}/*")
  execute_process(COMMAND touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" ${staged}
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
