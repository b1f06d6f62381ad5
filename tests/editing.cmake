target_sources(tarn_tests PRIVATE)
if(TARN_QT)
  target_sources(tarn_ui_tests PRIVATE)
endif()
