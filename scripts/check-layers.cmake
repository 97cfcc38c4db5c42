# Fails when a folder under ui/ or core/ includes a header of a folder above it, or of a folder
# that has no place in the layers: includes point down the list below and never up, so no two
# folders can ever include each other, directly or round a longer circle.
#
#   cmake -DROOT=<source dir> -P check-layers.cmake
#
# Every .h and .cpp under ROOT/ui and ROOT/core is read at each run, so a new file is checked
# the moment it exists. Outside ui/app and ui/system no file may name the global TheGameSystem.
# Every project include names its root from the top ("core/stage/Stage.h"),
# the one include root: an include beside the file ("Stage.h") or one that starts with a layer's
# own name ("editor/EditSession.h", which could mean ui/editor or core/editor) is refused.
cmake_minimum_required(VERSION 3.20)

# Top to bottom. The entry (main, start-up, command line, the main handler) is the top layer:
# no scene includes it. ui/system holds the GameSystem hub, the window, the loop, the input
# records and the dialogs the scenes use; render never includes it.
set(layers
  ui/app
  ui/screens
  ui/editor
  ui/scene
  ui/system
  ui/render
  ui/sound
  ui/platform
  core/play
  core/editor
  core/solver
  core/game
  core/settings
  core/online
  core/lang
  core/stage
  core/sound
  core/base)

if(NOT ROOT)
  message(FATAL_ERROR "layer check: no ROOT given")
endif()

# The layer folder ("ui/render") a path under ROOT lies in, or "" outside ui/ and core/;
# server/ (twirlstick-server) is a folder of its own that stands on core/ alone.
function(folder_of path out)
  file(RELATIVE_PATH rel "${ROOT}" "${path}")
  if(rel MATCHES "^server/")
    set(${out} "server" PARENT_SCOPE)
  elseif(rel MATCHES "^((ui|core)/[^/]+)/")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE sources LIST_DIRECTORIES false "${ROOT}/ui/*.h" "${ROOT}/ui/*.cpp" "${ROOT}/core/*.h"
  "${ROOT}/core/*.cpp" "${ROOT}/server/*.h" "${ROOT}/server/*.cpp")
list(SORT sources)
set(problems)
set(edges 0)
foreach(file IN LISTS sources)
  folder_of("${file}" from)
  list(FIND layers "${from}" from_rank)
  file(RELATIVE_PATH where "${ROOT}" "${file}")
  if(from STREQUAL "server")
    set(from_rank -2)
  endif()
  if(from_rank EQUAL -1)
    list(APPEND problems "${where}: ${from} has no place in the layers (add it to ${CMAKE_CURRENT_LIST_FILE})")
    continue()
  endif()
  # The program-wide hub is for the entry and the system layer alone: scenes are handed their
  # frame context, drawing takes what it draws with, and the core knows nothing of it.
  if(NOT from MATCHES "^ui/(app|system)$")
    file(STRINGS "${file}" hub_uses REGEX "TheGameSystem")
    if(hub_uses)
      list(APPEND problems "${where}: uses TheGameSystem, which only ui/app and ui/system may reach for")
    endif()
  endif()
  get_filename_component(dir "${file}" DIRECTORY)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "\"([^\"]*)\"" ignored "${line}")
    set(name "${CMAKE_MATCH_1}")
    if(from STREQUAL "server" AND name MATCHES "^ui/")
      list(APPEND problems "${where}: \"${name}\": the server stands on core/ alone")
      continue()
    endif()
    if(NOT name MATCHES "^(ui|core|server)/")
      string(REGEX MATCH "^[^/]+" first "${name}")
      if(EXISTS "${dir}/${name}" OR IS_DIRECTORY "${ROOT}/ui/${first}" OR IS_DIRECTORY "${ROOT}/core/${first}")
        list(APPEND problems "${where}: \"${name}\" does not name its root (write \"core/…\" or \"ui/…\")")
      endif()
      continue() # not a project header: the compiler has the last word on it
    endif()
    if(NOT EXISTS "${ROOT}/${name}")
      continue()
    endif()
    get_filename_component(header "${ROOT}/${name}" ABSOLUTE)
    folder_of("${header}" to)
    if(to STREQUAL from OR to STREQUAL "" OR from STREQUAL "server")
      continue()
    endif()
    math(EXPR edges "${edges} + 1")
    list(FIND layers "${to}" to_rank)
    if(to_rank LESS 0)
      list(APPEND problems "${where}: \"${name}\" is in ${to}, which has no place in the layers")
    elseif(to_rank LESS from_rank)
      list(APPEND problems "${where}: \"${name}\" reaches up from ${from} to ${to}")
    endif()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  list(JOIN layers " > " order)
  message(FATAL_ERROR "includes must point down the layers (${order}):\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "layer check: ${count} files, ${edges} includes between folders, all pointing down")
