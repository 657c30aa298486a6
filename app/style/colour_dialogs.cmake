# The colour dialogs: colour settings (Form010), texture selection (Form011)
# and extended colour (Form012), with their small widgets.
target_sources(vakuro_style PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/angle_dial.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clickable_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form010.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form011.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form012.cpp
)
