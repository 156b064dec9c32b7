# The main window, the statistics, reference-list, settings and about windows, and their small widgets.
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/clickable_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clickable_label.h
  ${CMAKE_CURRENT_LIST_DIR}/help_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_text.h
  ${CMAKE_CURRENT_LIST_DIR}/home_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/home_page.h
  ${CMAKE_CURRENT_LIST_DIR}/uAbout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uAbout.h
  ${CMAKE_CURRENT_LIST_DIR}/uAdvanced.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uAdvanced.h
  ${CMAKE_CURRENT_LIST_DIR}/uMain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uMain.h
  ${CMAKE_CURRENT_LIST_DIR}/uSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uSettings.h
  ${CMAKE_CURRENT_LIST_DIR}/uStat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uStat.h
  ${CMAKE_CURRENT_LIST_DIR}/wrapping_radio_button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wrapping_radio_button.h
)
