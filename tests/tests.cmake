# Unit tests of the logic (native, and cross-compiled under Wine), tests of
# the Win32 platform functions, fuzzing, benchmarks, end-to-end tests.
if(CMAKE_CROSSCOMPILING)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(DICTIONARY_GTEST gtest_main gtest)
  set(DICTIONARY_DISCOVERY_TIMEOUT 120)
else()
  find_package(GTest REQUIRED)
  set(DICTIONARY_GTEST GTest::gtest_main GTest::gtest)
  set(DICTIONARY_DISCOVERY_TIMEOUT 30)
endif()
include(GoogleTest)

# The layers include only downwards and no files include each other in a
# circle (scripts/check_layers.py); the native tree checks the sources.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME layers COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check_layers.py ${PROJECT_SOURCE_DIR})
  # State lives only at the top: no mutable global below the window and the
  # tool, and the tool uses nothing of the window (scripts/check_state.py).
  add_test(NAME state COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check_state.py ${PROJECT_SOURCE_DIR})
  set_tests_properties(layers state PROPERTIES LABELS layers)
endif()

file(GLOB DICTIONARY_UNIT_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${DICTIONARY_UNIT_TESTS})
target_include_directories(unit_tests PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(unit_tests PRIVATE dictionary_tool_lib ${DICTIONARY_GTEST})
# Kept letter indexes go to the build tree, never to the user's cache.
# (A property of its own: a list in ENVIRONMENT loses all but its first
# item on its way through gtest_discover_tests.)
set(DICTIONARY_TEST_CACHE DICTIONARY_INDEX_CACHE=set:${CMAKE_BINARY_DIR}/index-cache)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT ${DICTIONARY_DISCOVERY_TIMEOUT}
  PROPERTIES LABELS unit TIMEOUT 120 ENVIRONMENT_MODIFICATION ${DICTIONARY_TEST_CACHE})
# Under Wine the tool's file names must not depend on the system's code page
# either: its tests again under an English locale (code page 1252).
if(CMAKE_CROSSCOMPILING)
  gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT ${DICTIONARY_DISCOVERY_TIMEOUT} TEST_PREFIX "en_US."
    TEST_FILTER "ToolTest.*:ToolPathsTest.*"
    PROPERTIES LABELS unit TIMEOUT 120 ENVIRONMENT DICTIONARY_WINE_LOCALE=en_US.UTF-8
      ENVIRONMENT_MODIFICATION ${DICTIONARY_TEST_CACHE})
endif()

foreach(part fuzz bench win32 e2e crash)
  if(EXISTS ${PROJECT_SOURCE_DIR}/tests/${part}/${part}.cmake)
    include(${PROJECT_SOURCE_DIR}/tests/${part}/${part}.cmake)
  endif()
endforeach()
