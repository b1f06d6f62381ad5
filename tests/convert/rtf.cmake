# Tests of the RTF and plain-text converters.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/rtfimp_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/aehtortf_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/aehtotxt_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboardformats_test.cpp
)

add_test(NAME cli_rtf_text
  COMMAND ${CMAKE_COMMAND} -E env TARN_CLI=$<TARGET_FILE:tarn-cli> TARN_SAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.aeh
          bash ${CMAKE_CURRENT_LIST_DIR}/../cli/rtf_test.sh)

# A real word processor reads what Tarn writes and writes what Tarn reads;
# `ctest -LE libreoffice` leaves it out on a machine without LibreOffice.
add_test(NAME libreoffice_rtf
  COMMAND ${CMAKE_COMMAND} -E env TARN_CLI=$<TARGET_FILE:tarn-cli> TARN_SAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.aeh
          bash ${CMAKE_CURRENT_LIST_DIR}/libreoffice_test.sh)
set_tests_properties(libreoffice_rtf PROPERTIES LABELS libreoffice TIMEOUT 900)
