# The settings store, the settings window and the help window.
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/clickable_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clickable_label.h
  ${CMAKE_CURRENT_LIST_DIR}/error_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/error_text.h
  ${CMAKE_CURRENT_LIST_DIR}/help_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_text.h
  ${CMAKE_CURRENT_LIST_DIR}/home_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/home_page.h
  ${CMAKE_CURRENT_LIST_DIR}/layout_font.h
  ${CMAKE_CURRENT_LIST_DIR}/uAbout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uAbout.h
  ${CMAKE_CURRENT_LIST_DIR}/uSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uSettings.h
  ${CMAKE_CURRENT_LIST_DIR}/wrapping_radio_button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wrapping_radio_button.h
)
