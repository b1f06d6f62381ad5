# Tests of tables: the record, the grid layout and the display-less table.
target_sources(tarn_tests PRIVATE richtext/table_test.cpp)
if(TARN_QT)
  target_sources(tarn_ui_tests PRIVATE ui/tablebox_test.cpp app/ui/tablewindow_test.cpp)
endif()
