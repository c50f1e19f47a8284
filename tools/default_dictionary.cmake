# The default dictionary, English_Bulgarian, made by the native tool from the
# FreeDict English-Bulgarian data (Debian package dict-freedict-eng-bul) into
# ${CMAKE_BINARY_DIR}/dictionaries. The script stops with a message naming
# scripts/install-deps.sh when the data is not installed.
option(DICTIONARY_DEFAULT_DICTIONARY "Build the default dictionary English_Bulgarian" ON)

if(DICTIONARY_DEFAULT_DICTIONARY AND NOT CMAKE_CROSSCOMPILING AND TARGET dictionary-tool)
  set(DICTIONARY_FREEDICT_INDEX /usr/share/dictd/freedict-eng-bul.index CACHE FILEPATH
      "The FreeDict English-Bulgarian index; its .dict.dz lies beside it")
  set(DICTIONARY_DICTIONARIES_DIR ${CMAKE_BINARY_DIR}/dictionaries)
  set(default_dictionary_script ${PROJECT_SOURCE_DIR}/scripts/build-default-dictionary.sh)
  set(default_dictionary_inputs ${default_dictionary_script})
  # Only data that exists can be a dependency; when it is missing the script
  # runs and says what to install.
  string(REGEX REPLACE "\\.index$" ".dict.dz" default_dictionary_data "${DICTIONARY_FREEDICT_INDEX}")
  foreach(input ${DICTIONARY_FREEDICT_INDEX} ${default_dictionary_data})
    if(EXISTS ${input})
      list(APPEND default_dictionary_inputs ${input})
    endif()
  endforeach()
  add_custom_command(
    OUTPUT ${DICTIONARY_DICTIONARIES_DIR}/English_Bulgarian/00.dat
           ${DICTIONARY_DICTIONARIES_DIR}/English_Bulgarian/CREDITS.txt
    COMMAND ${CMAKE_COMMAND} -E env FREEDICT_ENG_BUL=${DICTIONARY_FREEDICT_INDEX}
            sh ${default_dictionary_script} $<TARGET_FILE:dictionary-tool> ${DICTIONARY_DICTIONARIES_DIR}
    DEPENDS dictionary-tool ${default_dictionary_inputs}
    COMMENT "Building the default dictionary English_Bulgarian from the FreeDict data"
    VERBATIM)
  add_custom_target(default_dictionary ALL
    DEPENDS ${DICTIONARY_DICTIONARIES_DIR}/English_Bulgarian/00.dat)
endif()
