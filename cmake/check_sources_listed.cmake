# Fails when a source file of the tree is listed in no CMakeLists.txt: the
# build lists its sources instead of globbing them, so a file added without
# its line would silently not be built (a test that never runs, code that
# never links). A file counts as listed when the CMakeLists.txt of its own
# folder or of a folder above names it, relative to that folder, as an
# argument of a command that builds sources: add_library, add_executable,
# target_sources, tool_library, tool_tests, or tool_fuzz_targets (which names
# a fuzz target by its file name without ".cpp"). A name in a comment, in a
# message or in any other command builds nothing and does not count.
#   cmake -D ROOT=<source dir> -P check_sources_listed.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -D ROOT=<source dir> -P check_sources_listed.cmake")
endif()

set(source_commands add_library add_executable target_sources tool_library tool_tests)

# The arguments of the source-building commands of dir/CMakeLists.txt, read
# once; `stems` gets those of tool_fuzz_targets.
function(listed_words dir out stems)
  string(MAKE_C_IDENTIFIER "${dir}" key)
  get_property(cached GLOBAL PROPERTY words_${key} SET)
  if(NOT cached)
    set(words "")
    set(fuzz "")
    if(EXISTS ${dir}/CMakeLists.txt)
      file(READ ${dir}/CMakeLists.txt text)
      # A list's separator inside the text would split tokens: none is in a name.
      string(REPLACE ";" " " text "${text}")
      # Tokens in order: quoted arguments, comments, parentheses, bare words.
      string(REGEX MATCHALL "\"[^\"]*\"|#[^\n]*|[()]|[^ \t\r\n()\"#]+" tokens "${text}")
      set(depth 0)
      set(previous "")
      set(command "")
      foreach(token IN LISTS tokens)
        if(token MATCHES "^#")
          continue()
        elseif(token STREQUAL "(")
          if(depth EQUAL 0)
            string(TOLOWER "${previous}" command)
          endif()
          math(EXPR depth "${depth} + 1")
        elseif(token STREQUAL ")")
          if(depth GREATER 0)
            math(EXPR depth "${depth} - 1")
          endif()
        elseif(depth GREATER 0)
          string(REGEX REPLACE "^\"(.*)\"$" "\\1" argument "${token}")
          if(command IN_LIST source_commands)
            list(APPEND words "${argument}")
          elseif(command STREQUAL "tool_fuzz_targets")
            list(APPEND fuzz "${argument}")
          endif()
        endif()
        set(previous "${token}")
      endforeach()
    endif()
    set_property(GLOBAL PROPERTY words_${key} "${words}")
    set_property(GLOBAL PROPERTY stems_${key} "${fuzz}")
  endif()
  get_property(words GLOBAL PROPERTY words_${key})
  get_property(fuzz GLOBAL PROPERTY stems_${key})
  set(${out} "${words}" PARENT_SCOPE)
  set(${stems} "${fuzz}" PARENT_SCOPE)
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
    listed_words(${dir} words stems)
    if(rel IN_LIST words OR (file MATCHES "^fuzz/.*\\.cpp$" AND stem IN_LIST stems))
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
