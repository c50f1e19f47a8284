# dictionary_version.h in the build tree: the release as text and as the
# four numbers of a version resource, from project(VERSION) alone. The
# resource scripts (string IDS_VERSION, the version resources) and the
# tool's --version include it; make-dist.sh asks the tool for it.
foreach(part MAJOR MINOR PATCH TWEAK)
  set(DICTIONARY_VERSION_${part} "${PROJECT_VERSION_${part}}")
  if(DICTIONARY_VERSION_${part} STREQUAL "")
    set(DICTIONARY_VERSION_${part} 0)
  endif()
endforeach()
set(DICTIONARY_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/res/dictionary_version.h.in ${DICTIONARY_GENERATED_DIR}/dictionary_version.h @ONLY)
