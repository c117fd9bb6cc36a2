# Runs lupdate over the program's sources (the folders below and their .ui forms).
#
#   cmake -DSOURCE_DIR=<tree> -DWORK_DIR=<scratch> -DLUPDATE=<lupdate> -DMODE=scan|update -P scan.cmake
#
# MODE=scan writes every source text into a fresh ${WORK_DIR}/src/app/lang/scan.ts and
# leaves the tree alone. MODE=update merges them into the zh, fr and ja catalogues of the
# tree (keeping their translations, dropping vanished texts). The English catalogue stays
# empty: the sources are English.
#
# The scan works on a copy of the sources under ${WORK_DIR}/src, laid out like the tree so
# that the locations lupdate records read the same and the tree is never written.
cmake_minimum_required(VERSION 3.25)

foreach(v SOURCE_DIR WORK_DIR LUPDATE MODE)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "scan.cmake: -D${v}=... is missing")
  endif()
endforeach()
if(NOT MODE MATCHES "^(scan|update)$")
  message(FATAL_ERROR "scan.cmake: MODE is scan or update, not '${MODE}'")
endif()

set(folders ui_base transfer_dlg cells query editor dataview dbops script_tab app)
set(languages zh fr ja)
set(stage ${WORK_DIR}/src)

file(REMOVE_RECURSE ${stage})
foreach(folder ${folders})
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h
       ${SOURCE_DIR}/${folder}/*.ui)
  foreach(f ${files})
    configure_file(${SOURCE_DIR}/${f} ${stage}/${f} COPYONLY)
  endforeach()
endforeach()
file(MAKE_DIRECTORY ${stage}/app/lang)

set(inputs)
foreach(folder ${folders})
  list(APPEND inputs ${stage}/${folder})
endforeach()

if(MODE STREQUAL "scan")
  set(targets ${stage}/app/lang/scan.ts)
  set(options -locations absolute)
else()
  set(targets)
  foreach(l ${languages})
    file(COPY_FILE ${SOURCE_DIR}/app/lang/ruv_mdb_cli_${l}.ts ${stage}/app/lang/ruv_mdb_cli_${l}.ts)
    list(APPEND targets ${stage}/app/lang/ruv_mdb_cli_${l}.ts)
  endforeach()
  set(options -locations none -no-obsolete)
endif()

execute_process(COMMAND ${LUPDATE} -silent -I ${stage} -extensions cpp,h,ui ${options} ${inputs} -ts ${targets}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lupdate failed (${rc}):\n${out}${err}")
endif()
# lupdate's warnings, with the copy's paths read as the tree's, go to ${WORK_DIR}/lupdate.log.
# Its "Qualifying with unknown namespace/class" notes (qualified names inside function bodies,
# such as pointers to members) are left out of what is shown: the texts keep their class.
string(REPLACE "${stage}/" "" err "${err}")
file(WRITE ${WORK_DIR}/lupdate.log "${err}")
string(REGEX REPLACE "[^\n]*Qualifying with unknown namespace/class[^\n]*\n" "" shown "${err}")
if(MODE STREQUAL "update")
  if(shown)
    message("lupdate:\n${shown}")
  endif()
  foreach(l ${languages})
    file(COPY_FILE ${stage}/app/lang/ruv_mdb_cli_${l}.ts ${SOURCE_DIR}/app/lang/ruv_mdb_cli_${l}.ts ONLY_IF_DIFFERENT)
  endforeach()
endif()
