# Text box editing: the editing model in the core, the box and the draggable
# page objects in the widget library.
target_sources(tarn_core PRIVATE)
if(TARN_QT)
  target_sources(tarn_ui PRIVATE)
endif()
