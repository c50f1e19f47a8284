# The native dictionary-tool as a child process: under a memory limit,
# killed at random moments, two of them at once over one dictionary.
if(NOT CMAKE_CROSSCOMPILING AND TARGET dictionary-tool)
  file(GLOB DICTIONARY_PROCESS_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/processes/*.cpp)
  add_executable(process_tests ${DICTIONARY_PROCESS_TESTS} ${PROJECT_SOURCE_DIR}/tests/unit/test_support.cpp)
  target_include_directories(process_tests PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(process_tests PRIVATE dictionary_tool_lib ${DICTIONARY_GTEST})
  target_compile_definitions(process_tests PRIVATE
    DICTIONARY_TOOL_PATH="$<TARGET_FILE:dictionary-tool>")
  add_dependencies(process_tests dictionary-tool)
  gtest_discover_tests(process_tests DISCOVERY_TIMEOUT ${DICTIONARY_DISCOVERY_TIMEOUT}
    PROPERTIES LABELS processes TIMEOUT 600)
endif()
