# The layer check: every quoted include of a program folder names a folder below it or the
# folder itself, or the library side; every quoted include of a library folder names a library
# folder below it or the folder itself. The orders are read from docs/architecture.md, from
# the lines "program layers, from the floor up: a < b < ..." and "library side, from the floor
# up: x < y < ...".
#   cmake -DSOURCE_DIR=<tree> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED SOURCE_DIR)
  message(FATAL_ERROR "check_layers.cmake: -DSOURCE_DIR=... is missing")
endif()

set(layer_head "program layers, from the floor up: ")
set(library_head "library side, from the floor up: ")
file(STRINGS ${SOURCE_DIR}/docs/architecture.md layer_line REGEX "^${layer_head}")
file(STRINGS ${SOURCE_DIR}/docs/architecture.md library_line REGEX "^${library_head}")
list(LENGTH layer_line n_layer)
list(LENGTH library_line n_library)
if(NOT n_layer EQUAL 1 OR NOT n_library EQUAL 1)
  message(FATAL_ERROR "docs/architecture.md needs one line '${layer_head}...' and one '${library_head}...'")
endif()
string(REPLACE "${layer_head}" "" layers "${layer_line}")
string(REGEX REPLACE "[ <`]+" ";" layers "${layers}")
list(REMOVE_ITEM layers "")
string(REPLACE "${library_head}" "" library "${library_line}")
string(REGEX REPLACE "[ <`]+" ";" library "${library}")
list(REMOVE_ITEM library "")

set(faults)
set(checked 0)

# The includes of one file: its #include "x/..." lines, and the custom widget headers of a form.
function(includes_of file out)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/|<header>[^<]+/")
  set(found)
  foreach(l IN LISTS lines)
    if(l MATCHES "include[ \t]*\"([^\"/]+)/")
      list(APPEND found ${CMAKE_MATCH_1})
    elseif(l MATCHES "<header>([^</]+)/")
      list(APPEND found ${CMAKE_MATCH_1})
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Walks one side's folders from the floor up: a file may include its own folder, a folder
# below it and the OPEN folders; an include of a FOREIGN folder is said as "<file> <TAG>
# includes ...", one of a folder above as "a <NOUN> above", any other as "which is no <NOUN>".
function(check_side)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NOUN;TAG" "ORDER;OPEN;FOREIGN;EXTENSIONS")
  set(below)
  foreach(folder IN LISTS arg_ORDER)
    if(NOT IS_DIRECTORY ${SOURCE_DIR}/${folder})
      list(APPEND faults "the ${arg_NOUN} ${folder}/ named in docs/architecture.md does not exist")
    endif()
    list(TRANSFORM arg_EXTENSIONS PREPEND "${SOURCE_DIR}/${folder}/*." OUTPUT_VARIABLE globs)
    file(GLOB_RECURSE files ${globs})
    foreach(f IN LISTS files)
      math(EXPR checked "${checked} + 1")
      includes_of(${f} used)
      foreach(u IN LISTS used)
        if(u STREQUAL folder OR u IN_LIST below OR u IN_LIST arg_OPEN)
          continue()
        endif()
        file(RELATIVE_PATH rel ${SOURCE_DIR} ${f})
        if(u IN_LIST arg_FOREIGN)
          list(APPEND faults "${rel} ${arg_TAG} includes ${u}/")
        elseif(u IN_LIST arg_ORDER)
          list(APPEND faults "${rel} includes ${u}/, a ${arg_NOUN} above ${folder}/")
        else()
          list(APPEND faults "${rel} includes ${u}/, which is no ${arg_NOUN}")
        endif()
      endforeach()
    endforeach()
    list(APPEND below ${folder})
  endforeach()
  set(faults ${faults} PARENT_SCOPE)
  set(checked ${checked} PARENT_SCOPE)
endfunction()

# A library folder includes nothing of the program; a program folder includes the library side.
check_side(NOUN "library folder" TAG "(library side)" ORDER ${library} FOREIGN ${layers} EXTENSIONS h cpp c)
check_side(NOUN "layer" ORDER ${layers} OPEN ${library} EXTENSIONS h cpp ui)

if(checked EQUAL 0)
  message(FATAL_ERROR "no source file was found under ${SOURCE_DIR}")
endif()
if(faults)
  list(JOIN faults "\n  " faults)
  message(FATAL_ERROR "includes against the layers of docs/architecture.md:\n  ${faults}")
endif()
message(STATUS "layers hold: ${library} | ${layers}")
