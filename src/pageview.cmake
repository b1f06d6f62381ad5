# The page view and frame sets: working copies and frame records in the core,
# the editor control in the widget library.
target_sources(tarn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/page/workingcopy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page/aehpage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page/editbox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search/spellthread.cpp
  ${CMAKE_CURRENT_LIST_DIR}/objects/frames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/objects/frameset.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmlframes.cpp
)
if(TARN_QT)
  target_sources(tarn_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/page/ui/pageview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objects/ui/framewidget.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objects/ui/framesetwidget.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objects/ui/framesetwidget_spell.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objects/ui/styleview.cpp
  )
endif()
find_package(Threads REQUIRED)
target_link_libraries(tarn_core PUBLIC Threads::Threads)
