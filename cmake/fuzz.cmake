# The picture decoder's libFuzzer target, in a Clang build with MOYUAN_FUZZ=ON
# (tools/run-fuzz.sh makes one in build/fuzz). The decoder is compiled into the fuzzer itself
# with the fuzzer's instrumentation, against the system libpng.

option(MOYUAN_FUZZ "Build the libFuzzer target for the picture decoder (Clang only)" OFF)

if(MOYUAN_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(WARNING "MOYUAN_FUZZ needs Clang (libFuzzer); the fuzz target is not built")
elseif(MOYUAN_FUZZ)
  if(NOT TARGET PNG::PNG)
    find_package(PNG REQUIRED)
  endif()
  set(fuzz_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
                 -fno-omit-frame-pointer)
  add_executable(fuzz_picture_decode
    ${PROJECT_SOURCE_DIR}/tests/fuzz/fuzz_picture_decode.cpp
    ${PROJECT_SOURCE_DIR}/runtime/picture_decode.cpp)
  target_link_libraries(fuzz_picture_decode PRIVATE moyuan_warnings PNG::PNG)
  # Lets the decoder skip the checksums, so mutated inputs get past the chunk headers.
  target_compile_definitions(fuzz_picture_decode PRIVATE FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION)
  target_compile_options(fuzz_picture_decode PRIVATE ${fuzz_flags})
  target_link_options(fuzz_picture_decode PRIVATE ${fuzz_flags})

  enable_testing()
  add_test(NAME fuzz_picture_decode_short
    COMMAND ${CMAKE_COMMAND}
            -DFUZZER=$<TARGET_FILE:fuzz_picture_decode>
            -DSEEDS=${PROJECT_SOURCE_DIR}/tests/fixtures
            -DDICT=${PROJECT_SOURCE_DIR}/tests/fuzz/picture.dict
            -DWORK=${PROJECT_BINARY_DIR}/fuzz-short
            -DSECONDS=5
            -P ${PROJECT_SOURCE_DIR}/tests/fuzz/run_short.cmake)
  set_tests_properties(fuzz_picture_decode_short PROPERTIES LABELS fuzz TIMEOUT 120)
endif()
