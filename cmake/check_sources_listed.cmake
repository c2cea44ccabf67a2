# Fails when a source file of the tree is listed in no CMakeLists.txt: the
# build lists its sources instead of globbing them, so a file added without
# its line would silently not be built (a test that never runs, code that
# never links). A file counts as listed when the CMakeLists.txt of its own
# folder or of a folder above names it, relative to that folder (a fuzz
# target by its name without ".cpp").
#   cmake -D ROOT=<source dir> -P check_sources_listed.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -D ROOT=<source dir> -P check_sources_listed.cmake")
endif()

# The words of each CMakeLists.txt, read once.
function(listed_words dir out)
  string(MAKE_C_IDENTIFIER "${dir}" key)
  get_property(cached GLOBAL PROPERTY words_${key} SET)
  if(NOT cached)
    set(words "")
    if(EXISTS ${dir}/CMakeLists.txt)
      file(READ ${dir}/CMakeLists.txt text)
      string(REGEX REPLACE "#[^\n]*" "" text "${text}")
      string(REGEX REPLACE "[ \t\r\n()\"]+" ";" words "${text}")
    endif()
    set_property(GLOBAL PROPERTY words_${key} "${words}")
  endif()
  get_property(words GLOBAL PROPERTY words_${key})
  set(${out} "${words}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE ${ROOT}
     ${ROOT}/src/*.cpp ${ROOT}/src/*.h
     ${ROOT}/tests/*.cpp ${ROOT}/bench/*.cpp ${ROOT}/fuzz/*.cpp)
set(unlisted "")
foreach(file IN LISTS files)
  if(file MATCHES "(^|/)(data|node_modules)/")
    continue()
  endif()
  get_filename_component(dir ${ROOT}/${file} DIRECTORY)
  set(found FALSE)
  while(NOT found)
    file(RELATIVE_PATH rel ${dir} ${ROOT}/${file})
    string(REGEX REPLACE "\\.cpp$" "" stem "${rel}")
    listed_words(${dir} words)
    if(rel IN_LIST words OR (file MATCHES "^fuzz/" AND stem IN_LIST words))
      set(found TRUE)
    elseif(dir STREQUAL ROOT)
      break()
    else()
      get_filename_component(dir ${dir} DIRECTORY)
    endif()
  endwhile()
  if(NOT found)
    list(APPEND unlisted ${file})
  endif()
endforeach()
if(unlisted)
  list(JOIN unlisted "\n  " text)
  message(FATAL_ERROR "Sources listed in no CMakeLists.txt (add each to its folder's list):\n  ${text}")
endif()
list(LENGTH files count)
message(STATUS "${count} source files, each listed")
