# Other processes against the same dictionary: dictionary-tool changing
# entries or importing is killed at random moments, two of them write at
# once, and it runs under memory and file-size limits. Native only (they fork
# and kill processes); bounded by environment variables so that CI runs them
# for seconds and a longer run is one variable away.
if(NOT CMAKE_CROSSCOMPILING AND NOT WIN32 AND TARGET dictionary-tool)
  add_executable(crash_tests
    ${PROJECT_SOURCE_DIR}/tests/crash/crash_support.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/edit_kill_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/edit_limits_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/two_writers_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/import_kill_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/import_writers_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/import_limits_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/check_limits_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/unit/test_support.cpp)
  target_include_directories(crash_tests PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(crash_tests PRIVATE dictionary_tool_lib ${DICTIONARY_GTEST})
  add_dependencies(crash_tests dictionary-tool)
  gtest_discover_tests(crash_tests DISCOVERY_TIMEOUT ${DICTIONARY_DISCOVERY_TIMEOUT}
    PROPERTIES LABELS crash TIMEOUT 300
      ENVIRONMENT "DICTIONARY_TOOL=$<TARGET_FILE:dictionary-tool>" ENVIRONMENT_MODIFICATION ${DICTIONARY_TEST_CACHE})
endif()
