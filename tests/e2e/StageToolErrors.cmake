# The stage tool on things that are not stage files: each is refused with its reason on stderr
# and a non-zero exit, never answered with an empty stage or waited on.
set(dir ${WORK_DIR}/stage-tool-errors)
file(REMOVE_RECURSE ${dir})
file(MAKE_DIRECTORY ${dir}/folder)
file(CREATE_LINK ${dir}/nowhere ${dir}/dangling SYMBOLIC)
execute_process(COMMAND mkfifo ${dir}/fifo)
execute_process(COMMAND truncate -s 5M ${dir}/huge)

function(expect_refusal what)
  execute_process(COMMAND ${TOOL} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err
                  TIMEOUT 20)
  if(rc STREQUAL "0" OR NOT err MATCHES "cannot read ${what} file .*: " OR out MATCHES "title:")
    message(FATAL_ERROR "${ARGN}: exit '${rc}', stdout '${out}', stderr '${err}'")
  endif()
endfunction()

foreach(name folder dangling fifo huge missing)
  expect_refusal(stage info ${dir}/${name})
endforeach()
foreach(name folder fifo)
  expect_refusal(replay verify ${STAGE} ${dir}/${name})
endforeach()

# Asked for, the help and the version are answers, not errors.
execute_process(COMMAND ${TOOL} --help RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc STREQUAL "0" OR NOT out MATCHES "twirlstick-stage info STAGE" OR NOT err STREQUAL "")
  message(FATAL_ERROR "--help: exit '${rc}', stdout '${out}', stderr '${err}'")
endif()
execute_process(COMMAND ${TOOL} --version RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc STREQUAL "0" OR NOT out STREQUAL "twirlstick-stage ${VERSION}\n")
  message(FATAL_ERROR "--version: exit '${rc}', stdout '${out}', stderr '${err}'")
endif()
execute_process(COMMAND ${TOOL} --help extra RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc STREQUAL "2" OR NOT err MATCHES "usage:")
  message(FATAL_ERROR "--help extra: exit '${rc}', stderr '${err}'")
endif()

execute_process(COMMAND ${TOOL} info ${STAGE} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc STREQUAL "0" OR NOT out MATCHES "title:")
  message(FATAL_ERROR "info on a real stage: exit '${rc}', stdout '${out}'")
endif()
file(REMOVE_RECURSE ${dir})
