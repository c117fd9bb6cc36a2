ruv_gtest(text_doc_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/text_doc_test.cpp LIBS ruv_editor_doc)
ruv_gtest(doc_search_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/doc_search_test.cpp LIBS ruv_editor_doc)
ruv_qtest(editor_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_test.cpp LIBS ruv_editor_widget)
# Not a test: a window with highlighted SQL to look at under a real or virtual display.
add_executable(editor_show ${CMAKE_CURRENT_LIST_DIR}/editor_show.cpp)
target_link_libraries(editor_show PRIVATE ruv_editor_widget)
