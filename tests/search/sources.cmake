# Find and replace over stored pages; the spelling engine.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/pagetextmatch_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hunspellengine_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/krspellchecker_test.cpp
)
add_test(NAME cli_search
  COMMAND ${CMAKE_COMMAND} -E env TARN_CLI=$<TARGET_FILE:tarn-cli> TARN_SAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.aeh
          bash ${CMAKE_CURRENT_LIST_DIR}/../cli/search_test.sh)
if(TARN_QT)
  target_sources(tarn_ui_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../app/ui/searchwindow_test.cpp)
endif()
