# Tests of the output transform, the transform settings dialog and the
# clipboard output.
vakuro_add_qt_test(vakuro_warp_test ${CMAKE_CURRENT_LIST_DIR}/warp_test.cpp)
target_link_libraries(vakuro_warp_test PRIVATE vakuro_output)
