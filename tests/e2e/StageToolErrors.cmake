# The stage tool on things that are not stage files: each is refused with its reason on stderr
# and a non-zero exit, never answered with an empty stage or waited on.
set(dir ${WORK_DIR}/stage-tool-errors)
file(REMOVE_RECURSE ${dir})
file(MAKE_DIRECTORY ${dir}/folder)
file(CREATE_LINK ${dir}/nowhere ${dir}/dangling SYMBOLIC)
execute_process(COMMAND mkfifo ${dir}/fifo)
execute_process(COMMAND truncate -s 5M ${dir}/huge)

macro(expect_refusal what)
  execute_process(COMMAND ${TOOL} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err
                  TIMEOUT 20)
  if(rc STREQUAL "0" OR NOT err MATCHES "cannot read ${what} file .*: " OR out MATCHES "title:")
    message(FATAL_ERROR "${ARGN}: exit '${rc}', stdout '${out}', stderr '${err}'")
  endif()
endmacro()

foreach(name folder dangling fifo huge missing)
  expect_refusal(stage info ${dir}/${name})
endforeach()
foreach(name folder fifo)
  expect_refusal(replay verify ${STAGE} ${dir}/${name})
endforeach()

# Asked for, the help and the version are answers, not errors, after a command too.
foreach(args "--help" "info;--help" "verify;--help" "rate;--help" "solve;${STAGE};--help")
  execute_process(COMMAND ${TOOL} ${args} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc STREQUAL "0" OR NOT out MATCHES "twirlstick-stage info STAGE" OR NOT err STREQUAL "")
    message(FATAL_ERROR "${args}: exit '${rc}', stdout '${out}', stderr '${err}'")
  endif()
endforeach()
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
# A search that stops at its state cap says so: no time-out, and no "no route" either.
execute_process(COMMAND ${TOOL} solve ${STAGE} --max-states 10 RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc STREQUAL "3" OR NOT out MATCHES "^stopped at the cap of 10 states after ")
  message(FATAL_ERROR "solve at a cap of 10 states: exit '${rc}', stdout '${out}'")
endif()

# solve's options: whole decimal numbers in range, each option once. The cap of 10 states makes
# an accepted line stop at once (exit 3); a refused one names the option and solves nothing.
foreach(good "--seconds;1" "--seconds;3600" "--min-gap;1" "--min-gap;0600" "--forgive;3" "--out;${dir}/capped")
  execute_process(COMMAND ${TOOL} solve ${STAGE} --max-states 10 ${good} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT rc STREQUAL "3" OR NOT err STREQUAL "")
    message(FATAL_ERROR "solve ${good}: exit '${rc}', stdout '${out}', stderr '${err}'")
  endif()
endforeach()
foreach(bad "--min-gap;1e9" "--min-gap;4294967297" "--min-gap;10abc" "--min-gap;0" "--min-gap;601"
            "--min-gap;-5" "--min-gap;+5" "--min-gap; 5" "--seconds;0x10" "--seconds;1.5"
            "--seconds;3601" "--forgive;4" "--max-states;100000001" "--max-states;99999999999999999999999"
            "--seconds;5;--seconds;5" "--out;a;--out;b" "--seconds" "--fast;1")
  list(GET bad 0 option)
  execute_process(COMMAND ${TOOL} solve ${STAGE} ${bad} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc STREQUAL "2" OR NOT out STREQUAL "" OR NOT err MATCHES "^twirlstick-stage: [^\n]*${option}")
    message(FATAL_ERROR "solve ${bad}: exit '${rc}', stdout '${out}', stderr '${err}'")
  endif()
endforeach()

# rate: the same strict options, its own ones only. With no timing error every trial is the route
# itself, so a million trials answer at once; a replay that does not clear rates 0, as an answer.
foreach(case "--trials;1000000;--spread;0|clear rate 100% at 0 ms \\(1000000 of 1000000 trials\\)"
             "--trials;1;--seed;4294967295|clear rate [0-9]+% at 15 ms \\(. of 1 trials\\)")
  string(REPLACE "|" ";" case "${case}")
  list(POP_BACK case expected)
  execute_process(COMMAND ${TOOL} rate ${STAGE} ${REPLAY} ${case} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc STREQUAL "0" OR NOT out MATCHES "^${expected}\n$")
    message(FATAL_ERROR "rate ${case}: exit '${rc}', stdout '${out}', stderr '${err}'")
  endif()
endforeach()
execute_process(COMMAND ${TOOL} rate ${OTHER_STAGE} ${REPLAY} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc STREQUAL "0" OR NOT out MATCHES "^the replay does not clear the stage as recorded: clear rate 0% ")
  message(FATAL_ERROR "rate on another stage: exit '${rc}', stdout '${out}'")
endif()
foreach(bad "--trials;0" "--trials;1000001" "--spread;101" "--spread;1.5" "--seed;4294967296" "--seed;-1"
            "--seconds;5" "--out;${dir}/rated")
  list(GET bad 0 option)
  execute_process(COMMAND ${TOOL} rate ${STAGE} ${REPLAY} ${bad} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT rc STREQUAL "2" OR NOT out STREQUAL "" OR NOT err MATCHES "^twirlstick-stage: [^\n]*${option}")
    message(FATAL_ERROR "rate ${bad}: exit '${rc}', stdout '${out}', stderr '${err}'")
  endif()
endforeach()

# --out replaces a regular file and nothing else, and never writes through a link.
file(WRITE ${dir}/notes "someone's notes")
file(CREATE_LINK ${dir}/notes ${dir}/link SYMBOLIC)
file(WRITE ${dir}/old-route "an older route")
set(targets fifo link folder)
execute_process(COMMAND mknod ${dir}/device c 1 7 RESULT_VARIABLE rc ERROR_QUIET)
if(rc STREQUAL "0") # only root makes a device node, as /dev/full is
  list(APPEND targets device)
endif()
file(GLOB before RELATIVE ${dir} ${dir}/*)
foreach(target ${targets})
  execute_process(COMMAND ${TOOL} solve ${STAGE} --out ${dir}/${target} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc STREQUAL "2" OR NOT err MATCHES "cannot write replay file ${dir}/${target}: ")
    message(FATAL_ERROR "solve --out ${target}: exit '${rc}', stdout '${out}', stderr '${err}'")
  endif()
endforeach()
file(GLOB after RELATIVE ${dir} ${dir}/*)
file(READ ${dir}/notes notes)
if(NOT before STREQUAL after OR NOT IS_SYMLINK ${dir}/link OR NOT notes STREQUAL "someone's notes")
  message(FATAL_ERROR "--out refused but changed the folder: '${before}' became '${after}'")
endif()
foreach(target old-route new-route)
  execute_process(COMMAND ${TOOL} solve ${STAGE} --out ${dir}/${target} RESULT_VARIABLE rc TIMEOUT 60)
  execute_process(COMMAND ${TOOL} verify ${STAGE} ${dir}/${target} RESULT_VARIABLE verified OUTPUT_VARIABLE out)
  if(NOT rc STREQUAL "0" OR NOT verified STREQUAL "0" OR NOT out MATCHES "^clear ")
    message(FATAL_ERROR "solve --out ${target}: exit '${rc}', then verify '${verified}' '${out}'")
  endif()
endforeach()

# An answer that cannot be written out is a failure, not a success.
execute_process(COMMAND ${TOOL} info ${STAGE} OUTPUT_FILE /dev/full RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc STREQUAL "2" OR NOT err MATCHES "cannot write the output")
  message(FATAL_ERROR "info into a full disk: exit '${rc}', stderr '${err}'")
endif()
file(REMOVE_RECURSE ${dir})
