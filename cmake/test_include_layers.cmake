# cmake -D CHECK=<check_include_layers.cmake> -P test_include_layers.cmake
#
# Runs the include-layer check on small trees written into a fresh folder
# under $TMPDIR (removed afterwards): a tree whose includes all point down
# must pass, and each kind of wrong-way include must fail and be named.
cmake_minimum_required(VERSION 3.25)
if(NOT DEFINED CHECK)
  message(FATAL_ERROR "test_include_layers: CHECK not given")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/check_self_test.cmake)
self_test_folder(include-layers work)

set(layers "graphics:|foundation:graphics|colour:foundation|palette:colour|pdf:|app:palette,app/core|app/core:palette")
set(test_extra "pdf:graphics")

# A tree whose includes all point down; each case adds one file to it.
set(clean_tree
  "src/graphics/bitmap.h=>"
  "src/foundation/text.cpp=>graphics/bitmap.h"
  "src/palette/palette.cpp=>colour/luv.h,graphics/bitmap.h,palette/palette.h"
  "src/app/core/field.cpp=>palette/palette.h,app/core/field.h"
  "src/app/window/window.cpp=>app/core/field.h,app/window/window.h,palette/palette.h"
  "src/pdf/image.cpp=>pdf/object.h"
  "tests/pdf/image_test.cpp=>graphics/bitmap.h,pdf/image.h"
  "tests/foundation/text_test.cpp=>foundation/text.h"
  "tests/palette/palette_test.cpp=>palette/palette.h,../colour/worst_error.h"
  "tests/colour/worst_error.h=>colour/luv.h"
  "fuzz/foundation_text_fuzz.cpp=>foundation/text.h,../tests/foundation/helper.h"
  "fuzz/same_pixels.h=>graphics/bitmap.h"
  "bench/palette_bench.cpp=>app/window/window.h,pdf/image.h,tests_helper.h"
  "tests/colour/data/input.h=>nowhere/at_all.h")

set(failures "")
# run_case(NAME PASS|FAIL "expected text" files...): writes the clean tree
# plus `files` ("path=>include,include"), runs the check and compares.
function(run_case name expect wanted)
  set(dir ${work}/${name})
  foreach(entry IN LISTS clean_tree ARGN)
    string(REGEX MATCH "^([^=]+)=>(.*)$" _ "${entry}")
    set(path ${CMAKE_MATCH_1})
    string(REPLACE "," ";" includes "${CMAKE_MATCH_2}")
    set(body "// ${path}\n")
    foreach(inc IN LISTS includes)
      if(inc MATCHES "^<")
        string(APPEND body "#include ${inc}\n")  # written as given: <folder/file.h>
      else()
        string(APPEND body "#include \"${inc}\"\n")
      endif()
    endforeach()
    string(APPEND body "#include <vector>\n#include <QtWidgets/QWidget>\n")
    file(WRITE ${dir}/${path} "${body}")
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} -D ROOT=${dir} -D LAYERS=${layers} -D TEST_EXTRA=${test_extra}
                          -P ${CHECK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  self_test_verdict(${name} ${expect} "${wanted}" ${rc} "${out}")
endfunction()

run_case(clean PASS "every include points down")
run_case(upward FAIL "src/graphics/draw.cpp: includes \"foundation/text.h\" (foundation), but graphics may include only graphics"
  "src/graphics/draw.cpp=>foundation/text.h")
run_case(angle_brackets_sideways FAIL "src/pdf/name.cpp: includes \"graphics/bitmap.h\" (graphics), but pdf may include only pdf"
  "src/pdf/name.cpp=><graphics/bitmap.h>")
run_case(angle_brackets_down PASS "every include points down"
  "src/palette/curve.cpp=><colour/luv.h>")
run_case(sideways FAIL "src/pdf/stream.cpp: includes \"graphics/bitmap.h\""
  "src/pdf/stream.cpp=>graphics/bitmap.h")
run_case(qt_free_half_includes_the_widgets FAIL "src/app/core/slider.cpp: includes \"app/window/window.h\" (app)"
  "src/app/core/slider.cpp=>app/window/window.h")
run_case(relative_upward FAIL "src/colour/luv.cpp: includes \"../palette/palette.h\" (palette)"
  "src/colour/luv.cpp=>../palette/palette.h")
run_case(unknown_top_folder FAIL "src/scene/view.cpp: in no layer folder"
  "src/scene/view.cpp=>graphics/bitmap.h")
run_case(include_of_unknown_folder FAIL "src/palette/load.cpp: includes \"scene/view.h\", which is in no layer folder"
  "src/palette/load.cpp=>scene/view.h")
run_case(test_above_its_library FAIL "tests/colour/luv_test.cpp: includes \"palette/palette.h\" (palette)"
  "tests/colour/luv_test.cpp=>palette/palette.h")
run_case(fuzz_target_above_its_library FAIL "fuzz/graphics_png_fuzz.cpp: includes \"foundation/text.h\""
  "fuzz/graphics_png_fuzz.cpp=>foundation/text.h")
run_case(bench_of_unknown_folder FAIL "bench/scene_bench.cpp: includes \"scene/view.h\", which is in no layer folder"
  "bench/scene_bench.cpp=>scene/view.h")

file(REMOVE_RECURSE ${work})
if(failures)
  message(FATAL_ERROR "include layer check:${failures}")
endif()
