# The start-up, the look, error messages and the placement and scaling of every window.
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/app_theme.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_theme.h
  ${CMAKE_CURRENT_LIST_DIR}/application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/application.h
  ${CMAKE_CURRENT_LIST_DIR}/error_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/error_text.h
  ${CMAKE_CURRENT_LIST_DIR}/handler_guard.h
  ${CMAKE_CURRENT_LIST_DIR}/layout_font.h
  ${CMAKE_CURRENT_LIST_DIR}/layout_scale.h
  ${CMAKE_CURRENT_LIST_DIR}/modal_seams.cpp
  ${CMAKE_CURRENT_LIST_DIR}/modal_seams.h
  ${CMAKE_CURRENT_LIST_DIR}/outer_placement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/outer_placement.h
)
