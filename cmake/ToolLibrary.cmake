# tool_library(NAME [DEPS ...]): a static library from src/NAME/**/*.cpp.
function(tool_library name)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${PROJECT_SOURCE_DIR}/src)
  if(A_DEPS)
    target_link_libraries(${name} ${scope} ${A_DEPS})
  endif()
endfunction()

# tool_tests(NAME [OWN_MAIN] [DIR folder] [DATA folder] [SKIP folder...]
#            [DEPS ...]): one GoogleTest binary per tests/DIR/**/*_test.cpp
# (DIR is NAME unless given), named NAME_<file stem>, so each file builds and
# runs on its own. Other .cpp files under tests/DIR are shared test helpers,
# built once and linked into every binary. Folders named data (test inputs) and
# smoke (a test with its own CMake) are not searched, nor the sub-folders of
# tests/DIR named in SKIP (another library's tests); TEST_DATA_DIR is
# tests/DATA, tests/DIR/data unless given.
#
# Every test program runs in a fresh folder of its own under the temporary
# directory (tests/support/scratch_dir.h): the common main() makes it, and a
# folder's own main() (OWN_MAIN) uses TScratchDir itself.
function(tool_tests name)
  cmake_parse_arguments(A "OWN_MAIN" "DIR;DATA" "SKIP;DEPS" ${ARGN})
  tool_test_support()
  set(runner tool_test_main)
  if(A_OWN_MAIN)
    set(runner GTest::gtest tool_test_scratch)   # a helper file in the folder provides main()
  endif()
  if(NOT A_DIR)
    set(A_DIR ${name})
  endif()
  if(NOT A_DATA)
    set(A_DATA ${A_DIR}/data)
  endif()
  set(dir ${PROJECT_SOURCE_DIR}/tests/${A_DIR})
  set(data_dir ${PROJECT_SOURCE_DIR}/tests/${A_DATA})
  file(GLOB_RECURSE tests RELATIVE ${dir} CONFIGURE_DEPENDS ${dir}/*_test.cpp)
  file(GLOB_RECURSE all RELATIVE ${dir} CONFIGURE_DEPENDS ${dir}/*.cpp)
  foreach(list_name tests all)
    list(FILTER ${list_name} EXCLUDE REGEX "^(.*/)?(data|smoke)/")
    foreach(skip IN LISTS A_SKIP)
      list(FILTER ${list_name} EXCLUDE REGEX "^${skip}/")
    endforeach()
    list(TRANSFORM ${list_name} PREPEND ${dir}/)
  endforeach()
  set(helpers ${all})
  if(tests)
    list(REMOVE_ITEM helpers ${tests})
  endif()
  # Shared helpers compile once, into a library every test of the folder links.
  set(support "")
  if(helpers)
    set(support ${name}_test_support)
    add_library(${support} STATIC ${helpers})
    target_include_directories(${support} PUBLIC ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${support} PUBLIC ${name} ${runner} GTest::gmock ${A_DEPS})
    target_compile_definitions(${support} PUBLIC
      TEST_DATA_DIR="${data_dir}")
  endif()
  foreach(src IN LISTS tests)
    get_filename_component(stem ${src} NAME_WE)
    set(target ${name}_${stem})
    if(TARGET ${target})
      message(FATAL_ERROR "tests/${A_DIR}: two test files named ${stem}.cpp")
    endif()
    add_executable(${target} ${src})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${target} PRIVATE ${support} ${name} ${runner} GTest::gmock ${A_DEPS})
    target_compile_definitions(${target} PRIVATE
      TEST_DATA_DIR="${data_dir}")
    gtest_discover_tests(${target}
      DISCOVERY_TIMEOUT 120
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=halt_on_error=1;UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
  endforeach()
endfunction()

# The helpers every test program links: tool_test_scratch (TScratchDir, and
# the reader of the fuzz dictionaries that tests check) and tool_test_main
# (main() inside a scratch folder). Made once, on first use.
function(tool_test_support)
  if(TARGET tool_test_main)
    return()
  endif()
  set(dir ${PROJECT_SOURCE_DIR}/tests/support)
  add_library(tool_test_scratch STATIC ${dir}/scratch_dir.cpp ${dir}/fuzz_dictionary.cpp)
  target_include_directories(tool_test_scratch PUBLIC ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(tool_test_scratch PRIVATE TOOL_FUZZ_DIR="${PROJECT_SOURCE_DIR}/fuzz")
  add_library(tool_test_main STATIC ${dir}/gtest_main.cpp)
  target_link_libraries(tool_test_main PUBLIC tool_test_scratch GTest::gtest)
endfunction()
