// The record side of the screen objects; see visualrecord.h.
#include "objects/visual/visualrecord.h"

#include <algorithm>

#include "base/bytes.h"
#include "document/aehoggetto.h"
#include "document/aehpicture.h"
#include "document/aehset.h"
#include "document/recordfields.h"

namespace tarn::objects::visual {
using namespace document::field;
namespace {

constexpr std::int32_t kZoneClipboardTag = 2;
constexpr int kZoneInset = 10;
constexpr int kScaleFactor = 1000;

int Clamp(int value) { return std::clamp(value, 1, kMaxObjectSize); }

void AppendI16(std::string& out, std::int16_t value) {
  const auto u = static_cast<std::uint16_t>(value);
  out.push_back(static_cast<char>(u & 0xFF));
  out.push_back(static_cast<char>(u >> 8));
}

ScreenSize ControlSize(int subtype, const TAEHoggetto& r) {
  switch (subtype) {
    case kFieldEdit:
    case kFieldPassword:
    case kFieldFile: return {kLetterWidth * std::max<int>(r.U8(kFieldSize), 1), kStyleBoxHeight};
    case kFieldMemo:
      return {kLetterWidth * std::max<int>(r.U8(kFieldColumns), 1),
              kListItemHeight * std::max<int>(r.U8(kFieldRows), 1) + 4};
    case kFieldRadio:
    case kFieldCheckBox: return {kCheckSize, kCheckSize};
    case kFieldList: return {kListBoxWidth, kListItemHeight * std::max<int>(r.U8(kFieldSize), 1) + 4};
    case kFieldCombo: return {kListBoxWidth, kStyleBoxHeight};
    default: return {kGlyphSize, kGlyphSize};
  }
}

ScreenSize MediaSize(const TAEHoggetto& r) {
  const int subtype = r.Subtype();
  const int w = r.I16(kMediaWidth);
  const int h = r.I16(kMediaHeight);
  const bool hiddenButtons = r.U8(kMediaHideButtons) == 1;
  if (subtype == 7 || r.Kind() == document::dbloc) return {GlyphOf(r).width, kGlyphSize};
  if (subtype <= kMediaLastSound) {
    return hiddenButtons ? ScreenSize{kGlyphSize, kGlyphSize} : ScreenSize{kPlayerWidth, kPlayerHeight};
  }
  if (subtype == kMediaCustom) {
    const document::TAEHset* set = r.Owner();
    const TAEHoggetto* prototype = set != nullptr ? set->GetObjectById(r.I32(kMediaReference)) : nullptr;
    switch (prototype != nullptr ? prototype->Subtype() : 0) {
      case 3: return {20 * kLetterWidth, kStyleBoxHeight};
      case 4: return {40 * kLetterWidth, 10 * kListItemHeight + 4};
      case 5:
      case 6: return {kCheckSize, kCheckSize};
      case 7: return {kListBoxWidth, 10 * kListItemHeight + 4};
      case 8: return {kListBoxWidth, kStyleBoxHeight};
      case 1:
      case 9: return {kGlyphSize, kGlyphSize};
      default: break;
    }
  }
  ScreenSize size{w > 0 ? w : kDefaultObjectSize, h > 0 ? h : kDefaultObjectSize};
  if (r.U8(kMediaPercent) != 0) {
    size.percentWidth = std::max(w, 0);
    size.percentHeight = std::max(h, 0);
  }
  if ((subtype == 3 || subtype == 4) && !hiddenButtons) {
    size.width = std::max(size.width, kPlayerWidth);
    size.height += kPlayerHeight;
  }
  return size;
}

ScreenSize ButtonSize(const TAEHoggetto& r) {
  if (r.I32(kButtonImage) < 0) {
    const int caption = static_cast<int>(r.Str(kFieldValue, kFieldValueCapacity).size());
    return {kLetterWidth * (caption + 2), kStyleBoxHeight};
  }
  const int w = r.I16(kButtonWidth);
  const int h = r.I16(kButtonHeight);
  return {w > 0 ? w : kDefaultObjectSize, h > 0 ? h : kDefaultObjectSize};
}

ScreenSize FloatingSize(const TAEHoggetto& r) {
  const int w = r.I16(kFrameWidth);
  const int h = r.I16(kFrameHeight);
  if (r.U8(kFramePercent) != 0) return {kDefaultObjectSize, kDefaultObjectSize, std::max(w, 0), std::max(h, 0)};
  return {w > 0 ? w : kDefaultObjectSize, h > 0 ? h : kDefaultObjectSize};
}

bool ZoneInUse(const TAEHoggetto& placed, int entry) { return placed.I32(kPlacedZones + entry * kZoneSize) != -1; }

// Stores a size as percentages of the available width and the container
// height, or as pixels.
void StoreSize(TAEHoggetto& r, int widthAt, int heightAt, bool percent, int width, int height, int availableWidth,
               int containerHeight) {
  if (percent) {
    if (availableWidth > 0) width = width * 100 / availableWidth;
    if (containerHeight > 0) height = height * 100 / containerHeight;
  }
  r.SetI16(widthAt, static_cast<std::int16_t>(Clamp(width)));
  r.SetI16(heightAt, static_cast<std::int16_t>(Clamp(height)));
}

}  // namespace

VisualClass ClassOf(int kind, int subtype) {
  switch (kind) {
    case document::immagineNew: return VisualClass::Image;
    case document::shortObj:
      if (subtype == 5 || (subtype >= 10 && subtype <= 15) || (subtype >= 21 && subtype <= 28)) {
        return VisualClass::BelPanel;
      }
      return VisualClass::None;
    case document::inizioForm: return VisualClass::InizioForm;
    case document::bottoneCGI: return VisualClass::Button;
    case document::dbloc:
    case document::multiMedia: return VisualClass::Multimedia;
    case document::inputStat:
      switch (subtype) {
        case kFieldEdit:
        case kFieldPassword:
        case kFieldFile: return VisualClass::Edit;
        case kFieldMemo: return VisualClass::Memo;
        case kFieldHidden: return VisualClass::BelPanel;
        case kFieldRadio: return VisualClass::RadioButton;
        case kFieldCheckBox: return VisualClass::CheckBox;
        case kFieldList: return VisualClass::ListBox;
        case kFieldCombo: return VisualClass::ComboBox;
        case kFloatingFrame: return VisualClass::Floating;
        default: return VisualClass::None;
      }
    case document::inputDin:
      switch (subtype) {
        case 2: return VisualClass::Memo;
        case 6: return VisualClass::ListBox;
        case 7: return VisualClass::ComboBox;
        case 11:
        case 12: return VisualClass::BelPanel;
        default: return VisualClass::None;
      }
    default: return VisualClass::None;
  }
}

VisualClass ClassOf(const TAEHoggetto& record) { return ClassOf(record.Kind(), record.Subtype()); }

std::string_view ClassName(VisualClass visual) {
  switch (visual) {
    case VisualClass::None: return "";
    case VisualClass::Image: return "TMyyImage";
    case VisualClass::BelPanel: return "TMyyBelPanel";
    case VisualClass::InizioForm: return "TMyyInizioForm";
    case VisualClass::Button: return "TMyyButton";
    case VisualClass::Multimedia: return "TMyyMultimedia";
    case VisualClass::Edit: return "TMyyEdit";
    case VisualClass::Memo: return "TMyyMemo";
    case VisualClass::RadioButton: return "TMyyRadioButton";
    case VisualClass::CheckBox: return "TMyyCheckBox";
    case VisualClass::ListBox: return "TMyyListBox";
    case VisualClass::ComboBox: return "TMyyComboBox";
    case VisualClass::Floating: return "TMyyFloating";
  }
  return "";
}

std::string_view UndoCaption(VisualClass visual) {
  switch (visual) {
    case VisualClass::Image: return "Modify image";
    case VisualClass::BelPanel:
    case VisualClass::InizioForm: return "Modify object";
    case VisualClass::Button: return "Modify button";
    case VisualClass::Multimedia: return "Modify multimedia";
    case VisualClass::Edit: return "Modify edit box";
    case VisualClass::Memo: return "Modify text box";
    case VisualClass::RadioButton:
    case VisualClass::CheckBox: return "Modify box";
    case VisualClass::ListBox: return "Modify list";
    case VisualClass::ComboBox: return "Modify combo list";
    case VisualClass::Floating: return "Modify indipendent frame";
    case VisualClass::None: return "";
  }
  return "";
}

std::string_view ResizeCaption(VisualClass visual) {
  switch (visual) {
    case VisualClass::Image: return "Image resize";
    case VisualClass::Button: return "Button resize";
    case VisualClass::Multimedia: return "Multimedia resize";
    case VisualClass::Floating: return "Indipendent frame resize";
    default: return "";
  }
}

bool Resizable(const TAEHoggetto& record) {
  switch (ClassOf(record)) {
    case VisualClass::Image:
    case VisualClass::Floating: return true;
    case VisualClass::Button: return record.I32(kButtonImage) >= 0;
    case VisualClass::Multimedia: {
      if (record.Kind() != document::multiMedia) return false;
      const int subtype = record.Subtype();
      return subtype == 3 || subtype == 4 || subtype == kMediaReferenced;
    }
    default: return false;
  }
}

ScreenSize ObjectScreenSize(const TAEHoggetto& r) {
  switch (r.Kind()) {
    case document::immagineNew: {
      const int w = r.I16(kPlacedWidth);
      const int h = r.I16(kPlacedHeight);
      return {w > 0 ? w : kDefaultObjectSize, h > 0 ? h : kDefaultObjectSize};
    }
    case document::shortObj: return {GlyphOf(r).width, kGlyphSize};
    case document::inputStat:
      if (r.Subtype() == kFloatingFrame) return FloatingSize(r);
      return ControlSize(r.Subtype(), r);
    case document::inputDin:
      if (r.Subtype() == 11 || r.Subtype() == 12) return {kGlyphSize, kGlyphSize};
      return ControlSize(r.Subtype(), r);
    case document::bottoneCGI: return ButtonSize(r);
    case document::inizioForm: return {kGlyphSize, kGlyphSize};
    case document::dbloc:
    case document::multiMedia: return MediaSize(r);
    default: return {};
  }
}

PixelSize ResolveSize(const ScreenSize& size, int availableWidth, int containerHeight) {
  PixelSize out{size.width, size.height};
  if (size.percentWidth >= 0) out.width = availableWidth > 0 ? availableWidth * size.percentWidth / 100 : 100;
  if (size.percentHeight >= 0) out.height = containerHeight > 0 ? containerHeight * size.percentHeight / 100 : 100;
  return {Clamp(out.width), Clamp(out.height)};
}

// ---- Placed images ----

PixelSize ImageDisplaySize(TAEHoggetto& placed) {
  if (const document::TAEHpicture* picture = placed.GetPicture(); picture != nullptr && !picture->Empty()) {
    if (picture->Width() != placed.I16(kPlacedNaturalWidth) || picture->Height() != placed.I16(kPlacedNaturalHeight)) {
      const auto w = static_cast<std::int16_t>(Clamp(picture->Width()));
      const auto h = static_cast<std::int16_t>(Clamp(picture->Height()));
      placed.SetI16(kPlacedNaturalWidth, w);
      placed.SetI16(kPlacedNaturalHeight, h);
      placed.SetI16(kPlacedWidth, w);
      placed.SetI16(kPlacedHeight, h);
    }
  }
  const int w = placed.I16(kPlacedWidth);
  const int h = placed.I16(kPlacedHeight);
  return {Clamp(w > 0 ? w : kDefaultObjectSize), Clamp(h > 0 ? h : kDefaultObjectSize)};
}

void ZoomImage(TAEHoggetto& placed, int percent) {
  ImageDisplaySize(placed);  // the natural size follows a replaced picture
  const document::TAEHpicture* picture = placed.GetPicture();
  int w = kDefaultObjectSize;
  int h = kDefaultObjectSize;
  if (picture != nullptr && !picture->Empty()) {
    w = placed.I16(kPlacedNaturalWidth) * percent / 100;
    h = placed.I16(kPlacedNaturalHeight) * percent / 100;
  }
  ResizeImage(placed, w, h);
}

int ScaleCoordinate(int value, int to, int from) {
  if (from <= 0) return value;
  const int factor = to * kScaleFactor / from;
  return value * factor / kScaleFactor;
}

void ResizeImage(TAEHoggetto& placed, int width, int height) {
  width = Clamp(width);
  height = Clamp(height);
  const int oldWidth = placed.I16(kPlacedWidth);
  const int oldHeight = placed.I16(kPlacedHeight);
  for (int i = 0; i < kZoneCount; ++i) {
    if (!ZoneInUse(placed, i)) continue;
    const int at = kPlacedZones + i * kZoneSize;
    auto scale = [&](int offset, int to, int from) {
      placed.SetI16(at + offset, static_cast<std::int16_t>(ScaleCoordinate(placed.I16(at + offset), to, from)));
    };
    scale(kZoneLeft, width, oldWidth);
    scale(kZoneWidth, width, oldWidth);
    scale(kZoneTop, height, oldHeight);
    scale(kZoneHeight, height, oldHeight);
  }
  placed.SetI16(kPlacedWidth, static_cast<std::int16_t>(width));
  placed.SetI16(kPlacedHeight, static_cast<std::int16_t>(height));
}

// ---- Click zones ----

std::vector<Zone> ReadZones(const TAEHoggetto& placed) {
  std::vector<Zone> zones;
  for (const document::ClickZone& z : document::ClickZones(placed)) {
    zones.push_back({z.link, z.left, z.top, z.width, z.height});
  }
  return zones;
}

void WriteZones(TAEHoggetto& placed, const std::vector<Zone>& zones) {
  for (int i = 0; i < kZoneCount; ++i) {
    const int at = kPlacedZones + i * kZoneSize;
    Zone zone;
    zone.link = -1;
    if (static_cast<std::size_t>(i) < zones.size()) zone = zones[static_cast<std::size_t>(i)];
    placed.SetI32(at, zone.link);
    placed.SetI32(at + 4, 0);
    placed.SetI16(at + kZoneLeft, static_cast<std::int16_t>(zone.left));
    placed.SetI16(at + kZoneTop, static_cast<std::int16_t>(zone.top));
    placed.SetI16(at + kZoneWidth, static_cast<std::int16_t>(zone.width));
    placed.SetI16(at + kZoneHeight, static_cast<std::int16_t>(zone.height));
  }
}

std::string ZoneEntryBytes(const Zone& zone) {
  std::string out;
  base::AppendI32(out, zone.link);
  base::AppendI32(out, 0);
  for (int v : {zone.left, zone.top, zone.width, zone.height}) AppendI16(out, static_cast<std::int16_t>(v));
  return out;
}

bool ZoneFromEntryBytes(std::string_view bytes, Zone& zone) {
  if (bytes.size() < static_cast<std::size_t>(kZoneSize)) return false;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const std::span<const std::uint8_t> span(data, bytes.size());
  zone.link = base::GetI32(span, 0);
  zone.left = base::GetI16(span, kZoneLeft);
  zone.top = base::GetI16(span, kZoneTop);
  zone.width = base::GetI16(span, kZoneWidth);
  zone.height = base::GetI16(span, kZoneHeight);
  return true;
}

std::string ZoneClipboardBytes(const Zone& zone) {
  std::string out;
  base::AppendI32(out, kZoneClipboardTag);
  return out + ZoneEntryBytes(zone);
}

bool ZoneFromClipboardBytes(std::string_view bytes, Zone& zone) {
  if (bytes.size() < 4 + static_cast<std::size_t>(kZoneSize)) return false;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  if (base::GetI32(std::span<const std::uint8_t>(data, 4), 0) != kZoneClipboardTag) return false;
  return ZoneFromEntryBytes(bytes.substr(4), zone);
}

Zone NewZoneAt(int x, int y, int imageWidth, int imageHeight) {
  Zone zone;
  zone.left = x > imageWidth ? imageWidth - kZoneInset : x;
  zone.top = y > imageHeight ? imageHeight - kZoneInset : y;
  zone.width = 30;
  zone.height = 30;
  return zone;
}

// ---- Form controls ----

bool ItemFlagged(const document::ListItem& item) { return !(item.mark.empty() || item.mark == "n" || item.mark == "N"); }

int InitialSelection(const std::vector<document::ListItem>& items, bool combo) {
  int selected = -1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (ItemFlagged(items[i])) selected = static_cast<int>(i);
  }
  if (selected < 0 && combo && !items.empty()) selected = 0;
  return selected;
}

std::string ItemValue(const std::vector<document::ListItem>& items, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return {};
  return items[static_cast<std::size_t>(index)].value;
}

std::string CheckedValue(const TAEHoggetto& field, bool checked) {
  return checked ? field.Str(kFieldValue, kFieldValueCapacity) : std::string();
}

// ---- Marker glyphs ----

Glyph GlyphOf(const TAEHoggetto& r) {
  switch (r.Kind()) {
    case document::shortObj:
      switch (r.Subtype()) {
        case 10: return {"notepad"};
        case 11: return {"html"};
        case 12: return {"binary"};
        case 13: return {"lancia"};
        case 14: return {"ancora"};
        case 15: return {"triang"};
        case 21: return {"imagelk", 36};
        case 22: return {"fogliolk", 36};
        case 23: return {"foglio", 36};
        case 24: return {"fond", 36};
        case 25: return {"xcoord", 36};
        case 26: return {"ycoord", 36};
        case 27: return {"par", 90};
        case 28: return {"fond", 90};
        default: return {"", kGlyphSize};
      }
    case document::inputDin: return {r.Subtype() == 11 ? "dinlist" : "dinhtml"};
    case document::inizioForm: return {"iniziof"};
    case document::inputStat: return {"hidden"};
    case document::dbloc:
    case document::multiMedia:
      if (r.Kind() == document::multiMedia && r.Subtype() != 7) {
        return {r.Subtype() <= kMediaLastSound && r.U8(kMediaHideButtons) == 1 ? "nota" : ""};
      }
      switch (r.U8(kData46)) {
        case 9: return {"dbtesto", 36};
        case 10: return {"dbdb"};
        case 12: return {"dbquery"};
        case 13: return {"dbbegin"};
        case 14: return {"dbend"};
        case 15: return {"dbcount"};
        case 16: return {"dbfirst"};
        case 17: return {"dblast"};
        case 19: return {"dbrep", 27};
        case 21: return {"dbsalto", 36};
        default: return {""};
      }
    default: return {""};
  }
}

// ---- Floating frames, buttons, multimedia ----

int FloatingPage(const TAEHoggetto& frame) {
  const std::int32_t page = frame.I32(kFrameTarget);
  return page < 0 ? -1 : static_cast<int>(page & 0xFFFFFF);
}

void ResizeFloating(TAEHoggetto& frame, int width, int height, int availableWidth, int containerHeight) {
  StoreSize(frame, kFrameWidth, kFrameHeight, frame.U8(kFramePercent) != 0, width, height, availableWidth,
            containerHeight);
}

void ResizeButton(TAEHoggetto& button, int width, int height) {
  button.SetI16(kButtonWidth, static_cast<std::int16_t>(Clamp(width)));
  button.SetI16(kButtonHeight, static_cast<std::int16_t>(Clamp(height)));
}

void ResizeMultimedia(TAEHoggetto& media, int width, int height, int availableWidth, int containerHeight) {
  const int subtype = media.Subtype();
  const bool player = (subtype == 3 || subtype == 4) && media.U8(kMediaHideButtons) != 1;
  // A video with its buttons keeps the player's height apart from the picture's.
  if (player) height -= kPlayerHeight;
  StoreSize(media, kMediaWidth, kMediaHeight, media.U8(kMediaPercent) != 0, width, height, availableWidth,
            containerHeight);
}

std::string PlaceholderName(const TAEHoggetto& record) {
  if (record.Kind() == document::immagineNew) {
    if (const TAEHoggetto* image = document::PlacedPicture(record)) {
      std::string name = image->FileName();
      if (name.empty()) name = image->GetCaption();
      if (!name.empty()) return name;
    }
    const std::string alt = record.Str(kPlacedAltText, kPlacedAltTextCapacity);
    return alt.empty() ? std::string("(no picture)") : alt;
  }
  return record.GetCaption();
}

}  // namespace tarn::objects::visual
