# Test tiers: native unit tests (linux build); Windows-side tests and end-to-end tests of the
# real executable (win64 build, run under Wine through tools/wine-run.sh).

if(NOT WIN32)
  find_package(GTest REQUIRED)
  file(GLOB support_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/support/*.cpp)
  add_library(moyuan_test_support STATIC ${support_sources})
  target_link_libraries(moyuan_test_support PUBLIC moyuan_program)

  file(GLOB unit_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
  add_executable(unit_tests ${unit_sources})
  target_link_libraries(unit_tests PRIVATE moyuan_test_support GTest::gtest GTest::gtest_main)
  # Where the native tests find their small picture fixtures.
  target_compile_definitions(unit_tests PRIVATE
    MOYUAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  include(GoogleTest)
  gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 30 PROPERTIES LABELS unit)
else()
  include(cmake/windows-tests.cmake)
endif()
