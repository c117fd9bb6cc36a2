# The layer check run over a small tree with one fault of each kind: it must fail and name each.
#   cmake -DCHECK=<check_layers.cmake> -DFIXTURE=<tree> -P check_layers_test.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${FIXTURE} -P ${CHECK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "the check passed a tree whose includes break its layers:\n${out}${err}")
endif()
foreach(expected
    "lib/c.h (library side) includes low/"
    "base/d.h includes lib/, a library folder above base/"
    "base/d.h includes tests/, which is no library folder"
    "low/a.h includes high/, a layer above low/"
    "low/form.ui includes high/, a layer above low/"
    "high/b.h includes tests/, which is no layer")
  string(FIND "${err}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not report \"${expected}\":\n${err}")
  endif()
endforeach()
foreach(allowed "low/a.h includes lib/" "low/a.h includes low/" "high/b.h includes low/" "high/b.h includes lib/"
        "lib/c.h includes base/" "lib/c.h includes lib/" "base/d.h includes base/")
  string(FIND "${err}" "${allowed}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the check reported an include that keeps the layers (${allowed}):\n${err}")
  endif()
endforeach()
