# Tests of the file output: the button painter, the dialog with its preview,
# and the command-line output.
vakuro_add_qt_test(vakuro_button_painter_test ${CMAKE_CURRENT_LIST_DIR}/button_painter_test.cpp)
target_link_libraries(vakuro_button_painter_test PRIVATE vakuro_output)

vakuro_add_qt_test(vakuro_file_output_dialog_test ${CMAKE_CURRENT_LIST_DIR}/file_output_dialog_test.cpp)
target_include_directories(vakuro_file_output_dialog_test PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(vakuro_file_output_dialog_test PRIVATE vakuro_output)
add_dependencies(vakuro_file_output_dialog_test Pavrex Tesmor32 imgctl vakuro)
