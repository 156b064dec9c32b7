# The result grids: the table view with its headers, cells, class icons, column widths and search.
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/column_fit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/column_fit.h
  ${CMAKE_CURRENT_LIST_DIR}/db_grid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/db_grid.h
  ${CMAKE_CURRENT_LIST_DIR}/editable_grid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editable_grid.h
  ${CMAKE_CURRENT_LIST_DIR}/find_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_dialog.h
  ${CMAKE_CURRENT_LIST_DIR}/grid_delegate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/grid_delegate.h
  ${CMAKE_CURRENT_LIST_DIR}/header_marker.h
  ${CMAKE_CURRENT_LIST_DIR}/img_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/img_list.h
  ${CMAKE_CURRENT_LIST_DIR}/row_indicator_header.cpp
  ${CMAKE_CURRENT_LIST_DIR}/row_indicator_header.h
  ${CMAKE_CURRENT_LIST_DIR}/table_grid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_grid.h
  ${CMAKE_CURRENT_LIST_DIR}/title_header.cpp
  ${CMAKE_CURRENT_LIST_DIR}/title_header.h
)
