# The resource script of Dictionary.exe and the pictures it includes. The
# pictures are drawn at build time by res/art/make_art.py from the pixel maps
# beside it, so no image is kept in the repository.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(DICTIONARY_ART_DIR ${CMAKE_CURRENT_BINARY_DIR}/res)
set(DICTIONARY_ART_FILES
  ${DICTIONARY_ART_DIR}/toolbar.bmp
  ${DICTIONARY_ART_DIR}/about.bmp
  ${DICTIONARY_ART_DIR}/main.ico
  ${DICTIONARY_ART_DIR}/tray.ico)
add_custom_command(
  OUTPUT ${DICTIONARY_ART_FILES}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/res/art/make_art.py ${DICTIONARY_ART_DIR}
  DEPENDS
    ${PROJECT_SOURCE_DIR}/res/art/make_art.py
    ${PROJECT_SOURCE_DIR}/res/art/toolbar.txt
    ${PROJECT_SOURCE_DIR}/res/art/icons.txt
  COMMENT "Drawing the toolbar strip, the icons and the About picture"
  VERBATIM)

# windres finds the pictures, res/resource.h and the release
# (dictionary_version.h, cmake/version.cmake) through its include folders.
set(DICTIONARY_RC ${PROJECT_SOURCE_DIR}/res/Dictionary.rc)
set_source_files_properties(${DICTIONARY_RC} PROPERTIES
  INCLUDE_DIRECTORIES "${DICTIONARY_ART_DIR};${PROJECT_SOURCE_DIR};${DICTIONARY_GENERATED_DIR}"
  OBJECT_DEPENDS "${DICTIONARY_ART_FILES};${PROJECT_SOURCE_DIR}/res/resource.h;${PROJECT_SOURCE_DIR}/res/version_info.rc;${DICTIONARY_GENERATED_DIR}/dictionary_version.h")

# The pictures are listed too, so the target that compiles the script owns
# the command that draws them.
set(DICTIONARY_RESOURCE_SOURCES ${DICTIONARY_RC} ${DICTIONARY_ART_FILES})
