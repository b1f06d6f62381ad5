# The objects of exported pages: golden pages, the rules behind them, the
# records they are read from; the hypertext with every object kind, also
# written as a file for the HTML checker and the browser.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmlobjects_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/objectsite.cpp
)

add_executable(tarn-make-objectsite ${CMAKE_CURRENT_LIST_DIR}/convert/make_objectsite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/objectsite.cpp ${CMAKE_CURRENT_LIST_DIR}/document/testfixtures.cpp)
target_include_directories(tarn-make-objectsite PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tarn-make-objectsite PRIVATE tarn_core tarn_warnings)

# The exported sample and the hypertext with every object kind read by an
# HTML checker, and the sample's image map clicked in a headless browser.
add_test(NAME cli_export_htmlcheck
  COMMAND ${CMAKE_COMMAND} -E env TARN_CLI=$<TARGET_FILE:tarn-cli> TARN_SAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.aeh
          TARN_MAKE_OBJECTSITE=$<TARGET_FILE:tarn-make-objectsite>
          bash ${CMAKE_CURRENT_LIST_DIR}/cli/htmlcheck_test.sh)
add_test(NAME cli_export_chromium
  COMMAND ${CMAKE_COMMAND} -E env TARN_CLI=$<TARGET_FILE:tarn-cli> TARN_SAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.aeh
          bash ${CMAKE_CURRENT_LIST_DIR}/cli/chromium_test.sh)
