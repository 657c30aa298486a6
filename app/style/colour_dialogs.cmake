# The colour dialogs: colour settings (Form010), texture selection (Form011)
# and extended colour (Form012), with their small widgets.
target_sources(vakuro_style PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/angle_dial.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clickable_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/colour_settings_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/texture_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/extended_colour_dialog.cpp
)
