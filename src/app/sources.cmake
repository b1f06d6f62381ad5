# The application shell: options, translation of window texts, the main window.
if(TARN_QT)
  target_sources(tarn_ui PRIVATE)
endif()
