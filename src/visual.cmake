# Visual objects on the page: what they read from and write to their
# records, and the metafile converters, in the core; the screen objects,
# click zones and the Insert commands in the widget library.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBWMF REQUIRED IMPORTED_TARGET libwmf)
find_library(EMF2SVG_LIBRARY emf2svg REQUIRED)
find_path(EMF2SVG_INCLUDE_DIR emf2svg.h REQUIRED)
target_sources(tarn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/objects/visual/visualrecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/richtext/containerobjects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/document/metafile.cpp
)
target_include_directories(tarn_core PRIVATE ${EMF2SVG_INCLUDE_DIR})
target_link_libraries(tarn_core PRIVATE PkgConfig::LIBWMF ${EMF2SVG_LIBRARY})
if(TARN_QT)
  find_package(Qt6 REQUIRED COMPONENTS Svg)
  # Drawing objects needs no widgets: tarn-cli render draws with it too.
  target_sources(tarn_platform_qt PRIVATE ${CMAKE_CURRENT_LIST_DIR}/objects/ui/visualpaint.cpp)
  target_link_libraries(tarn_platform_qt PUBLIC Qt6::Svg)
  target_sources(tarn_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/objects/ui/visual.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objects/ui/visual.h
    ${CMAKE_CURRENT_LIST_DIR}/objects/ui/visualobject.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objects/ui/visualobject.h
    ${CMAKE_CURRENT_LIST_DIR}/objects/ui/zone.cpp
    ${CMAKE_CURRENT_LIST_DIR}/objects/ui/zone.h
    ${CMAKE_CURRENT_LIST_DIR}/app/ui/insertcommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/ui/insertcommands.h
    ${CMAKE_CURRENT_LIST_DIR}/richtext/ui/aehbox_objects.cpp
  )
endif()
