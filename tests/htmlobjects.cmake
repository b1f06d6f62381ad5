# The objects of exported pages: golden pages, the rules behind them, the
# records they are read from; the hypertext with every object kind, also
# written as a file for the HTML checker and the browser.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/convert/htmlobjects_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/objectsite.cpp
)

add_executable(tarn-make-objectsite ${CMAKE_CURRENT_LIST_DIR}/convert/make_objectsite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/objectsite.cpp ${CMAKE_CURRENT_LIST_DIR}/document/testfixtures.cpp)
target_include_directories(tarn-make-objectsite PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tarn-make-objectsite PRIVATE tarn_core tarn_warnings)
