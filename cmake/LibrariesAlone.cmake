# A test that the seven libraries configure on a host without the program's or
# the tests' packages: see check_libraries_alone.cmake.
add_test(NAME libraries_configure_alone
  COMMAND ${CMAKE_COMMAND}
          -D SOURCE_DIR=${PROJECT_SOURCE_DIR}
          -D WORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/libraries-alone
          -D GENERATOR=${CMAKE_GENERATOR}
          -D C_COMPILER=${CMAKE_C_COMPILER}
          -D CXX_COMPILER=${CMAKE_CXX_COMPILER}
          -P ${CMAKE_CURRENT_LIST_DIR}/check_libraries_alone.cmake)
set_tests_properties(libraries_configure_alone PROPERTIES TIMEOUT 300)
