# The application shell: options, translation of window texts, the command
# table, the main window. The program put together: the container's hooks
# into the layers above it.
target_sources(tarn_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/commandtable.cpp ${CMAKE_CURRENT_LIST_DIR}/selectionfeedback.cpp ${CMAKE_CURRENT_LIST_DIR}/compose.cpp ${CMAKE_CURRENT_LIST_DIR}/linkedapplication.cpp)
if(TARN_QT)
  target_sources(tarn_ui PRIVATE
    app/ui/resources.cpp
    app/ui/krlanguager.cpp
    app/ui/pointersets.cpp
    app/ui/formplacement.cpp
    app/ui/fopzprog.cpp
    platform/qt/qtmessages.cpp
    app/ui/tipform.cpp
    app/ui/commandicons.cpp
    app/ui/commandset.cpp
    app/ui/editorcommands.cpp
    app/ui/formatcommands.cpp
    app/ui/exportcommands.cpp
    app/ui/mainform.cpp
    app/ui/windowcommands.cpp
    app/ui/pagenavigation.cpp
    app/ui/linkfollower.cpp
    app/ui/fseparato.cpp
    app/ui/windowfeedback.cpp
    app/ui/toolwindows.cpp
    app/ui/navigationwindow.cpp
    # The export and import dialogs and the export file list.
    app/ui/listhtmltotxview.cpp
    app/ui/transferdialog.cpp
    app/ui/fexp.cpp
    app/ui/fimp.cpp
    app/ui/fscegliaprihtml.cpp
    app/ui/openhtml.cpp
  )
endif()

# Draws the pointer shapes into the resource folder:
#   cmake --build build --target cursors
if(TARN_QT)
  add_executable(tarn-make-cursors app/ui/cursors/make_cursors.cpp)
  target_link_libraries(tarn-make-cursors PRIVATE Qt6::Gui tarn_warnings)
  add_custom_target(cursors
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:tarn-make-cursors>
            ${CMAKE_CURRENT_SOURCE_DIR}/app/ui/cursors
    DEPENDS tarn-make-cursors
    COMMENT "Drawing the pointer shapes")
endif()
