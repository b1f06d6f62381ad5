# Tests of the export file list and the export and import runs.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/listhtmltotx_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exportjob_test.cpp
)
