# Language services of the editor (no widget).
ruv_gtest(test_editor_lang
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/sql_parse_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sql_highlight_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sql_printer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sql_completion_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sql_style_test.cpp
  LIBS ruv_editor_lang)
