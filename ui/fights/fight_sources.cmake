# The fights of the desktop program: the fight selector and the choice of the tables shown.
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/fight_selector.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fight_selector.h
  ${CMAKE_CURRENT_LIST_DIR}/shown_results.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shown_results.h
)
