# Text document and document search: plain C++, no widgets.
find_package(PkgConfig REQUIRED)
pkg_check_modules(PCRE2 REQUIRED IMPORTED_TARGET libpcre2-8)
add_library(ruv_editor_doc STATIC
  ${CMAKE_CURRENT_LIST_DIR}/text_doc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/doc_search.cpp)
target_link_libraries(ruv_editor_doc PUBLIC ruv_adt PRIVATE PkgConfig::PCRE2)

# The code editor widget over the document, with the language services of lang.cmake.
add_library(ruv_editor_widget STATIC
  ${CMAKE_CURRENT_LIST_DIR}/editor.h
  ${CMAKE_CURRENT_LIST_DIR}/editor.cpp)
target_link_libraries(ruv_editor_widget PUBLIC ruv_editor_doc ruv_editor_lang ruv_config Qt5::Widgets Qt5::PrintSupport)
