# Printing: the core on the recording printer.
target_sources(tarn_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/print_test.cpp)
# Real PDF files, read back with poppler's tools.
if(TARN_QT)
  target_sources(tarn_qt_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/pdf_test.cpp)
endif()
if(TARN_QT)
  add_test(NAME cli_print
    COMMAND ${CMAKE_COMMAND} -E env TARN_CLI=$<TARGET_FILE:tarn-cli> TARN_SAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.aeh
            bash ${CMAKE_CURRENT_LIST_DIR}/../cli/print_test.sh)
  set_tests_properties(cli_print PROPERTIES SKIP_RETURN_CODE 77)
endif()
# The print dialog and the printer setup, driven with clicks.
if(TARN_QT)
  target_sources(tarn_ui_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ui/fstampa_test.cpp)
endif()
# A manual tool, not a test: writes a hypertext with what printing handles.
add_executable(tarn_printshowcase ${CMAKE_CURRENT_LIST_DIR}/printshowcase.cpp)
target_link_libraries(tarn_printshowcase PRIVATE tarn_core tarn_warnings)
