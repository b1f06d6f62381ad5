// Links, anchors and keywords; see links.h.
#include "document/links.h"
#include "base/hex.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "base/filestream.h"
#include "base/hint.h"
#include "base/winpath.h"
#include "document/aehoggetto.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/recordfields.h"
#include "markup/tokenizer.h"

namespace tarn::document {
using namespace field;
namespace {

constexpr std::string_view kMagic = "BRIX";
constexpr int kPageIndexChars = 12;   // digits read after the "|" of an internal URL
constexpr int kMaxLinkChain = 16;     // special links followed through special links
constexpr int kMaxDescriptionDepth = 8;
constexpr int kMarkerLength = 14;     // "!RefI:" and eight hexadecimal digits
constexpr std::string_view kCancelledDigits = "ffffffff";

// Eight hexadecimal digits at text[at]; nothing when any is not a digit.
std::optional<ObjectId> ParseHex8(std::string_view text, std::size_t at) {
  if (at + 8 > text.size()) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    const int d = base::HexDigitValue(text[at + i]);
    if (d < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(d);
  }
  return static_cast<ObjectId>(value);
}


// A drive letter, or a name rooted at "/" or "\": such a name is not taken
// relative to the current hypertext's folder.
bool IsRooted(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    return true;
  }
  return !path.empty() && (path[0] == '/' || path[0] == '\\');
}

std::string FolderWithSeparator(const std::filesystem::path& file) {
  if (file.empty() || !file.has_parent_path()) return {};
  return file.parent_path().string() + "/";
}

// Decimal as the old program's integer conversion accepted it: an optional
// sign and digits, nothing else; nothing when it does not parse.
std::optional<std::int64_t> ParseDecimal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::size_t i = 0;
  if (text[0] == '-' || text[0] == '+') i = 1;
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > 0x7FFFFFFF) return std::nullopt;
  }
  return text[0] == '-' ? -value : value;
}

TAEHoggetto* Live(const TAEHset* set, ObjectId id) {
  if (set == nullptr) return nullptr;
  TAEHoggetto* object = set->GetObjectById(id);
  return object != nullptr && !object->IsFree() ? object : nullptr;
}

std::string ContentText(const TAEHoggetto& object) {
  if (!object.Content().Present()) return {};
  std::string text = object.ReadContent().value_or(std::string());
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

// The ids at the start of a custom prototype's content: a 32-bit byte count
// 4n and n ObjectIds.
std::vector<ObjectId> PrototypeIds(const TAEHoggetto& prototype) {
  std::vector<ObjectId> ids;
  const std::string content = prototype.ReadContent().value_or(std::string());
  if (content.size() < 4) return ids;
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
  const std::int32_t count = base::GetI32(bytes, 0);
  if (count <= 0) return ids;
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count) / 4, (content.size() - 4) / 4);
  for (std::size_t i = 0; i < n; ++i) ids.push_back(base::GetI32(bytes, 4 + 4 * i));
  return ids;
}

// Rewrites the 32-bit values of a content block from first to its end (or
// the count given) where keep answers a replacement; true when anything changed.
template <typename Replace>
bool RewriteContentValues(TAEHoggetto& object, std::size_t first, std::size_t count, Replace replace) {
  auto bytes = object.ReadContent();
  if (!bytes || bytes->size() < first) return false;
  std::span<std::uint8_t> span(reinterpret_cast<std::uint8_t*>(bytes->data()), bytes->size());
  const std::size_t n = std::min(count, (bytes->size() - first) / 4);
  bool changed = false;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = first + 4 * i;
    const std::int32_t v = base::GetI32(span, at);
    const std::int32_t w = replace(v);
    if (w != v) {
      base::PutI32(span, at, w);
      changed = true;
    }
  }
  if (changed) object.SetContent(std::move(*bytes));
  return changed;
}

std::string PageMarkup(const TAEHoggetto& page) {
  if (!page.Content().Present()) return {};
  return page.ReadContent().value_or(std::string());
}

void ConvertOlderPage(TAEHoggetto& object) {
  if (object.Kind() != testoHtml || object.U8(kPageGeneration) != 1) return;
  TAEHset* set = object.Owner();
  if (set != nullptr && set->OlderTextConverter) set->OlderTextConverter(object);
}

// An image named by a field that holds an index, possibly with kind 5 in
// its top byte.
bool ImageMatches(std::int32_t value, ObjectId id) {
  if (KindOf(id) != immagine || value < 0) return false;
  const int kind = KindOf(value);
  return (kind == 0 || kind == immagine) && IndexOf(value) == IndexOf(id);
}

// Table content holds the image of a cell background with kind 3 in its top byte.
ObjectId TableImageValue(ObjectId image) { return MakeObjectId(genLink, IndexOf(image)); }

std::string ShortObjectText(const TAEHoggetto& object, bool shortForm, int depth);
std::string Describe(const TAEHoggetto& object, int depth);

std::string CaptionAt(const TAEHoggetto& object, int depth) {
  if (depth > kMaxDescriptionDepth) return {};
  switch (object.Kind()) {
    case speclink: {
      const std::string description = Describe(object, depth + 1);
      return description.substr(0, description.find('|'));
    }
    case shortObj: return ShortObjectText(object, true, depth + 1);
    default: return object.GetCaption();
  }
}

std::string ShortObjectText(const TAEHoggetto& object, bool shortForm, int depth) {
  if (object.IsFree()) return "Undefined.";
  const std::int32_t value = object.I32(kShortValue);
  const std::string number = std::to_string(value);
  const TAEHoggetto* referenced = depth > kMaxDescriptionDepth ? nullptr : Live(object.Owner(), value);
  auto referencedCaption = [&] { return referenced != nullptr ? CaptionAt(*referenced, depth) : std::string(); };
  switch (object.Subtype()) {
    case 10: return ContentText(object);
    case 11:
    case 12: return ExtraText(object);
    case 13:
      if (referenced == nullptr) return {};
      return shortForm ? CaptionAt(*referenced, depth) : Describe(*referenced, depth + 1);
    case 14: return "Anchor: " + AnchorCaption(value);
    case 15: return "Link" + number;
    case 21: return "Image reference: " + referencedCaption();
    case 22: return "Page or link reference: " + referencedCaption();
    case 23: return "Put here the text of page #: " + referencedCaption();
    case 24: return "Master object reference: " + referencedCaption();
    case 25: return "X size";
    case 26: return "Y size";
    case 27:
    case 28: {
      const std::string content = ContentText(object);
      if (shortForm) return !content.empty() ? content : "File #" + number;
      return (object.Subtype() == kShortParameter ? "Parameter: " : "File: ") +
             (!content.empty() ? content : "#" + number);
    }
    default: return {};
  }
}

std::string SpecialLinkDescription(const TAEHoggetto& link, int depth) {
  const std::string name = WindowName(link);
  switch (link.Subtype()) {
    case kSpecialToObject: {
      const int action = link.U8(kSpecialAction);
      const std::int32_t anchor = link.I32(kSpecialAnchor);
      const TAEHoggetto* target = Live(link.Owner(), link.I32(kSpecialTarget));
      std::string d;
      if (action != kAnchorInPage && target != nullptr && depth <= kMaxDescriptionDepth) {
        d = Describe(*target, depth + 1);
        d = d.substr(0, d.find('|'));
      }
      std::string out = d + "|Here we ";
      if (action == kAnchorInPage) {
        out += WindowActionText(action, name);
      } else {
        out += WindowActionText(action, name) + " " +
               (link.U8(kSpecialTargetKind) == 1 ? "the frame set" : "the page") + ": " + d;
      }
      if (anchor != -1) out += " #" + AnchorCaption(anchor);
      if (target != nullptr) out += " @" + std::to_string(target->Index());
      return out;
    }
    case kSpecialCloseWindow: return "Close window: " + name + "|Close window: " + name;
    case kSpecialKeywords: return "Keywords|Link to: keywords window";
    case kSpecialPrevious: return "previous page|Link to: previous page";
    case kSpecialNext: return "next page|Link to: next page";
    case kSpecialAutoImport: {
      const std::string text = ContentText(link);
      return text.empty() ? std::string("Auto import") : text + "|Auto import:" + text;
    }
    default: return {};
  }
}

std::string FormFieldDescription(const TAEHoggetto& field) {
  static constexpr std::string_view kLabels[] = {
      "", "Edit box: ", "Password box: ", "File box: ", "Text box: ", "Invisible: ",
      "Radio button: ", "Check box: ", "List: ", "Combo list: "};
  const int sub = field.Subtype();
  const std::string name = field.Str(kObjectName, kFormNameCapacity);
  if (sub < 1 || sub > 9) return name;
  std::string out = std::string(kLabels[sub]) + name;
  const std::string value = field.Str(kFieldValue, kFieldValueCapacity);
  const bool hasValue = field.U8(kFieldHasValue) != 0 && !value.empty();
  if ((sub <= 3 && hasValue) || sub == 5 || sub == 6) out += "\r\n(" + value + ")";
  return out;
}

std::string MultimediaDescription(const TAEHoggetto& media) {
  const TAEHoggetto* referenced = Live(media.Owner(), media.I32(kMediaReference));
  switch (media.Subtype()) {
    case 1:
    case 2:
    case 3:
    case 4: {
      const std::string file = referenced != nullptr ? referenced->FileName() : std::string();
      return (media.Subtype() <= kMediaLastSound ? "Sound: " : "Video: ") + std::string("\r\n(") + file + ")";
    }
    case 5: return "Java / ActiveX / Embed: \r\n" + ExtraText(media);
    case 6: {
      const std::string name = referenced != nullptr ? referenced->Str(kObjectName, kPrototypeNameCapacity) : std::string();
      return "Custom \r\n(" + name + ")";
    }
    default: return {};
  }
}

std::string Describe(const TAEHoggetto& object, int depth) {
  if (object.IsFree()) return "Undefined.";
  std::string out;
  switch (object.Kind()) {
    case testoHtml: {
      const std::string name = object.GetCaption();
      return name + "|Link to: " + name + " (" + std::to_string(object.Index()) + ")";
    }
    case internetLink: {
      const std::string url = object.Str(kLinkUrl, kLinkUrlCapacity);
      if (url.starts_with(kInternalScheme) && object.Owner() != nullptr) {
        const InternalUrl parsed = ParseInternalUrl(*object.Owner(), url);
        const std::string file = base::ExtractFileName(parsed.file);
        std::string title = TargetPageTitle(parsed.file, MakeObjectId(testoHtml, parsed.page));
        if (title.empty()) title = std::to_string(parsed.page);
        return file + " Pag.:" + title + "|Link to hypertext: " + file + " Pag.:" + title;
      }
      if (url.starts_with("mailto:")) {
        const std::string address = url.substr(7);
        return address + "|Link to e-mail: " + address;
      }
      return url + "|Link to: " + url;
    }
    case zipLink:
    case genLink: {
      const std::string name = object.Str(kEmbeddedFileName, kEmbeddedFileNameCapacity);
      return name + "|Link to file: " + name;
    }
    case speclink: out = SpecialLinkDescription(object, depth); break;
    case shortObj: return ShortObjectText(object, false, depth);
    case custom: {
      const std::string name = object.Str(kObjectName, kPrototypeNameCapacity);
      return name + "|Custom  " + name;
    }
    case inputStat: out = FormFieldDescription(object); break;
    case inputDin:
      switch (object.Subtype()) {
        case 1: out = "Dyn edit box: " + object.Str(kObjectName, kFormNameCapacity); break;
        case 11: out = "Live list, server side"; break;
        case 12: out = "HTML, server side"; break;
        default: out = object.Str(kObjectName, kFormNameCapacity); break;
      }
      break;
    case bottoneCGI: {
      const TAEHoggetto* link = Live(object.Owner(), object.I32(kButtonLink));
      out = link != nullptr && link->Kind() == speclink && depth <= kMaxDescriptionDepth ? Describe(*link, depth + 1)
                                                                                         : std::string("Button");
      if (object.Subtype() == kButtonSubmit) out += " for submit";
      if (object.Subtype() == kButtonReset) out += " for reset";
      const std::string label = object.Str(kFieldValue, kFieldValueCapacity);
      if (!label.empty()) out += ": " + label;
      break;
    }
    case inizioForm: out = "Form start: " + object.Str(kObjectName, kFormStartNameCapacity); break;
    case multiMedia: return MultimediaDescription(object);
    default: return object.GetCaption();
  }
  // Links and form objects show their script or extra HTML below a rule.
  const std::string extra = ExtraText(object);
  if (extra.size() > 5) out += "\r\n----------\r\n" + extra;
  return out;
}

int ImageContainment(TAEHoggetto& object, ObjectId id);
int OtherContainment(TAEHoggetto& object, ObjectId id);

// The first object placed on the page (a tag of its markup) that contains id.
int PlacedContainment(const TAEHoggetto& page, ObjectId id) {
  for (ObjectId tag : ReferencedIds(PageMarkup(page))) {
    TAEHoggetto* placed = Live(page.Owner(), tag);
    if (placed == nullptr || placed->Kind() == testoHtml || placed == &page) continue;
    if (const int r = IsContainedIn(*placed, id); r != kNotContained) return r;
  }
  return kNotContained;
}

int ImageContainment(TAEHoggetto& object, ObjectId id) {
  switch (object.Kind()) {
    case testoHtml:
      if (ImageMatches(object.I32(kPageBgImage), id)) return kInTextBackground;
      return PlacedContainment(object, id);
    case tabellaHtml: {
      const std::string content = object.ReadContent().value_or(std::string());
      std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
      for (std::size_t at = 0; at + 4 <= content.size(); at += 4) {
        if (base::GetI32(bytes, at) == TableImageValue(id)) return kInTableBackground;
      }
      return kNotContained;
    }
    case dbloc: return ImageMatches(object.I32(kDataImage), id) ? kInDataSource : kNotContained;
    case immagineNew:
      for (int at : {kPlacedImage, kPlacedImage2, kPlacedImage3}) {
        if (ImageMatches(object.I32(at), id)) return kInText;
      }
      return kNotContained;
    case inputStat:
      return object.Subtype() == kFloatingFrame && ImageMatches(object.I32(kFrameImage), id)
                 ? kInFloatingFrame
                 : kNotContained;
    case bottoneCGI: return ImageMatches(object.I32(kButtonImage), id) ? kInButton : kNotContained;
    case multiMedia:
      // FIXME: a custom instance (subtype 6) also holds an image through a
      // property of type 7 of its prototype; the property list format
      // belongs to the custom component dialogs and is not read yet.
      if (object.Subtype() != kMediaCustom && ImageMatches(object.I32(kMediaAltImage), id))
        return kAsAlternativeImage;
      return kNotContained;
    default: return kNotContained;
  }
}

int OtherContainment(TAEHoggetto& object, ObjectId id) {
  const TAEHset* set = object.Owner();
  switch (object.Kind()) {
    case testoHtml: {
      if (object.I32(kPageSlideTarget) == id) return kAsNextSlide;
      if (object.I32(kPageHeaderChoice) == id || object.I32(kPageFooterChoice) == id) return kAsHeaderOrFooter;
      const std::vector<ObjectId> tags = ReferencedIds(PageMarkup(object));
      if (std::find(tags.begin(), tags.end(), id) != tags.end()) return kInText;
      return PlacedContainment(object, id);
    }
    case speclink:
      return object.Subtype() == kSpecialToObject && object.I32(kSpecialTarget) == id ? kInSpecialLink
                                                                                      : kNotContained;
    case shortObj: {
      if (object.Subtype() != kShortLauncher) return kNotContained;
      const ObjectId target = object.I32(kShortValue);
      if (target == id) return kInOpenWindowObject;
      const TAEHoggetto* link = KindOf(target) == speclink ? Live(set, target) : nullptr;
      return link != nullptr && link->I32(kSpecialTarget) == id ? kInOpenWindowObject : kNotContained;
    }
    case custom: {
      if (KindOf(id) != genLink) return kNotContained;
      const std::vector<ObjectId> ids = PrototypeIds(object);
      return std::find(ids.begin(), ids.end(), id) != ids.end() ? kInPrototype : kNotContained;
    }
    case dbloc:
      for (int i = 0; i < kDataObjectCount; ++i) {
        const ObjectId v = object.I32(kDataObjects + 4 * i);
        if (v == id) return kInDataSource;
        const TAEHoggetto* link = KindOf(v) == speclink ? Live(set, v) : nullptr;
        if (link != nullptr && link->I32(kSpecialTarget) == id) return kInDataSource;
      }
      return kNotContained;
    case immagineNew:
      for (int i = 0; i < kZoneCount; ++i) {
        if (object.I32(kPlacedZones + i * kZoneSize) == id) return kInClickableMap;
      }
      return kNotContained;
    case inputStat:
      return object.Subtype() == kFloatingFrame && object.I32(kFrameTarget) == id ? kInFloatingFrame
                                                                                  : kNotContained;
    case bottoneCGI: return object.I32(kButtonLink) == id ? kInButton : kNotContained;
    case multiMedia:
      if (object.I32(kMediaReference) != id) return kNotContained;
      // FIXME: subtype 6 also refers through the properties of type 6 or 8
      // of its prototype, which are not read yet (see ImageContainment).
      return object.Subtype() == kMediaCustom ? kInCustomInstance : kInMultimedia;
    default: return kNotContained;
  }
}

bool ExtraNames(const TAEHoggetto& object, ObjectId id) {
  for (const ReferenceMarker& m : FindReferenceMarkers(object.Extra().View())) {
    if (m.id == id) return true;
  }
  return false;
}

// Collecting: offers ids to the list by the rules of CollectReferences.
class Collector {
 public:
  Collector(const TAEHset* set, std::vector<ObjectId>& list) : m_set(set), m_list(list) {}

  void Offer(ObjectId id) {
    if (id == -1) return;
    if (KindOf(id) == speclink) {
      const TAEHoggetto* link = Live(m_set, id);
      if (link == nullptr || link->Subtype() != kSpecialToObject) return;
      id = link->I32(kSpecialTarget);
    }
    const TAEHoggetto* object = Live(m_set, id);
    if (object == nullptr) return;
    const int kind = object->Kind();
    if (kind != testoHtml && kind != internetLink && kind != genLink) return;
    if (std::find(m_list.begin(), m_list.end(), id) == m_list.end()) m_list.push_back(id);
  }

  void Scan(const TAEHoggetto& object) {
    switch (object.Kind()) {
      case testoHtml: {
        for (ObjectId tag : ReferencedIds(PageMarkup(object))) {
          Offer(tag);
          ObjectId reached = tag;
          if (KindOf(tag) == speclink) {
            const TAEHoggetto* link = Live(m_set, tag);
            reached = link != nullptr && link->Subtype() == kSpecialToObject ? link->I32(kSpecialTarget) : -1;
          }
          const TAEHoggetto* placed = reached == -1 ? nullptr : Live(m_set, reached);
          if (placed != nullptr && placed->Kind() != testoHtml) Scan(*placed);
        }
        Offer(object.I32(kPageSlideTarget));
        Offer(object.I32(kPageHeaderChoice));
        Offer(object.I32(kPageFooterChoice));
        break;
      }
      case speclink:
        if (object.Subtype() == kSpecialToObject) Offer(object.I32(kSpecialTarget));
        break;
      case shortObj:
        if (object.Subtype() == kShortLauncher) Offer(object.I32(kShortValue));
        break;
      case custom:
        for (ObjectId id : PrototypeIds(object)) Offer(id);
        break;
      case dbloc:
        for (int i = 0; i < kDataObjectCount; ++i) Offer(object.I32(kDataObjects + 4 * i));
        break;
      case immagineNew:
        for (int i = 0; i < kZoneCount; ++i) Offer(object.I32(kPlacedZones + i * kZoneSize));
        break;
      case inputStat:
        if (object.Subtype() == kFloatingFrame) Offer(object.I32(kFrameTarget));
        break;
      case bottoneCGI: Offer(object.I32(kButtonLink)); break;
      case multiMedia:
        // FIXME: a custom instance also offers the values of the properties
        // of type 6 or 8 of its prototype, once the property list is read.
        if (object.Subtype() != kMediaReferenced) Offer(object.I32(kMediaReference));
        break;
      default: break;
    }
  }

 private:
  const TAEHset* m_set;
  std::vector<ObjectId>& m_list;
};

// Overwrites the eight digits of every "<$xxxxxxxx>" tag that names id.
bool CancelTags(std::string& markup, ObjectId id) {
  std::vector<std::size_t> digits;
  markup::ForEachReference(markup, [&](const markup::Token& t) {
    if (t.wellFormed && static_cast<ObjectId>(t.value) == id) digits.push_back(t.at + 2);
  });
  for (std::size_t at : digits) markup.replace(at, kCancelledDigits.size(), kCancelledDigits);
  return !digits.empty();
}

bool CancelMarkers(TAEHoggetto& object, ObjectId id) {
  if (!object.Extra().Present()) return false;
  std::string extra(object.Extra().View());
  bool changed = false;
  for (const ReferenceMarker& m : FindReferenceMarkers(extra)) {
    if (m.id != id) continue;
    extra.replace(m.at + 6, 8, kCancelledDigits);
    changed = true;
  }
  if (changed) object.SetExtra(std::move(extra));
  return changed;
}

// Sets a 32-bit field to -1 when it names id (directly or, for image fields,
// as an index); true when it did.
bool CancelField(TAEHoggetto& object, int at, ObjectId id, bool imageField = false) {
  const std::int32_t v = object.I32(at);
  if (imageField ? !ImageMatches(v, id) : v != id) return false;
  object.SetI32(at, -1);
  return true;
}

bool RemoveFromPage(TAEHoggetto& page, ObjectId id) {
  bool changed = false;
  ConvertOlderPage(page);
  std::string markup = PageMarkup(page);
  bool markupChanged = CancelTags(markup, id);
  for (ObjectId tag : ReferencedIds(markup)) {
    TAEHoggetto* placed = Live(page.Owner(), tag);
    if (placed == nullptr || placed == &page || placed->Kind() == testoHtml) continue;
    const bool hadImage = placed->Kind() == immagineNew && placed->I32(kPlacedImage) >= 0;
    RemoveReferencesTo(*placed, id);
    if (hadImage && placed->I32(kPlacedImage) < 0) {
      // A placed image whose picture is gone has nothing left to show.
      markupChanged = CancelTags(markup, tag) || markupChanged;
      placed->Clear();
      changed = true;
    }
  }
  if (markupChanged) {
    page.SetContent(std::move(markup));
    changed = true;
  }
  changed = CancelField(page, kPageBgImage, id, true) || changed;
  for (int at : {kPageSlideTarget, kPageHeaderChoice, kPageFooterChoice}) changed = CancelField(page, at, id) || changed;
  return changed;
}

bool RemoveFromObject(TAEHoggetto& object, ObjectId id) {
  bool changed = false;
  switch (object.Kind()) {
    case tabellaHtml:
      if (KindOf(id) == immagine) {
        const ObjectId stored = TableImageValue(id);
        changed = RewriteContentValues(object, 0, SIZE_MAX, [stored](std::int32_t v) { return v == stored ? -1 : v; });
      }
      break;
    case speclink:
      if (object.Subtype() == kSpecialToObject) {
        changed = CancelField(object, kSpecialTarget, id);
        TAEHoggetto* inner = KindOf(object.I32(kSpecialTarget)) == speclink ? Live(object.Owner(), object.I32(kSpecialTarget)) : nullptr;
        if (inner != nullptr && inner != &object) changed = CancelField(*inner, kSpecialTarget, id) || changed;
      }
      break;
    case shortObj:
      if (object.Subtype() == kShortLauncher) changed = CancelField(object, kShortValue, id);
      break;
    case custom: {
      const std::size_t n = PrototypeIds(object).size();
      changed = RewriteContentValues(object, 4, n, [id](std::int32_t v) { return v == id ? -1 : v; });
      break;
    }
    case dbloc:
      changed = CancelField(object, kDataImage, id, true);
      for (int i = 0; i < kDataObjectCount; ++i)
        changed = CancelField(object, kDataObjects + 4 * i, id) || changed;
      break;
    case immagineNew:
      for (int at : {kPlacedImage, kPlacedImage2, kPlacedImage3}) changed = CancelField(object, at, id, true) || changed;
      for (int i = 0; i < kZoneCount; ++i) changed = CancelField(object, kPlacedZones + i * kZoneSize, id) || changed;
      break;
    case inputStat:
      if (object.Subtype() == kFloatingFrame) {
        changed = CancelField(object, kFrameTarget, id);
        changed = CancelField(object, kFrameImage, id, true) || changed;
      }
      break;
    case bottoneCGI:
      changed = CancelField(object, kButtonImage, id, true);
      changed = CancelField(object, kButtonLink, id) || changed;
      break;
    case multiMedia:
      changed = CancelField(object, kMediaReference, id);
      changed = CancelField(object, kMediaAltImage, id, true) || changed;
      break;
    default: break;
  }
  return changed;
}

}  // namespace

// ---- Internal URLs ----

InternalUrl ParseInternalUrl(const TAEHset& set, std::string_view url) {
  InternalUrl result;
  if (!url.starts_with(kInternalScheme)) return result;
  result.isInternal = true;
  const std::size_t start = url.starts_with(kInternalSchemeLong) ? kInternalSchemeLong.size() : kInternalScheme.size();
  const std::size_t bar = url.find('|', start);
  result.file = std::string(url.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
  const std::filesystem::path& own = set.AEHFileName();
  result.sameFile = result.file == own.string();
  if (!result.sameFile && !result.file.empty() && !IsRooted(result.file)) {
    result.file = FolderWithSeparator(own) + result.file;
    // A hypertext that links to itself by a relative name is still itself.
    result.sameFile = !own.empty() &&
                      base::ToLocalPath(result.file).lexically_normal() == own.lexically_normal();
  }
  if (bar == std::string_view::npos) {
    result.page = set.HeaderI32(header::kCoverPage);
  } else if (bar + 1 == url.size()) {
    result.page = kNoPageGiven;
  } else {
    const auto value = ParseDecimal(url.substr(bar + 1, kPageIndexChars));
    result.page = value && *value > 0 ? static_cast<int>(*value) : 0;
  }
  return result;
}

std::string MakeInternalUrl(const TAEHset& set, std::string_view file, int page) {
  std::string name(file);
  const std::string folder = base::LowerCase(FolderWithSeparator(set.AEHFileName()));
  if (!folder.empty() && base::LowerCase(name).starts_with(folder)) name.erase(0, folder.size());
  return std::string(kInternalSchemeLong) + name + "|" + std::to_string(page);
}

std::optional<ForeignHypertext> ReadForeignHeader(std::string_view file) {
  if (file.empty()) return std::nullopt;
  base::ReadFile in;
  if (!in.Open(base::ToLocalPath(file)) || in.Size() < header::kSize) return std::nullopt;
  std::string bytes;
  if (!in.ReadAt(0, header::kSize, bytes)) return std::nullopt;
  if (base::UpperCase(bytes.substr(0, 4)) != kMagic) return std::nullopt;
  std::span<const std::uint8_t> h(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  ForeignHypertext out;
  out.version = base::GetI16(h, header::kVersion);
  out.coverPage = base::GetI32(h, header::kCoverPage);
  out.expPrefix = base::GetShortString(h, header::kExpPrefix, header::kPrefixCapacity);
  return out;
}

std::string TargetPageTitle(std::string_view file, ObjectId id) {
  if (file.empty()) return {};
  base::ReadFile in;
  if (!in.Open(base::ToLocalPath(file)) || in.Size() < header::kSize) return {};
  std::string bytes;
  if (!in.ReadAt(0, header::kSize, bytes)) return {};
  std::span<const std::uint8_t> h(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  if (base::GetI16(h, header::kVersion) > 2) return {};
  const int highest = h[header::kHighestKind];
  const int kind = KindOf(id);
  if (kind > highest) return {};
  std::string entry;
  if (!in.ReadAt(header::kSize + header::kTypeEntrySize * kind, header::kTypeEntrySize, entry)) return {};
  std::span<const std::uint8_t> e(reinterpret_cast<const std::uint8_t*>(entry.data()), entry.size());
  const std::int64_t offset = base::GetI32(e, 0);
  const std::int64_t size = base::GetI32(e, 4);
  const std::int64_t count = base::GetI32(e, 8);
  const std::int64_t index = IndexOf(id);
  if (offset < 0 || size <= 0 || index >= count) return {};
  const std::int64_t dataStart = header::kSize + header::kTypeEntrySize * (highest + 1) + 4;
  const std::int64_t at = dataStart + offset + index * size;
  const std::int64_t length = std::min<std::int64_t>({size, kRecordBufferSize, in.Size() - at});
  std::string record;
  if (at < 0 || length <= 0 || !in.ReadAt(at, length, record)) return {};
  if (kind != testoHtml || record.size() < 6) return {};
  std::span<const std::uint8_t> r(reinterpret_cast<const std::uint8_t*>(record.data()), record.size());
  const std::size_t capacity = std::min<std::size_t>(71, record.size() - 6);
  return base::GetShortString(r, kPageTitle, capacity);
}

std::string ExportedPageName(std::string_view file, int page, std::string_view extension) {
  if (page < 0) return {};
  const auto other = ReadForeignHeader(file);
  if (!other) return {};
  if (other->version <= 1) return "LinkToOldHypertext" + std::string(extension);
  if (page == other->coverPage) return other->expPrefix + "_index" + std::string(extension);
  return other->expPrefix + "_" + base::ToHex(static_cast<std::uint32_t>(page), 6) + std::string(extension);
}

// ---- Special links ----

std::string WindowName(const TAEHoggetto& link) { return link.Str(kSpecialWindow, kSpecialWindowCapacity); }

std::string WindowActionText(int action, std::string_view windowName) {
  const std::string quoted = " \"" + std::string(windowName) + "\" ";
  switch (action) {
    case kReplaceWindow: return "replace current window with";
    case kReplaceFrame: return "replace frame \"" + std::string(windowName) + "\" with";
    case kIndependentWindow: return "create in indipendent window" + quoted;
    case kNewBrowser: return "create new browser" + quoted;
    case kPopupWindow: return "create in popup" + quoted;
    case kJumpTo: return "jump to";
    case kAnchorInPage: return "jump in current page, to anchor: ";
    default: return {};
  }
}

TAEHoggetto* FollowSpecialLink(const TAEHoggetto& link) {
  const TAEHoggetto* current = &link;
  for (int i = 0; i < kMaxLinkChain; ++i) {
    if (current->Kind() != speclink || current->Subtype() != kSpecialToObject) return nullptr;
    TAEHoggetto* target = Live(current->Owner(), current->I32(kSpecialTarget));
    if (target == nullptr || target->Kind() != speclink) return target;
    current = target;
  }
  return nullptr;
}

// ---- Captions and descriptions ----

std::string LinkCaption(const TAEHoggetto& object) { return CaptionAt(object, 0); }

std::string GetDescription(const TAEHoggetto& object) { return Describe(object, 0); }

std::string DescriptionHint(std::string_view description) { return std::string(base::LongHint(description)); }

std::string ExtraText(const TAEHoggetto& object) {
  const std::string_view extra = object.Extra().View();
  if (extra.size() < 4) return {};
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(extra.data()), extra.size());
  const std::int32_t skip = base::GetI32(bytes, 0);
  if (skip < 0 || static_cast<std::size_t>(skip) > extra.size() - 4) return {};
  return std::string(extra.substr(4 + static_cast<std::size_t>(skip)));
}

// ---- Anchors ----

std::string AnchorCaption(int number) { return "a" + std::to_string(number); }
std::string AnchorHtmlName(int number) { return "an" + std::to_string(number); }

// ---- Keywords ----

bool AddKeyword(TAEHoggetto& page, int keywordIndex) {
  int empty = -1;
  for (int i = 0; i < kPageKeywordSlots; ++i) {
    const std::int32_t slot = page.I32(kPageKeywords + 4 * i);
    if (slot == keywordIndex) return false;
    if (slot == -1 && empty < 0) empty = i;
  }
  if (empty < 0) return false;
  page.SetI32(kPageKeywords + 4 * empty, keywordIndex);
  return true;
}

std::vector<int> PageKeywords(const TAEHoggetto& page) {
  std::vector<int> out;
  for (int i = 0; i < kPageKeywordSlots; ++i) {
    const std::int32_t slot = page.I32(kPageKeywords + 4 * i);
    if (slot >= 0) out.push_back(slot);
  }
  return out;
}

std::vector<int> PagesWithKeyword(const TAEHset& set, int keywordIndex) {
  std::vector<int> pages;
  for (int i = 0; i < set.CountOf(testoHtml); ++i) {
    const TAEHoggetto* page = set.GetObject(testoHtml, i);
    if (page == nullptr || page->IsFree()) continue;
    const std::vector<int> words = PageKeywords(*page);
    if (std::find(words.begin(), words.end(), keywordIndex) != words.end()) pages.push_back(i);
  }
  return pages;
}

// ---- Reference markers ----

std::vector<ReferenceMarker> FindReferenceMarkers(std::string_view text) {
  std::vector<ReferenceMarker> out;
  for (std::size_t pos = text.find("!Ref"); pos != std::string_view::npos; pos = text.find("!Ref", pos + 4)) {
    if (pos + kMarkerLength > text.size() || text[pos + 5] != ':') continue;
    const char letter = text[pos + 4];
    if (letter != 'I' && letter != 'L' && letter != 'P' && letter != 'F') continue;
    if (const auto id = ParseHex8(text, pos + 6)) out.push_back({letter, *id, pos});
  }
  return out;
}

// ---- Reference bookkeeping ----

int IsContainedIn(TAEHoggetto& object, ObjectId id) {
  if (object.IsFree()) return kNotContained;
  if (object.Kind() != custom && ExtraNames(object, id)) return kInScript;
  ConvertOlderPage(object);
  if (KindOf(id) == keyword) {
    if (object.Kind() != testoHtml) return kNotContained;
    const std::vector<int> words = PageKeywords(object);
    return std::find(words.begin(), words.end(), IndexOf(id)) != words.end() ? kInText : kNotContained;
  }
  if (KindOf(id) == immagine) return ImageContainment(object, id);
  return OtherContainment(object, id);
}

std::string_view ContainmentText(int result) {
  static constexpr std::string_view kTexts[] = {
      "No references",          "in text",                  "in text background",
      "in table background",    "as header or footer",      "as next slide",
      "in script/html",         "as alternative image",     "as/in floating frame",
      "as/in button",           "as/in special link",       "in clickable map",
      "in \"open window\" object", "in prototype object",   "in multimedia object",
      "in custom object instance", "in local DB object"};
  if (result < 0 || result >= static_cast<int>(std::size(kTexts))) return {};
  return kTexts[result];
}

void CollectReferences(TAEHoggetto& object, std::vector<ObjectId>& list) {
  if (object.IsFree()) return;
  Collector collector(object.Owner(), list);
  if (object.Kind() != custom) {
    const std::vector<ReferenceMarker> markers = FindReferenceMarkers(object.Extra().View());
    for (char letter : {'L', 'P', 'F'}) {
      for (const ReferenceMarker& m : markers) {
        if (m.letter == letter) collector.Offer(m.id);
      }
    }
  }
  ConvertOlderPage(object);
  collector.Scan(object);
}

void RemoveReferencesTo(TAEHoggetto& object, ObjectId id) {
  if (object.IsFree()) return;
  bool changed = CancelMarkers(object, id);
  if (object.Kind() == testoHtml) {
    changed = RemoveFromPage(object, id) || changed;
  } else {
    changed = RemoveFromObject(object, id) || changed;
  }
  if (changed && object.Owner() != nullptr) object.Owner()->SetModified(true);
}

void RemoveHeaderReferencesTo(TAEHset& set, ObjectId id) {
  bool changed = false;
  if (KindOf(id) == testoHtml) {
    for (int at : {header::kHeaderPage, header::kFooterPage}) {
      if (set.HeaderI32(at) == IndexOf(id)) {
        set.SetHeaderI32(at, -1);
        changed = true;
      }
    }
    for (int at : {header::kContentsPage, header::kCoverPage}) {
      if (set.HeaderI32(at) == IndexOf(id)) {
        set.SetHeaderI32(at, 0);
        changed = true;
      }
    }
  }
  if (ImageMatches(set.HeaderI32(header::kBackgroundImage), id)) {
    set.SetHeaderI32(header::kBackgroundImage, -1);
    changed = true;
  }
  if (changed) set.SetModified(true);
}

void RemoveReferencesEverywhere(TAEHset& set, ObjectId id) {
  RemoveHeaderReferencesTo(set, id);
  for (int kind : {testoHtml, custom}) {
    for (int i = 0; i < set.CountOf(kind); ++i) {
      TAEHoggetto* object = set.GetObject(kind, i);
      if (object != nullptr && !object->IsFree()) RemoveReferencesTo(*object, id);
    }
  }
}

void ReferencingObjects(const TAEHset& set, ObjectId id, std::vector<TAEHoggetto*>& list) {
  for (int i = 0; i < set.CountOf(custom); ++i) {
    TAEHoggetto* prototype = set.GetObject(custom, i);
    if (prototype == nullptr || prototype->IsFree()) continue;
    if (IsContainedIn(*prototype, id) != kNotContained) list.push_back(prototype);
  }
}

}  // namespace tarn::document
