# Benchmarks of loading, looking up and editing, native builds only. The smoke
# tests only show that they run; nothing asserts on timings.
if(DICTIONARY_BENCHMARKS AND NOT CMAKE_CROSSCOMPILING)
  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    add_executable(storage_bench
      ${PROJECT_SOURCE_DIR}/tests/bench/storage_bench.cpp
      ${PROJECT_SOURCE_DIR}/tests/bench/bench_letter.cpp
      ${PROJECT_SOURCE_DIR}/tests/bench/bench_program.cpp
      ${PROJECT_SOURCE_DIR}/tests/bench/heap_peak.cpp)
    target_include_directories(storage_bench PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(storage_bench PRIVATE dictionary_headless benchmark::benchmark)
    add_test(NAME storage_bench_smoke COMMAND storage_bench --benchmark_min_time=0.001)
    add_executable(import_bench ${PROJECT_SOURCE_DIR}/tests/bench/import_bench.cpp)
    target_include_directories(import_bench PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(import_bench PRIVATE dictionary_tool_lib benchmark::benchmark)
    set_tests_properties(storage_bench_smoke PROPERTIES LABELS bench TIMEOUT 300
      ENVIRONMENT_MODIFICATION ${DICTIONARY_TEST_CACHE})
    # On the default dictionary and the word forms the build makes.
    if(TARGET word_forms)
      add_executable(word_forms_bench ${PROJECT_SOURCE_DIR}/tests/bench/word_forms_bench.cpp)
      target_include_directories(word_forms_bench PRIVATE ${PROJECT_SOURCE_DIR})
      target_link_libraries(word_forms_bench PRIVATE dictionary_headless benchmark::benchmark)
      target_compile_definitions(word_forms_bench PRIVATE
        DICTIONARY_BUILT_DICTIONARIES="${DICTIONARY_DICTIONARIES_DIR}")
      add_dependencies(word_forms_bench word_forms)
      add_test(NAME word_forms_bench_smoke COMMAND word_forms_bench --benchmark_min_time=0.001)
      set_tests_properties(word_forms_bench_smoke PROPERTIES LABELS bench TIMEOUT 300)
      add_executable(suggest_bench
        ${PROJECT_SOURCE_DIR}/tests/bench/suggest_bench.cpp
        ${PROJECT_SOURCE_DIR}/tests/bench/bench_program.cpp)
      target_include_directories(suggest_bench PRIVATE ${PROJECT_SOURCE_DIR})
      target_link_libraries(suggest_bench PRIVATE dictionary_headless benchmark::benchmark)
      target_compile_definitions(suggest_bench PRIVATE
        DICTIONARY_BUILT_DICTIONARIES="${DICTIONARY_DICTIONARIES_DIR}")
      add_dependencies(suggest_bench word_forms)
      add_test(NAME suggest_bench_smoke COMMAND suggest_bench --benchmark_min_time=0.001)
      set_tests_properties(suggest_bench_smoke PROPERTIES LABELS bench TIMEOUT 300
        ENVIRONMENT_MODIFICATION ${DICTIONARY_TEST_CACHE})
    endif()
  else()
    message(STATUS "Google Benchmark not found: no benchmarks")
  endif()
endif()

# The start-up probe drives the Windows program under Wine (bench/startup.sh);
# it is built with the program, and no test runs it.
if(CMAKE_CROSSCOMPILING AND TARGET Dictionary)
  add_executable(startup_probe ${PROJECT_SOURCE_DIR}/tests/bench/startup_probe_win32.cpp)
  target_link_libraries(startup_probe PRIVATE user32 advapi32)
endif()
