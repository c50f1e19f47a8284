# The portable logic: storage, look-up, the rules of the window and the
# settings. Files ending in _win32.cpp belong to the Windows program only,
# files ending in _headless.cpp to the headless platform only.
file(GLOB DICTIONARY_LOGIC_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/storage/*.cpp
  ${PROJECT_SOURCE_DIR}/lookup/*.cpp
  ${PROJECT_SOURCE_DIR}/ui/*.cpp
  ${PROJECT_SOURCE_DIR}/settings/*.cpp)
list(FILTER DICTIONARY_LOGIC_SOURCES EXCLUDE REGEX "_(win32|headless)\\.cpp$")
# The code page's table is portable and serves both platforms.
list(APPEND DICTIONARY_LOGIC_SOURCES ${PROJECT_SOURCE_DIR}/platform/cp1251.cpp)

add_library(dictionary_logic OBJECT ${DICTIONARY_LOGIC_SOURCES})
target_include_directories(dictionary_logic PUBLIC ${PROJECT_SOURCE_DIR})

# Logic on the headless platform: the command-line tool and the unit tests.
file(GLOB DICTIONARY_HEADLESS_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/platform/*_headless.cpp
  ${PROJECT_SOURCE_DIR}/ui/*_headless.cpp)
add_library(dictionary_headless STATIC
  $<TARGET_OBJECTS:dictionary_logic>
  ${PROJECT_SOURCE_DIR}/platform/headless.cpp
  ${DICTIONARY_HEADLESS_SOURCES}
  $<IF:$<BOOL:${WIN32}>,${PROJECT_SOURCE_DIR}/platform/files_win32.cpp,${PROJECT_SOURCE_DIR}/platform/files_posix.cpp>
  $<$<BOOL:${WIN32}>:${PROJECT_SOURCE_DIR}/platform/wide_text_win32.cpp>)
target_include_directories(dictionary_headless PUBLIC ${PROJECT_SOURCE_DIR})

# The dictionary's own maintenance: import, export, check and repair.
file(GLOB DICTIONARY_MAINTENANCE_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/maintenance/*.cpp)
add_library(dictionary_maintenance STATIC ${DICTIONARY_MAINTENANCE_SOURCES})
target_link_libraries(dictionary_maintenance PUBLIC dictionary_headless)
# zlib is linked in: the Windows tool (libz-mingw-w64-dev) needs no DLL
# beside it, and the native tool is one static program (tools/tools.cmake).
set(ZLIB_USE_STATIC_LIBS ON)
if(ZLIB_LIBRARY_RELEASE MATCHES "\\.so$")   # found by a tree made before
  unset(ZLIB_LIBRARY_RELEASE CACHE)
  unset(ZLIB_LIBRARY CACHE)
endif()
find_package(ZLIB QUIET)
if(ZLIB_FOUND)
  target_link_libraries(dictionary_maintenance PUBLIC ZLIB::ZLIB)
  target_compile_definitions(dictionary_maintenance PUBLIC DICTIONARY_HAVE_ZLIB=1)
endif()
