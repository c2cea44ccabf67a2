# cmake -D ROOT=<source tree> -D LAYERS=<rows> [-D TEST_EXTRA=<rows>] -P check_include_layers.cmake
#
# Reads every #include "folder/..." (and <folder/...> of the tree's own
# folders) of the C++ files under src, tests, bench
# and fuzz and fails, listing each offender, when one points the wrong way.
# Rows are "folder:below,below" joined by "|" (see TOOL_LAYERS in the root
# CMakeLists.txt). A folder is a path under src: the longest row that is a
# prefix of a file's folder, or of an included path, names its layer, so
# app/<part> can be a layer of its own inside app. A layer may include itself
# and, transitively, what its row names.
#
# Who may include what:
#   src/<layer>/...       its layer and below;
#   tests/<layer>/...     the same, plus what TEST_EXTRA adds for that layer,
#                         plus tests/support (what every test program links);
#   tests/support/...     only itself: it serves the tests of every layer;
#   fuzz/<layer>_*.cpp    the layer its name begins with, and below;
#   other files in fuzz/ and bench/: any layer (the benchmarks link every
#                         library; fuzz helpers serve targets of several).
# A file outside every layer, or an include of a folder that is no layer,
# fails too, so a new top folder needs its row first.
cmake_minimum_required(VERSION 3.25)
foreach(var ROOT LAYERS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_include_layers: ${var} not given")
  endif()
endforeach()

# --- the table: layer names, their direct rows, then the closures.
function(read_rows text prefix)
  string(REPLACE "|" ";" rows "${text}")
  set(names "")
  foreach(row IN LISTS rows)
    if(NOT row MATCHES "^([^:]+):(.*)$")
      message(FATAL_ERROR "check_include_layers: malformed row '${row}'")
    endif()
    set(name ${CMAKE_MATCH_1})
    string(REPLACE "," ";" below "${CMAKE_MATCH_2}")
    list(APPEND names ${name})
    set(${prefix}_${name} ${below} PARENT_SCOPE)
  endforeach()
  set(${prefix}_NAMES ${names} PARENT_SCOPE)
endfunction()

read_rows("${LAYERS}" direct)
set(layers ${direct_NAMES})
foreach(layer IN LISTS layers)
  foreach(below IN LISTS direct_${layer})
    if(NOT below IN_LIST layers)
      message(FATAL_ERROR "check_include_layers: ${layer} builds on '${below}', which has no row")
    endif()
  endforeach()
endforeach()

foreach(layer IN LISTS layers)
  set(reach ${layer})
  set(pending ${direct_${layer}})
  while(pending)
    list(POP_FRONT pending next)
    if(next IN_LIST reach)
      continue()
    endif()
    list(APPEND reach ${next})
    list(APPEND pending ${direct_${next}})
  endwhile()
  set(allowed_${layer} ${reach})
endforeach()

set(extra_NAMES "")
if(DEFINED TEST_EXTRA AND NOT TEST_EXTRA STREQUAL "")
  read_rows("${TEST_EXTRA}" extra)
endif()

# The layer of a path under src (a folder or an included file): the longest
# row that is the path or a folder above it; empty when none is.
function(layer_of path out)
  set(best "")
  string(LENGTH "" best_length)
  foreach(layer IN LISTS layers)
    string(LENGTH "${layer}" length)
    if((path STREQUAL layer OR path MATCHES "^${layer}/") AND length GREATER best_length)
      set(best ${layer})
      set(best_length ${length})
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

# The top folders of the layers (graphics, app, ...).
set(top_folders "")
foreach(layer IN LISTS layers)
  string(REGEX MATCH "^[^/]+" top "${layer}")
  list(APPEND top_folders ${top})
endforeach()
list(REMOVE_DUPLICATES top_folders)

# --- every file and its includes.
set(failures "")
file(GLOB_RECURSE files RELATIVE ${ROOT}
     ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp
     ${ROOT}/bench/*.h ${ROOT}/bench/*.cpp ${ROOT}/fuzz/*.h ${ROOT}/fuzz/*.cpp)
list(SORT files)
foreach(file IN LISTS files)
  if(file MATCHES "^tests/(.*/)?data/")
    continue()  # test inputs, not code of the tree
  endif()
  get_filename_component(folder ${file} DIRECTORY)
  get_filename_component(name ${file} NAME)
  set(any FALSE)
  set(layer "")
  set(support FALSE)
  if(file MATCHES "^tests/support/")
    set(support TRUE)
  elseif(file MATCHES "^(src|tests)/(.+)/[^/]+$")
    layer_of("${CMAKE_MATCH_2}" layer)
  elseif(file MATCHES "^fuzz/[^/]+_fuzz\\.cpp$" AND name MATCHES "^([^_]+)_")
    layer_of("${CMAKE_MATCH_1}" layer)
  elseif(file MATCHES "^(fuzz|bench)/")
    set(any TRUE)
  endif()
  if(NOT any AND NOT support AND layer STREQUAL "")
    list(APPEND failures "${file}: in no layer folder (add a row to TOOL_LAYERS)")
    continue()
  endif()
  set(allowed ${allowed_${layer}})
  if(file MATCHES "^tests/" AND layer IN_LIST extra_NAMES)
    foreach(more IN LISTS extra_${layer})
      list(APPEND allowed ${allowed_${more}})
    endforeach()
  endif()

  file(STRINGS ${ROOT}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">/]+/")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*$" "\\1" included "${line}")
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*<")
      # <folder/...> finds the tree's own headers through the same include
      # path as "folder/...": judged alike when folder is one of the tree's
      # top folders; other libraries' headers (<QtWidgets/...>) are not ours.
      string(REGEX MATCH "^[^/]+" top "${included}")
      if(NOT top IN_LIST top_folders)
        continue()
      endif()
    endif()
    if(file MATCHES "^tests/" AND included MATCHES "^support/")
      continue()  # the tests' shared support
    endif()
    if(included MATCHES "^\\.\\.?/")
      # Relative to the file: judged by where it lands in the tree.
      get_filename_component(landing ${ROOT}/${folder}/${included} ABSOLUTE)
      file(RELATIVE_PATH landing ${ROOT} ${landing})
      if(landing MATCHES "^(src|tests)/(.+)/[^/]+$")
        layer_of("${CMAKE_MATCH_2}" target)
      elseif(any AND landing MATCHES "^(bench|fuzz)/")
        continue()  # a helper beside the benchmarks or fuzz targets
      else()
        set(target "")
      endif()
    else()
      get_filename_component(included_folder ${included} DIRECTORY)
      layer_of("${included_folder}" target)
    endif()
    if(target STREQUAL "")
      list(APPEND failures "${file}: includes \"${included}\", which is in no layer folder")
    elseif(NOT any AND NOT target IN_LIST allowed)
      list(JOIN allowed ", " allowed_text)
      list(APPEND failures "${file}: includes \"${included}\" (${target}), but ${layer} may include only ${allowed_text}")
    endif()
  endforeach()
endforeach()

list(LENGTH files count)
if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "includes against the layer rules:\n  ${text}")
endif()
message(STATUS "include layers: ${count} files, every include points down")
