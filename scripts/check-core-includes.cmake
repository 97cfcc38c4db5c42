# Fails when a file of the headless core reaches, directly or through the project headers it
# includes, anything outside core/ (ui/ draws, opens windows, plays sound) or a window, GL, font
# engine or audio header: the core must build, and its tests and the stage tool must run, with
# none of them. The repository's top is the one include root, so an include path could name ui/;
# and GL's headers sit in the system's include folder, where no include path keeps them out.
#
#   cmake -DROOT=<source dir> -DSOURCES="core/stage/Stage.cpp|core/game/Bar.cpp|..." -P check-core-includes.cmake
#
# SOURCES is the core target's own source list, so a file added to the core is checked at once.
cmake_minimum_required(VERSION 3.20)

set(CORE "${ROOT}/core")
# System headers of the window, GL, the font engine and audio.
set(forbidden_system "^(SDL|GL/|GLES|EGL/|X11/|ft2build|freetype|AL/|pulse/|alsa/)")

string(REPLACE "|" ";" pending "${SOURCES}")
if(NOT pending)
  message(FATAL_ERROR "core include check: no sources given")
endif()
set(seen)
set(problems)

function(project_path from name out)
  get_filename_component(dir "${from}" DIRECTORY)
  set(${out} "" PARENT_SCOPE)
  foreach(candidate "${ROOT}/${name}" "${dir}/${name}")
    if(EXISTS "${candidate}")
      file(REAL_PATH "${candidate}" resolved)
      set(${out} "${resolved}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

while(pending)
  list(POP_FRONT pending file)
  if(NOT IS_ABSOLUTE "${file}")
    set(file "${ROOT}/${file}")
  endif()
  file(REAL_PATH "${file}" file)
  if(file IN_LIST seen)
    continue()
  endif()
  list(APPEND seen "${file}")
  file(RELATIVE_PATH where "${ROOT}" "${file}")
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "<([^>]*)>")
      set(name "${CMAKE_MATCH_1}")
      if(name MATCHES "${forbidden_system}")
        list(APPEND problems "${where}: <${name}>")
      endif()
    elseif(line MATCHES "\"([^\"]*)\"")
      set(name "${CMAKE_MATCH_1}")
      # Resolved as the compiler resolves it: from the top or beside the including file; a
      # header outside core/ is outside the core.
      project_path("${file}" "${name}" header)
      get_filename_component(header_dir "${header}" DIRECTORY)
      get_filename_component(file_dir "${file}" DIRECTORY)
      string(FIND "${header}" "${CORE}/" in_core)
      if(header AND (in_core EQUAL 0 OR header_dir STREQUAL file_dir))
        list(APPEND pending "${header}")
      else()
        list(APPEND problems "${where}: \"${name}\"")
      endif()
    else()
      # An include through a macro (FT_FREETYPE_H and the like) cannot be checked: refuse it.
      string(STRIP "${line}" line)
      list(APPEND problems "${where}: ${line}")
    endif()
  endforeach()
endwhile()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "the headless core reaches code it must not include:\n  ${text}")
endif()
list(LENGTH seen count)
message(STATUS "core include check: ${count} files, none reaches outside core/")
