# Tests of tables: the record, the grid layout and the display-less table.
target_sources(tarn_tests PRIVATE richtext/table_test.cpp)
