# Tests of the Win32 platform functions against the real API, run under Wine
# by CTest. Only the files under test are linked: they stand on their own.
if(NOT CMAKE_CROSSCOMPILING OR NOT WIN32)
  return()
endif()

file(GLOB DICTIONARY_WIN32_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win32/*_test.cpp)
set(DICTIONARY_WIN32_UNDER_TEST ${PROJECT_SOURCE_DIR}/platform/files_win32.cpp
  ${PROJECT_SOURCE_DIR}/platform/cp1251.cpp
  ${PROJECT_SOURCE_DIR}/platform/wide_text_win32.cpp
  ${PROJECT_SOURCE_DIR}/platform/settings_store_win32.cpp)

# The resource script, for the checks of the templates and tables.
if(DICTIONARY_RESOURCE_SOURCES)
  list(APPEND DICTIONARY_WIN32_UNDER_TEST ${DICTIONARY_RESOURCE_SOURCES})
endif()

add_executable(win32_tests ${DICTIONARY_WIN32_TESTS} ${DICTIONARY_WIN32_UNDER_TEST})
target_include_directories(win32_tests PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(win32_tests PRIVATE ${DICTIONARY_GTEST} advapi32 comctl32)
# The manifest tests read both programs from beside the test program.
if(TARGET Dictionary)
  add_dependencies(win32_tests Dictionary dictionary-tool)
endif()
gtest_discover_tests(win32_tests DISCOVERY_TIMEOUT ${DICTIONARY_DISCOVERY_TIMEOUT}
  PROPERTIES LABELS win32 TIMEOUT 120)
# File names are code page 1251 whatever the system's: the file tests again
# under an English locale (code page 1252, scripts/wine-env.sh).
gtest_discover_tests(win32_tests DISCOVERY_TIMEOUT ${DICTIONARY_DISCOVERY_TIMEOUT} TEST_PREFIX "en_US."
  TEST_FILTER "Win32FilesTest.*"
  PROPERTIES LABELS win32 TIMEOUT 120 ENVIRONMENT DICTIONARY_WINE_LOCALE=en_US.UTF-8)
