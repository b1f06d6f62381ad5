# Tests of the formatting commands, their undo, and the Format and
# Paragraphs toolbars.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/richtext/formatting_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/richtext/formattingstyles_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/undo/formattingundo_test.cpp
)
if(TARN_QT)
  target_sources(tarn_ui_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/app/ui/formattoolbars_test.cpp)
endif()
