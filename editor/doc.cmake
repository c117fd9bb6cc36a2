# Text document and document search: plain C++, no widgets.
add_library(ruv_editor_doc STATIC
  ${CMAKE_CURRENT_LIST_DIR}/text_doc.cpp)
target_link_libraries(ruv_editor_doc PUBLIC ruv_adt)
