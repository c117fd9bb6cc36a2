ruv_qtest(editor_popup_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/popup_test.cpp LIBS ruv_editor_tab)
ruv_qtest(editor_scroll_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/scroll_test.cpp LIBS ruv_editor_tab)
