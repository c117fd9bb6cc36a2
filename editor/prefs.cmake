# The preferences dialog, its colour swatch and its preview editor.
add_library(ruv_editor_prefs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/color_wt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sys_pre_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sys_pre_dlg.ui)
target_link_libraries(ruv_editor_prefs PUBLIC ruv_editor_widget ruv_config ruv_adt Qt5::Widgets)
