# The page view and frame sets: working copies and frame records in the core,
# the editor control in the widget library.
target_sources(tarn_core PRIVATE)
if(TARN_QT)
  target_sources(tarn_ui PRIVATE)
endif()
