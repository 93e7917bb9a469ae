# Windows-side tests (GoogleTest built from source for the target) and end-to-end tests of
# the real executable. Both run under Wine through tools/wine-run.sh.
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tools/wine-run.sh)

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB win_test_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/*_test.cpp)
if(win_test_sources)
  add_executable(win_tests ${win_test_sources})
  target_link_libraries(win_tests PRIVATE moyuan_win32_runtime gtest gtest_main version)
  target_link_options(win_tests PRIVATE ${static_runtime})
  # The 32-bit release executable comes from the win32 build beside this one.
  set(MOYUAN_RELEASE_EXE ${PROJECT_SOURCE_DIR}/build/win32/moyuan_capture.exe CACHE FILEPATH
      "The 32-bit release executable whose resources the tests read")
  target_compile_definitions(win_tests PRIVATE
    MOYUAN_EXE_PATH="$<TARGET_FILE:moyuan_capture>"
    MOYUAN_RELEASE_EXE_PATH="${MOYUAN_RELEASE_EXE}")
  add_test(NAME win_tests COMMAND win_tests)
  set_tests_properties(win_tests PROPERTIES LABELS win TIMEOUT 600)
endif()

# A small Windows helper that the end-to-end tests use to find the program's windows.
add_executable(win_probe tests/e2e/win_probe.cpp)
target_link_libraries(win_probe PRIVATE moyuan_warnings user32 gdi32)
target_compile_definitions(win_probe PRIVATE UNICODE _UNICODE)
target_link_options(win_probe PRIVATE ${static_runtime} ${wide_entry})

add_executable(win_pattern WIN32 tests/e2e/win_pattern.cpp)
target_link_libraries(win_pattern PRIVATE moyuan_warnings user32 gdi32)
target_compile_definitions(win_pattern PRIVATE UNICODE _UNICODE)
target_link_options(win_pattern PRIVATE ${static_runtime} ${wide_entry})

file(GLOB e2e_tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/test_*.py)
foreach(test ${e2e_tests})
  get_filename_component(test_name ${test} NAME_WE)
  add_test(NAME e2e_${test_name}
    COMMAND ${PROJECT_SOURCE_DIR}/tools/with-wine-session.sh /usr/bin/python3 ${test}
      --exe $<TARGET_FILE:moyuan_capture_testhooks>
      --release-exe $<TARGET_FILE:moyuan_capture>
      --probe $<TARGET_FILE:win_probe>
      --pattern $<TARGET_FILE:win_pattern>)
  set_tests_properties(e2e_${test_name} PROPERTIES LABELS e2e TIMEOUT 300)
endforeach()

# Benchmarks: run by tools/bench.sh under Wine, never as timed tests.
add_executable(capture_bench bench/capture_bench.cpp)
target_link_libraries(capture_bench PRIVATE moyuan_win32_runtime)
