# The command-line tool: argument parsing, output and exit codes over the
# look-up, the maintenance library and the window's commands on the
# headless platform.
file(GLOB DICTIONARY_TOOL_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/*.cpp)
list(FILTER DICTIONARY_TOOL_SOURCES EXCLUDE REGEX "/main\\.cpp$")
if(WIN32)
  list(FILTER DICTIONARY_TOOL_SOURCES EXCLUDE REGEX "_posix\\.cpp$")
else()
  list(FILTER DICTIONARY_TOOL_SOURCES EXCLUDE REGEX "_win32\\.cpp$")
endif()
add_library(dictionary_tool_lib STATIC ${DICTIONARY_TOOL_SOURCES})
target_link_libraries(dictionary_tool_lib PUBLIC dictionary_maintenance)
if(WIN32)
  target_link_libraries(dictionary_tool_lib PUBLIC shell32)   # CommandLineToArgvW
endif()
# The release, for --version.
target_include_directories(dictionary_tool_lib PRIVATE ${DICTIONARY_GENERATED_DIR})
add_executable(dictionary-tool ${PROJECT_SOURCE_DIR}/tools/main.cpp)
target_link_libraries(dictionary-tool PRIVATE dictionary_tool_lib)
if(WIN32)
  # Its version resource, the release of the build as Dictionary.exe has it.
  enable_language(RC)
  set(DICTIONARY_TOOL_RC ${PROJECT_SOURCE_DIR}/res/dictionary-tool.rc)
  set_source_files_properties(${DICTIONARY_TOOL_RC} PROPERTIES
    INCLUDE_DIRECTORIES "${PROJECT_SOURCE_DIR};${DICTIONARY_GENERATED_DIR}"
    OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/res/version_info.rc;${DICTIONARY_GENERATED_DIR}/dictionary_version.h")
  target_sources(dictionary-tool PRIVATE ${DICTIONARY_TOOL_RC})
endif()
# Linked whole, without the dynamic loader: a one-word look-up is a short
# process, and loading and relocating shared libraries took a fifth of it.
# (The tool calls nothing of the C library that needs shared modules: no
# name service, no iconv, no locales.)
if(NOT WIN32 AND NOT DICTIONARY_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_link_options(dictionary-tool PRIVATE -static)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/default_dictionary.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/word_forms.cmake)
