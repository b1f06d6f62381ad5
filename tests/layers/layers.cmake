# The layers of src/ include only the layers below them; the check itself
# must find a file that reaches up, and leave the widget layers alone.
add_test(NAME layering
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/src -P ${CMAKE_CURRENT_LIST_DIR}/check_layers.cmake)
add_test(NAME layering_finds_faults
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_CURRENT_LIST_DIR}/faulty -P ${CMAKE_CURRENT_LIST_DIR}/check_layers.cmake)
set_tests_properties(layering_finds_faults PROPERTIES
  PASS_REGULAR_EXPRESSION "document/reachesup.cpp: the document layer includes the richtext layer.*document/reachesup.cpp: a Qt header"
  FAIL_REGULAR_EXPRESSION "qtcanvas.cpp|aehbox.cpp")
