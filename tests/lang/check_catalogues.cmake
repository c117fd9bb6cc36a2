# The catalogue check: scans the sources into a fresh catalogue under WORK_DIR (the tree is
# not touched) and has the checker compare every program catalogue with it.
#   cmake -DSOURCE_DIR=<tree> -DWORK_DIR=<scratch> -DLUPDATE=<lupdate> -DCHECKER=<ruv_ts_check> -P check_catalogues.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${SOURCE_DIR} -DWORK_DIR=${WORK_DIR} -DLUPDATE=${LUPDATE}
                        -DMODE=scan -P ${SOURCE_DIR}/app/lang/scan.cmake
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the scan failed")
endif()

# Texts lupdate finds but cannot give the context tr() uses at run time would never be
# translated: a tr() outside any class, or in a class without Q_OBJECT (whose tr() is its
# base class's).
file(STRINGS ${WORK_DIR}/lupdate.log lost REGEX "cannot be called without context|lacks Q_OBJECT macro")
file(STRINGS ${WORK_DIR}/lupdate.log odd REGEX "Unterminated|Unbalanced|Excess closing")
if(odd)
  list(JOIN odd "\n  " odd)
  message("lupdate could not read parts of these files; a text there may be missed:\n  ${odd}")
endif()

file(GLOB catalogues ${SOURCE_DIR}/app/lang/ruv_mdb_cli_*.ts)
execute_process(COMMAND ${CHECKER} ${WORK_DIR}/src/app/lang/scan.ts ${WORK_DIR}/src ${catalogues}
                RESULT_VARIABLE rc)
if(lost)
  list(JOIN lost "\n  " lost)
  message(FATAL_ERROR "texts that no catalogue can translate (no translation context):\n  ${lost}")
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the catalogues are not complete (see above)")
endif()
