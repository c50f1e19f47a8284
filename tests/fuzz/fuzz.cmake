# Fuzzing of storage and look-up with damaged and arbitrary dictionary files.
# The seeded random loop runs in every native build (and matters most with
# DICTIONARY_SANITIZE=ON); the libFuzzer target needs clang.
if(NOT CMAKE_CROSSCOMPILING)
  set(DICTIONARY_FUZZ_CASE ${PROJECT_SOURCE_DIR}/tests/fuzz/fuzz_case.cpp)

  add_executable(fuzz_tests
    ${PROJECT_SOURCE_DIR}/tests/fuzz/random_folders_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/fuzz/editing_model_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/fuzz/indexed_search_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/fuzz/suggest_property_test.cpp
    ${DICTIONARY_FUZZ_CASE}
    ${PROJECT_SOURCE_DIR}/tests/unit/test_support.cpp)
  target_include_directories(fuzz_tests PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(fuzz_tests PRIVATE dictionary_headless ${DICTIONARY_GTEST})
  # Every case writes and removes a few small files; a memory file system,
  # where there is one, lets more cases run within the time cap.
  set(DICTIONARY_FUZZ_ENVIRONMENT "")
  if(IS_DIRECTORY /dev/shm)
    set(DICTIONARY_FUZZ_ENVIRONMENT TMPDIR=/dev/shm)
  endif()
  gtest_discover_tests(fuzz_tests DISCOVERY_TIMEOUT ${DICTIONARY_DISCOVERY_TIMEOUT}
    PROPERTIES LABELS fuzz TIMEOUT 300 ENVIRONMENT "${DICTIONARY_FUZZ_ENVIRONMENT}"
      ENVIRONMENT_MODIFICATION ${DICTIONARY_TEST_CACHE})

  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # The logic is compiled again into the target so that the fuzzer sees
    # its coverage; undefined behaviour aborts, so it counts as a crash.
    set(DICTIONARY_FUZZER_FLAGS -fsanitize=fuzzer,address,undefined
      -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    # The headless library's own sources, with the logic's in place of its
    # prebuilt objects.
    get_target_property(DICTIONARY_FUZZ_PLATFORM dictionary_headless SOURCES)
    list(FILTER DICTIONARY_FUZZ_PLATFORM EXCLUDE REGEX "TARGET_OBJECTS")
    add_executable(letter_fuzzer
      ${PROJECT_SOURCE_DIR}/tests/fuzz/letter_fuzzer.cpp
      ${DICTIONARY_FUZZ_CASE}
      ${DICTIONARY_LOGIC_SOURCES}
      ${DICTIONARY_FUZZ_PLATFORM})
    target_include_directories(letter_fuzzer PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_options(letter_fuzzer PRIVATE ${DICTIONARY_FUZZER_FLAGS})
    target_link_options(letter_fuzzer PRIVATE ${DICTIONARY_FUZZER_FLAGS})

    # New inputs go to the build's corpus; tests/fuzz/corpus holds the seeds.
    set(DICTIONARY_FUZZ_CORPUS ${CMAKE_BINARY_DIR}/fuzz-corpus)
    set(DICTIONARY_FUZZ_ARTIFACTS ${CMAKE_BINARY_DIR}/fuzz-artifacts)
    file(MAKE_DIRECTORY ${DICTIONARY_FUZZ_CORPUS} ${DICTIONARY_FUZZ_ARTIFACTS})
    add_test(NAME letter_fuzzer
      COMMAND letter_fuzzer -max_total_time=20 -rss_limit_mb=2048 -max_len=4096
        -print_final_stats=1 -artifact_prefix=${DICTIONARY_FUZZ_ARTIFACTS}/
        ${DICTIONARY_FUZZ_CORPUS} ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus)
    set_tests_properties(letter_fuzzer PROPERTIES LABELS fuzz TIMEOUT 120
      ENVIRONMENT "${DICTIONARY_FUZZ_ENVIRONMENT}")
  endif()
endif()
