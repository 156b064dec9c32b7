# The models behind the grids: the analysis tables and the reference lists as Qt item models.
list(APPEND UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/character_list_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/character_list_model.h
  ${CMAKE_CURRENT_LIST_DIR}/cp1251_text.h
  ${CMAKE_CURRENT_LIST_DIR}/data_link.h
  ${CMAKE_CURRENT_LIST_DIR}/linked_table_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linked_table_model.h
  ${CMAKE_CURRENT_LIST_DIR}/reference_list_models.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reference_list_models.h
  ${CMAKE_CURRENT_LIST_DIR}/skill_stat_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skill_stat_model.h
  ${CMAKE_CURRENT_LIST_DIR}/table_model.h
)
