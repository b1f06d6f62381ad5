// The commands of pictures, click zones, form controls, buttons and
// floating frames: inserting them from the Insert menu and the Insertions
// toolbar, the Image menu and the Images toolbar (zones, zoom, links,
// properties), and the popup menus of the objects on the page.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "richtext/formattinglinks.h"

class QWidget;

namespace tarn::document {
class TAEHoggetto;
class TAEHset;
}  // namespace tarn::document
namespace tarn::platform {
class Messages;
}
namespace tarn::richtext::ui {
class TAEHbox;
}
namespace tarn::objects {
class TMyyImage;
class TMyyVisual;
class TMyyZona;
}  // namespace tarn::objects

namespace tarn::app {
enum class SelectedObject;
}

namespace tarn::app::ui {

// What the window shows for an object being edited: its kind for the
// toolbars and menus, and the size and description panels of the status
// bar (false for a text box, which the window describes itself).
SelectedObject SelectedKindOf(QWidget* object, SelectedObject textBox);
bool DescribeObject(QWidget* object, std::string& sizeText, std::string& panelText);

class CommandSet;
class EditorControl;

class InsertCommands : public QObject {
 public:
  struct Host {
    document::TAEHset& set;
    EditorControl& editor;
    platform::Messages& messages;
    QWidget& window;
    // Opens a picture file to insert; the dialog in the program, a fixed
    // answer in tests. Empty: cancelled.
    std::function<std::string()> choosePicture;
  };

  InsertCommands(CommandSet& commands, Host host, QObject* parent);
  ~InsertCommands() override;

  // The object the commands act on: the focused one, or the image of the
  // focused zone.
  objects::TMyyVisual* FocusedObject() const;
  objects::TMyyImage* FocusedImage() const;
  objects::TMyyZona* FocusedZone() const;
  // The text box of the page being edited.
  richtext::ui::TAEHbox* ActiveBox() const;

  // Inserts a picture file at the caret; false when it cannot be read.
  bool InsertPicture(const std::string& path);
  bool InsertFloatingFrame(int page, int widthPercent, int heightPercent);
  // Inserts a form control of a kind 20 subtype (1 edit ... 9 combo).
  bool InsertFormField(int subtype, const std::string& name, const std::string& value);
  bool InsertButton(int subtype, const std::string& caption);
  bool InsertFormStart(const std::string& action);
  // The link of the focused zone: a page of the hypertext, or an address.
  bool SetZoneLinkToPage(int page);
  bool SetZoneLinkToUrl(const std::string& url);
  // "Define link to last inserted anchor": a special link that jumps to
  // the anchor of that number in the current page becomes the zone's link;
  // "Problem detected #3. (Definiscicollancora1)" without a selected zone.
  bool SetZoneLinkToLastAnchor();
  // The special link of the selected zone (a new one when it has none)
  // with the given fields; "Problem detected #2. (DefCollSpecZoneClick)"
  // without a selected zone.
  using SpecialLink = richtext::SpecialLinkFields;
  bool SetZoneSpecialLink(const SpecialLink& fields);
  // The special link of the selected picture (its character's link in the
  // text) with the given fields, one step of the text's undo; "Problem
  // detected #2. (DefCollSpecImageClick)" without a selected picture.
  bool SetImageSpecialLink(const SpecialLink& fields);
  // The number of the anchor inserted last since the program started, -1
  // when none was; the anchor command sets it.
  static int lastInsertedAnchor;

 private:
  void ImageProperties(objects::TMyyVisual& object);
  void ObjectProperties(objects::TMyyVisual& object);
  void ZoneLink();
  void ZoneSpecialLink();
  void ImageSpecialLink();
  // The special link the selected zone has, if any.
  const document::TAEHoggetto* ZoneSpecialLinkRecord() const;
  void FormElement();
  bool InsertRecord(std::unique_ptr<document::TAEHoggetto> record, std::string_view caption);
  bool SetZoneLink(std::unique_ptr<document::TAEHoggetto> link);

  CommandSet& m_commands;
  Host m_host;
};

}  // namespace tarn::app::ui
