# Installs the build tree into a fresh prefix and checks that a desktop finds the program there:
#   cmake -DBUILD_DIR=... -DPREFIX=... -DBINDIR=bin -DDATADIR=share -P check_install.cmake
foreach(var BUILD_DIR PREFIX BINDIR DATADIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${status}):\n${output}")
endif()

set(failures "")
macro(expect_file path)
    if(NOT EXISTS ${PREFIX}/${path} OR IS_DIRECTORY ${PREFIX}/${path})
        list(APPEND failures "missing: ${path}")
    endif()
endmacro()
macro(expect_text path regex)
    expect_file(${path})
    if(EXISTS ${PREFIX}/${path})
        file(READ ${PREFIX}/${path} text)
        if(NOT text MATCHES "${regex}")
            list(APPEND failures "${path} does not match ${regex}")
        endif()
    endif()
endmacro()

expect_file(${BINDIR}/zendrax)
expect_file(${BINDIR}/zendrax-cli)
# The program looks for its help beside itself, then in ../share/zendrax.
expect_text(${DATADIR}/zendrax/ZENDRAX.HLP "name=\"contents\"")
expect_text(${DATADIR}/applications/zendrax.desktop "\nExec=zendrax %f\n")
expect_text(${DATADIR}/applications/zendrax.desktop "\nMimeType=application/x-zendrax-database;\n")
expect_text(${DATADIR}/applications/zendrax.desktop "\nIcon=zendrax\n")
expect_text(${DATADIR}/mime/packages/zendrax.xml "type=\"application/x-zendrax-database\"")
expect_text(${DATADIR}/mime/packages/zendrax.xml "pattern=\"\\*\\.vd1\"")
expect_text(${DATADIR}/mime/packages/zendrax.xml "pattern=\"\\*\\.vdb\"")
expect_file(${DATADIR}/icons/hicolor/scalable/apps/zendrax.svg)
foreach(size 48 128 256)
    expect_file(${DATADIR}/icons/hicolor/${size}x${size}/apps/zendrax.png)
endforeach()
# Nothing of the developer's tree comes along.
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
foreach(f IN LISTS installed)
    if(f MATCHES "(test_|bench_|\\.a$|\\.h$)")
        list(APPEND failures "not for users: ${f}")
    endif()
endforeach()

# The installed programs run.
execute_process(COMMAND ${PREFIX}/${BINDIR}/zendrax-cli --help
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output MATCHES "new")
    list(APPEND failures "installed zendrax-cli --help: ${status} ${output}")
endif()

set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{ZX_CONFIG_DIR} ${PREFIX}/config)
file(MAKE_DIRECTORY ${PREFIX}/config)
execute_process(COMMAND ${PREFIX}/${BINDIR}/zendrax --quit-when-shown TIMEOUT 60
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT output MATCHES "shown-at-ns")
    list(APPEND failures "installed zendrax did not start: ${status} ${output} ${errors}")
endif()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND ${VALIDATE} ${PREFIX}/${DATADIR}/applications/zendrax.desktop
                    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT status EQUAL 0 OR NOT output STREQUAL "")
        list(APPEND failures "desktop-file-validate: ${output}")
    endif()
else()
    message(STATUS "desktop-file-validate not found: the desktop entry is not validated")
endif()

# The MIME database built from the package file maps both extensions to the type.
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
    execute_process(COMMAND ${UPDATE_MIME} ${PREFIX}/${DATADIR}/mime
                    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    file(READ ${PREFIX}/${DATADIR}/mime/globs2 globs)
    foreach(ext vd1 vdb)
        if(NOT status EQUAL 0 OR NOT globs MATCHES "application/x-zendrax-database:\\*\\.${ext}")
            list(APPEND failures "MIME database has no *.${ext}: ${output}")
        endif()
    endforeach()
endif()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "installed tree in ${PREFIX}:\n  ${text}")
endif()
message(STATUS "installed tree in ${PREFIX} is complete")
