# cmake -D SOURCE_DIR=... -D WORK_DIR=... -D GENERATOR=... -D C_COMPILER=...
#       -D CXX_COMPILER=... -P check_libraries_alone.cmake
#
# Configures the project with TOOL_APP=OFF and BUILD_TESTING=OFF twice, each in
# a fresh build folder under WORK_DIR:
# 1. with every package installed: the cache must show that nothing was looked
#    for but zlib, libpng, libjpeg and pugixml (an optional, QUIET look-up of
#    anything else leaves its trace there too);
# 2. with Qt, GoogleTest, pkg-config, X11 and Google Benchmark hidden and
#    pkg-config's search path empty: configuring must still succeed.
foreach(var SOURCE_DIR WORK_DIR GENERATOR C_COMPILER CXX_COMPILER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_libraries_alone: ${var} not given")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/empty-pkgconfig)
set(common -S ${SOURCE_DIR} -G ${GENERATOR}
    -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    -DTOOL_APP=OFF -DBUILD_TESTING=OFF)

function(configure dir)
  execute_process(COMMAND ${CMAKE_COMMAND} ${common} -B ${WORK_DIR}/${dir} ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "configuring the libraries alone (${dir}) failed:\n${out}")
  endif()
endfunction()

configure(everything-installed)
file(STRINGS ${WORK_DIR}/everything-installed/CMakeCache.txt entries
     REGEX "^[A-Za-z0-9_.+-]+:(PATH|FILEPATH)=")
set(extra "")
foreach(entry IN LISTS entries)
  if(NOT entry MATCHES "^(CMAKE_|ZLIB_|PNG_|JPEG_|pugixml_)")
    list(APPEND extra "${entry}")
  endif()
endforeach()
list(LENGTH extra count)   # not if(extra): a list ending in ...-NOTFOUND is false
if(count GREATER 0)
  list(JOIN extra "\n  " extra)
  message(FATAL_ERROR "the libraries alone looked for more than zlib, libpng, "
                      "libjpeg and pugixml:\n  ${extra}")
endif()

set(ENV{PKG_CONFIG_LIBDIR} ${WORK_DIR}/empty-pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
configure(others-hidden
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON
  -DCMAKE_DISABLE_FIND_PACKAGE_PkgConfig=ON -DCMAKE_DISABLE_FIND_PACKAGE_X11=ON
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON)
file(REMOVE_RECURSE ${WORK_DIR})
