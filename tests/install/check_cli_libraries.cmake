# The command-line program runs without the window's libraries: neither Qt Widgets nor Qt Print
# Support among the libraries it loads.
#   cmake -DPROGRAM=.../zendrax-cli -P check_cli_libraries.cmake
find_program(LDD ldd)
if(NOT LDD)
    message(STATUS "ldd missing: not checked")
    return()
endif()
execute_process(COMMAND ${LDD} ${PROGRAM} RESULT_VARIABLE status OUTPUT_VARIABLE libraries
                ERROR_VARIABLE libraries)
if(NOT status EQUAL 0 OR NOT libraries MATCHES "libQt6Core")
    message(FATAL_ERROR "ldd ${PROGRAM} failed (${status}):\n${libraries}")
endif()
if(libraries MATCHES "libQt6(Widgets|PrintSupport)")
    message(FATAL_ERROR "${PROGRAM} loads the window's libraries:\n${libraries}")
endif()
