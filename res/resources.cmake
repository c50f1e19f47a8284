# The resource script of Dictionary.exe and the pictures it includes. The
# pictures are rendered at build time by res/art/make_art.py from the
# drawings beside it (SVG, and Tango's small pixel drawings), so the
# repository holds no picture of its own making in binary form.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(DICTIONARY_RSVG_CONVERT rsvg-convert REQUIRED)  # librsvg2-bin
find_program(DICTIONARY_CONVERT convert REQUIRED)            # imagemagick

set(DICTIONARY_ART_DIR ${CMAKE_CURRENT_BINARY_DIR}/res)
set(DICTIONARY_ART_FILES ${DICTIONARY_ART_DIR}/book.ico)
foreach(size 16 20 24 32 48)
  list(APPEND DICTIONARY_ART_FILES ${DICTIONARY_ART_DIR}/toolbar${size}.bmp)
endforeach()
foreach(scale 100 125 150 200)
  list(APPEND DICTIONARY_ART_FILES ${DICTIONARY_ART_DIR}/about${scale}.bmp)
endforeach()
file(GLOB DICTIONARY_ART_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/res/art/*.svg
  ${PROJECT_SOURCE_DIR}/res/art/tango/*/*)
add_custom_command(
  OUTPUT ${DICTIONARY_ART_FILES}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/res/art/make_art.py ${DICTIONARY_ART_DIR}
          ${DICTIONARY_RSVG_CONVERT} ${DICTIONARY_CONVERT}
  DEPENDS
    ${PROJECT_SOURCE_DIR}/res/art/make_art.py
    ${PROJECT_SOURCE_DIR}/res/art/toolbar.txt
    ${DICTIONARY_ART_SOURCES}
  COMMENT "Rendering the toolbar strips, the icon and the About pictures"
  VERBATIM)

# windres finds the pictures, the manifest, res/resource.h and the release
# (dictionary_version.h, cmake/version.cmake) through its include folders.
set(DICTIONARY_RC ${PROJECT_SOURCE_DIR}/res/Dictionary.rc)
set_source_files_properties(${DICTIONARY_RC} PROPERTIES
  INCLUDE_DIRECTORIES "${DICTIONARY_ART_DIR};${PROJECT_SOURCE_DIR};${DICTIONARY_GENERATED_DIR}"
  OBJECT_DEPENDS "${DICTIONARY_ART_FILES};${PROJECT_SOURCE_DIR}/res/resource.h;${PROJECT_SOURCE_DIR}/res/version_info.rc;${DICTIONARY_GENERATED_DIR}/dictionary_version.h;${PROJECT_SOURCE_DIR}/res/Dictionary.exe.manifest")

# The pictures are listed too, so the target that compiles the script owns
# the command that draws them.
set(DICTIONARY_RESOURCE_SOURCES ${DICTIONARY_RC} ${DICTIONARY_ART_FILES})
