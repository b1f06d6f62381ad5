target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/document/aehpage_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/objects/frames_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/objects/frameset_test.cpp
)
if(TARN_QT)
  target_sources(tarn_ui_tests PRIVATE)
endif()
