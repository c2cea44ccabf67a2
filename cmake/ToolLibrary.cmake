# tool_library(NAME [DEPS ...]): a static library from src/NAME/*.cpp.
function(tool_library name)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp)
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

# tool_tests(NAME [DEPS ...]): one GoogleTest binary per tests/NAME/*_test.cpp,
# so each file builds and runs on its own. Other .cpp files in the folder are
# shared test helpers linked into every binary.
function(tool_tests name)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${name}/*_test.cpp)
  file(GLOB all CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${name}/*.cpp)
  set(helpers ${all})
  if(tests)
    list(REMOVE_ITEM helpers ${tests})
  endif()
  foreach(src IN LISTS tests)
    get_filename_component(stem ${src} NAME_WE)
    set(target ${name}_${stem})
    add_executable(${target} ${src} ${helpers})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${target} PRIVATE ${name} GTest::gtest_main GTest::gmock ${A_DEPS})
    target_compile_definitions(${target} PRIVATE
      TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/${name}/data")
    gtest_discover_tests(${target}
      DISCOVERY_TIMEOUT 120
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=halt_on_error=1;UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
  endforeach()
endfunction()
