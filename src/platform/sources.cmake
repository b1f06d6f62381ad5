# The platform seams that came with the command table: the event loop and
# running programs, with their test versions and the Qt event loop.
target_sources(tarn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/posixprocess.cpp
  ${CMAKE_CURRENT_LIST_DIR}/desktopapplication.cpp
  ${CMAKE_CURRENT_LIST_DIR}/testing/manualeventloop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/testing/scriptedprocess.cpp
)
if(TARN_QT)
  target_sources(tarn_platform_qt PRIVATE ${CMAKE_CURRENT_LIST_DIR}/qt/qteventloop.cpp)
endif()
