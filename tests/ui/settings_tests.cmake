# Tests of the settings store, the settings window and the help window, on the offscreen platform.
foreach(test_name profile_file_test settings_store_test settings_window_test about_window_test)
  add_executable(${test_name} ${CMAKE_CURRENT_LIST_DIR}/${test_name}.cpp ${CMAKE_CURRENT_LIST_DIR}/settings_test_support.h)
  set_target_properties(${test_name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${test_name} PRIVATE tallyscope_ui Qt6::Test tallyscope_options)
  add_test(NAME ${test_name} COMMAND ${test_name})
  set_tests_properties(${test_name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endforeach()
