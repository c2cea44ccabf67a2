# cmake -D CHECK=<check_sources_listed.cmake> -P test_sources_listed.cmake
#
# Runs the sources-listed check on small trees written into a fresh folder
# under $TMPDIR (removed afterwards): a tree whose sources are all built must
# pass, and a file that only a comment, a text or another command names must
# fail and be named.
cmake_minimum_required(VERSION 3.25)
if(NOT DEFINED CHECK)
  message(FATAL_ERROR "test_sources_listed: CHECK not given")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/check_self_test.cmake)
self_test_folder(sources-listed work)

# Each entry is "path=>text"; a CMakeLists.txt's text follows its "=>", a
# source file gets a line of its own. "|" stands for a line break.
set(clean_tree
  "src/colour/CMakeLists.txt=>tool_library(colour|  DEPS PNG::PNG|  SOURCES|    luv.cpp|    luv.h)"
  "src/colour/luv.cpp=>"
  "src/colour/luv.h=>"
  "src/app/CMakeLists.txt=>add_library(app STATIC \"toolkit/edit.cpp\" window/window.cpp)"
  "src/app/toolkit/edit.cpp=>"
  "src/app/window/window.cpp=>"
  "tests/colour/CMakeLists.txt=>tool_tests(colour HELPERS worst.cpp TESTS luv_test.cpp)"
  "tests/colour/luv_test.cpp=>"
  "tests/colour/worst.cpp=>"
  "tests/colour/data/input.cpp=>"
  "bench/CMakeLists.txt=>add_executable(tool_bench|  colour_bench.cpp) # the benchmarks"
  "bench/colour_bench.cpp=>"
  "fuzz/CMakeLists.txt=>function(tool_fuzz_targets)|  foreach(stem IN LISTS ARGN)|    add_executable(\${stem} \${stem}.cpp)|  endforeach()|endfunction()|tool_fuzz_targets(colour_luv_fuzz)"
  "fuzz/colour_luv_fuzz.cpp=>")

set(failures "")
# run_case(NAME PASS|FAIL "expected text" entries...): writes the clean tree,
# then `entries` (a CMakeLists.txt entry's text is appended to the file),
# runs the check and compares.
function(run_case name expect wanted)
  set(dir ${work}/${name})
  foreach(entry IN LISTS clean_tree ARGN)
    string(REGEX MATCH "^([^=]+)=>(.*)$" _ "${entry}")
    set(path ${CMAKE_MATCH_1})
    string(REPLACE "|" "\n" text "${CMAKE_MATCH_2}")
    if(path MATCHES "CMakeLists.txt$")
      file(APPEND ${dir}/${path} "${text}\n")
    else()
      file(WRITE ${dir}/${path} "// ${path}\n")
    endif()
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} -D ROOT=${dir} -P ${CHECK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  self_test_verdict(${name} ${expect} "${wanted}" ${rc} "${out}")
endfunction()

run_case(clean PASS "source files, each listed")
run_case(unlisted FAIL "src/colour/zz_stray.cpp"
  "src/colour/zz_stray.cpp=>")
run_case(named_in_a_text FAIL "src/colour/zz_stray.cpp"
  "src/colour/zz_stray.cpp=>"
  "src/colour/CMakeLists.txt=>set(note \"zz_stray.cpp is kept for later\")")
run_case(named_in_a_comment FAIL "src/colour/zz_stray.cpp"
  "src/colour/zz_stray.cpp=>"
  "src/colour/CMakeLists.txt=># zz_stray.cpp is kept for later")
run_case(named_by_another_command FAIL "src/colour/zz_stray.cpp"
  "src/colour/zz_stray.cpp=>"
  "src/colour/CMakeLists.txt=>message(STATUS zz_stray.cpp)")
run_case(named_in_a_text_above FAIL "src/app/toolkit/zz_stray.cpp"
  "src/app/toolkit/zz_stray.cpp=>"
  "src/app/CMakeLists.txt=>message(STATUS \"(toolkit/zz_stray.cpp)\")")
run_case(fuzz_stem_outside_the_target_list FAIL "fuzz/colour_stray_fuzz.cpp"
  "fuzz/colour_stray_fuzz.cpp=>"
  "fuzz/CMakeLists.txt=>set(later colour_stray_fuzz)")
run_case(added_by_target_sources PASS "source files, each listed"
  "src/colour/lab.cpp=>"
  "src/colour/CMakeLists.txt=>target_sources(colour PRIVATE|  lab.cpp)")

file(REMOVE_RECURSE ${work})
if(failures)
  message(FATAL_ERROR "sources listed check:${failures}")
endif()
