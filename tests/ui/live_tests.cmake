# End-to-end tests of following the log in the desktop program: a test writes the log in steps while
# the main window follows it.
add_executable(live_window_test ${CMAKE_CURRENT_LIST_DIR}/live_window_test.cpp)
set_target_properties(live_window_test PROPERTIES AUTOMOC ON)
target_include_directories(live_window_test PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(live_window_test PRIVATE tallyscope_ui Qt6::Test tallyscope_options)
target_compile_definitions(live_window_test PRIVATE TALLYSCOPE_RESOURCES_DIR="${PROJECT_SOURCE_DIR}/resources")
add_test(NAME live_window_test COMMAND live_window_test)
set_tests_properties(live_window_test PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
