# Find and replace over stored pages; the spelling engine.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/pagetextmatch_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hunspellengine_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/krspellchecker_test.cpp
)
