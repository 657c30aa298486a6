# Tests of the colour dialogs: Form010, Form011, Form012 and the angle dial.
foreach(colour_test colour_settings_dialog_test texture_dialog_test extended_colour_dialog_test)
  vakuro_add_qt_test(${colour_test} ${CMAKE_CURRENT_LIST_DIR}/${colour_test}.cpp)
  target_include_directories(${colour_test} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(${colour_test} PRIVATE vakuro_style)
  add_dependencies(${colour_test} Pavrex Tesmor32 imgctl)
endforeach()
