# tool_library(NAME SOURCES ... [DEPS ...]): the static library NAME from the
# listed sources (relative to the calling folder, src/NAME), including from
# src and linking DEPS publicly.
function(tool_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT A_SOURCES)
    message(FATAL_ERROR "tool_library(${name}): no SOURCES")
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(A_DEPS)
    target_link_libraries(${name} PUBLIC ${A_DEPS})
  endif()
endfunction()

# tool_tests(NAME [OWN_MAIN] [DATA folder] TESTS ... [HELPERS ...] [DEPS ...]):
# one GoogleTest binary per listed *_test.cpp, named NAME_<file stem>, so each
# file builds and runs on its own; the HELPERS (shared test code) compile once
# into a library every binary of the folder links. Files are relative to the
# calling folder under tests/. TEST_DATA_DIR is tests/DATA, else the calling
# folder's data/. OWN_MAIN: a helper provides main().
#
# Every test program runs in a fresh folder of its own under the temporary
# directory (tests/support/scratch_dir.h): the common main() makes it, and a
# folder's own main() (OWN_MAIN) uses TScratchDir itself.
function(tool_tests name)
  cmake_parse_arguments(A "OWN_MAIN" "DATA" "TESTS;HELPERS;DEPS" ${ARGN})
  set(runner tool_test_main)
  if(A_OWN_MAIN)
    set(runner GTest::gtest tool_test_scratch)
  endif()
  set(data_dir ${CMAKE_CURRENT_SOURCE_DIR}/data)
  if(A_DATA)
    set(data_dir ${PROJECT_SOURCE_DIR}/tests/${A_DATA})
  endif()
  set(support "")
  if(A_HELPERS)
    set(support ${name}_test_support)
    add_library(${support} STATIC ${A_HELPERS})
    target_include_directories(${support} PUBLIC ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${support} PUBLIC ${name} ${runner} GTest::gmock ${A_DEPS})
    target_compile_definitions(${support} PUBLIC TEST_DATA_DIR="${data_dir}")
  endif()
  foreach(src IN LISTS A_TESTS)
    get_filename_component(stem ${src} NAME_WE)
    set(target ${name}_${stem})
    if(TARGET ${target})
      message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}: two test files named ${stem}.cpp")
    endif()
    add_executable(${target} ${src})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${target} PRIVATE ${support} ${name} ${runner} GTest::gmock ${A_DEPS})
    target_compile_definitions(${target} PRIVATE TEST_DATA_DIR="${data_dir}")
    gtest_discover_tests(${target}
      DISCOVERY_TIMEOUT 120
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=halt_on_error=1;UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
  endforeach()
endfunction()
