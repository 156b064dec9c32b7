# The main window, the start-up and the desktop executable.
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/app_theme.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_theme.h
  ${CMAKE_CURRENT_LIST_DIR}/application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/application.h
  ${CMAKE_CURRENT_LIST_DIR}/handler_guard.h
  ${CMAKE_CURRENT_LIST_DIR}/modal_seams.cpp
  ${CMAKE_CURRENT_LIST_DIR}/modal_seams.h
  ${CMAKE_CURRENT_LIST_DIR}/outer_placement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/outer_placement.h
  ${CMAKE_CURRENT_LIST_DIR}/uMain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uMain.h
)

function(tallyscope_add_gui_executable)
  add_executable(tallyscope-gui ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
  target_link_libraries(tallyscope-gui PRIVATE tallyscope_ui tallyscope_options)
  if(WIN32)
    # A window program (no console), with its icon and version information.
    set_target_properties(tallyscope-gui PROPERTIES WIN32_EXECUTABLE ON)
    set(TALLYSCOPE_ICON ${PROJECT_SOURCE_DIR}/resources/windows/tallyscope.ico)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/tallyscope-gui.rc.in
                   ${CMAKE_CURRENT_BINARY_DIR}/tallyscope-gui.rc @ONLY)
    target_sources(tallyscope-gui PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/tallyscope-gui.rc)
  endif()
endfunction()
