# The RTF and plain-text converters: RTF and WinHelp export, RTF import, text
# export and import, and what they share (code pages, pictures, the records
# importers make).
target_sources(tarn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/textcodec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/importrecords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pagemarkup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfpicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfimplexer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfimpstate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfimpheader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfimppage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfimpwrite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfimp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfexportwords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/aehtortf.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfexportbody.cpp
  ${CMAKE_CURRENT_LIST_DIR}/aehtotxt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/txtexport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboardformats.cpp
)
