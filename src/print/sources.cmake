# Printing: the page setup, the printable page and its objects, and the
# print dialog's page list in the core; the dialogs and the desktop's
# printers in the widget library.
target_sources(tarn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/pagesetupdialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/aehpagep.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printlist.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/testing/recordingprinter.cpp
)
if(TARN_QT)
  target_sources(tarn_platform_qt PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../platform/qt/qtpagedprinter.cpp)
  target_sources(tarn_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../platform/qt/qtprinter.cpp)
  target_link_libraries(tarn_ui PUBLIC Qt6::PrintSupport)
endif()
if(TARN_QT)
  target_sources(tarn_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ui/fprintersetup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/fstampa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../app/ui/printcommands.cpp
  )
endif()
