target_sources(tarn_tests PRIVATE app/spellsettings_test.cpp app/documentfiles_test.cpp app/commandtable_test.cpp
  app/linkedapplication_test.cpp app/selectionfeedback_test.cpp)
target_include_directories(tarn_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
if(TARN_QT)
  target_sources(tarn_ui_tests PRIVATE
    app/ui/krlanguager_test.cpp
    app/ui/fopzprog_test.cpp
    app/ui/pointersets_test.cpp
    app/ui/mainform_test.cpp
    app/ui/windowtables_test.cpp
    app/ui/navigationfixture.cpp
    app/ui/navigation_test.cpp
    app/ui/fexp_test.cpp
  )
  target_compile_definitions(tarn_ui_tests PRIVATE TARN_SAMPLE="${PROJECT_SOURCE_DIR}/samples/sample.aeh")
endif()

# Writes the hypertexts of the navigation tests into a folder, to try the
# main window by hand (not a test):
#   build/tests/tarn_navdemo FOLDER && build/apps/tarn FOLDER/navigation.aeh
if(TARN_QT)
  add_executable(tarn_navdemo app/ui/navdemo.cpp app/ui/navigationfixture.cpp)
  target_include_directories(tarn_navdemo PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(tarn_navdemo PRIVATE tarn_core tarn_warnings)
endif()

# Shows the options dialog in a real window for a screenshot (not a test).
if(TARN_QT)
  add_executable(tarn_showoptions app/ui/showoptions.cpp)
  target_include_directories(tarn_showoptions PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(tarn_showoptions PRIVATE tarn_ui tarn_warnings)
endif()

if(TARN_QT)
  add_test(NAME examples_placed
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/app/examples_test.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE_DIR:tarn>)
endif()

add_test(NAME cli_command_table
  COMMAND ${CMAKE_COMMAND} -E env TARN_CLI=$<TARGET_FILE:tarn-cli> TARN_SAMPLE=${PROJECT_SOURCE_DIR}/samples/sample.aeh
          bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/commands_test.sh)
