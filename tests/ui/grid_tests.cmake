# Tests of the result grids, the class icons, the statistics window and the reference-list window.
function(tallyscope_add_grid_test name)
  add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(${name} PRIVATE tallyscope_ui Qt6::Test tallyscope_options)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

tallyscope_add_grid_test(test_grid_models)
tallyscope_add_grid_test(test_db_grid)
tallyscope_add_grid_test(test_aux_windows)
tallyscope_add_grid_test(test_column_fit)
