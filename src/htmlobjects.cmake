# The objects of exported pages and the records they are read from.
target_sources(tarn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmlobjects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document/placedrecords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document/customprototype.cpp
)
