# Installs the build into a scratch prefix and checks that every file stands
# where the desktop and man look for it.
# cmake -DBUILD_DIR=... -DPREFIX=... -DWITH_GUI=0|1 -P CheckInstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(expected bin/trvx share/man/man1/trvx.1 share/mime/packages/tarvin.xml)
if(WITH_GUI)
  list(APPEND expected bin/Tarvin share/applications/tarvin.desktop
       share/icons/hicolor/scalable/apps/tarvin.svg
       share/icons/hicolor/16x16/apps/tarvin.png share/icons/hicolor/256x256/apps/tarvin.png)
endif()
foreach(f IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# The installed program runs: it is executable and finds what it needs.
execute_process(COMMAND "${PREFIX}/bin/trvx" --help RESULT_VARIABLE rc OUTPUT_VARIABLE help)
if(NOT rc EQUAL 0 OR NOT help MATCHES "check" OR NOT help MATCHES "stats")
  message(FATAL_ERROR "the installed trvx does not run: ${rc}")
endif()

# The desktop entry opens files of the type the MIME package defines.
if(WITH_GUI)
  file(READ "${PREFIX}/share/applications/tarvin.desktop" desktop)
  foreach(line "Exec=Tarvin %f" "Icon=tarvin" "MimeType=application/x-tarvin-language;")
    string(FIND "${desktop}" "${line}" at)
    if(at LESS 0)
      message(FATAL_ERROR "tarvin.desktop lacks ${line}")
    endif()
  endforeach()
endif()
file(READ "${PREFIX}/share/mime/packages/tarvin.xml" mime)
if(NOT mime MATCHES "type=\"application/x-tarvin-language\"" OR NOT mime MATCHES "pattern=\"\\*\\.trvx\"")
  message(FATAL_ERROR "tarvin.xml does not define *.trvx")
endif()
# Where the tools are at hand, let them judge the files too.
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  execute_process(COMMAND "${UPDATE_MIME}" "${PREFIX}/share/mime" RESULT_VARIABLE rc
                  OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 0 OR NOT EXISTS "${PREFIX}/share/mime/application/x-tarvin-language.xml")
    message(FATAL_ERROR "update-mime-database rejects tarvin.xml")
  endif()
endif()
find_program(DESKTOP_VALIDATE desktop-file-validate)
if(WITH_GUI AND DESKTOP_VALIDATE)
  execute_process(COMMAND "${DESKTOP_VALIDATE}" "${PREFIX}/share/applications/tarvin.desktop"
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate rejects tarvin.desktop")
  endif()
endif()

file(REMOVE_RECURSE "${PREFIX}")
