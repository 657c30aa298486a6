# The special effects dialog and the per-character spacing editor.
target_sources(vakuro_style PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/form020.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form020.h
  ${CMAKE_CURRENT_LIST_DIR}/form025.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form025.h
)
