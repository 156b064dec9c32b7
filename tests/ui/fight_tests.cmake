# End-to-end tests of the fights in the desktop program, over a scratch program directory like the main
# window's.
add_executable(fights_window_test ${CMAKE_CURRENT_LIST_DIR}/fights_window_test.cpp)
set_target_properties(fights_window_test PROPERTIES AUTOMOC ON)
target_include_directories(fights_window_test PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(fights_window_test PRIVATE tallyscope_ui Qt6::Test tallyscope_options)
target_compile_definitions(fights_window_test PRIVATE TALLYSCOPE_RESOURCES_DIR="${PROJECT_SOURCE_DIR}/resources")
add_test(NAME fights_window_test COMMAND fights_window_test)
set_tests_properties(fights_window_test PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
