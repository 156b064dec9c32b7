# Following the log in the desktop program: the reading of what the game appends, paced by timers.
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/log_watch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_watch.h
)
