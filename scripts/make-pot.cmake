# Writes the message template: every text the game's code passes to tr() or marks with N_(),
# from every source folder (new files are found on their own). Run as
#   cmake -DROOT=<source folder> -DWORK=<scratch folder> -DOUTPUT=<file> -DXGETTEXT=<xgettext>
#         -P make-pot.cmake
# The creation date is left out so an unchanged source gives an unchanged file.
# Every folder of the core and the ui, the browser's platform layer within them too, so a new
# folder is read as well.
file(GLOB_RECURSE SOURCES RELATIVE ${ROOT} ${ROOT}/core/*.cpp ${ROOT}/core/*.h ${ROOT}/ui/*.cpp ${ROOT}/ui/*.h)
list(SORT SOURCES)
# xgettext (0.21) reads u"..." but does not join u"a" u"b" as the compiler does, and the
# formatter splits long texts that way: it reads copies with such pieces already joined.
file(REMOVE_RECURSE ${WORK})
foreach(source ${SOURCES})
  file(READ ${ROOT}/${source} text)
  string(REGEX REPLACE "\"[ \t\r\n]+u\"" "" text "${text}")
  file(WRITE ${WORK}/${source} "${text}")
endforeach()
execute_process(
  COMMAND ${XGETTEXT} --language=C++ --from-code=UTF-8 --keyword --keyword=tr --keyword=N_
          --add-location=file --sort-by-file --package-name=twirlstick --output=- ${SOURCES}
  WORKING_DIRECTORY ${WORK} OUTPUT_VARIABLE pot RESULT_VARIABLE code ERROR_VARIABLE err)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "xgettext failed: ${err}")
endif()
string(REGEX REPLACE "\"POT-Creation-Date: [^\"]*\"\n" "" pot "${pot}")
file(WRITE ${OUTPUT} "${pot}")
