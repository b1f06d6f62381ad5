# Visual objects: their records and the metafile converters in the core;
# the screen objects and zones driven with QTest.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/objects/visual/visualrecord_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/objects/visual/containerobjects_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document/metafiles.cpp
)
if(TARN_QT)
  target_sources(tarn_ui_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ui/visual_test.cpp)
endif()
