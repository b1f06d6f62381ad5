# Tests of undo and redo: the list and its steps in the core, with random
# edit scripts; the drop-down list and the window's commands with QTest.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/aehundolist_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/boxundo_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/objectundo_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editscript.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editscript_test.cpp
)
if(TARN_QT)
  target_sources(tarn_ui_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/tundobox_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/undocommands_test.cpp
  )
endif()
