# Tests of the export file list and the export and import runs.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/listhtmltotx_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exportjob_test.cpp
)

# DOC export and import through a real LibreOffice.
add_test(NAME libreoffice_doc
  COMMAND ${CMAKE_COMMAND} -E env TARN_CLI=$<TARGET_FILE:tarn-cli> TARN_SAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.aeh
          bash ${CMAKE_CURRENT_LIST_DIR}/doc_test.sh)
set_tests_properties(libreoffice_doc PROPERTIES LABELS libreoffice TIMEOUT 900)
