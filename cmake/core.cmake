# The portable logic: storage, look-up, the rules of the window and the
# settings. Files ending in _win32.cpp belong to the Windows program only.
file(GLOB DICTIONARY_LOGIC_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/storage/*.cpp
  ${PROJECT_SOURCE_DIR}/lookup/*.cpp
  ${PROJECT_SOURCE_DIR}/ui/*.cpp
  ${PROJECT_SOURCE_DIR}/settings/*.cpp)
list(FILTER DICTIONARY_LOGIC_SOURCES EXCLUDE REGEX "_win32\\.cpp$")

add_library(dictionary_logic OBJECT ${DICTIONARY_LOGIC_SOURCES})
target_include_directories(dictionary_logic PUBLIC ${PROJECT_SOURCE_DIR})

# Logic on the headless platform: the command-line tool and the unit tests.
add_library(dictionary_headless STATIC
  $<TARGET_OBJECTS:dictionary_logic>
  ${PROJECT_SOURCE_DIR}/platform/platform_headless.cpp
  ${PROJECT_SOURCE_DIR}/platform/settings_store_headless.cpp
  $<IF:$<BOOL:${WIN32}>,${PROJECT_SOURCE_DIR}/platform/files_win32.cpp,${PROJECT_SOURCE_DIR}/platform/files_posix.cpp>
  $<IF:$<BOOL:${WIN32}>,${PROJECT_SOURCE_DIR}/platform/disk_win32.cpp,${PROJECT_SOURCE_DIR}/platform/disk_posix.cpp>)
target_include_directories(dictionary_headless PUBLIC ${PROJECT_SOURCE_DIR})
