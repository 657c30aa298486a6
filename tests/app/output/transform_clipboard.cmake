# Tests of the output transform, the transform settings dialog and the
# clipboard output.
vakuro_add_qt_test(vakuro_warp_test ${CMAKE_CURRENT_LIST_DIR}/warp_test.cpp)
target_link_libraries(vakuro_warp_test PRIVATE vakuro_output)

vakuro_add_qt_test(vakuro_clipboard_output_test ${CMAKE_CURRENT_LIST_DIR}/clipboard_output_test.cpp)
target_link_libraries(vakuro_clipboard_output_test PRIVATE vakuro_output)
add_dependencies(vakuro_clipboard_output_test Pavrex Tesmor32 imgctl)

vakuro_add_qt_test(vakuro_transform_dialog_test ${CMAKE_CURRENT_LIST_DIR}/transform_dialog_test.cpp)
target_link_libraries(vakuro_transform_dialog_test PRIVATE vakuro_output)
add_dependencies(vakuro_transform_dialog_test Pavrex Tesmor32 imgctl)
