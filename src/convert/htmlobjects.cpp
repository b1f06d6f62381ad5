// The objects of a page's text as HTML; see htmlobjects.h.
#include "convert/htmlobjects.h"

#include <algorithm>
#include <optional>

#include "base/cp1252.h"
#include "base/hex.h"
#include "base/winpath.h"
#include "convert/htmlwords.h"
#include "document/aehset.h"
#include "document/customprototype.h"
#include "document/links.h"
#include "document/placedrecords.h"
#include "document/recordfields.h"

namespace tarn::convert {
using namespace document;
using namespace document::field;
namespace {

constexpr std::string_view kImageAlignment[] = {"LEFT", "RIGHT", "CENTER", "TOP", "MIDDLE", "BOTTOM"};
// A new placed image stands in the middle of its line; so do pictures that
// carry no alignment of their own.
constexpr int kMiddle = 4;
constexpr std::string_view kCellAlignment[] = {"TOP", "MIDDLE", "BOTTOM"};
constexpr std::string_view kFrameTargets[] = {"_top ", "_self ", "_parent ", "_blank "};
constexpr int kSelfTarget = 1;
constexpr std::int32_t kColourLimit = 0x1000000;
// Where movies of that format find the plug-in that plays them.
constexpr std::string_view kQuickTimePage = "http://www.apple.com/quicktime/download/";
constexpr std::string_view kPlaceholder = "!Re";
constexpr std::size_t kHexDigits = 8;

TAEHoggetto* Live(const TAEHset* set, ObjectId id) {
  if (set == nullptr) return nullptr;
  TAEHoggetto* object = set->GetObjectById(id);
  return object != nullptr && !object->IsFree() ? object : nullptr;
}

// A short string of a record; a length beyond the field is a field never
// set (records start filled with 0xFF), not a text.
std::string FieldText(const TAEHoggetto& record, int at, int capacity) {
  return record.U8(at) <= capacity ? record.Str(at, capacity) : std::string();
}

// A value inside a double-quoted attribute: a double quote would end it
// early and lose the rest of the element.
std::string QuotedValue(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '"') out += "&quot;";
    else out.push_back(c);
  }
  return out;
}

std::string_view Word(std::span<const std::string_view> words, int index, int fallback) {
  return words[static_cast<std::size_t>(index >= 0 && static_cast<std::size_t>(index) < words.size() ? index : fallback)];
}

std::string_view ImageAlignmentWord(int index) { return Word(kImageAlignment, index, kMiddle); }

std::string Number(int n) { return std::to_string(n); }

// Eight hexadecimal digits at the position, or nothing.
std::optional<std::uint32_t> HexAt(std::string_view text, std::size_t at) {
  if (at + kHexDigits > text.size()) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < kHexDigits; ++i) {
    const int d = base::HexDigitValue(text[at + i]);
    if (d < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(d);
  }
  return value;
}

// The sizes of a multimedia object or floating frame: pixels, or percent
// for any stored unit above 0.
std::string SizeUnit(std::uint8_t stored) { return stored != 0 ? "%" : ""; }

}  // namespace

// ---- Dispatch ----

void THtmlObjects::WriteEmbeddedObject(HtmlText& t, TAEHoggetto& record) {
  switch (record.Kind()) {
    case tabellaHtml: TableStart(t, record); break;
    case shortObj: ShortObject(t, record); break;
    case immagineNew: PlacedImage(t, record); break;
    case inputStat: t.out += FormField(record); break;
    case bottoneCGI: t.out += FormButton(t, record); break;
    case inizioForm: FormStart(t, record); break;
    case multiMedia: t.out += Multimedia(record); break;
    default: break;
  }
}

// ---- Tables ----

std::string THtmlObjects::BackgroundAttribute(std::int32_t value) {
  if (value >= 0 && value < kColourLimit) return " BGCOLOR=#" + HtmlColour(static_cast<std::uint32_t>(value));
  const Background background = DecodeBackground(value);
  if (background.kind != Background::Kind::kImage) return {};
  TAEHoggetto* image = ImageByField(LinkedAEHset(), background.image);
  if (image == nullptr) return {};
  AddToFileList(image);
  return " background=\"" + OutputFileName(*image, kMainName) + "\"";
}

void THtmlObjects::TableStart(HtmlText& t, TAEHoggetto& table) {
  t.lastWasBlank = false;
  t.listCounter = 1;
  // The table closes what the paragraph has open; its cells start from the
  // defaults, and the paragraph's state comes back after the last cell.
  WriteClosingTags(t);
  t.formatPending = false;
  t.stack.push_back(t.emitted);
  t.emitted = EmittedState{};
  t.tables.push_back({&table, 0, ReadTableShape(table)});
  const TableShape& shape = t.tables.back().shape;
  t.out += "<TABLE WIDTH=" + Number(shape.width) + (shape.percentWidth ? "%" : "") + " BORDER=" + Number(shape.border) +
           " CELLPADDING=" + Number(shape.padding) + " CELLSPACING=" + Number(shape.spacing) +
           BackgroundAttribute(shape.background) + " " + ExpandObjectReferences(table) + ">\r\n";
  WriteCellBoundary(t);
  t.paragraphOpen = false;
}

void THtmlObjects::WriteCellBoundary(HtmlText& t) {
  // A cell end outside any table belongs to no cell.
  if (t.tables.empty()) return;
  HtmlText::Table& table = t.tables.back();
  const TableShape& shape = table.shape;
  const int n = table.cellsOpened++;
  const int row = n / shape.columns;
  const int column = n % shape.columns;
  std::string& out = t.out;
  t.lastWasBlank = false;
  auto closeParagraph = [&] {
    WriteClosingTags(t);
    if (t.emitted.listType == style::kListNumbered || t.emitted.listType == style::kListBullet) out += "</LI>";
    out += "</DIV>\r\n";
  };
  if (n < shape.Cells()) {
    if (n > 0) {
      out += "&nbsp;";
      closeParagraph();
      out += column > 0 ? "</TD>\r\n" : "</TD></TR>\r\n";
    }
    if (column == 0) out += "<TR>\r\n";
    t.emitted = EmittedState{};
    out += "<TD";
    if (static_cast<std::size_t>(column) < shape.columnList.size()) {
      const TableColumn& c = shape.columnList[static_cast<std::size_t>(column)];
      if (c.kind == kColumnPercent) out += " WIDTH=" + Number(c.size) + "%";
      else if (c.kind == kColumnPixels) out += " WIDTH=" + Number(c.size);
    }
    out += " VALIGN=\"" + std::string(Word(kCellAlignment, shape.verticalAlignment, 0)) + "\" " +
           BackgroundAttribute(shape.CellBackground(row, column)) + " >\r\n";
  } else {
    out += "\r\n&nbsp;";
    closeParagraph();
    out += "</TD></TR></TABLE>";
    const EmittedState inner = t.emitted;
    if (!t.stack.empty()) {
      t.emitted = t.stack.back();
      t.stack.pop_back();
    }
    constexpr std::uint8_t kKept = style::kBold | style::kItalic;
    t.emitted.font.flags = static_cast<std::uint8_t>((t.emitted.font.flags & ~kKept) | (inner.font.flags & kKept));
    t.emitted.font.position = inner.font.position;
    t.emitted.fontOpen = false;
    // The paragraph that held the table ends with it.
    closeParagraph();
    t.tables.pop_back();
  }
  t.paragraphOpen = false;
}

// ---- Short objects ----

void THtmlObjects::ShortObject(HtmlText& t, TAEHoggetto& object) {
  switch (object.Subtype()) {
    case kShortComment:
      t.out += "<!--";
      if (object.Content().Present()) t.out += object.ReadContent().value_or(std::string());
      t.out += "-->";
      break;
    case kShortRawHtml: t.out += ExpandObjectReferences(object); break;
    case kShortLauncher: t.out += WindowScript(object); break;
    case kShortAnchor:
      // An anchor inside an open link must not take the link's text with it.
      if (t.linkOpen) t.out += "</A>";
      t.out += "<A NAME=\"" + AnchorHtmlName(object.I32(kShortValue)) + "\"></A>";
      if (t.linkOpen) t.out += t.linkStart;
      break;
    default: break;
  }
}

std::string THtmlObjects::WindowScript(const TAEHoggetto& object) {
  const TAEHset* set = LinkedAEHset();
  const TAEHoggetto* link = Live(set, object.I32(kShortValue));
  if (link == nullptr || link->Kind() != speclink) return {};
  const std::string window = AttributeEscape(WindowName(*link));
  if (link->Subtype() == kSpecialCloseWindow) {
    return "\r\n<SCRIPT><!--//\r\n  " + window + "=open('','" + window + "' );\r\n  " + window +
           ".close( );\r\n//--></SCRIPT>\r\n";
  }
  if (link->Subtype() != kSpecialToObject) return {};
  TAEHoggetto* target = Live(set, link->I32(kSpecialTarget));
  if (target == nullptr) return {};
  AddToFileList(target);
  const std::string name = LinkedPageName(*target, link->U8(kSpecialTargetKind) == 1);
  const int action = link->U8(kSpecialAction);
  const std::string features =
      action == kIndependentWindow || action == kPopupWindow ? WindowFeatures(*link) : std::string(",''");
  const int page = m_pageWritten != nullptr ? m_pageWritten->Index() : 0;
  m_scriptFlags |= kOpenWindowScript;
  return "\r\n<SCRIPT>\r\n<!--//\r\n  " + window + "=TarnF_open('" + name + "','" + window + "'" + features +
         ",'Pag" + Number(page) + "');\r\n//-->\r\n</SCRIPT>\r\n";
}

// ---- Placed images ----

std::string THtmlObjects::ImageMap(const TAEHoggetto& placed) {
  const std::vector<ClickZone> zones = ClickZones(placed);
  // A zone whose link is 0 has no link: it writes no area and makes no map.
  if (std::none_of(zones.begin(), zones.end(), [](const ClickZone& z) { return z.link != 0; })) return {};
  std::string map = "<MAP NAME=ma" + Hex6(placed.Index()) + " >\r\n";
  for (const ClickZone& zone : zones) {
    TAEHoggetto* link = zone.link != 0 ? Live(LinkedAEHset(), zone.link) : nullptr;
    if (link == nullptr) continue;
    // The caption of the link's description, as the author sees it in lists.
    const std::string full = GetDescription(*link);
    const std::string description = AttributeEscape(std::string_view(full).substr(0, full.find('|')));
    map += "<AREA COORDS=" + Number(zone.left) + "," + Number(zone.top) + "," + Number(zone.left + zone.width) + "," +
           Number(zone.top + zone.height) + " " + LinkAttributes(*link);
    if (AutoAlt) map += " ALT=\"" + description + "\"";
    map += " TITLE=\"" + description + "\">\r\n";
  }
  return map + "</MAP>\r\n";
}

void THtmlObjects::PlacedImage(HtmlText& t, TAEHoggetto& placed) {
  TAEHoggetto* low = PlacedLowPicture(placed);
  TAEHoggetto* rollOver = PlacedRollOverPicture(placed);
  for (TAEHoggetto* picture : {PlacedPicture(placed), low, rollOver}) {
    if (picture != nullptr) AddToFileList(picture);
  }
  const std::string number = Hex6(placed.Index());
  const std::string file = OutputFileName(placed, kMainName);
  const std::string map = ImageMap(placed);
  std::string& out = t.out;
  out += map;
  // The mouse handlers need an element: the open link, or a link of their
  // own to the page itself.
  const bool ownLink = rollOver != nullptr && !t.linkOpen;
  if (rollOver != nullptr) {
    if (t.linkOpen) {
      out += "</A>" + t.linkStart.substr(0, t.linkStart.size() - std::string_view(" >").size());
    } else {
      out += "<A HREF=\"" + (m_pageWritten != nullptr ? OutputFileName(*m_pageWritten, kMainName) : std::string()) +
             "\" ";
    }
    m_scriptFlags |= kBrowserDetection | kRollOverSupport;
    m_rollOver.Add(rollOver);
    out += " onMouseOver=\"TarnF_over('i" + number + "','" + OutputFileName(*rollOver, kMainName) + "');\"" +
           " onMouseOut=\"TarnF_over('i" + number + "','" + file + "');\" >";
  }
  out += "<IMG SRC=\"" + file + "\" BORDER=0 ALIGN=" + std::string(ImageAlignmentWord(placed.U8(kPlacedAlignment))) +
         " ALT=\"" + AttributeEscape(FieldText(placed, kPlacedAltText, kPlacedAltTextCapacity)) + "\"";
  if (rollOver != nullptr) out += " NAME=i" + number;
  if (!map.empty()) out += " USEMAP=#ma" + number;
  if (low != nullptr) out += " LOWSRC=\"" + OutputFileName(*low, kMainName) + "\"";
  out += " WIDTH=" + Number(placed.I16(kPlacedWidth)) + " HEIGHT=" + Number(placed.I16(kPlacedHeight)) + " " +
         ExpandObjectReferences(placed) + " >";
  if (ownLink) out += "</A>";
}

// ---- Form fields ----

std::string THtmlObjects::FormField(const TAEHoggetto& field) {
  const int subtype = field.Subtype();
  if (subtype == kFloatingFrame) return FloatingFrame(field);
  const std::string name = QuotedValue(FieldText(field, kObjectName, kFormNameCapacity));
  const std::string value = QuotedValue(FieldText(field, kFieldValue, kFieldValueCapacity));
  const bool valueShown = field.U8(kFieldHasValue) != 0;
  switch (subtype) {
    case kFieldEdit:
    case kFieldPassword:
    case kFieldFile: {
      std::string s = "<INPUT";
      if (subtype == kFieldPassword) s += " TYPE=password";
      if (subtype == kFieldFile) s += " TYPE=file";
      s += " NAME=\"" + name + "\"";
      if (valueShown) s += " VALUE=\"" + value + "\"";
      return s + " SIZE=" + Number(field.U8(kFieldSize)) + " " + ExpandObjectReferences(field) + ">\r\n";
    }
    case kFieldMemo: {
      std::string s = "<TEXTAREA NAME=\"" + name + "\" ROWS=" + Number(field.U8(kFieldRows)) +
                      " COLS=" + Number(field.U8(kFieldColumns)) + " " + ExpandObjectReferences(field) + ">\r\n";
      if (valueShown && field.Content().Present()) s += field.ReadContent().value_or(std::string());
      return s + "\r\n</TEXTAREA>";
    }
    case kFieldHidden:
    case kFieldRadio:
    case kFieldCheckBox: {
      const std::string_view type = subtype == kFieldHidden ? "hidden " : subtype == kFieldRadio ? "radio " : "checkbox ";
      std::string s = "<INPUT TYPE=" + std::string(type) + "NAME=\"" + name + "\" VALUE=\"" + value + "\" ";
      if (subtype != kFieldHidden && field.U8(kFieldChecked) != 0) s += "CHECKED ";
      return s + " " + ExpandObjectReferences(field) + ">\r\n";
    }
    case kFieldList:
    case kFieldCombo: {
      std::string s = "<SELECT NAME=\"" + name + "\" ";
      if (subtype == kFieldList) {
        s += " SIZE=" + Number(field.U8(kFieldSize));
        if (field.U8(kFieldMultiple) != 0) s += " MULTIPLE";
      }
      s += " " + ExpandObjectReferences(field) + " >";
      for (const ListItem& item : ListItems(field)) {
        const char mark = item.mark.empty() ? '\0' : item.mark.front();
        const bool selected = mark == 'X' || mark == 'Y' || mark == 'x' || mark == 'y';
        s += "<OPTION VALUE=\"" + QuotedValue(item.value) + "\"" + (selected ? " SELECTED" : "") + " >" + item.shown +
             "\r\n";
      }
      return s + "</SELECT>";
    }
    default: return {};
  }
}

std::string THtmlObjects::FloatingFrame(const TAEHoggetto& frame) {
  const TAEHset* set = LinkedAEHset();
  std::string s = "<IFRAME ";
  // Margins never set read as -1: no margin.
  const int marginHeight = std::max<int>(frame.I16(kFrameMarginHeight), 0);
  const int marginWidth = std::max<int>(frame.I16(kFrameMarginWidth), 0);
  if (marginHeight != 0 || marginWidth != 0) {
    s += " MARGINHEIGHT=" + Number(marginHeight) + " MARGINWIDTH=" + Number(marginWidth);
  } else {
    s += " FRAMEBORDER=\"no\" ";
  }
  const std::string name = QuotedValue(FieldText(frame, kObjectName, kFormNameCapacity));
  if (!name.empty()) s += " NAME=\"" + name + "\"";
  const std::string unit = SizeUnit(frame.U8(kFramePercent));
  s += " HEIGHT=" + Number(frame.I16(kFrameHeight)) + unit + " WIDTH=" + Number(frame.I16(kFrameWidth)) + unit + " ";
  const std::int32_t shown = frame.I32(kFrameTarget);
  TAEHoggetto* page = shown >= 0 && KindOf(shown) == testoHtml ? Live(set, shown) : nullptr;
  const std::string file = page != nullptr ? LinkedPageName(*page, frame.U8(kFrameShowNested) == 1) : std::string();
  const int scrolling = frame.U8(kFrameScrolling);
  s += " SRC=\"" + file + "\" TARGET=" + std::string(Word(kFrameTargets, frame.U8(kFrameLinkTarget), kSelfTarget)) +
       " BORDERCOLOR=#" + HtmlColour(static_cast<std::uint32_t>(frame.I32(kFrameBorderColour))) +
       " SCROLLING=" + (scrolling == 0 ? "no" : scrolling == 1 ? "yes" : "auto");
  if (frame.U8(kFrameNoExtra) != 1) s += " " + ExpandObjectReferences(frame);
  return s + ">\r\n</IFRAME>\r\n";
}

// ---- Buttons and form starts ----

std::string THtmlObjects::FormButton(const HtmlText& t, const TAEHoggetto& button) {
  const TAEHset* set = LinkedAEHset();
  const int subtype = button.Subtype();
  const bool hasImage = button.I32(kButtonImage) != -1;
  TAEHoggetto* image = hasImage ? ImageByField(set, button.I32(kButtonImage)) : nullptr;
  const std::string size =
      " WIDTH=" + Number(button.I16(kButtonWidth)) + " HEIGHT=" + Number(button.I16(kButtonHeight));
  if (subtype == kButtonReset && hasImage) {
    if (image == nullptr) return {};
    AddToFileList(image);
    return "<A HREF=\"#\" onclick=\"document.forms[" + Number(t.formCounter - 1) + "].reset()\"><IMG SRC=\"" +
           OutputFileName(*image, kMainName) + "\" BORDER=0" + size + " ></A>\r\n";
  }
  TAEHoggetto* target = button.I32(kButtonLink) != -1 ? Live(set, button.I32(kButtonLink)) : nullptr;
  // A push button of another kind still needs a type, or the next
  // attribute would become its type.
  const std::string_view type = subtype == kButtonSubmit        ? "submit"
                                : subtype == kButtonImageButton ? "image"
                                : subtype == kButtonReset       ? "reset"
                                                                : "button";
  std::string s = "<INPUT TYPE=" + std::string(type);
  const std::string name = FieldText(button, kObjectName, kFormNameCapacity);
  if (target == nullptr && !name.empty()) s += " NAME=\"" + QuotedValue(name) + "\" ";
  if (subtype == kButtonImageButton || (subtype == kButtonSubmit && hasImage)) {
    if (image != nullptr) {
      AddToFileList(image);
      s += " SRC=\"" + OutputFileName(*image, kMainName) + "\" BORDER=0";
    }
    s += size;
  }
  s += " VALUE=\"" + QuotedValue(FieldText(button, kFieldValue, kFieldValueCapacity)) + "\"  " +
       ExpandObjectReferences(button);
  if (target != nullptr) s += ButtonClickAttribute(*target);
  return s + ">\r\n";
}

std::string THtmlObjects::ButtonClickAttribute(TAEHoggetto& target) {
  const TAEHset* set = LinkedAEHset();
  if (target.Kind() != speclink) {
    AddToFileList(&target);
    return " onClick=\"javascript:location='" + OutputFileName(target, kMainName) + "'\" ";
  }
  const std::string window = AttributeEscape(WindowName(target));
  const int page = m_pageWritten != nullptr ? m_pageWritten->Index() : 0;
  auto location = [](const std::string& name) { return " onClick=\"javascript:location='" + name + "'\" "; };
  std::string attribute;
  switch (target.Subtype()) {
    case kSpecialToObject: {
      const int action = target.U8(kSpecialAction);
      const std::int32_t anchor = target.I32(kSpecialAnchor);
      if (action == kAnchorInPage) {
        attribute = location("#" + AnchorHtmlName(anchor));
        break;
      }
      TAEHoggetto* destination = Live(set, target.I32(kSpecialTarget));
      if (destination == nullptr) return {};
      AddToFileList(destination);
      const std::string name = LinkedPageName(*destination, target.U8(kSpecialTargetKind) == 1) +
                               (anchor >= 0 ? "#" + AnchorHtmlName(anchor) : std::string());
      switch (action) {
        case kReplaceWindow:
        case kJumpTo: attribute = location(name); break;
        case kIndependentWindow:
        case kPopupWindow:
          m_scriptFlags |= kOpenWindowScript;
          attribute = " onClick=\"javascript:TarnF_open('" + name + "','" + window + "'" + WindowFeatures(target) +
                      ",'Pag" + Number(page) + "');\"";
          break;
        case kNewBrowser:
          m_scriptFlags |= kOpenBrowserScript;
          attribute = " onClick=\"javascript:TarnF_openB('" + name + "');\"";
          break;
        case kReplaceFrame:
          // Opening into a window's name changes the location of the frame
          // of that name, as a link with that target does.
          attribute = " onClick=\"javascript:open('" + name + "','" + window + "');\" ";
          break;
        default: return {};
      }
      break;
    }
    case kSpecialPrevious:
    case kSpecialNext: {
      if (set == nullptr) return {};
      const int other = target.Subtype() == kSpecialPrevious ? set->PreviousInSequence(page) : set->NextInSequence(page);
      const TAEHoggetto* destination = set->GetObject(testoHtml, other);
      if (destination == nullptr) return {};
      attribute = location(OutputFileName(*destination, kMainName));
      break;
    }
    case kSpecialCloseWindow:
      m_scriptFlags |= kCloseWindowScript;
      attribute = " onClick=\"javascript:TarnF_close('" + window + "');\" ";
      break;
    default: return {};
  }
  return attribute + " " + ExpandObjectReferences(target);
}

void THtmlObjects::FormStart(HtmlText& t, const TAEHoggetto& form) {
  std::string& out = t.out;
  // The form must open before the paragraph that holds its start.
  const std::size_t found = out.rfind("<DIV");
  const std::size_t from = found == std::string::npos ? 0 : found;
  const std::string moved = out.substr(from);
  out.erase(from);
  if (t.formCounter >= 1) out += "</FORM>";
  out += "<FORM ";
  ++t.formCounter;
  const std::string action = QuotedValue(FieldText(form, kObjectName, kFormStartNameCapacity));
  switch (form.Subtype()) {
    case kFormGet:
    case kFormPost: {
      out += "TARGET=_top METHOD=" + std::string(form.Subtype() == kFormGet ? "GET" : "POST") + " ACTION=\"" + action +
             "\"";
      const std::string encoding = FieldText(form, kFormEncoding, kFormEncodingCapacity);
      if (!encoding.empty()) out += " ENCTYPE=\"" + QuotedValue(encoding) + "\"";
      break;
    }
    case kFormMail:
      // Sent as a mail body only when posted: the method is named.
      out += "METHOD=POST ACTION=\"mailto:" + action + "\" ENCTYPE=\"text/plain\" ";
      break;
    default: break;
  }
  out += " " + ExpandObjectReferences(form) + ">\r\n" + moved;
}

// ---- Multimedia and custom objects ----

std::string THtmlObjects::Multimedia(const TAEHoggetto& media) {
  const TAEHset* set = LinkedAEHset();
  const int subtype = media.Subtype();
  if (subtype == kMediaReferenced) return ExpandObjectReferences(media);
  if (subtype == kMediaCustom) {
    const TAEHoggetto* prototype = Live(set, media.I32(kMediaReference));
    return prototype != nullptr && prototype->Kind() == custom ? ExpandCustomObject(media, *prototype) : std::string();
  }
  if (subtype < 1 || subtype > 4) return {};
  TAEHoggetto* file = Live(set, media.I32(kMediaReference));
  std::string source;
  if (file != nullptr) {
    AddToFileList(file);
    source = OutputFileName(*file, kMainName);
  }
  const bool looping = media.U8(kMediaHideButtons) == 1;
  const int repetitions = MediaRepetitions(media);
  const std::string unit = SizeUnit(media.U8(kMediaPercent));
  const std::string width = Number(media.I16(kMediaWidth)) + unit;
  const std::string height = Number(media.I16(kMediaHeight)) + unit;
  std::string s = "<EMBED SRC=\"" + source + "\"";
  if (subtype <= kMediaLastSound) {
    s += looping ? " AUTOSTART=true HIDDEN=true LOOP=" + (repetitions < 0 ? std::string("true") : Number(repetitions))
                 : std::string(" CONTROLS=SMALLCONSOLE height=15");
    s += ">\r\n";
  } else {
    s += " WIDTH=" + width + " HEIGHT=" + height;
    s += looping ? " CONTROLLER=false AUTOSTART=true LOOP=" + std::string(repetitions == -1 ? "true" : "false")
                 : std::string(" CONTROLS=true ");
    if (file != nullptr && base::LowerCase(base::ExtractFileExt(file->FileName())) == ".mov") {
      s += " URL=\"" + std::string(kQuickTimePage) + "\"";
    }
    s += " >";
  }
  if (TAEHoggetto* image = media.I32(kMediaAltImage) != -1 ? ImageByField(set, media.I32(kMediaAltImage)) : nullptr;
      image != nullptr) {
    AddToFileList(image);
    s += "<IMG BORDER=0 ALIGN=" + std::string(ImageAlignmentWord(kMiddle)) + " ALT=\"" +
         AttributeEscape(image->GetCaption()) + "\" SRC=\"" + OutputFileName(*image, kMainName) + "\" WIDTH=" + width +
         " HEIGHT=" + height + " >";
  }
  return s + "</EMBED>\r\n";
}

std::string THtmlObjects::RecordFileName(TAEHoggetto* record) {
  if (record == nullptr) return {};
  if (record->Kind() != testoHtml) AddToFileList(record);
  return OutputFileName(*record, kMainName);
}

std::string THtmlObjects::ExpandCustomObject(const TAEHoggetto& media, const TAEHoggetto& prototype) {
  const TAEHset* set = LinkedAEHset();
  const std::string text = ExtraText(prototype);
  const PrototypeData data = ReadPrototype(prototype);
  const std::string unit = SizeUnit(media.U8(kMediaPercent));
  std::string out;
  std::size_t pos = 0;
  for (std::size_t at = text.find(kPlaceholder); at != std::string::npos; at = text.find(kPlaceholder, pos)) {
    out.append(text, pos, at - pos);
    const std::string_view rest = std::string_view(text).substr(at);
    if (rest.starts_with("!ReCP:")) {
      const std::size_t end = rest.find('!', 6);
      if (end != std::string_view::npos) {
        const std::string_view name = rest.substr(6, end - 6);
        pos = at + end + 1;
        const auto property = std::find_if(data.properties.begin(), data.properties.end(),
                                           [&](const CustomProperty& p) { return base::SameText(p.name, name); });
        if (property == data.properties.end()) continue;
        const std::string value = InstanceValue(media, name).value_or(std::string());
        if (property->type == PropertyType::kColour) out += value.empty() ? "000000" : value.substr(1, 6);
        else if (IsRecordProperty(property->type)) out += RecordFileName(Live(set, RecordValue(value)));
        else out += value;
        continue;
      }
    } else if (rest.starts_with("!ReCF:")) {
      if (const auto i = HexAt(rest, 6)) {
        pos = at + 6 + kHexDigits;
        if (*i < data.files.size()) out += RecordFileName(Live(set, data.files[*i]));
        continue;
      }
    } else if (rest.starts_with("!RefX:") || rest.starts_with("!RefY:")) {
      if (HexAt(rest, 6)) {
        pos = at + 6 + kHexDigits;
        out += Number(media.I16(rest[4] == 'X' ? kMediaWidth : kMediaHeight)) + unit;
        continue;
      }
    }
    out += kPlaceholder;
    pos = at + kPlaceholder.size();
  }
  out.append(text, pos);
  return out;
}

}  // namespace tarn::convert
