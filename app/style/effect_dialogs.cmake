# The special effects dialog and the per-character spacing editor.
target_sources(vakuro_style PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/special_effects_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/special_effects_dialog.h
  ${CMAKE_CURRENT_LIST_DIR}/spacing_editor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/spacing_editor.h
)
