# The end-to-end tests at several DPIs. They set the screen's DPI
# (HKCU\Control Panel\Desktop, LogPixels), which every Wine process reads
# when it starts, so they run in a Wine prefix of their own: no failure
# can leave the prefix the other tests share at another DPI. The driver
# finds Dictionary.exe beside itself.
set(DICTIONARY_DPI_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix-dpi)
add_executable(dpi_e2e_driver ${PROJECT_SOURCE_DIR}/tests/e2e/dpi/dpi_e2e_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/e2e/e2e_support.cpp)
target_include_directories(dpi_e2e_driver PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(dpi_e2e_driver PRIVATE ${DICTIONARY_GTEST} user32 gdi32 advapi32 shell32 crypt32)
add_dependencies(dpi_e2e_driver Dictionary)

add_test(NAME dpi_prefix COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${DICTIONARY_DPI_PREFIX}
  bash ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh)
set_tests_properties(dpi_prefix PROPERTIES FIXTURES_SETUP dpi_prefix LABELS e2e RUN_SERIAL TRUE TIMEOUT 300)
gtest_discover_tests(dpi_e2e_driver DISCOVERY_TIMEOUT ${DICTIONARY_DISCOVERY_TIMEOUT}
  PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 180 FIXTURES_REQUIRED dpi_prefix
    ENVIRONMENT "WINEPREFIX=${DICTIONARY_DPI_PREFIX}")
