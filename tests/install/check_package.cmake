# Makes the Debian package into a scratch folder and checks what it declares and holds:
#   cmake -DBUILD_DIR=... -DOUT=... -P check_package.cmake
foreach(var BUILD_DIR OUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()
get_filename_component(cmake_bin ${CMAKE_COMMAND} DIRECTORY)
find_program(CPACK cpack HINTS ${cmake_bin})
find_program(SHLIBDEPS dpkg-shlibdeps)
find_program(DPKG_DEB dpkg-deb)
if(NOT CPACK OR NOT SHLIBDEPS OR NOT DPKG_DEB)
    message(STATUS "cpack, dpkg-shlibdeps or dpkg-deb missing (package dpkg-dev): not checked")
    return()
endif()

file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${OUT}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB debs ${OUT}/zendrax_*.deb)
if(NOT status EQUAL 0 OR NOT debs)
    message(FATAL_ERROR "cpack -G DEB failed (${status}):\n${output}")
endif()
list(GET debs 0 deb)

set(failures "")
execute_process(COMMAND ${DPKG_DEB} --field ${deb} Package Depends OUTPUT_VARIABLE fields)
# The libraries the programs link, found by dpkg-shlibdeps rather than written by hand.
foreach(library libqt6core6 libqt6widgets6 libqt6serialport6 libvterm0 libc6)
    if(NOT fields MATCHES "${library} \\(>=")
        list(APPEND failures "Depends lacks ${library}: ${fields}")
    endif()
endforeach()
# Qt's Hungarian catalogue, which no binary links but both programs load.
if(NOT fields MATCHES "qt6-translations-l10n")
    list(APPEND failures "Depends lacks qt6-translations-l10n: ${fields}")
endif()
# The SQLite driver of the site history: a plugin, which no binary links either.
if(NOT fields MATCHES "libqt6sql6-sqlite")
    list(APPEND failures "Depends lacks libqt6sql6-sqlite: ${fields}")
endif()
execute_process(COMMAND ${DPKG_DEB} --contents ${deb} OUTPUT_VARIABLE contents)
foreach(path usr/bin/zendrax usr/bin/zendrax-cli usr/share/zendrax/ZENDRAX.HLP
             usr/share/applications/zendrax.desktop usr/share/mime/packages/zendrax.xml
             usr/share/icons/hicolor/48x48/apps/zendrax.png usr/share/doc/zendrax/copyright
             usr/share/doc/zendrax/changelog.gz usr/share/man/man1/zendrax.1.gz
             usr/share/man/man1/zendrax-cli.1.gz
             usr/share/bash-completion/completions/zendrax-cli)
    if(NOT contents MATCHES "\\./${path}\n")
        list(APPEND failures "package lacks /${path}")
    endif()
endforeach()

# A maintainer with a real mail host, and the description in lines the package tools show whole.
execute_process(COMMAND ${DPKG_DEB} --field ${deb} Maintainer Description OUTPUT_VARIABLE control)
if(control MATCHES "@localhost")
    list(APPEND failures "Maintainer at localhost: ${control}")
endif()
string(REPLACE "\n" ";" control_lines "${control}")
foreach(line IN LISTS control_lines)
    string(LENGTH "${line}" length)
    if(length GREATER 80)
        list(APPEND failures "control line longer than 80 characters: ${line}")
    endif()
endforeach()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "${deb}:\n  ${text}")
endif()
message(STATUS "${deb} declares: ${fields}")
