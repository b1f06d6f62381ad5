// The screen objects of a page in the editor: one for each kind the class
// table names, pictures painted at their place in the text, resizing and
// click zones with undo, zones followed in preview, form control values.
#include <QComboBox>
#include <QListWidget>
#include <QMainWindow>
#include <QTest>

#include <gtest/gtest.h>

#include "app/compose.h"
#include "app/ui/commandset.h"
#include "app/ui/insertcommands.h"
#include "base/bytes.h"
#include "base/filestream.h"
#include "base/hex.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/imagecodec.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "objects/ui/visual.h"
#include "objects/ui/zone.h"
#include "objects/visual/visualrecord.h"
#include "page/ui/pageview.h"
#include "platform/qt/qtcanvas.h"
#include "platform/system.h"
#include "platform/testing/testplatform.h"
#include "richtext/ui/aehbox.h"
#include "undo/aehundolist.h"

namespace tarn::objects {
namespace {

using document::TAEHoggetto;
using richtext::ui::TAEHbox;
namespace field = document::field;

std::string Tag(const TAEHoggetto& record) {
  std::string out = "<$";
  base::AppendHex(out, static_cast<std::uint32_t>(record.GetId()), 8);
  return out + ">";
}

class VisualFixture : public ::testing::Test {
 protected:
  VisualFixture() : set({&messages, &system, &measurer, &clipboard}), editor(messages) {
    app::Compose(set);
    set.NewHypertext();
    editor.SetClipboard(&clipboard);
    editor.SetLinkedAEHset(&set);
    editor.resize(640, 480);
    editor.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&editor));
  }

  TAEHoggetto* NewRecord(int kind, int subtype) {
    auto record = set.NewObject(kind);
    record->SetSubtype(subtype);
    return set.Register(std::move(record));
  }
  TAEHoggetto* Page(const std::string& markup) {
    auto page = set.NewObject(document::testoHtml);
    page->SetContent(markup + std::string(1, '\0'));
    return set.Register(std::move(page));
  }
  // A placed image of a picture filled with one colour (0xRRGGBB).
  TAEHoggetto* ColouredImage(std::uint32_t colour, int width, int height) {
    base::Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.assign(static_cast<std::size_t>(width * height), 0xFF000000u | colour);
    const auto path = std::filesystem::temp_directory_path() / ("tarn-visual-" + std::to_string(colour) + ".gif");
    base::WriteWholeFile(path, document::EncodeGif(bitmap).value());
    TAEHoggetto* image = set.AddImageFile(path);
    std::filesystem::remove(path);
    EXPECT_NE(image, nullptr);
    TAEHoggetto* placed = set.Register(set.AddImmagineNew(image));
    objects::visual::WriteZones(*placed, {});
    return placed;
  }
  TAEHoggetto* PageLink(const TAEHoggetto& page) {
    TAEHoggetto* link = NewRecord(document::speclink, document::kSpecialToObject);
    link->SetI32(field::kSpecialTarget, page.GetId());
    link->SetU8(field::kSpecialTargetKind, 1);
    link->SetU8(field::kSpecialAction, document::kReplaceWindow);
    link->SetI32(field::kSpecialAnchor, -1);
    return link;
  }
  void Show(int page) {
    editor.SetMainPageNumber(page);
    Settle();
  }
  void Settle() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::sendPostedEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      QCoreApplication::processEvents();
    }
  }
  TAEHbox& Box() { return *editor.BoxOf(*editor.Model().Top()); }
  template <typename T>
  std::vector<T*> Objects() {
    const QList<T*> found = Box().findChildren<T*>(Qt::FindDirectChildrenOnly);
    return std::vector<T*>(found.begin(), found.end());
  }
  TAEHoggetto& WorkingRecord(TMyyVisual& object) { return *object.Record(); }
  undo::TAEHundoList& Undo() { return *undo::UndoListOf(set); }

  platform::testing::RecordingMessages messages;
  platform::HostSystemInfo system;
  platform::qt::QtCanvas measurer;
  platform::testing::MemoryClipboard clipboard;
  document::TAEHset set;
  ui::TInsiemeCornici editor;
};

TEST_F(VisualFixture, EachKindOfTheClassTableGetsItsScreenObject) {
  struct Case {
    int kind;
    int subtype;
    const char* expected;  // "" for none
  };
  const Case cases[] = {
      {16, 0, "TMyyImage"},      {11, 14, "TMyyBelPanel"},    {11, 27, "TMyyBelPanel"},  {20, 5, "TMyyBelPanel"},
      {21, 11, "TMyyBelPanel"},  {23, 1, "TMyyInizioForm"},   {22, 1, "TMyyButton"},     {24, 5, "TMyyMultimedia"},
      {20, 1, "TMyyEdit"},       {20, 2, "TMyyEdit"},         {20, 4, "TMyyMemo"},       {21, 2, "TMyyMemo"},
      {20, 6, "TMyyRadioButton"}, {20, 7, "TMyyCheckBox"},    {20, 8, "TMyyListBox"},    {21, 6, "TMyyListBox"},
      {20, 9, "TMyyComboBox"},   {21, 7, "TMyyComboBox"},     {20, 18, "TMyyFloating"},  {20, 10, ""},
      {11, 16, ""},
  };
  std::string markup = "<Z S0 >";
  std::vector<std::string> expected;
  for (const Case& c : cases) {
    TAEHoggetto* record = c.kind == 16 ? ColouredImage(0x00FF00, 4, 4) : NewRecord(c.kind, c.subtype);
    if (c.kind == 22) record->SetI32(field::kButtonImage, -1);
    markup += Tag(*record) + " ";
    if (*c.expected != '\0') expected.push_back(c.expected);
  }
  Page(markup);
  Show(0);
  std::vector<std::string> made;
  for (const auto& p : Box().Text().Text().paragraphs) {
    for (int c = 0; c < p->Length(); ++c) {
      const std::int32_t o = p->infos[static_cast<std::size_t>(c)].object;
      if (o < 0) continue;
      for (TMyyVisual* v : Objects<TMyyVisual>()) {
        if (v->Embedded() == p->objects[static_cast<std::size_t>(o)]) made.push_back(v->objectName().toStdString());
      }
    }
  }
  EXPECT_EQ(made, expected);
}

TEST_F(VisualFixture, AnImageIsPaintedAtItsPlaceInTheText) {
  TAEHoggetto* placed = ColouredImage(0xFF0000, 12, 8);
  Page("<Z S0 >Red " + Tag(*placed) + " picture");
  Show(0);
  auto images = Objects<TMyyImage>();
  ASSERT_EQ(images.size(), 1u);
  TMyyImage& image = *images.front();
  EXPECT_TRUE(image.isVisible());
  EXPECT_EQ(image.size(), QSize(12, 8));
  // Right of the word before it, on the first line.
  EXPECT_GT(image.x(), 10);
  const QImage shot = Box().grab().toImage();
  const QColor middle = shot.pixelColor(image.geometry().center());
  EXPECT_EQ(middle, QColor(255, 0, 0));
  EXPECT_NE(shot.pixelColor(image.x() - 3, image.geometry().center().y()), QColor(255, 0, 0));
}

TEST_F(VisualFixture, AnUndecodablePictureShowsAFramedBoxWithItsName) {
  // An old document's picture whose bytes are damaged.
  auto broken = set.NewObject(document::immagine);
  broken->SetName("broken");
  broken->SetFileName("broken.gif");
  broken->SetContent("GIF89a not really a picture");
  TAEHoggetto* image = set.Register(std::move(broken));
  ASSERT_NE(image, nullptr);
  TAEHoggetto* placed = set.Register(set.AddImmagineNew(image));
  placed->SetI16(field::kPlacedWidth, 80);
  placed->SetI16(field::kPlacedHeight, 40);
  Page("<Z S0 >" + Tag(*placed));
  Show(0);
  auto images = Objects<TMyyImage>();
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images.front()->size(), QSize(80, 40));
  const QImage shot = images.front()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(0, 20), QColor(128, 128, 128));  // the frame
}

TEST_F(VisualFixture, ResizingAnImageScalesItsZonesAndUndoRestoresTheRecord) {
  TAEHoggetto* placed = ColouredImage(0x0000FF, 200, 100);
  objects::visual::WriteZones(*placed, {{0, 20, 10, 60, 40}});
  // A floating frame on the page paints another page at every paint; that
  // once emptied the undo steps.
  TAEHoggetto* frame = NewRecord(document::inputStat, field::kFloatingFrame);
  frame->SetI32(field::kFrameTarget, 1);
  frame->SetI16(field::kFrameWidth, 200);
  frame->SetI16(field::kFrameHeight, 80);
  Page("<Z S0 >" + Tag(*placed) + "<Z S0 >" + Tag(*frame));
  Page("<Z S0 >Shown in the frame");
  Show(0);
  // With the window active, focus changes happen as for a user: a click on
  // a handle once handed the focus to the text box below and lost the drag.
  editor.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
  TMyyImage& image = *Objects<TMyyImage>().front();
  QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(5, 5));
  Settle();
  ASSERT_TRUE(image.hasFocus());
  ASSERT_TRUE(image.Selected());
  // Drag the bottom-right handle 100 left and 50 up; the status bar hears
  // of the new size when the drag ends.
  std::vector<QWidget*> told;
  editor.OnSelectionChange = [&told](QWidget* object) { told.push_back(object); };
  TDragBorder* handle = image.Group().Handle(4);
  ASSERT_NE(handle, nullptr);
  const QPoint from = handle->rect().center();
  QTest::mousePress(handle, Qt::LeftButton, {}, from);
  QTest::mouseMove(handle, from + QPoint(-50, -25));
  QTest::mouseMove(handle, from + QPoint(-100, -50));
  QTest::mouseRelease(handle, Qt::LeftButton, {}, from + QPoint(-100, -50));
  Settle();
  ASSERT_EQ(image.size(), QSize(100, 50));
  EXPECT_NE(std::find(told.begin(), told.end(), &image), told.end());
  editor.OnSelectionChange = nullptr;
  TAEHoggetto& record = WorkingRecord(image);
  EXPECT_EQ(record.I16(field::kPlacedWidth), 100);
  ASSERT_EQ(image.Zones().size(), 1u);
  EXPECT_EQ(image.Zones().front()->geometry(), QRect(10, 5, 30, 20));
  (void)Box().grab();
  ASSERT_TRUE(Undo().CanUndo());
  EXPECT_EQ(Undo().UndoCount(), 1);

  Undo().Undo();
  Settle();
  EXPECT_EQ(record.I16(field::kPlacedWidth), 200);
  EXPECT_EQ(record.I16(field::kPlacedHeight), 100);
  EXPECT_EQ(image.size(), QSize(200, 100));
  EXPECT_EQ(image.Zones().front()->geometry(), QRect(20, 10, 60, 40));
  Undo().Redo();
  Settle();
  EXPECT_EQ(record.I16(field::kPlacedWidth), 100);
  EXPECT_EQ(image.Zones().front()->geometry(), QRect(10, 5, 30, 20));
}

TEST_F(VisualFixture, ZonesAreAddedMovedStackedDeletedAndUndone) {
  TAEHoggetto* placed = ColouredImage(0x808080, 200, 100);
  Page("<Z S0 >" + Tag(*placed));
  Show(0);
  TMyyImage& image = *Objects<TMyyImage>().front();
  TAEHoggetto& record = WorkingRecord(image);
  // A click beyond the picture's width puts the new zone inside it.
  QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(195, 10));
  TMyyZona* first = image.AddZone();
  EXPECT_EQ(first->pos(), QPoint(195, 10));
  TMyyZona* second = image.AddZone();
  ASSERT_EQ(image.Zones().size(), 2u);
  EXPECT_EQ(image.Zones().front(), second);  // added at the start of the list

  // A 4-pixel nudge is no move; 30 pixels is.
  const QPoint press(5, 5);
  QTest::mousePress(first, Qt::LeftButton, {}, press);
  QTest::mouseMove(first, press + QPoint(4, 0));
  EXPECT_FALSE(first->IsMoving());
  QTest::mouseMove(first, press + QPoint(-30, 20));
  EXPECT_TRUE(first->IsMoving());
  QTest::mouseRelease(first, Qt::LeftButton, {}, press + QPoint(-30, 20));
  Settle();
  EXPECT_EQ(first->pos(), QPoint(165, 30));

  image.BringZoneToFront(second);
  EXPECT_EQ(image.Zones().back(), second);
  image.WriteToRecord();
  // The front zone is entry 0.
  EXPECT_EQ(record.I16(field::kPlacedZones + field::kZoneLeft), second->x());

  const int steps = Undo().UndoCount();
  EXPECT_EQ(steps, 4);  // add, add, move, bring to front
  image.DeleteZone(first);
  Settle();
  EXPECT_EQ(image.Zones().size(), 1u);
  Undo().Undo();
  Settle();
  ASSERT_EQ(image.Zones().size(), 2u);
  EXPECT_EQ(image.Zones().front()->pos(), QPoint(165, 30));
  Undo().Undo();  // the stacking
  Undo().Undo();  // the move
  Settle();
  std::vector<QPoint> places;
  for (TMyyZona* zone : image.Zones()) places.push_back(zone->pos());
  EXPECT_NE(std::find(places.begin(), places.end(), QPoint(195, 10)), places.end());
}

TEST_F(VisualFixture, AZoneFollowsItsLinkInPreviewAndPastesOffsetByFive) {
  TAEHoggetto* placed = ColouredImage(0x00FFFF, 120, 60);
  Page("<Z S0 >Map " + Tag(*placed));
  TAEHoggetto* second = Page("<Z S0 >Second page");
  objects::visual::WriteZones(*placed, {{PageLink(*second)->GetId(), 60, 0, 60, 60}});
  Show(0);
  {
    TMyyImage& image = *Objects<TMyyImage>().front();
    ASSERT_EQ(image.Zones().size(), 1u);
    const std::string copied = image.CopyZone(*image.Zones().front());
    TMyyZona* pasted = image.PasteZone(copied);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->pos(), QPoint(65, 5));
    TMyyZona* again = image.PasteZone(copied);
    EXPECT_EQ(again->pos(), QPoint(65, 5));
    EXPECT_EQ(again->Link(), image.Zones().back()->Link());
  }
  editor.SetReadOnly(true);
  Settle();
  TMyyImage& image = *Objects<TMyyImage>().front();
  ASSERT_FALSE(image.Zones().empty());
  TMyyZona* zone = image.Zones().back();
  QTest::mouseClick(zone, Qt::LeftButton, {}, QPoint(10, 10));
  Settle();
  EXPECT_EQ(editor.MainPageNumber(), 1);
}

TEST_F(VisualFixture, FormControlsTakeAndGiveTheirValues) {
  TAEHoggetto* form = NewRecord(document::inizioForm, field::kFormGet);
  TAEHoggetto* edit = NewRecord(document::inputStat, field::kFieldEdit);
  edit->SetStr(field::kFieldValue, field::kFieldValueCapacity, "first");
  edit->SetU8(field::kFieldHasValue, 1);
  edit->SetU8(field::kFieldSize, 10);
  TAEHoggetto* check = NewRecord(document::inputStat, field::kFieldCheckBox);
  check->SetStr(field::kFieldValue, field::kFieldValueCapacity, "yes");
  check->SetU8(field::kFieldChecked, 0);
  TAEHoggetto* radio = NewRecord(document::inputStat, field::kFieldRadio);
  radio->SetStr(field::kFieldValue, field::kFieldValueCapacity, "r1");
  radio->SetU8(field::kFieldChecked, 0);
  TAEHoggetto* list = NewRecord(document::inputStat, field::kFieldList);
  list->SetU8(field::kFieldSize, 3);
  list->SetU8(field::kFieldMultiple, 0);
  list->SetContent("A\r\na\r\nn\r\nB\r\nb\r\nn\r\n");
  TAEHoggetto* combo = NewRecord(document::inputStat, field::kFieldCombo);
  combo->SetContent("A\r\na\r\nn\r\nB\r\nb\r\nN\r\n");
  TAEHoggetto* reset = NewRecord(document::bottoneCGI, field::kButtonReset);
  reset->SetStr(field::kFieldValue, field::kFieldValueCapacity, "Clear");
  reset->SetI32(field::kButtonImage, -1);
  reset->SetI32(field::kButtonLink, -1);
  Page("<Z S0 >" + Tag(*form) + Tag(*edit) + " " + Tag(*check) + " " + Tag(*radio) + " " + Tag(*list) + " " +
       Tag(*combo) + " " + Tag(*reset));
  Show(0);
  editor.SetReadOnly(true);
  Settle();
  TMyyEdit& e = *Objects<TMyyEdit>().front();
  TMyyCheckBox& c = *Objects<TMyyCheckBox>().front();
  TMyyRadioButton& r = *Objects<TMyyRadioButton>().front();
  TMyyListBox& l = *Objects<TMyyListBox>().front();
  TMyyComboBox& k = *Objects<TMyyComboBox>().front();
  EXPECT_EQ(e.GetValue(), "first");
  EXPECT_EQ(l.GetValue(), "");  // no flagged item: no selection
  EXPECT_EQ(k.GetValue(), "a");  // a combo box shows its first item
  EXPECT_EQ(c.GetValue(), "");

  e.SetValue("changed");
  QTest::mouseClick(&c, Qt::LeftButton);
  QTest::mouseClick(&r, Qt::LeftButton);
  QTest::mouseClick(&r, Qt::LeftButton);
  EXPECT_EQ(c.GetValue(), "yes");
  EXPECT_EQ(r.GetValue(), "r1");  // a radio button clicked twice stays checked
  l.SetValue("b");
  EXPECT_EQ(l.GetValue(), "b");
  k.SetValue("b");
  EXPECT_EQ(k.GetValue(), "b");

  // The reset button puts back the values the records give.
  Objects<TMyyButton>().front()->ActivateLink();
  EXPECT_EQ(e.GetValue(), "first");
  EXPECT_EQ(c.GetValue(), "");
  EXPECT_EQ(k.GetValue(), "a");
}

TEST_F(VisualFixture, InsertedPicturesAndControlsStandAtTheCaretAndUndoTakesThemOut) {
  Page("<Z S0 >Start end");
  Show(0);
  QMainWindow window;
  app::ui::CommandSet commands(window, [](const app::CommandEntry&) {});
  base::Bitmap bitmap;
  bitmap.width = 30;
  bitmap.height = 20;
  bitmap.pixels.assign(600, 0xFF00FF00u);
  const auto path = std::filesystem::temp_directory_path() / "tarn-insert.gif";
  base::WriteWholeFile(path, document::EncodeGif(bitmap).value());
  app::ui::InsertCommands inserts(commands, {set, editor, messages, window, [&] { return path.string(); }}, nullptr);
  TAEHbox& box = Box();
  box.setFocus();
  box.SelectRange({box.Text().FirstOwn(), 6}, {box.Text().FirstOwn(), 6});
  ASSERT_TRUE(inserts.InsertPicture(path.string()));
  Settle();
  std::filesystem::remove(path);
  auto images = Objects<TMyyImage>();
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images.front()->size(), QSize(30, 20));
  EXPECT_TRUE(images.front()->isVisible());
  const richtext::TAEHparag& p = box.Text().Paragraph(box.Text().FirstOwn());
  EXPECT_EQ(p.Length(), 10);
  EXPECT_GE(p.infos[6].object, 0);

  ASSERT_TRUE(inserts.InsertFormField(field::kFieldCheckBox, "more", "yes"));
  ASSERT_TRUE(inserts.InsertFloatingFrame(0, 50, 20));
  Settle();
  EXPECT_EQ(Objects<TMyyCheckBox>().size(), 1u);
  EXPECT_EQ(Objects<TMyyFloating>().size(), 1u);
  EXPECT_EQ(box.Text().Paragraph(box.Text().FirstOwn()).Length(), 12);

  // Each insertion is one step.
  Undo().Undo();
  Undo().Undo();
  Undo().Undo();
  Settle();
  EXPECT_EQ(box.Text().Paragraph(box.Text().FirstOwn()).text, "Start end");
  // Written back, the page keeps what is in its text only.
  Undo().Redo();
  Settle();
  editor.SetMainPageNumber(-1);
  Settle();
  const std::string stored = static_cast<document::TAEHtesto*>(set.GetObject(document::testoHtml, 0))->Markup();
  EXPECT_NE(stored.find("Start "), std::string::npos);
  EXPECT_EQ(std::count(stored.begin(), stored.end(), '$'), 1);
}

TEST_F(VisualFixture, APictureWithZonesCopiedToAnotherPageKeepsItsZonesAndUndoTakesItOut) {
  TAEHoggetto* placed = ColouredImage(0xFF00FF, 80, 40);
  Page("<Z S0 >Second page");
  Page("<Z S0 >Map " + Tag(*placed) + " here");
  TAEHoggetto* third = Page("<Z S0 >Third page");
  objects::visual::WriteZones(*placed, {{PageLink(*third)->GetId(), 0, 0, 40, 40}, {0, 40, 0, 40, 40}});
  Show(1);
  {
    TAEHbox& box = Box();
    const int p = box.Text().FirstOwn();
    box.SelectRange({p, 4}, {p, 5});
    box.Copy();
  }
  Show(0);
  TAEHbox& box = Box();
  const int p = box.Text().FirstOwn();
  box.SelectRange({p, 6}, {p, 6});
  box.Paste();
  Settle();
  auto images = Objects<TMyyImage>();
  ASSERT_EQ(images.size(), 1u);
  ASSERT_EQ(images.front()->Zones().size(), 2u);
  EXPECT_NE(images.front()->Record(), placed);
  EXPECT_TRUE(images.front()->isVisible());
  EXPECT_EQ(images.front()->size(), QSize(80, 40));
  EXPECT_EQ(box.Text().Paragraph(p).text, "Second  page");
  Undo().Undo();
  Settle();
  EXPECT_EQ(box.Text().Paragraph(p).text, "Second page");
  Undo().Redo();
  Settle();
  ASSERT_EQ(Objects<TMyyImage>().size(), 1u);
  EXPECT_TRUE(Objects<TMyyImage>().front()->isVisible());
  // Written back, the page keeps a picture of its own whose zones link as
  // the copied ones did; in preview the zone follows its link.
  editor.SetMainPageNumber(-1);
  Settle();
  const std::string stored = static_cast<document::TAEHtesto*>(set.GetObject(document::testoHtml, 0))->Markup();
  const std::size_t at = stored.find("<$10");
  ASSERT_NE(at, std::string::npos);
  const auto id = static_cast<document::ObjectId>(std::stoul(stored.substr(at + 2, 8), nullptr, 16));
  // The source page was written back when it was left, so its picture is
  // found through its own stored text (the first record may be gone).
  const std::string source = static_cast<document::TAEHtesto*>(set.GetObject(document::testoHtml, 1))->Markup();
  const std::size_t sourceAt = source.find("<$10");
  ASSERT_NE(sourceAt, std::string::npos);
  EXPECT_NE(id, static_cast<document::ObjectId>(std::stoul(source.substr(sourceAt + 2, 8), nullptr, 16)));
  const auto zones = objects::visual::ReadZones(*set.GetObjectById(id));
  ASSERT_EQ(zones.size(), 2u);
  EXPECT_EQ(document::FollowSpecialLink(*set.GetObjectById(zones[0].link)), third);
  Show(0);
  editor.SetReadOnly(true);
  Settle();
  TMyyImage& shown = *Objects<TMyyImage>().front();
  ASSERT_EQ(shown.Zones().size(), 2u);
  TMyyZona* linked = nullptr;
  for (TMyyZona* zone : shown.Zones()) {
    if (zone->pos().x() == 0) linked = zone;
  }
  ASSERT_NE(linked, nullptr);
  QTest::mouseClick(linked, Qt::LeftButton, {}, QPoint(10, 10));
  Settle();
  EXPECT_EQ(editor.MainPageNumber(), 2);
}

TEST_F(VisualFixture, ZoneSpecialLinkAndLastAnchorCommands) {
  TAEHoggetto* placed = ColouredImage(0x0000FF, 80, 40);
  objects::visual::WriteZones(*placed, {{0, 0, 0, 40, 40}});
  Page("<Z S0 >Map " + Tag(*placed));
  Page("<Z S0 >Next");
  Show(0);
  QMainWindow window;
  app::ui::CommandSet commands(window, [](const app::CommandEntry&) {});
  app::ui::InsertCommands inserts(commands, {set, editor, messages, window, [] { return std::string(); }}, nullptr);
  app::ui::InsertCommands::lastInsertedAnchor = -1;
  // Without a selected zone both commands only report.
  Box().setFocus();
  EXPECT_FALSE(inserts.SetZoneLinkToLastAnchor());
  EXPECT_TRUE(messages.Saw("Problem detected #3. (Definiscicollancora1)"));
  EXPECT_FALSE(inserts.SetZoneSpecialLink({}));
  EXPECT_TRUE(messages.Saw("Problem detected #2. (DefCollSpecZoneClick)"));

  TMyyImage& image = *Objects<TMyyImage>().front();
  TMyyZona* zone = image.Zones().front();
  zone->setFocus();
  Settle();
  // No anchor inserted yet: the command is not offered and does nothing.
  EXPECT_FALSE(inserts.SetZoneLinkToLastAnchor());
  app::ui::InsertCommands::lastInsertedAnchor = 3;
  ASSERT_TRUE(inserts.SetZoneLinkToLastAnchor());
  const TAEHoggetto* anchorLink = page::ui::PageBox::LinkRecord(Box(), zone->Link());
  ASSERT_NE(anchorLink, nullptr);
  EXPECT_EQ(anchorLink->Kind(), document::speclink);
  EXPECT_EQ(anchorLink->I32(field::kSpecialAnchor), 3);
  EXPECT_EQ(anchorLink->I32(field::kSpecialTarget), -1);
  EXPECT_EQ(anchorLink->U8(field::kSpecialAction), document::kAnchorInPage);

  app::ui::InsertCommands::SpecialLink next;
  next.subtype = document::kSpecialNext;
  ASSERT_TRUE(inserts.SetZoneSpecialLink(next));
  const TAEHoggetto* nextLink = page::ui::PageBox::LinkRecord(Box(), zone->Link());
  ASSERT_NE(nextLink, nullptr);
  EXPECT_EQ(nextLink->Subtype(), document::kSpecialNext);
  // Each change of the zone's link is one step of the image.
  EXPECT_EQ(Undo().UndoCount(), 2);
  app::ui::InsertCommands::lastInsertedAnchor = -1;

  // The picture's own special link is its character's link in the text,
  // one step of the text's undo.
  const std::string before = Box().SaveText();
  image.setFocus();
  Settle();
  app::ui::InsertCommands::SpecialLink toPage;
  toPage.page = 1;
  toPage.anchor = 2;
  ASSERT_TRUE(inserts.SetImageSpecialLink(toPage));
  const TMyyVisual::Place place = image.FindInText();
  const std::int32_t value = Box().Text().Paragraph(place.paragraph).infos[static_cast<std::size_t>(place.character)].link;
  const TAEHoggetto* imageLink = page::ui::PageBox::LinkRecord(Box(), value);
  ASSERT_NE(imageLink, nullptr);
  EXPECT_EQ(imageLink->Subtype(), document::kSpecialToObject);
  EXPECT_EQ(imageLink->I32(field::kSpecialTarget), 1);
  EXPECT_EQ(imageLink->I32(field::kSpecialAnchor), 2);
  EXPECT_EQ(Undo().UndoCount(), 3);
  Undo().Undo();
  EXPECT_EQ(Box().SaveText(), before);
}

}  // namespace
}  // namespace tarn::objects
