# Tests of the page order tree, the object lists, the link explorer and the
# delete command's report.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/document/aehorderedtree_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document/objectlist_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search/linkexplorer_test.cpp
)
