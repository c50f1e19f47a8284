# End-to-end tests: a driver program starts the real Dictionary.exe under
# Wine (the cross build's test emulator) and works its window. They need an
# X display (scripts/test.sh starts Xvfb) and share the prefix's settings
# key, so they run one at a time. The new-version check talks to a local
# https server, update_server.py, run by the host's Python with openssl.
if(CMAKE_CROSSCOMPILING AND TARGET Dictionary)
  file(GLOB DICTIONARY_E2E_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*.cpp)
  add_executable(e2e_driver ${DICTIONARY_E2E_SOURCES})
  target_include_directories(e2e_driver PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(e2e_driver PRIVATE ${DICTIONARY_GTEST} user32 gdi32 advapi32 shell32 crypt32)
  add_dependencies(e2e_driver Dictionary)
  target_compile_definitions(e2e_driver PRIVATE
    DICTIONARY_UPDATE_SERVER="${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/e2e/update_server.py")
  gtest_discover_tests(e2e_driver DISCOVERY_TIMEOUT ${DICTIONARY_DISCOVERY_TIMEOUT}
    PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 120
      ENVIRONMENT "DICTIONARY_EXE=$<TARGET_FILE:Dictionary>")
  # The program speaks code page 1251 itself, whatever the system's: the
  # whole suite again under an English Windows (code page 1252), and the
  # text-bearing part under a Japanese one (932, double-byte). The driver and
  # the program both run under that locale (scripts/wine-env.sh).
  gtest_discover_tests(e2e_driver DISCOVERY_TIMEOUT ${DICTIONARY_DISCOVERY_TIMEOUT} TEST_PREFIX "en_US."
    PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 120
      ENVIRONMENT "DICTIONARY_EXE=$<TARGET_FILE:Dictionary>"
      ENVIRONMENT_MODIFICATION DICTIONARY_WINE_LOCALE=set:en_US.UTF-8)
  gtest_discover_tests(e2e_driver DISCOVERY_TIMEOUT ${DICTIONARY_DISCOVERY_TIMEOUT} TEST_PREFIX "ja_JP."
    TEST_FILTER "CodePageTest.*:LookupTest.*:ClipboardTest.*:SuggestTest.*"
    PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 120
      ENVIRONMENT "DICTIONARY_EXE=$<TARGET_FILE:Dictionary>"
      ENVIRONMENT_MODIFICATION DICTIONARY_WINE_LOCALE=set:ja_JP.UTF-8)
  include(${PROJECT_SOURCE_DIR}/tests/e2e/dpi/dpi.cmake)
endif()

# scripts/run.sh reads the window it started back with this probe, to prove
# that the program shows what dictionary-tool prints for the same word.
if(CMAKE_CROSSCOMPILING)
  add_executable(read_window ${PROJECT_SOURCE_DIR}/tests/e2e/read_window/read_window_win32.cpp)
  target_link_libraries(read_window PRIVATE user32)
endif()
