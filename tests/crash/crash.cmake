# Other processes against the same dictionary: dictionary-tool changing
# entries or importing is killed at random moments, two of them write at
# once, and it runs under memory and file-size limits. Native only (they fork
# and kill processes); bounded by environment variables so that CI runs them
# for seconds and a longer run is one variable away.
if(NOT CMAKE_CROSSCOMPILING AND NOT WIN32 AND TARGET dictionary-tool)
  add_executable(crash_tests
    ${PROJECT_SOURCE_DIR}/tests/crash/crash_support.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/edit_kill_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/two_writers_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/import_kill_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/import_writers_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/import_limits_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/check_limits_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/special_files_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/crash/durable_writes_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/unit/test_support.cpp)
  target_include_directories(crash_tests PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(crash_tests PRIVATE dictionary_tool_lib ${DICTIONARY_GTEST})
  # A probe preloaded into the tool watches its renames and syncs; the tool
  # itself is linked without the dynamic loader, so the probe goes into a
  # copy linked with it, beside the tool.
  add_library(dictionary_sync_probe SHARED ${PROJECT_SOURCE_DIR}/tests/crash/sync_probe.cpp)
  target_link_libraries(dictionary_sync_probe PRIVATE ${CMAKE_DL_LIBS})
  add_executable(dictionary-tool-probed ${PROJECT_SOURCE_DIR}/tools/main.cpp)
  target_link_libraries(dictionary-tool-probed PRIVATE dictionary_tool_lib)
  set_target_properties(dictionary_sync_probe dictionary-tool-probed PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR} RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  add_dependencies(crash_tests dictionary-tool dictionary-tool-probed dictionary_sync_probe)
  gtest_discover_tests(crash_tests DISCOVERY_TIMEOUT ${DICTIONARY_DISCOVERY_TIMEOUT}
    PROPERTIES LABELS crash TIMEOUT 300
      ENVIRONMENT "DICTIONARY_TOOL=$<TARGET_FILE:dictionary-tool>" ENVIRONMENT_MODIFICATION ${DICTIONARY_TEST_CACHE})
endif()
