# The export and import runs of the dialogs, the export file list, and DOC
# documents through the word processor; the dialogs themselves.
target_sources(tarn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/listhtmltotx.cpp
  ${CMAKE_CURRENT_LIST_DIR}/docconvert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exportjob.cpp
  ${CMAKE_CURRENT_LIST_DIR}/importjob.cpp
)
