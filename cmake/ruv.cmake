# Helpers shared by the subsystem folders.

# ruv_gtest(<name> SOURCES <files...> LIBS <targets...>)
# A GoogleTest program registered with ctest, one ctest entry per test case.
function(ruv_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8")
endfunction()

# ruv_qtest(<name> SOURCES <files...> LIBS <targets...>)
# A Qt Test program for widgets, run on the offscreen platform.
function(ruv_qtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} Qt5::Test Qt5::Widgets)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# ruv_bench(<name> SOURCES <files...> LIBS <targets...>)
function(ruv_bench name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} benchmark::benchmark)
endfunction()
