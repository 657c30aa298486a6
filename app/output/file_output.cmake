# The file output: the dialog, the button painter and the preview window.
target_sources(vakuro_output PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/button_painter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_output_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/output_preview_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/output_messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/output_transform.cpp
)
# Picture bits (dib_image.h) live with the main window's pipeline; static
# libraries may depend on each other both ways.
target_link_libraries(vakuro_output PUBLIC vakuro_render vakuro_common)
