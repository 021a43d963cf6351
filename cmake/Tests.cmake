# Logic tests run in both builds on the headless platform; the Windows build
# adds the tests of the Win32 layer, which run under Wine.
# tests/ mirrors the source folders; tests/win32 holds the Win32 layer's.
file(GLOB_RECURSE TOVIRA_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp)
list(FILTER TOVIRA_TEST_SOURCES EXCLUDE REGEX "/tests/(win32|e2e|data|fixtures)/")
if(WIN32)
  file(GLOB TOVIRA_WIN32_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
  add_executable(tovira_wintests ${TOVIRA_TEST_SOURCES} ${TOVIRA_WIN32_TEST_SOURCES})
  target_link_libraries(tovira_wintests PRIVATE tovira_logic tovira_host tovira_win32 gtest gtest_main version)
  target_compile_definitions(tovira_wintests PRIVATE TOVIRA_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
  # The program a button of the real bar starts in the tests.
  add_executable(tovira_marker WIN32 ${CMAKE_SOURCE_DIR}/tests/win32/marker/Marker.cpp)
  add_dependencies(tovira_wintests tovira_marker)
  tovira_strict(tovira_wintests tovira_marker)
  # The tests run with the program's manifest: UTF-8 as the ANSI code page.
  tovira_resources(tovira_wintests Brenvoll.Tovira.Tests "Tovira tests")
  # The programs whose files and starts the tests look at, beside them.
  add_dependencies(tovira_wintests tovira tovira-tool)
else()
  add_executable(tovira_tests ${TOVIRA_TEST_SOURCES})
  target_link_libraries(tovira_tests PRIVATE tovira_logic tovira_host gtest gtest_main)
  tovira_strict(tovira_tests)
  target_compile_definitions(tovira_tests PRIVATE TOVIRA_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    TOVIRA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  include(GoogleTest)
  gtest_discover_tests(tovira_tests DISCOVERY_TIMEOUT 60)
  # The layer check refuses includes against the order (trees written for it).
  add_test(NAME layers_check
    COMMAND ${CMAKE_COMMAND} -DCHECK=${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
            -DWORK=${CMAKE_BINARY_DIR}/layers_check -P ${CMAKE_SOURCE_DIR}/tests/layers/CheckLayersTest.cmake)
  # No two modules include each other, but for the few accepted ones.
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME module_cycles COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/layers/module_cycles.py ${CMAKE_SOURCE_DIR})
  add_test(NAME module_cycles_self_test COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/layers/module_cycles.py --self-test)
  # The companion tool's commands, run as a user runs them.
  add_test(NAME tool_ini COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/tool_ini.sh $<TARGET_FILE:tovira-tool>)
  add_test(NAME tool_lnk COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/tool_lnk.sh $<TARGET_FILE:tovira-tool>)
  # Other programs read the PNG and ZIP files the bar writes.
  add_test(NAME formats_check COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/formats_check.sh $<TARGET_FILE:tovira-tool>)
  # An independent reader of the link format (liblnk) reads the tool's links.
  add_test(NAME lnkinfo_reads_our_links
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/lnkinfo_reads_our_links.sh $<TARGET_FILE:tovira-tool>)
endif()
