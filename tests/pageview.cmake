target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/page/aehpage_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/objects/frames_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/objects/frameset_test.cpp
)
if(TARN_QT)
  target_sources(tarn_ui_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ui/framesetwidget_test.cpp)
  # A manual tool, not a test: the sample hypertext in the editor control,
  # with scripted link following and frame splitting for screenshots.
  add_executable(tarn_framesdemo ${CMAKE_CURRENT_LIST_DIR}/ui/framesdemo.cpp)
  target_include_directories(tarn_framesdemo PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_compile_definitions(tarn_framesdemo PRIVATE TARN_SAMPLE="${PROJECT_SOURCE_DIR}/samples/sample.aeh")
  target_link_libraries(tarn_framesdemo PRIVATE tarn_ui Qt6::Test tarn_warnings)
endif()
