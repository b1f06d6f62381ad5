# Text box editing: the editing model in the core, the box and the draggable
# page objects in the widget library.
target_sources(tarn_core PRIVATE
  richtext/boxtext.cpp
  richtext/aehtextattributes.cpp
  richtext/aehparaattributes.cpp
  richtext/formatting.cpp
)
if(TARN_QT)
  target_sources(tarn_platform_qt PRIVATE platform/qt/qtclipboard.cpp)
  target_sources(tarn_ui PRIVATE
    objects/ui/framesetinterface.h
    objects/ui/transcontrol.cpp
    objects/ui/transcontrol.h
    objects/ui/dragcontrol.cpp
    objects/ui/dragcontrol.h
    objects/ui/outllabel.cpp
    objects/ui/outllabel.h
    richtext/ui/pointershapes.cpp
    richtext/ui/aehcursor.cpp
    richtext/ui/aehcursor.h
    richtext/ui/aehbox.cpp
    richtext/ui/aehbox.h
  )
endif()
