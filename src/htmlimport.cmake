# HTML import: pages from HTML files, their objects and style sheets, and
# the link crawler.
target_sources(tarn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmltags.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmlcharset.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmlcss.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/ht2state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/ht2reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/ht2objects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/ht2tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/ht2extended.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmlimport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmlcrawler.cpp
)
