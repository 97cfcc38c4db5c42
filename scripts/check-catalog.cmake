# Every message id in the code has its translation in a catalog, and the catalog compiles
# cleanly (msgfmt --check: formats agree, no broken header). Run as
#   cmake -DROOT=<source folder> -DPO=<po file> -DWORK=<scratch folder> -DXGETTEXT=... -DMSGMERGE=...
#         -DMSGATTRIB=... -DMSGFMT=... -P check-catalog.cmake
# A text added to the code without its translation fails with the text itself named.
file(MAKE_DIRECTORY ${WORK})
get_filename_component(name ${PO} NAME_WE)
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${ROOT} -DWORK=${WORK}/sources -DOUTPUT=${WORK}/current.pot -DXGETTEXT=${XGETTEXT}
                        -P ${CMAKE_CURRENT_LIST_DIR}/make-pot.cmake COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${MSGFMT} --check --output-file=/dev/null ${PO}
  RESULT_VARIABLE code ERROR_VARIABLE err)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "${PO} does not compile:\n${err}")
endif()
# The catalog brought up to the code's ids without guessing: a new id stays untranslated rather
# than taking a similar old id's text as a fuzzy match.
execute_process(COMMAND ${MSGMERGE} --quiet --no-fuzzy-matching --output-file=${WORK}/${name}.po ${PO} ${WORK}/current.pot
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${MSGATTRIB} --untranslated --no-obsolete --no-wrap ${WORK}/${name}.po
  OUTPUT_VARIABLE untranslated COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${MSGATTRIB} --only-fuzzy --no-obsolete --no-wrap ${WORK}/${name}.po
  OUTPUT_VARIABLE fuzzy COMMAND_ERROR_IS_FATAL ANY)
set(missing)
foreach(entries IN ITEMS "${untranslated}" "${fuzzy}")
  # Each entry's id and where it is used; the header (the empty id) is no text of the game.
  string(REGEX MATCHALL "#: [^\n]*\n(#[^\n]*\n)*msgid \"[^\n]+\n(\"[^\n]*\n)*" found "${entries}")
  foreach(entry ${found})
    string(APPEND missing "${entry}\n")
  endforeach()
endforeach()
if(missing)
  message(FATAL_ERROR "Message ids in the code with no translation (or only a fuzzy one) in ${PO}; "
                      "add their msgstr there (README.md, Languages, says how):\n\n${missing}")
endif()
message(STATUS "${PO}: every message id in the code is translated")
