# Tests of text box editing and the draggable page objects.
target_sources(tarn_tests PRIVATE richtext/boxtext_test.cpp)
if(TARN_QT)
  target_sources(tarn_ui_tests PRIVATE
    ui/aehbox_test.cpp
    ui/dragcontrol_test.cpp
  )
  # A manual tool, not a test: a page of the sample in an editable box.
  add_executable(tarn_boxdemo ui/boxdemo.cpp)
  set_target_properties(tarn_boxdemo PROPERTIES AUTOMOC ON)
  target_include_directories(tarn_boxdemo PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(tarn_boxdemo PRIVATE TARN_SAMPLE="${PROJECT_SOURCE_DIR}/samples/sample.aeh")
  target_link_libraries(tarn_boxdemo PRIVATE tarn_ui tarn_warnings)
endif()
