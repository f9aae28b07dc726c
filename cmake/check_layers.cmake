# Checks that every source file includes only its own layer and the layers below it.
# The core's layers, bottom-up: base, store, ledger, print, users, contractors, maintenance,
# settings; each area's core uses only the areas before it. The graphic forms (print/forms) sit on
# the core; the windows (every area's ui/ folder) sit on the core, the forms and the windows of
# their own area and those below (a higher area's window is reached through the commands the
# start-up hands down); the start-up (app) sits on everything. The shared widgets use only the foundation and the store. The core never
# includes a window or a form.
# Run: cmake -DSOURCE_DIR=<repo>/src -P check_layers.cmake

set(layers base store ledger print users contractors maintenance settings app)

function(layer_rank area out)
  if(area STREQUAL "widgets")
    # The shared widgets sit on the store: a grid shows a table view.
    list(FIND layers store rank)
  else()
    list(FIND layers "${area}" rank)
  endif()
  set(${out} ${rank} PARENT_SCOPE)
endfunction()

# core, forms (print/forms) or windows (ui/, widgets/, the program's entry)
function(part_of path out)
  if(path MATCHES "^widgets/" OR path MATCHES "/ui/" OR path STREQUAL "app/main.cpp")
    set(${out} windows PARENT_SCOPE)
  elseif(path MATCHES "^print/forms/")
    set(${out} forms PARENT_SCOPE)
  else()
    set(${out} core PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(faults "")
foreach(source ${sources})
  string(REGEX MATCH "^[^/]+" area "${source}")
  layer_rank("${area}" rank)
  if(rank EQUAL -1)
    string(APPEND faults "${source}: folder ${area} is not a known layer\n")
    continue()
  endif()
  part_of("${source}" part)
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" target "${line}")
    if(NOT target MATCHES "/")
      continue() # a file beside the includer
    endif()
    string(REGEX MATCH "^[^/]+" target_area "${target}")
    layer_rank("${target_area}" target_rank)
    part_of("${target}" target_part)
    if(target_rank EQUAL -1)
      string(APPEND faults "${source}: includes ${target} from no known layer\n")
    elseif(area STREQUAL "app")
      # the start-up uses every layer
    elseif(target_area STREQUAL "app")
      string(APPEND faults "${source}: includes the start-up file ${target}\n")
    elseif(area STREQUAL "widgets" AND target_rank GREATER rank)
      string(APPEND faults "${source}: a shared widget includes ${target}\n")
    elseif(part STREQUAL "windows" AND target_area STREQUAL "widgets" AND (area STREQUAL "base" OR area STREQUAL "store"))
      # the shared widgets show the store's tables: they stand above the store's own windows
      string(APPEND faults "${source}: a window below the shared widgets includes ${target}\n")
    elseif(part STREQUAL "windows" AND target_part STREQUAL "windows" AND target_rank GREATER rank)
      string(APPEND faults "${source}: a window includes the window ${target} of a higher area\n")
    elseif(part STREQUAL "windows")
      # windows use every area's core, the forms and the windows of their own area and those below
    elseif(target_rank GREATER rank)
      string(APPEND faults "${source}: includes ${target} from a higher layer\n")
    elseif(part STREQUAL "core" AND NOT target_part STREQUAL "core")
      string(APPEND faults "${source}: the core includes the window or form file ${target}\n")
    elseif(part STREQUAL "forms" AND target_part STREQUAL "windows")
      string(APPEND faults "${source}: a form includes the window file ${target}\n")
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the layers:\n${faults}")
endif()
list(LENGTH sources count)
message(STATUS "${count} source files keep to their layers")
