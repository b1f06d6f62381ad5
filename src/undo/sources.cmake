# Undo and redo: the undo list, the control numbers and the step kinds in
# the core; the drop-down list of steps and the window's undo commands in
# the widget library.
target_sources(tarn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/aehundoindicilist.cpp
  ${CMAKE_CURRENT_LIST_DIR}/aehundolist.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tbobackup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timbackup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ttabackup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/togbackup.cpp
)
if(TARN_QT)
  target_sources(tarn_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ui/tundobox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/undocommands.cpp
  )
endif()
