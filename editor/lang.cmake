# Language services of the editor: the parse of its text with the node-id queries, token
# classes and styles, the statement printer, the prefix indexes and the completion.
add_library(ruv_editor_lang STATIC
  ${CMAKE_CURRENT_LIST_DIR}/sql_parse.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sql_highlight.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sql_printer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sql_prefix_index.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sql_completion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sql_style.cpp
)
target_link_libraries(ruv_editor_lang PUBLIC ruv_sql_library ruv_config Qt5::Gui)
