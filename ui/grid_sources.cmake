# The result grids, the class icons, the statistics window and the reference-list window.
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/img_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/column_fit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linked_table_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_model.h
  ${CMAKE_CURRENT_LIST_DIR}/data_link.h
  ${CMAKE_CURRENT_LIST_DIR}/character_list_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skill_stat_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reference_list_models.cpp
  ${CMAKE_CURRENT_LIST_DIR}/grid_delegate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/header_marker.h
  ${CMAKE_CURRENT_LIST_DIR}/row_indicator_header.cpp
  ${CMAKE_CURRENT_LIST_DIR}/title_header.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_grid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editable_grid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/db_grid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uAdvanced.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uStat.cpp
)
