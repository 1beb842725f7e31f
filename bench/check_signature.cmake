# ctest -P script: runs PROGRAM with "bench" (and the set SET, when given)
# and compares its "Bench: N" with the number recorded for NAME in
# SIGNATURES.
#   cmake -DPROGRAM=<path> -DNAME=morvelak31 -DSIGNATURES=<file> -P check_signature.cmake
#   cmake -DPROGRAM=<path> -DSET=endgame -DNAME=morvelak31:endgame -DSIGNATURES=<file> -P ...
execute_process(COMMAND ${PROGRAM} bench ${SET}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
message("${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NAME} bench failed (${rc}): ${err}")
endif()
string(REGEX MATCH "Bench: ([0-9]+)" found "${out}")
if(NOT found)
  message(FATAL_ERROR "${NAME} bench printed no \"Bench: N\" line")
endif()
set(actual ${CMAKE_MATCH_1})
file(STRINGS ${SIGNATURES} lines REGEX "^${NAME} ")
list(LENGTH lines count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "${SIGNATURES} records no signature (or several) for ${NAME}")
endif()
string(REGEX MATCH "^${NAME} ([0-9]+)" recorded "${lines}")
set(expected ${CMAKE_MATCH_1})
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "${NAME}: Bench ${actual}, recorded ${expected}.  A search that "
                      "changes on purpose records its new signature in ${SIGNATURES}.")
endif()
message("${NAME}: signature ${actual} as recorded")
