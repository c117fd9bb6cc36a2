# The preferences dialog over the configuration record.
ruv_qtest(test_editor_prefs SOURCES ${CMAKE_CURRENT_LIST_DIR}/prefs_test.cpp LIBS ruv_editor_prefs ruv_app_res)
