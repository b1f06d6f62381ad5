# Publishing: protocol engines against scripted and real loopback servers.
add_executable(tarn_publish_tests
  ${CMAKE_CURRENT_LIST_DIR}/ftplist_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ftp_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/loopback_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tarn3_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/netconfig_test.cpp
)
target_include_directories(tarn_publish_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(tarn_publish_tests PRIVATE
  TARN_PUBLISH_SCRIPTS="${CMAKE_CURRENT_LIST_DIR}"
  TARN_SAMPLE="${PROJECT_SOURCE_DIR}/samples/sample.aeh")
target_link_libraries(tarn_publish_tests PRIVATE tarn_core tarn_warnings GTest::gtest GTest::gtest_main)
gtest_discover_tests(tarn_publish_tests DISCOVERY_TIMEOUT 60)
add_test(NAME cli_publish_ftp
  COMMAND ${CMAKE_COMMAND} -E env TARN_CLI=$<TARGET_FILE:tarn-cli> TARN_SAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.aeh
          bash ${CMAKE_CURRENT_LIST_DIR}/publish_cli_test.sh)
set_tests_properties(cli_publish_ftp PROPERTIES SKIP_RETURN_CODE 77)
if(TARN_QT)
  add_executable(tarn_publish_ui_tests ${CMAKE_CURRENT_LIST_DIR}/publishdialogs_test.cpp)
  target_include_directories(tarn_publish_ui_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(tarn_publish_ui_tests PRIVATE
    TARN_PUBLISH_SCRIPTS="${CMAKE_CURRENT_LIST_DIR}"
    TARN_SAMPLE="${PROJECT_SOURCE_DIR}/samples/sample.aeh")
  target_link_libraries(tarn_publish_ui_tests PRIVATE tarn_ui Qt6::Test tarn_warnings GTest::gtest)
  gtest_discover_tests(tarn_publish_ui_tests DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
