# A short fuzzing run for CTest: the fuzzer starts from a copy of the picture fixtures and
# writes what it finds into a fresh corpus folder, so the source tree is never written.
# Inputs: FUZZER (the executable), SEEDS (tests/fixtures), DICT, WORK (a scratch folder),
# SECONDS (how long).
foreach(var FUZZER SEEDS DICT WORK SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_short.cmake: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/seeds)
file(GLOB seeds ${SEEDS}/*.png ${SEEDS}/*.bmp)
if(NOT seeds)
  message(FATAL_ERROR "run_short.cmake: no seed pictures in ${SEEDS}")
endif()
file(COPY ${seeds} DESTINATION ${WORK}/seeds)

execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -print_final_stats=1 -dict=${DICT}
          -artifact_prefix=${WORK}/ ${WORK}/corpus ${WORK}/seeds
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the fuzzer failed (${status}); the input that did it is in ${WORK}")
endif()
