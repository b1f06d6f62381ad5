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
