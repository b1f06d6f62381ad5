// The objects of an imported HTML file: images and their maps, embedded
// objects, form elements, scripts and comments, and the extended comments
// that carry the system's own data.
#include <algorithm>
#include <cstring>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "convert/ht2reader.h"
#include "convert/htmlcss.h"
#include "document/aehset.h"
#include "document/recordfields.h"

namespace tarn::convert {
namespace fs = std::filesystem;
using namespace document;
using namespace document::field;
namespace {

constexpr int kDefaultObjectSize = 100;
constexpr int kDefaultEditSize = 20;
constexpr int kDefaultMemoRows = 8;
constexpr int kDefaultMemoColumns = 40;
constexpr int kSmallestZone = 5;
constexpr int kOtherShapeZone = 20;

// A pixel size attribute; percentages and other values are no pixel size.
int PixelAttribute(const HtmlTag& tag, std::string_view name) {
  const std::string* v = tag.Find(name);
  if (v == nullptr || v->find('%') != std::string::npos) return -1;
  return HtmlNumber(*v, -1);
}

std::int16_t Size16(int v) { return static_cast<std::int16_t>(std::clamp(v, 1, 32767)); }
std::uint8_t Byte(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

std::string ExtraText(std::string_view text) {
  std::string extra(4, '\0');
  extra.append(text);
  return extra;
}

// Text without its tags, blanks collapsed.
std::string TextOnly(std::string_view html) {
  std::string out;
  bool inTag = false;
  for (char c : html) {
    if (c == '<') inTag = true;
    else if (c == '>') inTag = false;
    else if (!inTag) out.push_back(c);
  }
  return out;
}

std::string Collapse(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= ' ') {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

ObjectId THt2Reader::AddObject(std::unique_ptr<TAEHoggetto> object) {
  TAEHoggetto* registered = m_run.Register(std::move(object));
  return registered != nullptr ? registered->GetId() : -1;
}

// ---- Images and maps ----

void THt2Reader::Image(const HtmlTag& tag) {
  const std::string src = tag.Value("SRC");
  const auto path = src.empty() ? std::nullopt : m_run.LocalFile(m_folder / m_base, src);
  TAEHoggetto* image = path ? m_run.Image(*path) : nullptr;
  std::unique_ptr<TAEHoggetto> placed = image != nullptr ? m_set.AddImmagineNew(image) : nullptr;
  if (placed == nullptr) {
    m_run.Skipped(src.empty() ? std::string("image without SRC") : HtmlImportRun::Missing("image", src, path), m_file);
    WriteText("[i] ");
    return;
  }
  const int naturalWidth = image->I16(kImageWidth);
  const int naturalHeight = image->I16(kImageHeight);
  int width = PixelAttribute(tag, "WIDTH");
  int height = PixelAttribute(tag, "HEIGHT");
  // A missing size is the picture's own, or kept in proportion to the one
  // given, as browsers show it.
  if (width <= 0 && height <= 0) {
    width = naturalWidth > 0 ? naturalWidth : kDefaultObjectSize;
    height = naturalHeight > 0 ? naturalHeight : kDefaultObjectSize;
  } else if (width <= 0) {
    width = naturalHeight > 0 ? height * naturalWidth / naturalHeight : kDefaultObjectSize;
  } else if (height <= 0) {
    height = naturalWidth > 0 ? width * naturalHeight / naturalWidth : kDefaultObjectSize;
  }
  placed->SetI16(kPlacedWidth, Size16(width));
  placed->SetI16(kPlacedHeight, Size16(height));
  if (tag.Has("LOWSRC")) {
    const auto low = m_run.LocalFile(m_folder / m_base, tag.Value("LOWSRC"));
    if (TAEHoggetto* second = low ? m_run.Image(*low) : nullptr; second != nullptr) {
      placed->SetI32(kPlacedImage2, second->Index());
    }
  }
  if (tag.Has("ALT")) placed->SetStr(kPlacedAltText, 32, tag.Value("ALT"));
  static constexpr std::string_view kAlign[] = {"left", "right", "center", "top", "middle", "bottom"};
  const std::string align = base::LowerCase(tag.Value("ALIGN"));
  for (std::size_t i = 0; i < std::size(kAlign); ++i) {
    if (align == kAlign[i]) placed->SetU8(kPlacedAlignment, static_cast<std::uint8_t>(i));
  }
  TAEHoggetto* record = m_run.Register(std::move(placed));
  if (record == nullptr) return;
  std::string map = base::LowerCase(tag.Value("USEMAP"));
  if (!map.empty() && map[0] == '#') map.erase(0, 1);
  if (!map.empty()) m_mapUsers.emplace_back(record, map);
  WriteObject(record->GetId());
}

void THt2Reader::Map(const HtmlTag& tag) {
  std::vector<Area>& areas = m_maps[base::LowerCase(tag.Value("NAME"))];
  const bool closed = m_tags.FindNoCase("</MAP", m_pos) != std::string_view::npos;
  HtmlTag area;
  while (NextChild("MAP", "AREA", "", closed, area)) {
    Area a;
    a.href = area.Value("HREF");
    const int index = static_cast<int>(areas.size());
    a.box = {static_cast<std::int16_t>(std::min(10 * index, 32767)), 0, kOtherShapeZone, kOtherShapeZone};
    const std::string shape = base::LowerCase(area.Value("SHAPE"));
    if (shape.empty() || shape == "rect" || shape == "rectangle") {
      const std::string coords = area.Value("COORDS");
      int v[4] = {0, 0, 0, 0};
      std::size_t at = 0;
      int found = 0;
      for (; found < 4 && at <= coords.size(); ++found) {
        const std::size_t comma = coords.find(',', at);
        const int n = HtmlNumber(coords.substr(at, comma == std::string::npos ? std::string::npos : comma - at), -100000);
        if (n == -100000) break;
        v[found] = n;
        if (comma == std::string::npos) {
          ++found;
          break;
        }
        at = comma + 1;
      }
      if (found >= 4) {
        a.box = {static_cast<std::int16_t>(std::clamp(v[0], -32000, 32000)),
                 static_cast<std::int16_t>(std::clamp(v[1], -32000, 32000)),
                 static_cast<std::int16_t>(std::clamp(v[2] - v[0], kSmallestZone, 32000)),
                 static_cast<std::int16_t>(std::clamp(v[3] - v[1], kSmallestZone, 32000))};
      }
    }
    // The zone table has 30 entries; further areas are not taken.
    if (areas.size() < static_cast<std::size_t>(kZoneCount)) areas.push_back(std::move(a));
  }
}

bool THt2Reader::NextChild(std::string_view parent, std::string_view child, std::string_view other, bool closed,
                           HtmlTag& tag) {
  while (m_pos < m_source.size()) {
    const std::size_t lt = m_source.find('<', m_pos);
    if (lt == std::string::npos) return false;
    if (!m_tags.Read(lt, tag, m_decode)) {
      m_pos = lt + 1;
      continue;
    }
    if (tag.closing && tag.name == parent) {
      m_pos = tag.end;
      return false;
    }
    if (!tag.closing && tag.name == child) {
      m_pos = tag.end;
      return true;
    }
    if (!closed && tag.name != other) {
      m_pos = lt;
      return false;
    }
    m_pos = tag.end;
  }
  return false;
}

void THt2Reader::ResolveMaps() {
  for (auto& [placed, name] : m_mapUsers) {
    const auto found = m_maps.find(name);
    if (found == m_maps.end()) continue;
    std::span<std::uint8_t> record = placed->Record();
    for (std::size_t i = 0; i < found->second.size(); ++i) {
      const Area& a = found->second[i];
      const std::size_t at = static_cast<std::size_t>(kPlacedZones) + i * static_cast<std::size_t>(kZoneSize);
      // Each image gets links of its own: a special link belongs to the
      // object that holds it.
      const ObjectId link = a.href.empty() ? 0 : LinkFor(a.href);
      base::PutI32(record, at, link == -1 ? 0 : link);
      base::PutI32(record, at + 4, 0);
      for (std::size_t k = 0; k < 4; ++k) base::PutI16(record, at + 8 + 2 * k, a.box[k]);
    }
  }
  m_mapUsers.clear();
}

// ---- Embedded objects, scripts, comments ----

void THt2Reader::Embed(const HtmlTag& tag) {
  std::string html(std::string_view(m_source).substr(tag.at, tag.end - tag.at));
  const std::size_t close = m_tags.FindNoCase("</EMBED", tag.end);
  if (close != std::string_view::npos) {
    html += Collapse(TextOnly(std::string_view(m_source).substr(tag.end, close - tag.end)));
    html += "</EMBED>";
    const std::size_t gt = m_tags.FindClose(close);
    m_pos = gt == std::string_view::npos ? m_source.size() : gt + 1;
  }
  auto media = m_set.NewObject(multiMedia);
  media->SetSubtype(kMediaReferenced);
  media->SetI32(kMediaReference, -1);
  media->SetI32(kMediaAltImage, -1);
  const int width = PixelAttribute(tag, "WIDTH");
  const int height = PixelAttribute(tag, "HEIGHT");
  media->SetI16(kMediaWidth, Size16(width > 0 ? width : kDefaultObjectSize));
  media->SetI16(kMediaHeight, Size16(height > 0 ? height : kDefaultObjectSize));
  media->SetU8(kMediaPercent, 0);
  media->SetExtra(ExtraText(html));
  WriteObject(AddObject(std::move(media)));
}

void THt2Reader::SkipElement(const HtmlTag& tag, std::string_view closing, std::string* copy) {
  const std::size_t close = m_tags.FindNoCase(closing, tag.end);
  std::size_t end = m_source.size();
  if (close != std::string_view::npos) {
    const std::size_t gt = m_tags.FindClose(close);
    end = gt == std::string_view::npos ? m_source.size() : gt + 1;
  }
  if (copy != nullptr) {
    copy->append(std::string_view(m_source).substr(tag.at, end - tag.at));
    *copy += "\r\n";
  }
  m_pos = end;
}

void THt2Reader::BodyScript(const HtmlTag& tag) {
  std::string script;
  SkipElement(tag, "</SCRIPT", &script);
  script.resize(script.size() - 2);  // the line end SkipElement added
  auto object = m_set.NewObject(shortObj);
  object->SetSubtype(kShortRawHtml);
  object->SetExtra(ExtraText(script));
  WriteObject(AddObject(std::move(object)));
}

void THt2Reader::Comment(std::string_view text) {
  auto object = m_set.NewObject(shortObj);
  object->SetSubtype(kShortComment);
  object->SetContent(std::string(text));
  WriteObject(AddObject(std::move(object)));
}

// ---- Forms ----

void THt2Reader::Form(const HtmlTag& tag) {
  auto form = m_set.NewObject(inizioForm);
  const std::string method = base::LowerCase(tag.Value("METHOD"));
  form->SetSubtype(method == "get" ? 1 : 2);
  std::string action = tag.Value("ACTION");
  if (base::LowerCase(action).starts_with("mailto:")) {
    form->SetSubtype(4);
    action.erase(0, 7);
  }
  form->SetStr(kObjectName, kFormStartNameCapacity, action);
  form->SetStr(kFormEncoding, kFormEncodingCapacity, tag.Value("ENCTYPE"));
  WriteObject(AddObject(std::move(form)));
}

void THt2Reader::Input(const HtmlTag& tag) {
  const std::string type = base::LowerCase(tag.Value("TYPE"));
  const std::string value = tag.Value("VALUE");
  if (type == "submit" || type == "reset" || type == "image") {
    auto button = m_set.NewObject(bottoneCGI);
    button->SetSubtype(type == "submit" ? 1 : type == "reset" ? 3 : 2);
    button->SetStr(kObjectName, kFormNameCapacity, tag.Value("NAME"));
    std::string caption = value;
    if (caption.empty() && type == "submit") caption = "Submit";
    if (caption.empty() && type == "reset") caption = "Reset";
    button->SetStr(kFieldValue, kFieldValueCapacity, caption);
    button->SetI32(kButtonImage, -1);
    button->SetI32(kButtonLink, -1);
    int width = kDefaultObjectSize;
    int height = kDefaultObjectSize;
    if (type == "image") {
      const auto path = m_run.LocalFile(m_folder / m_base, tag.Value("SRC"));
      if (TAEHoggetto* image = path ? m_run.Image(*path) : nullptr; image != nullptr) {
        button->SetI32(kButtonImage, image->GetId());
      } else {
        m_run.Skipped(HtmlImportRun::Missing("button image", tag.Value("SRC"), path), m_file);
      }
      if (const int w = PixelAttribute(tag, "WIDTH"); w > 0) width = w;
      if (const int h = PixelAttribute(tag, "HEIGHT"); h > 0) height = h;
    }
    for (int at : {kButtonNaturalWidth, kButtonWidth}) button->SetI16(at, Size16(width));
    for (int at : {kButtonNaturalHeight, kButtonHeight}) button->SetI16(at, Size16(height));
    WriteObject(AddObject(std::move(button)));
    return;
  }
  int subtype = 0;
  if (type.empty() || type == "edit" || type == "text" || type == "int") subtype = 1;
  else if (type == "password") subtype = 2;
  else if (type == "file") subtype = 3;
  else if (type == "checkbox") subtype = 7;
  else if (type == "radio") subtype = 6;
  if (subtype == 0) return;  // hidden and unknown types make nothing
  auto field = m_set.NewObject(inputStat);
  field->SetSubtype(subtype);
  field->SetStr(kObjectName, kFormNameCapacity, tag.Value("NAME"));
  field->SetStr(kFieldValue, kFieldValueCapacity, value);
  field->SetU8(kFieldHasValue, tag.Has("VALUE") ? 1 : 0);
  field->SetU8(kFieldSize, Byte(tag.Has("SIZE") ? HtmlNumber(tag.Value("SIZE"), kDefaultEditSize) : kDefaultEditSize));
  field->SetU8(kFieldChecked, tag.Has("CHECKED") ? 1 : 0);
  field->SetU8(kFieldMultiple, 0);
  field->SetU8(kFieldColumns, 0);
  field->SetU8(kFieldRows, 0);
  WriteObject(AddObject(std::move(field)));
}

void THt2Reader::Select(const HtmlTag& tag) {
  const int size = tag.Has("SIZE") ? HtmlNumber(tag.Value("SIZE"), 1) : 1;
  const bool multiple = tag.Has("MULTIPLE");
  auto field = m_set.NewObject(inputStat);
  field->SetSubtype(size <= 1 && !multiple ? 9 : 8);
  field->SetStr(kObjectName, kFormNameCapacity, tag.Value("NAME"));
  field->SetStr(kFieldValue, kFieldValueCapacity, "");
  field->SetU8(kFieldSize, Byte(std::max(size, 1)));
  field->SetU8(kFieldMultiple, multiple ? 1 : 0);
  field->SetU8(kFieldHasValue, 0);
  field->SetU8(kFieldChecked, 0);
  field->SetU8(kFieldColumns, 0);
  field->SetU8(kFieldRows, 0);
  const bool closed = m_tags.FindNoCase("</SELECT", m_pos) != std::string_view::npos;
  std::string items;
  HtmlTag option;
  while (NextChild("SELECT", "OPTION", "OPTGROUP", closed, option)) {
    std::size_t textEnd = m_source.find('<', m_pos);
    if (textEnd == std::string::npos) textEnd = m_source.size();
    const std::string text = Collapse(m_run.Characters().DecodeAll(std::string_view(m_source).substr(m_pos, textEnd - m_pos)));
    m_pos = textEnd;
    // Browsers send the text of an option without a value.
    items += text + "\r\n" + (option.Has("VALUE") ? option.Value("VALUE") : text) + "\r\n" +
             (option.Has("SELECTED") ? "X" : "") + "\r\n";
  }
  field->SetContent(std::move(items));
  WriteObject(AddObject(std::move(field)));
}

void THt2Reader::TextArea(const HtmlTag& tag) {
  const TextEnd end = TextElementEnd("</TEXTAREA", tag.end);
  std::string text = m_run.Characters().DecodeAll(std::string_view(m_source).substr(tag.end, end.close - tag.end));
  if (text.starts_with("\r\n")) text.erase(0, 2);
  else if (text.starts_with('\n')) text.erase(0, 1);
  m_pos = end.after;
  auto field = m_set.NewObject(inputStat);
  field->SetSubtype(4);
  field->SetStr(kObjectName, kFormNameCapacity, tag.Value("NAME"));
  field->SetStr(kFieldValue, kFieldValueCapacity, "");
  field->SetU8(kFieldRows, Byte(tag.Has("ROWS") ? HtmlNumber(tag.Value("ROWS"), kDefaultMemoRows) : kDefaultMemoRows));
  field->SetU8(kFieldColumns, Byte(tag.Has("COLS") ? HtmlNumber(tag.Value("COLS"), kDefaultMemoColumns) : kDefaultMemoColumns));
  field->SetU8(kFieldSize, 0);
  field->SetU8(kFieldHasValue, text.empty() ? 0 : 1);
  field->SetU8(kFieldChecked, 0);
  field->SetU8(kFieldMultiple, 0);
  field->SetContent(std::move(text));
  WriteObject(AddObject(std::move(field)));
}

}  // namespace tarn::convert
