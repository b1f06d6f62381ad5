# Tables: the record, the grid layout and the display-less table in the
# core; the screen table, its dialogs and commands in the widget library.
target_sources(tarn_core PRIVATE
  richtext/tablerecord.cpp
  richtext/tablelayout.cpp
  richtext/tableobject.cpp
  richtext/tableclipboard.cpp
  page/tablecontainer.cpp
  page/tablecontainer.h
)
if(TARN_QT)
  target_sources(tarn_ui PRIVATE
    objects/ui/tablebox.cpp
    objects/ui/tablebox.h
    richtext/ui/aehbox_tables.cpp
    objects/ui/tabledialogs.cpp
    objects/ui/tabledialogs.h
    app/ui/tablecommands.cpp
    app/ui/tablecommands.h
  )
endif()
