# Completion popup, line numbers, painted scroll bars and the search dialog.
add_library(ruv_editor_tab STATIC
  ${CMAKE_CURRENT_LIST_DIR}/auto_list.h
  ${CMAKE_CURRENT_LIST_DIR}/auto_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linenumber_wt.h
  ${CMAKE_CURRENT_LIST_DIR}/linenumber_wt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scroll_area.h
  ${CMAKE_CURRENT_LIST_DIR}/scroll_area.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_dlg.h
  ${CMAKE_CURRENT_LIST_DIR}/search_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_dlg.ui
)
target_link_libraries(ruv_editor_tab PUBLIC ruv_editor_widget ruv_config ruv_seams Qt5::Widgets)
