# End-to-end tests of the desktop program: the real windows built by the start-up over a scratch program
# directory, driven through their controls on the offscreen platform.
add_executable(main_window_test ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp)
set_target_properties(main_window_test PROPERTIES AUTOMOC ON)
target_include_directories(main_window_test PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(main_window_test PRIVATE tallyscope_ui Qt6::Test tallyscope_options)
# The shipped reference lists are copied into each scratch program directory.
target_compile_definitions(main_window_test PRIVATE TALLYSCOPE_RESOURCES_DIR="${PROJECT_SOURCE_DIR}/resources")
add_test(NAME main_window_test COMMAND main_window_test)
set_tests_properties(main_window_test PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
