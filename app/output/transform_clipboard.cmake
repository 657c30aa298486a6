# The output transform, the transform settings dialog and the clipboard output.
target_sources(vakuro_output PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/warp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transform_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/emf_writer.cpp
)
