# Runs the race canary under the thread sanitizer, and passes only when the checker reported
# exactly one race, the canary's: its stack holds the canary's handler and the frame that runs
# queued requests on the line's thread. None (the race not seen), more than one, or a canary that
# did not run to its end fails.
#   cmake -DCANARY=<program> -DSUPPRESSIONS=<file> -P check_race_canary.cmake
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env QT_NO_GLIB=1
            "TSAN_OPTIONS=halt_on_error=0 suppressions=${SUPPRESSIONS}" ${CANARY}
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    RESULT_VARIABLE rc)
message("${out}${err}")

string(REGEX MATCHALL "WARNING: ThreadSanitizer:" reports "${err}")
list(LENGTH reports count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "the canary needs exactly one report of the checker, got ${count}")
endif()
if(NOT out MATCHES "canary: the operation ran")
    message(FATAL_ERROR "the canary did not run to its end (exit ${rc})")
endif()
# The checker ends a run that reported anything with its own exit status.
if(NOT rc EQUAL 66)
    message(FATAL_ERROR "the canary ended with ${rc}, not the checker's 66")
endif()
string(REGEX MATCH "WARNING: ThreadSanitizer: data race.*SUMMARY: ThreadSanitizer" report "${err}")
if(report STREQUAL "")
    message(FATAL_ERROR "the report is not a data race")
endif()
foreach(frame canaryReadsOnTheLinesThread runQueuedCall)
    string(FIND "${report}" "${frame}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the race's report has no frame ${frame}")
    endif()
endforeach()
message(STATUS "the canary's race was reported, through the line's dispatch")
