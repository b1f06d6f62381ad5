# The page order tree, the object lists, the link explorer and the reference
# reports: models and searches in the core, their widgets in the widget library.
target_sources(tarn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/document/aehorderedtree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document/objectlist.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document/readingcopy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search/searchjob.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search/linkexplorer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search/referencereport.cpp
)
if(TARN_QT)
  target_sources(tarn_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/document/ui/editorlink.h
    ${CMAKE_CURRENT_LIST_DIR}/document/ui/fileicons.cpp
    ${CMAKE_CURRENT_LIST_DIR}/document/ui/aehorderedtreeview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/document/ui/aehlistview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/document/ui/pagespanel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/search/ui/fricerca.cpp
    ${CMAKE_CURRENT_LIST_DIR}/search/ui/fcancella.cpp
  )
endif()
if(TARN_QT)
  target_sources(tarn_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/app/ui/pagetreecommands.cpp)
endif()
