# The Debian package: cpack -G DEB in the build folder makes orvante_<version>_<arch>.deb with
# its run-time dependencies; its contents, unpacked into a scratch root, hold everything a
# desktop and a shell look for; the desktop entry and the AppStream metainfo validate; the
# programs run from there and find their data through ../share/orvante; the man page and the
# bash completion of orvante-cli name every command and option its --help names.
# cmake -DBUILD_DIR=<build tree> -DVERSION=<x.y.z> -DSCRATCH=<folder> -P package_check.cmake

cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/check_helpers.cmake)

function(need_program var name package)
  find_program(${var} ${name})
  if(NOT ${var})
    message(FATAL_ERROR "${name} not found (Debian package ${package}; scripts/install-deps installs it)")
  endif()
endfunction()
need_program(CPACK cpack cmake)
need_program(DPKG_DEB dpkg-deb dpkg)
need_program(DPKG dpkg dpkg)
need_program(GZIP gzip gzip)
need_program(DESKTOP_VALIDATE desktop-file-validate desktop-file-utils)
need_program(APPSTREAMCLI appstreamcli appstream)

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
must_run("${CPACK}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${SCRATCH}/out")
must_run("${DPKG}" --print-architecture)
string(STRIP "${out}" arch)
set(deb "${SCRATCH}/out/orvante_${VERSION}_${arch}.deb")
if(NOT EXISTS "${deb}")
  file(GLOB made "${SCRATCH}/out/*.deb")
  message(FATAL_ERROR "cpack made ${made}, not ${deb}")
endif()

must_run("${DPKG_DEB}" -f "${deb}" Package Version Architecture Depends)
foreach(field "Package: orvante" "Version: ${VERSION}" "Architecture: ${arch}")
  string(FIND "${out}" "${field}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the package's control lacks '${field}':\n${out}")
  endif()
endforeach()
# From dpkg-shlibdeps: Qt and the C library; given: the SQLite driver and the fonts.
foreach(dependency libqt6core6 libqt6widgets6 libqt6serialport6 libc6 libqt6sql6-sqlite fonts-liberation2)
  if(NOT out MATCHES "Depends:.*${dependency}")
    message(FATAL_ERROR "the package does not depend on ${dependency}:\n${out}")
  endif()
endforeach()

set(root "${SCRATCH}/root")
must_run("${DPKG_DEB}" -x "${deb}" "${root}")
set(usr "${root}/usr")
foreach(f bin/orvante bin/orvante-cli bin/orvante-radio-sim share/orvante/vuxPC.ini share/orvante/help/ORVANTE.html
          share/applications/orvante.desktop share/metainfo/org.orvante.orvante.metainfo.xml
          share/icons/hicolor/scalable/apps/orvante.svg share/icons/hicolor/48x48/apps/orvante.png
          share/man/man1/orvante.1.gz share/man/man1/orvante-cli.1.gz share/man/man1/orvante-radio-sim.1.gz
          share/bash-completion/completions/orvante-cli)
  if(NOT EXISTS "${usr}/${f}")
    message(FATAL_ERROR "not in the package: /usr/${f}")
  endif()
endforeach()

must_run("${DESKTOP_VALIDATE}" "${usr}/share/applications/orvante.desktop")
if(NOT out STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${out}")
endif()
must_run("${APPSTREAMCLI}" validate --no-net "${usr}/share/metainfo/org.orvante.orvante.metainfo.xml")

# The programs run from the scratch root with the system's Qt and find the packaged catalog:
# the model of value 7 is only there (without it there are values 0 and 1).
set(ENV{XDG_CONFIG_HOME} "${SCRATCH}/config")
foreach(program orvante orvante-cli orvante-radio-sim)
  must_run("${usr}/bin/${program}" --version)
  if(NOT out MATCHES "^${program} ${VERSION}")
    message(FATAL_ERROR "${program} --version printed: ${out}")
  endif()
endforeach()
must_run("${usr}/bin/orvante-cli" new --model-value 7 -o "${SCRATCH}/v7.kvd")
must_run("${usr}/bin/orvante-cli" show "${SCRATCH}/v7.kvd")
if(NOT out MATCHES "PALUVIN V16")
  message(FATAL_ERROR "orvante-cli show did not name the packaged catalog's model:\n${out}")
endif()

# Every command and option of orvante-cli --help is in its man page and its completion.
must_run("${usr}/bin/orvante-cli" --help)
set(help "${out}")
string(REGEX MATCHALL "\n  [a-z][a-z-]*[ \n]" command_lines "${help}")
set(commands)
foreach(line IN LISTS command_lines)
  string(STRIP "${line}" word)
  if(NOT word STREQUAL "command")
    list(APPEND commands ${word})
  endif()
endforeach()
list(REMOVE_DUPLICATES commands)
list(LENGTH commands count)
if(count LESS 10)
  message(FATAL_ERROR "found only these commands in orvante-cli --help: ${commands}")
endif()
string(REGEX MATCHALL "--[a-z][a-z-]*" options "${help}")
list(REMOVE_DUPLICATES options)
must_run("${GZIP}" -dc "${usr}/share/man/man1/orvante-cli.1.gz")
string(REGEX REPLACE "\\\\f[BIR]" "" man "${out}")
string(REPLACE "\\-" "-" man "${man}")
file(READ "${usr}/share/bash-completion/completions/orvante-cli" completion)
foreach(word IN LISTS commands options)
  foreach(doc man completion)
    if(NOT ${doc} MATCHES "(^|[^a-z-])${word}([^a-z-]|$)")
      message(FATAL_ERROR "'${word}' from orvante-cli --help is missing in its ${doc} page")
    endif()
  endforeach()
endforeach()

file(REMOVE_RECURSE "${SCRATCH}")
