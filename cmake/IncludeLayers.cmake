# include_layers: every #include of src, tests, bench and fuzz points down the
# TOOL_LAYERS table (see check_include_layers.cmake), so a wrong-way include
# fails the tests. include_layers_check_itself runs that check on small trees
# with each kind of wrong-way include.
string(JOIN "|" layer_rows ${TOOL_LAYERS})
string(JOIN "|" test_extra_rows ${TOOL_TEST_LAYERS_EXTRA})
add_test(NAME include_layers
  COMMAND ${CMAKE_COMMAND}
          -D ROOT=${PROJECT_SOURCE_DIR}
          -D LAYERS=${layer_rows}
          -D TEST_EXTRA=${test_extra_rows}
          -P ${CMAKE_CURRENT_LIST_DIR}/check_include_layers.cmake)
add_test(NAME include_layers_check_itself
  COMMAND ${CMAKE_COMMAND}
          -D CHECK=${CMAKE_CURRENT_LIST_DIR}/check_include_layers.cmake
          -P ${CMAKE_CURRENT_LIST_DIR}/test_include_layers.cmake)
set_tests_properties(include_layers include_layers_check_itself PROPERTIES TIMEOUT 120)
