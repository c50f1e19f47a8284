# The word-form tables, forms/English and forms/Bulgarian beside the default
# dictionary in ${CMAKE_BINARY_DIR}/dictionaries: the Hunspell word lists
# and WordNet's irregular forms, expanded and kept to the bases that
# English_Bulgarian holds (scripts/build-word-forms.py). The script stops
# with a message naming scripts/install-deps.sh when a source is missing.
if(TARGET default_dictionary)
  set(word_forms_script ${PROJECT_SOURCE_DIR}/scripts/build-word-forms.py)
  set(word_forms_inputs ${word_forms_script} ${PROJECT_SOURCE_DIR}/res/forms/bulgarian-irregular.txt)
  foreach(input /usr/share/hunspell/en_US.dic /usr/share/hunspell/en_US.aff
                /usr/share/hunspell/bg_BG.dic /usr/share/hunspell/bg_BG.aff
                /usr/share/wordnet/verb.exc /usr/share/wordnet/cntlist.rev)
    if(EXISTS ${input})
      list(APPEND word_forms_inputs ${input})
    endif()
  endforeach()
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_custom_command(
    OUTPUT ${DICTIONARY_DICTIONARIES_DIR}/forms/English/00.dat
           ${DICTIONARY_DICTIONARIES_DIR}/forms/Bulgarian/00.dat
           ${DICTIONARY_DICTIONARIES_DIR}/forms/CREDITS.txt
           ${DICTIONARY_DICTIONARIES_DIR}/forms/frequency.txt
    COMMAND ${Python3_EXECUTABLE} ${word_forms_script} $<TARGET_FILE:dictionary-tool> ${DICTIONARY_DICTIONARIES_DIR}
    DEPENDS dictionary-tool ${DICTIONARY_DICTIONARIES_DIR}/English_Bulgarian/00.dat ${word_forms_inputs}
    COMMENT "Building the word forms of English and Bulgarian"
    VERBATIM)
  add_custom_target(word_forms ALL DEPENDS ${DICTIONARY_DICTIONARIES_DIR}/forms/English/00.dat)
  add_dependencies(word_forms default_dictionary)
endif()

# The built tables give the bases a reader expects, the most common first,
# spelled as the form is (man, not the proper noun Man); words of their own
# (evening, news, wedding) are no forms of others (even, new, wed); nouns
# the Hunspell list spells out without flags keep their forms, the plural
# it shares with a verb included (клони: клоня, клон; войници: войник);
# forms the list does not make come from res/forms (дни: ден, беше: съм).
if(TARGET word_forms)
  add_test(NAME word_forms_data
    COMMAND dictionary-tool --root ${DICTIONARY_DICTIONARIES_DIR} forms
            went better children brought bringing does is men котките програмата опциите клони войници дни мъжете беше)
  set_tests_properties(word_forms_data PROPERTIES LABELS data
    PASS_REGULAR_EXPRESSION "^went: go\nbetter: good, well\nchildren: child\nbrought: bring\nbringing: bring\ndoes: do, doe\nis: be, i\nmen: man\nкотките: котка\nпрограмата: програма\nопциите: опция\nклони: клоня, клон\nвойници: войник\nдни: ден\nмъжете: мъж\nбеше: съм\n$")
  add_test(NAME word_forms_own_words
    COMMAND dictionary-tool --root ${DICTIONARY_DICTIONARIES_DIR} forms evening news wedding)
  set_tests_properties(word_forms_own_words PROPERTIES LABELS data
    PASS_REGULAR_EXPRESSION "^evening: no base forms\nnews: no base forms\nwedding: no base forms\n$")
endif()
