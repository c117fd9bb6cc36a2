ruv_qtest(editor_popup_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/popup_test.cpp LIBS ruv_editor_tab)
ruv_qtest(editor_scroll_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/scroll_test.cpp LIBS ruv_editor_tab)
ruv_qtest(editor_script_tab_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/script_tab_test.cpp LIBS ruv_editor_script ruv_test_peer)
ruv_qtest(editor_search_dlg_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/search_dlg_test.cpp LIBS ruv_editor_script)
set_target_properties(editor_search_dlg_test PROPERTIES AUTOUIC_SEARCH_PATHS ${CMAKE_SOURCE_DIR}/editor)
# Not a test: a picture of a script tab against a running server (see the source).
add_executable(script_tab_shot ${CMAKE_CURRENT_LIST_DIR}/script_tab_shot.cpp)
target_link_libraries(script_tab_shot PRIVATE ruv_editor_script)
