# Dictionary.exe: the portable logic, the Win32 platform, the window code
# and the resources.
file(GLOB DICTIONARY_WIN32_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/platform/*_win32.cpp
  ${PROJECT_SOURCE_DIR}/ui/*_win32.cpp
  ${PROJECT_SOURCE_DIR}/settings/*_win32.cpp)

set(DICTIONARY_RESOURCE_SOURCES "")
include(${PROJECT_SOURCE_DIR}/res/resources.cmake OPTIONAL)

add_executable(Dictionary WIN32
  $<TARGET_OBJECTS:dictionary_logic>
  ${DICTIONARY_WIN32_SOURCES}
  ${DICTIONARY_RESOURCE_SOURCES})
target_include_directories(Dictionary PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(Dictionary PRIVATE comctl32 comdlg32 shell32 gdi32 user32 advapi32)
