# Tests of the special effects dialog and the per-character spacing editor.
foreach(test special_effects_dialog_test spacing_editor_test)
  vakuro_add_qt_test(${test} ${CMAKE_CURRENT_LIST_DIR}/${test}.cpp ${CMAKE_CURRENT_LIST_DIR}/effect_dialogs_fixture.h)
  target_include_directories(${test} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(${test} PRIVATE vakuro_style)
endforeach()
