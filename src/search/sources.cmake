# Find and replace over stored pages, and the spelling engine over Hunspell.
find_package(PkgConfig REQUIRED)
pkg_check_modules(HUNSPELL REQUIRED IMPORTED_TARGET hunspell)
target_sources(tarn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/searchoptions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pagetextmatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/spellengine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hunspellengine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/krspellchecker.cpp
)
target_link_libraries(tarn_core PUBLIC PkgConfig::HUNSPELL)
if(TARN_QT)
  target_sources(tarn_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/../app/ui/fcerca.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../app/ui/searchcommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../app/ui/spellchecker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../app/ui/spellerdialog.cpp
  )
endif()
