# Printing: the core on the recording printer.
target_sources(tarn_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/print_test.cpp)
