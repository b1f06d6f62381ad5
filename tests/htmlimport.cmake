# HTML import: golden pages per feature, behaviours, the round trip through
# the exporter, the crawler, and the command line.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmlimport_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmlroundtrip_test.cpp
)
add_test(NAME cli_import_html
  COMMAND ${CMAKE_COMMAND} -E env TARN_CLI=$<TARGET_FILE:tarn-cli> TARN_SAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.aeh
          bash ${CMAKE_CURRENT_LIST_DIR}/cli/import_test.sh)
