# Completion popup, line numbers, painted scroll bars, the script tab and the search dialog.
add_library(ruv_editor_tab STATIC
  ${CMAKE_CURRENT_LIST_DIR}/auto_list.h
  ${CMAKE_CURRENT_LIST_DIR}/auto_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linenumber_wt.h
  ${CMAKE_CURRENT_LIST_DIR}/linenumber_wt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scroll_area.h
  ${CMAKE_CURRENT_LIST_DIR}/scroll_area.cpp
)
target_link_libraries(ruv_editor_tab PUBLIC ruv_editor_widget ruv_config Qt5::Widgets)

# The script tab and the search dialog. The statement split includes the grammar's headers,
# whose names clash with Qt's keyword macros: it is compiled without them.
add_library(ruv_editor_script STATIC
  ${CMAKE_CURRENT_LIST_DIR}/script_split.h
  ${CMAKE_CURRENT_LIST_DIR}/script_split.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_dlg.h
  ${CMAKE_CURRENT_LIST_DIR}/search_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_dlg.ui
  ${CMAKE_CURRENT_LIST_DIR}/sql_script_editor.h
  ${CMAKE_CURRENT_LIST_DIR}/sql_script_editor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sql_script_editor.ui
)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/script_split.cpp PROPERTIES COMPILE_DEFINITIONS QT_NO_KEYWORDS)
target_link_libraries(ruv_editor_script PUBLIC ruv_editor_tab ruv_query ruv_dbops ruv_dataview ruv_seams Qt5::Widgets)
