# Formatting commands: character formats, links and paragraph commands in
# the core; the box's formatting side, the Format and Paragraphs toolbars
# and the link dialog in the widget library.
target_sources(tarn_core PRIVATE
  richtext/formatting.cpp
  richtext/formatting.h
  richtext/formattingstyles.cpp
  richtext/formattingstyles.h
  richtext/formattinglinks.cpp
  richtext/formattinglinks.h
  page/containerrecords.cpp
  page/containerrecords.h
)
if(TARN_QT)
  target_sources(tarn_ui PRIVATE
    richtext/ui/aehbox_format.cpp
    app/ui/formattoolbars.cpp
    app/ui/formattoolbars.h
    app/ui/anchordialog.cpp
    app/ui/anchordialog.h
    app/ui/speciallinkdialog.cpp
    app/ui/speciallinkdialog.h
    app/ui/pagepropertiesdialog.cpp
    app/ui/pagepropertiesdialog.h
    app/ui/linkdialog.cpp
    app/ui/linkdialog.h
    app/ui/paragraphdialog.cpp
    app/ui/paragraphdialog.h
    app/ui/stylesdialog.cpp
    app/ui/stylesdialog.h
  )
endif()
