# HTML import: golden pages per feature, behaviours, the round trip through
# the exporter, the crawler, and the command line.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmlimport_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmlroundtrip_test.cpp
)
