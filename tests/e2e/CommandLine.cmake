# The game's options, run without a display: --help and --version answer on stdout with code 0;
# an unknown option or a stray argument gets the usage on stderr and code 2, and no game starts.
function(run_game)
  execute_process(COMMAND env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy ${GAME} ${ARGN}
    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 10)
  set(code "${code}" PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

macro(fail message)
  message(FATAL_ERROR "${message}\n  code: ${code}\n  stdout: ${out}\n  stderr: ${err}")
endmacro()

foreach(help --help -h)
  run_game(${help})
  string(FIND "${out}" "Usage: twirlstick" usage)
  string(FIND "${out}" "--version" names_version)
  string(FIND "${out}" "--language" names_language)
  if(NOT code EQUAL 0 OR NOT usage EQUAL 0 OR names_version LESS 0 OR names_language LESS 0 OR NOT err STREQUAL "")
    fail("${help} prints the usage and the options on stdout only, and exits 0")
  endif()
endforeach()

run_game(--version)
string(FIND "${out}" "twirlstick ${VERSION}\n" version)
string(FIND "${out}" "MIT License" license)
if(NOT code EQUAL 0 OR NOT version EQUAL 0 OR license LESS 0 OR NOT err STREQUAL "")
  fail("--version prints the project's version and license on stdout only, and exits 0")
endif()

foreach(args "--frobnicate" "-x" "stage1" "--help;--version" "--language" "--language=../../etc" "--language;en;x"
             "--version;extra")
  run_game(${args})
  string(FIND "${err}" "Usage: twirlstick" usage)
  if(NOT code EQUAL 2 OR usage LESS 0 OR NOT out STREQUAL "")
    fail("'${args}' prints the usage on stderr only, and exits 2")
  endif()
endforeach()
string(FIND "${err}" "'extra'" named)
if(named LESS 0)
  fail("the argument not understood is named")
endif()
