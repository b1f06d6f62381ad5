# Checks that each layer of the source tree includes only the layers below
# it, and that the layers without a user interface include no Qt header:
#   cmake -DSOURCE_DIR=<the src folder> -P check_layers.cmake
# A file's layer is its top folder ("platform/qt" and every "<area>/ui" are
# layers of their own); the widget layers may include anything and are not
# checked here.

cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

# Each checked layer and the layers it may include (itself among them).
set(kLowest base platform)
set(allowed_base base)
set(allowed_markup base markup)
set(allowed_platform base platform)
set(allowed_document ${kLowest} markup document)
set(allowed_richtext ${allowed_document} richtext)
set(allowed_search ${allowed_richtext} search)
set(allowed_page ${allowed_search} page)
set(allowed_objects ${allowed_page} objects)
set(allowed_convert ${allowed_objects} convert)
set(allowed_app ${allowed_convert} app)
set(kCheckedLayers base markup platform document richtext search page objects convert app)

# The layer of a path below the source folder ("document/aehset.h").
function(layer_of path out)
  if(path MATCHES "^platform/qt/")
    set(layer "platform/qt")
  elseif(path MATCHES "^([^/]+)/(.*/)?ui/")
    set(layer "${CMAKE_MATCH_1}/ui")
  elseif(path MATCHES "^([^/]+)/")
    set(layer "${CMAKE_MATCH_1}")
  else()
    set(layer "")
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
list(SORT files)
set(faults "")
set(checked 0)
foreach(file IN LISTS files)
  layer_of("${file}" layer)
  if(NOT layer IN_LIST kCheckedLayers)
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    if(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]|qt|qglobal)")
      list(APPEND faults "${file}: a Qt header in a layer without a user interface: ${line}")
    elseif(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(target "${CMAKE_MATCH_1}")
      # Includes beside the file (no folder) stay inside its layer.
      if(NOT target MATCHES "/")
        continue()
      endif()
      layer_of("${target}" included)
      if(NOT included IN_LIST allowed_${layer})
        list(APPEND faults "${file}: the ${layer} layer includes the ${included} layer: ${line}")
      endif()
    endif()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "No source files found below ${SOURCE_DIR}")
endif()
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Layering faults:\n${text}")
endif()
message(STATUS "Layers: ${checked} files include only the layers below them")
