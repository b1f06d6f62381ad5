# Tests of the page order tree, the object lists, the link explorer and the
# delete command's report.
target_sources(tarn_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/document/aehorderedtree_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document/objectlist_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search/linkexplorer_test.cpp
)

add_test(NAME cli_pages
  COMMAND ${CMAKE_COMMAND} -E env TARN_CLI=$<TARGET_FILE:tarn-cli> TARN_SAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.aeh
          bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/pages_test.sh)

if(TARN_QT)
  target_sources(tarn_ui_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ui/pagetree_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/fricerca_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/ui/pagetreecommands_test.cpp
  )
endif()

# A manual tool, not a test: the editor control with the Pages panel docked
# beside it, and the link explorer and the delete dialog on menu commands.
if(TARN_QT)
  add_executable(tarn_pagesdemo ${CMAKE_CURRENT_LIST_DIR}/ui/pagesdemo.cpp)
  target_include_directories(tarn_pagesdemo PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_compile_definitions(tarn_pagesdemo PRIVATE TARN_SAMPLE="${PROJECT_SOURCE_DIR}/samples/sample.aeh")
  target_link_libraries(tarn_pagesdemo PRIVATE tarn_ui Qt6::Test tarn_warnings)
endif()
