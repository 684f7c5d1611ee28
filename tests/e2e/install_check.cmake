# `cmake --install` into a fresh prefix: the programs, the catalog, the manual, the desktop
# entry and the icon land where the programs and a desktop look for them, and the installed
# programs run and find their data there.
# cmake -DBUILD_DIR=<build tree> -DPREFIX=<empty folder to install into> -P install_check.cmake

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${out}")
endif()

foreach(f bin/orvante bin/orvante-cli bin/orvante-radio-sim share/orvante/vuxPC.ini
          share/orvante/help/ORVANTE.html share/applications/orvante.desktop
          share/icons/hicolor/scalable/apps/orvante.svg)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/check_helpers.cmake)

must_run("${PREFIX}/bin/orvante" --version)
if(NOT out MATCHES "^orvante [0-9]")
  message(FATAL_ERROR "orvante --version printed: ${out}")
endif()
# The model of value 7 is only in the installed catalog (without it there are values 0 and 1).
must_run("${PREFIX}/bin/orvante-cli" new --model-value 7 -o "${PREFIX}/v7.kvd")

# The desktop entry starts the installed program with the installed icon.
file(STRINGS "${PREFIX}/share/applications/orvante.desktop" entry)
foreach(line "Exec=orvante" "Icon=orvante" "Name=ORVANTE Programming Software")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "orvante.desktop lacks ${line}")
  endif()
endforeach()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  must_run("${VALIDATE}" "${PREFIX}/share/applications/orvante.desktop")
  if(NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
else()
  message(STATUS "desktop-file-validate not found (Debian package desktop-file-utils): entry not validated")
endif()

file(REMOVE_RECURSE "${PREFIX}")
