// The hypertext with every kind of placed object; see objectsite.h.
#include "convert/objectsite.h"

#include <cstdio>

#include "base/bytes.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"
#include "richtext/styles.h"

namespace tarn::testing {
namespace {

using namespace document;
using namespace document::field;

class Builder {
 public:
  Builder(TAEHset& set, const std::filesystem::path& scratch) : m_set(set), m_scratch(scratch) {}

  TAEHoggetto* Page(const std::string& title) {
    auto page = m_set.NewObject(testoHtml);
    page->SetName(title);
    return m_set.Register(std::move(page));
  }

  static void SetText(TAEHoggetto* page, const std::string& markup) { page->SetContent(markup + std::string(1, '\0')); }

  TAEHoggetto* Object(int kind, int subtype) {
    auto object = m_set.NewObject(kind);
    object->SetSubtype(subtype);
    return m_set.Register(std::move(object));
  }

  TAEHoggetto* Picture(const std::string& name, int width, int height) {
    WriteFile(m_scratch / name, SmallGif(width, height));
    return m_set.AddImageData(m_scratch / name, false, height, width);
  }

  TAEHoggetto* File(const std::string& name, const std::string& bytes) {
    WriteFile(m_scratch / name, bytes);
    return m_set.AddEmbeddedFile(m_scratch / name);
  }

  TAEHoggetto* Special(int subtype, ObjectId target, int action, const std::string& window, int anchor = -1) {
    TAEHoggetto* link = Object(speclink, subtype);
    link->SetI32(kSpecialTarget, target);
    link->SetU8(kSpecialTargetKind, 1);
    link->SetU8(kSpecialAction, static_cast<std::uint8_t>(action));
    link->SetI32(kSpecialAnchor, anchor);
    link->SetStr(kSpecialWindow, kSpecialWindowCapacity, window);
    return link;
  }

  // A special link to a page of its own window: 300 x 200 at (20, 10),
  // resizable, with scroll bars.
  TAEHoggetto* Popup(ObjectId target, const std::string& window) {
    TAEHoggetto* link = Special(1, target, kIndependentWindow, window);
    link->SetU8(kSpecialTargetKind, 0);
    std::string description(kWindowDescriptionSize, '\0');
    const std::int16_t words[] = {10, 20, 300, 200, -20000, 0};
    for (std::size_t i = 0; i < 6; ++i) {
      description[2 * i] = static_cast<char>(words[i] & 0xFF);
      description[2 * i + 1] = static_cast<char>((words[i] >> 8) & 0xFF);
    }
    for (std::size_t at : {18u, 19u}) description[at] = 1;
    link->SetContent(description);
    return link;
  }

  static std::string Extra(const std::string& text) { return std::string(4, '\0') + text; }

  TAEHoggetto* Table(int rows, int columns) {
    TAEHoggetto* table = Object(tabellaHtml, kTableNew);
    table->SetU8(kTableRows, static_cast<std::uint8_t>(rows));
    table->SetU8(kTableColumns, static_cast<std::uint8_t>(columns));
    return table;
  }

  TAEHoggetto* Placed(TAEHoggetto* image, int width, int height, const std::string& alt) {
    TAEHoggetto* placed = m_set.Register(m_set.AddImmagineNew(image));
    placed->SetI16(kPlacedWidth, static_cast<std::int16_t>(width));
    placed->SetI16(kPlacedHeight, static_cast<std::int16_t>(height));
    placed->SetStr(kPlacedAltText, kPlacedAltTextCapacity, alt);
    return placed;
  }

  static void Zone(TAEHoggetto* placed, int entry, ObjectId link, int left, int top, int width, int height) {
    const int at = kPlacedZones + entry * kZoneSize;
    placed->SetI32(at, link);
    placed->SetI32(at + 4, 0);
    placed->SetI16(at + kZoneLeft, static_cast<std::int16_t>(left));
    placed->SetI16(at + kZoneTop, static_cast<std::int16_t>(top));
    placed->SetI16(at + kZoneWidth, static_cast<std::int16_t>(width));
    placed->SetI16(at + kZoneHeight, static_cast<std::int16_t>(height));
  }

  // A form field of the subtype with every byte the export reads set.
  TAEHoggetto* Field(int subtype, const std::string& name, const std::string& value, bool valueShown = false,
                     bool checked = false, int size = 0) {
    TAEHoggetto* field = Object(inputStat, subtype);
    field->SetStr(kObjectName, kFormNameCapacity, name);
    field->SetStr(kFieldValue, kFieldValueCapacity, value);
    field->SetU8(kFieldHasValue, valueShown ? 1 : 0);
    field->SetU8(kFieldChecked, checked ? 1 : 0);
    field->SetU8(kFieldSize, static_cast<std::uint8_t>(size));
    field->SetU8(kFieldMultiple, 0);
    return field;
  }

  TAEHoggetto* Button(int subtype, const std::string& name, const std::string& caption, ObjectId image = -1,
                      ObjectId link = -1) {
    TAEHoggetto* button = Object(bottoneCGI, subtype);
    button->SetStr(kObjectName, kFormNameCapacity, name);
    button->SetStr(kFieldValue, kFieldValueCapacity, caption);
    button->SetI32(kButtonImage, image);
    button->SetI32(kButtonLink, link);
    for (int at : {kButtonNaturalWidth, kButtonWidth}) button->SetI16(at, 60);
    for (int at : {kButtonNaturalHeight, kButtonHeight}) button->SetI16(at, 20);
    return button;
  }

  TAEHoggetto* FormStart(int subtype, const std::string& action, const std::string& encoding) {
    TAEHoggetto* form = Object(inizioForm, subtype);
    form->SetStr(kObjectName, kFormStartNameCapacity, action);
    form->SetStr(kFormEncoding, kFormEncodingCapacity, encoding);
    return form;
  }

  TAEHoggetto* Media(int subtype, ObjectId reference, bool looping, int repetitions, int width, int height,
                     bool percent = false, ObjectId altImage = -1) {
    TAEHoggetto* media = Object(multiMedia, subtype);
    media->SetI32(kMediaReference, reference);
    media->SetI32(kMediaAltImage, altImage);
    media->SetU8(kMediaHideButtons, looping ? 1 : 0);
    media->SetU8(kMediaRepetitions, static_cast<std::uint8_t>(repetitions));
    media->SetI16(kMediaRepetitionsLeft, static_cast<std::int16_t>(repetitions));
    media->SetI16(kMediaWidth, static_cast<std::int16_t>(width));
    media->SetI16(kMediaHeight, static_cast<std::int16_t>(height));
    media->SetU8(kMediaPercent, percent ? 1 : 0);
    return media;
  }

  TAEHoggetto* Frame(const std::string& name, ObjectId page, bool nested, int width, int height, bool percent) {
    TAEHoggetto* frame = Object(inputStat, kFloatingFrame);
    frame->SetStr(kObjectName, kFormNameCapacity, name);
    frame->SetI32(kFrameTarget, page);
    frame->SetI32(kFrameImage, -1);
    frame->SetU8(kFrameShowNested, nested ? 1 : 0);
    frame->SetU8(kFrameAutoJump, 1);
    frame->SetU8(kFramePercent, percent ? 1 : 0);
    frame->SetI16(kFrameWidth, static_cast<std::int16_t>(width));
    frame->SetI16(kFrameHeight, static_cast<std::int16_t>(height));
    return frame;
  }

  TAEHset& m_set;
  std::filesystem::path m_scratch;
};

}  // namespace

std::string ObjectTag(ObjectId id) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "<$%08x>", static_cast<unsigned>(id));
  return buf;
}

ObjectSite BuildObjectSite(TAEHset& set, const std::filesystem::path& scratch) {
  Builder b(set, scratch);
  ObjectSite site;
  auto tag = [](const TAEHoggetto* record) { return ObjectTag(record->GetId()); };
  auto hex8 = [](ObjectId id) { return ObjectTag(id).substr(2, 8); };

  {
    using namespace richtext::stylefield;
    auto heading = set.NewObject(stileParagrafo);
    heading->SetName("Heading");
    heading->SetStr(kFace, kFaceCapacity, "Arial");
    heading->SetI16(kSize, 16);
    heading->SetU8(kStyleBits, 1);
    set.Register(std::move(heading));
  }
  TAEHoggetto* lake = b.Picture("lake.gif", 40, 24);
  TAEHoggetto* low = b.Picture("lake-low.gif", 20, 12);
  TAEHoggetto* over = b.Picture("lake-over.gif", 40, 25);
  TAEHoggetto* face = b.Picture("button.gif", 30, 10);
  TAEHoggetto* tile = b.Picture("tile.gif", 8, 8);
  site.pictures = {lake, low, over, face, tile};

  const char* names[] = {"Objects", "Tables", "Image", "Form", "Media", "Frames", "Scripts", "Target"};
  for (const char* name : names) site.pages.push_back({name, b.Page(name)});
  auto page = [&](int i) { return site.pages[static_cast<std::size_t>(i)].record; };
  set.SetHeaderI32(header::kCoverPage, 0);

  // ---- Contents ----
  std::string contents = "<Z S2 >Every object kind<Z S0 >";
  for (int i = 1; i < 7; ++i) contents += tag(page(i)) + names[i] + "<%>" + (i < 6 ? ", " : ".");
  Builder::SetText(page(0), contents);

  // ---- Tables ----
  TAEHoggetto* grid = b.Table(2, 2);
  grid->SetU8(kTableWidthPercent, 80);
  grid->SetU8(kTableBorder, 1);
  grid->SetU8(kTablePadding, 4);
  grid->SetI32(kTableBackground, 0xE0FFFF);
  grid->SetU8(kTableColumnKinds + 0, kColumnPercent);
  grid->SetI16(kTableColumnSizes + 0, 50);
  grid->SetU8(kTableColumnKinds + 1, kColumnPixels);
  grid->SetI16(kTableColumnSizes + 2, 120);
  grid->SetExtra(Builder::Extra("ID=\"grid\""));
  std::string cells;
  for (std::int32_t v : {0x0000FF, kBackgroundImage | tile->Index(), -1, 0xFF0000}) base::AppendI32(cells, v);
  grid->SetContent(cells);
  TAEHoggetto* outer = b.Table(1, 2);
  outer->SetU8(kTablePercentWidth, 0);
  outer->SetI16(kTablePixelWidth, 300);
  outer->SetU8(kTableVerticalAlignment, 1);
  for (int c = 0; c < 2; ++c) outer->SetU8(kTableColumnKinds + c, kColumnFree);
  TAEHoggetto* inner = b.Table(1, 1);
  inner->SetU8(kTableBorder, 2);
  inner->SetU8(kTableVerticalAlignment, 2);
  inner->SetI16(kTableColumnSizes, 80);
  Builder::SetText(page(1), "<Z S2 >Tables<Z S0 >Two by two, with backgrounds:<Z S0 >" + tag(grid) +
                                "<Z S1 >red<T><Z S1 >tiled<T><Z S1 >plain<T><Z S1 >blue<T>"
                                "<Z S0 y1 >In bold " + tag(outer) + "<Z S1 >outer<T><Z S1 >holds " + tag(inner) +
                                "<Z S1 >inner<T><T> after the table<Z S0 >The end.");

  // ---- Image map ----
  TAEHoggetto* web = set.Register(set.NewLink("http://example.org/"));
  TAEHoggetto* toTables = b.Special(1, page(1)->GetId(), kReplaceWindow, "Kr");
  TAEHoggetto* closer = b.Special(kSpecialCloseWindow, -1, 0, "help");
  TAEHoggetto* map = b.Placed(lake, 80, 48, "Lake \"blue\"");
  map->SetI32(kPlacedImage2, low->Index());
  map->SetI32(kPlacedImage3, over->Index());
  map->SetExtra(Builder::Extra("HSPACE=4"));
  for (int i = 0; i < kZoneCount; ++i) Builder::Zone(map, i, -1, 0, 0, 0, 0);
  Builder::Zone(map, 0, web->GetId(), 0, 0, 20, 48);
  Builder::Zone(map, 1, toTables->GetId(), 20, 0, 20, 48);
  Builder::Zone(map, 2, closer->GetId(), 40, 0, 20, 48);
  Builder::Zone(map, 3, 0, 60, 0, 20, 48);                            // a zone without link
  Builder::Zone(map, 5, MakeObjectId(speclink, 999), 0, 40, 10, 8);  // its link is gone
  TAEHoggetto* linked = b.Placed(lake, 40, 24, "");
  linked->SetI32(kPlacedImage3, MakeObjectId(immagine, over->Index()));
  linked->SetU8(kPlacedAlignment, 1);
  Builder::SetText(page(2), "<Z S2 >Image map<Z S0 >The lake: " + tag(map) + " three zones." + "<Z S0 >In a link: " +
                                tag(page(1)) + "see " + tag(linked) + " the tables<%>.");

  // ---- Form ----
  TAEHoggetto* memo = b.Field(kFieldMemo, "notes", "", true);
  memo->SetU8(kFieldRows, 3);
  memo->SetU8(kFieldColumns, 30);
  memo->SetContent("First line\r\nSecond line");
  TAEHoggetto* list = b.Field(kFieldList, "colours", "", false, false, 3);
  list->SetU8(kFieldMultiple, 1);
  list->SetContent("Red\r\nr\r\nyes\r\nGreen\r\ng\r\nno\r\nBlue\r\nb\r\nX\r\nhalf an item\r\n");
  TAEHoggetto* combo = b.Field(kFieldCombo, "size", "", false, false, 1);
  combo->SetContent("Small\r\ns\r\n\r\nLarge\r\nl\r\ny\r\n");
  TAEHoggetto* edit = b.Field(kFieldEdit, "name", "Jo \"Q\"", true, false, 20);
  edit->SetExtra(Builder::Extra("MAXLENGTH=40"));
  const std::string form =
      "<Z S2 >Form<Z S0 >Name " + tag(b.FormStart(kFormPost, "/cgi-bin/send", "multipart/form-data")) + tag(edit) +
      "<Z S0 >Password " + tag(b.Field(kFieldPassword, "secret", "x", false, false, 8)) + " File " +
      tag(b.Field(kFieldFile, "upload", "", false, false, 30)) + "<Z S0 >Notes " + tag(memo) +
      tag(b.Field(kFieldHidden, "id", "42", false, true)) + "<Z S0 >" +
      tag(b.Field(kFieldRadio, "answer", "yes", false, true)) + " yes " +
      tag(b.Field(kFieldRadio, "answer", "no")) + " no " + tag(b.Field(kFieldCheckBox, "news", "on", false, true)) +
      " news<Z S0 >" + tag(list) + " " + tag(combo) + "<Z S0 >" + tag(b.Button(kButtonSubmit, "go", "Send")) + " " +
      tag(b.Button(kButtonReset, "", "Clear")) + " " + tag(b.Button(kButtonReset, "", "", face->Index())) + " " +
      tag(b.Button(kButtonImageButton, "pic", "Go", face->Index())) + " " +
      tag(b.Button(kButtonSubmit, "", "Send", face->Index())) + " " +
      tag(b.Button(4, "open", "Open", -1, b.Popup(page(1)->GetId(), "tables")->GetId())) + " " +
      tag(b.Button(4, "", "Close", -1, closer->GetId())) + " " +
      tag(b.Button(4, "", "Top", -1, b.Special(1, -1, kAnchorInPage, "Kr", 1)->GetId())) +
      "<Z S0 >By mail: " + tag(b.FormStart(kFormMail, "jo@example.org", "")) +
      tag(b.Field(kFieldEdit, "from", "", false, false, 20)) + tag(b.Button(kButtonSubmit, "", "Mail it"));
  Builder::SetText(page(3), form);

  // ---- Multimedia ----
  TAEHoggetto* chime = b.File("chime.wav", "RIFF chime");
  TAEHoggetto* movie = b.File("movie.mov", "moov");
  TAEHoggetto* clip = b.File("clip.avi", "RIFF clip");
  TAEHoggetto* applet = b.File("Applet.class", "\xCA\xFE\xBA\xBE");
  TAEHoggetto* script = b.File("widget.js", "var widget;");
  TAEHoggetto* plugin = b.Media(kMediaReferenced, applet->GetId(), false, 0, 200, 50);
  plugin->SetExtra(Builder::Extra("<OBJECT DATA=\"!RefF:" + hex8(applet->GetId()) +
                                  "\" WIDTH=!RefX:00000000 HEIGHT=!RefY:00000000></OBJECT>"));
  TAEHoggetto* prototype = b.Object(custom, 1);
  prototype->SetStr(kObjectName, kPrototypeNameCapacity, "Badge");
  std::string definition;
  base::AppendI32(definition, 4);
  base::AppendI32(definition, script->GetId());
  prototype->SetContent(definition + "title=0\r\ncolour=1\r\npicture=7\r\ntarget=8\r\n");
  prototype->SetExtra(Builder::Extra(
      "<SPAN STYLE=\"color:#!ReCP:colour!\"><B>!ReCP:title!</B> <IMG SRC=\"!ReCP:picture!\" ALT=\"\"> "
      "<A HREF=\"!ReCP:target!\">go</A></SPAN>!ReCP:missing!<SCRIPT SRC=\"!ReCF:00000000\"></SCRIPT>"
      "<!-- !RefX:00000000 x !RefY:00000000 !Rex -->"));
  TAEHoggetto* instance = b.Media(kMediaCustom, prototype->GetId(), false, 0, 120, 30);
  instance->SetContent("Title=Hello\r\ncolour=#FF8800\r\npicture=" + std::to_string(lake->GetId()) +
                       "\r\ntarget=" + std::to_string(page(1)->GetId()) + "\r\n");
  Builder::SetText(page(4), "<Z S2 >Multimedia<Z S0 >For ever: " + tag(b.Media(1, chime->GetId(), true, -1, 0, 0)) +
                                "<Z S0 >Three times: " + tag(b.Media(2, chime->GetId(), true, 3, 0, 0)) +
                                "<Z S0 >With buttons: " + tag(b.Media(1, chime->GetId(), false, 0, 0, 0)) +
                                "<Z S0 >A movie: " +
                                tag(b.Media(3, movie->GetId(), true, 3, 160, 120, false, lake->GetId())) +
                                "<Z S0 >A clip: " + tag(b.Media(4, clip->GetId(), false, 0, 50, 40, true)) +
                                "<Z S0 >A plug-in: " + tag(plugin) + "<Z S0 >A custom object: " + tag(instance));

  // ---- Floating frames ----
  TAEHoggetto* plain = b.Frame("", page(7)->GetId(), false, 300, 100, false);
  plain->SetU8(kFrameLinkTarget, 1);
  plain->SetU8(kFrameScrolling, 1);
  plain->SetU8(kFrameNoExtra, 0);
  plain->SetI32(kFrameBorderColour, 0x808080);
  plain->SetI16(kFrameMarginHeight, 0);
  plain->SetI16(kFrameMarginWidth, 0);
  plain->SetExtra(Builder::Extra("STYLE=\"border:1px solid\""));
  TAEHoggetto* side = b.Frame("side", page(7)->GetId(), true, 50, 30, true);
  side->SetU8(kFrameLinkTarget, 3);
  side->SetU8(kFrameScrolling, 0);
  side->SetU8(kFrameNoExtra, 1);
  side->SetI32(kFrameBorderColour, 0x0000FF);
  side->SetI16(kFrameMarginHeight, 4);
  side->SetI16(kFrameMarginWidth, 6);
  side->SetExtra(Builder::Extra("NOT=\"written\""));
  Builder::SetText(page(5), "<Z S2 >Floating frames<Z S0 >" + tag(plain) + "<Z S0 >" + tag(side));

  // ---- Scripts, comments and anchors ----
  TAEHoggetto* comment = b.Object(shortObj, kShortComment);
  comment->SetContent(" a note for authors ");
  TAEHoggetto* raw = b.Object(shortObj, kShortRawHtml);
  raw->SetExtra(Builder::Extra("<B>raw</B> <IMG SRC=\"!RefI:" + hex8(lake->GetId()) + "\" ALT=\"\">"));
  TAEHoggetto* opener = b.Object(shortObj, kShortLauncher);
  opener->SetI32(kShortValue, b.Popup(page(7)->GetId(), "side")->GetId());
  TAEHoggetto* closing = b.Object(shortObj, kShortLauncher);
  closing->SetI32(kShortValue, b.Special(kSpecialCloseWindow, -1, 0, "side")->GetId());
  TAEHoggetto* first = b.Object(shortObj, kShortAnchor);
  first->SetI32(kShortValue, 1);
  TAEHoggetto* second = b.Object(shortObj, kShortAnchor);
  second->SetI32(kShortValue, 2);
  Builder::SetText(page(6), "<Z S2 >Scripts and anchors<Z S0 >" + tag(first) + "A comment" + tag(comment) +
                                " and raw HTML: " + tag(raw) + "<Z S0 >" + tag(opener) + tag(closing) +
                                "A window opens and closes.<Z S0 >In a link: " + tag(page(1)) + "before " +
                                tag(second) + "after<%>.");

  Builder::SetText(page(7), "<Z S0 >Shown in a floating frame.");
  return site;
}

}  // namespace tarn::testing
