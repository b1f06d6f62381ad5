// The working copy of a page and its commit; see workingcopy.h.
#include "page/workingcopy.h"

#include <algorithm>

#include "base/bytes.h"
#include "base/hex.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "markup/entities.h"
#include "markup/tokenizer.h"
#include "richtext/localform.h"

namespace tarn::page {
using namespace document;
using namespace document::field;
namespace {

constexpr std::size_t kTitleStopsAfter = 35;
constexpr std::size_t kTitleParagraphStop = 5;

bool IsLinkRecordKind(int kind) { return kind == internetLink || kind == speclink || kind == shortObj; }

}  // namespace

std::vector<int> LinkFields(const TAEHoggetto& object) {
  switch (object.Kind()) {
    case speclink: return {kSpecialTarget};
    case shortObj:
      if (object.Subtype() != kShortAnchor && object.Subtype() != kShortMarker) return {kShortValue};
      return {};
    case dbloc: {
      std::vector<int> fields;
      for (int i = 0; i < kDataObjectCount; ++i) fields.push_back(kDataObjects + 4 * i);
      return fields;
    }
    case immagineNew: {
      std::vector<int> fields;
      for (int i = 0; i < kZoneCount; ++i) fields.push_back(kPlacedZones + i * kZoneSize);
      return fields;
    }
    case bottoneCGI: return {kButtonLink};
    default: return {};
  }
}

namespace {

class Copier {
 public:
  Copier(TAEHset& set, WorkingCopy& copy) : m_set(set), m_copy(copy) {}

  // Copies the record behind id into a working entry (once per id).
  int LocalLink(ObjectId id) {
    for (std::size_t i = 0; i < m_copy.links.size(); ++i) {
      if (m_copy.links[i].origin == id) return static_cast<int>(i);
    }
    const int n = static_cast<int>(m_copy.links.size());
    m_copy.links.push_back({Copy(id), id});
    // Localised after it is listed, so that links referring to each other
    // end in the entries already made.
    if (TAEHoggetto* link = m_copy.links[static_cast<std::size_t>(n)].copy.get()) Localise(*link);
    return n;
  }

  void AddObject(ObjectId id) {
    m_copy.objects.push_back({Copy(id), id});
    if (TAEHoggetto* object = m_copy.objects.back().copy.get()) Localise(*object);
  }

 private:
  std::unique_ptr<TAEHoggetto> Copy(ObjectId id) {
    const TAEHoggetto* source = m_set.GetObjectById(id);
    if (source == nullptr) return nullptr;
    return CopyObject(m_set, *source);
  }

  void Localise(TAEHoggetto& object) {
    for (int at : LinkFields(object)) {
      const ObjectId target = object.I32(at);
      if (target == -1 || !IsLinkRecordKind(KindOf(target))) continue;
      object.SetI32(at, LocalLinkValue(LocalLink(target)));
    }
  }

  TAEHset& m_set;
  WorkingCopy& m_copy;
};

class Resolver {
 public:
  Resolver(TAEHset& set, WorkingCopy& copy) : m_set(set), m_copy(copy) {}

  ObjectId Link(std::uint32_t n) {
    if (n >= m_copy.links.size()) return LocalLinkValue(static_cast<int>(n));
    WorkingEntry& entry = m_copy.links[n];
    return Resolve(entry, true);
  }

  ObjectId Object(std::uint32_t n) {
    if (n < 1 || n > m_copy.objects.size()) return LocalObjectValue(static_cast<int>(n));
    return Resolve(m_copy.objects[n - 1], false);
  }

 private:
  ObjectId Resolve(WorkingEntry& entry, bool isLink) {
    if (entry.resolved != -1) return entry.resolved;
    // A link reached again while its own references are being resolved
    // (two special links naming each other) keeps where it came from.
    if (entry.resolving || !entry.copy) return entry.origin;
    entry.resolving = true;
    TAEHoggetto& object = *entry.copy;
    for (int at : LinkFields(object)) {
      const auto value = static_cast<std::uint32_t>(object.I32(at));
      if ((value >> 24) == richtext::kLocalLinkKind) object.SetI32(at, Link(value & 0xFFFFFF));
    }
    ObjectId id = entry.origin;
    if (isLink && object.Kind() == internetLink) {
      if (TAEHoggetto* equal = m_set.FindEqual(object); equal != nullptr && equal->IsRegistered()) {
        entry.resolved = equal->GetId();
        entry.resolving = false;
        return entry.resolved;
      }
    }
    TAEHoggetto* raw = entry.copy.get();
    if (m_set.RegisterObject(entry.copy, -1) >= 0) id = raw->GetId();
    entry.resolved = id;
    entry.resolving = false;
    return id;
  }

  TAEHset& m_set;
  WorkingCopy& m_copy;
};

char SafeTitleCharacter(unsigned char c) {
  switch (c) {
    case '"': return static_cast<char>(0x94);
    case '\'': return static_cast<char>(0x92);
    case '<': case '>': case 127: case '#': case '$': case '%': case '&': return ' ';
    default: return c < 32 ? ' ' : static_cast<char>(c);
  }
}

}  // namespace

TAEHoggetto* WorkingCopy::Link(std::int32_t value) const {
  const auto v = static_cast<std::uint32_t>(value);
  if ((v >> 24) != richtext::kLocalLinkKind || (v & 0xFFFFFF) >= links.size()) return nullptr;
  return links[v & 0xFFFFFF].copy.get();
}

TAEHoggetto* WorkingCopy::Object(int number) const {
  if (number < 1 || static_cast<std::size_t>(number) > objects.size()) return nullptr;
  return objects[static_cast<std::size_t>(number - 1)].copy.get();
}

richtext::ClipboardContext ClipboardContextOf(TAEHset& set, const WorkingCopy& copy) {
  richtext::ClipboardContext context;
  context.set = &set;
  context.page = copy.page.get();
  context.workingLink = [&copy](std::int32_t number) -> const TAEHoggetto* {
    return copy.Link(LocalLinkValue(number));
  };
  context.placedObject = [&copy](std::int32_t number) -> const TAEHoggetto* { return copy.Object(number); };
  return context;
}

int WorkingCopy::AddObject(std::unique_ptr<TAEHoggetto> object) {
  objects.push_back({std::move(object), -1});
  return static_cast<int>(objects.size());
}

int WorkingCopy::AddLink(std::unique_ptr<TAEHoggetto> link) {
  links.push_back({std::move(link), -1});
  return static_cast<int>(links.size()) - 1;
}

std::unique_ptr<TAEHoggetto> CopyObject(TAEHset& set, const TAEHoggetto& source) {
  auto copy = set.NewObject(source.Kind());
  std::string stream;
  source.SaveToStream(stream);
  base::ByteReader reader(stream);
  copy->LoadFromStream(reader);
  return copy;
}

TAEHoggetto* HeaderPageOf(const TAEHset& set, const TAEHoggetto& page, bool footer) {
  std::int32_t choice = page.I32(footer ? kPageFooterChoice : kPageHeaderChoice);
  if (choice == -1) choice = set.HeaderI32(footer ? header::kFooterPage : header::kHeaderPage);
  if (choice < 0) return nullptr;
  TAEHoggetto* found = set.GetObject(testoHtml, choice);
  return found != nullptr && !found->IsFree() ? found : nullptr;
}

void EnsureCurrentMarkup(TAEHset& set, TAEHoggetto& page) {
  if (page.U8(kPageGeneration) == 1 && set.OlderTextConverter) set.OlderTextConverter(page);
}

std::unique_ptr<WorkingCopy> MakeWorkingCopy(TAEHset& set, const TAEHoggetto& stored, bool withHeaderFooter) {
  auto copy = std::make_unique<WorkingCopy>();
  auto page = CopyObject(set, stored);
  copy->page.reset(static_cast<TAEHtesto*>(page.release()));
  // A page from elsewhere may still be in the older text form: its copy is
  // converted (registered pages were converted in place before).
  EnsureCurrentMarkup(set, *copy->page);
  if (!copy->page->Content().Present()) copy->page->InitNew();
  std::string markup = copy->page->Markup();
  if (markup.empty()) {
    markup = std::string(kEmptyPageMarkup);
  } else if (markup.back() != '\0') {
    markup.push_back('\0');
  }
  const richtext::WorkingForm form = richtext::ToWorkingForm(markup);
  Copier copier(set, *copy);
  for (ObjectId id : form.links) copier.LocalLink(id);
  for (ObjectId id : form.objects) copier.AddObject(id);
  copy->page->SetContent(form.markup);
  if (withHeaderFooter) {
    for (const bool footer : {false, true}) {
      // The header (footer) page shown on its own is not its own header
      // (footer) as well: its text would show twice, one copy of it dead.
      TAEHoggetto* shared = HeaderPageOf(set, stored, footer);
      if (shared == nullptr || shared == &stored) continue;
      EnsureCurrentMarkup(set, *shared);
      (footer ? copy->footer : copy->header) = MakeWorkingCopy(set, *shared, false);
    }
  }
  return copy;
}

std::unique_ptr<WorkingCopy> MakeNewPage(TAEHset& set) {
  auto copy = std::make_unique<WorkingCopy>();
  auto page = set.NewObject(testoHtml);
  copy->page.reset(static_cast<TAEHtesto*>(page.release()));
  copy->page->SetContent(std::string(kEmptyPageMarkup));
  return copy;
}

std::string ResolveWorkingCopy(TAEHset& set, WorkingCopy& copy, std::string_view workingMarkup) {
  Resolver resolver(set, copy);
  // Tags are resolved in text order, so objects take free slots in the order
  // the page shows them.
  std::string out = richtext::RewriteTags(workingMarkup, [&resolver](std::uint32_t value) {
    if ((value >> 24) == richtext::kLocalLinkKind)
      return static_cast<std::uint32_t>(resolver.Link(value & 0xFFFFFF));
    if ((value >> 24) == richtext::kLocalObjectKind)
      return static_cast<std::uint32_t>(resolver.Object(value & 0xFFFFFF));
    return value;
  });
  NeutraliseFormatTags(out);
  return out;
}

void NeutraliseFormatTags(std::string& markup) {
  std::vector<std::pair<std::size_t, std::size_t>> overwritten;
  markup::Tokenizer tokens(markup::TextPart(markup));
  markup::Token previous;
  for (markup::Token t = tokens.Next(); t.kind != markup::TokenKind::kEnd; t = tokens.Next()) {
    if (t.kind == markup::TokenKind::kFormatTag && previous.kind == markup::TokenKind::kFormatTag &&
        previous.End() == t.at) {
      overwritten.emplace_back(previous.at, previous.text.size());
    }
    previous = t;
  }
  for (const auto& [at, length] : overwritten) markup.replace(at, length, length, '\x03');
}

std::string TitleFromText(std::string_view markup) {
  std::string collected;
  markup::Tokenizer tokens(markup::TextPart(markup));
  for (markup::Token t = tokens.Next();
       t.kind != markup::TokenKind::kEnd && collected.size() <= kTitleStopsAfter; t = tokens.Next()) {
    if (t.kind == markup::TokenKind::kText || t.kind == markup::TokenKind::kControls ||
        t.kind == markup::TokenKind::kEntity) {
      // Collected as written, references undecoded, up to the limit.
      collected.append(t.text.substr(0, kTitleStopsAfter + 1 - collected.size()));
      continue;
    }
    if (t.kind == markup::TokenKind::kParagraphTag) {
      if (collected.size() > kTitleParagraphStop) break;
      if (!collected.empty() && collected.back() != ' ') collected.push_back(' ');
    }
    if (!t.closed) break;
  }
  std::size_t first = 0;
  while (first < collected.size() && static_cast<unsigned char>(collected[first]) <= 32) ++first;
  collected.erase(0, first);
  if (const std::size_t blanks = collected.find("   "); blanks != std::string::npos && blanks >= 2) {
    collected.resize(blanks);
  }
  std::string title;
  for (std::size_t k = 0; k < collected.size();) {
    if (collected[k] != '&') {
      title.push_back(collected[k++]);
      continue;
    }
    const char next = k + 1 < collected.size() ? collected[k + 1] : '\0';
    switch (next) {
      case '&': title.push_back('+'); k += 3; break;
      case 'a': case 'A': title.push_back('+'); k += 5; break;
      case 'g': case 'G': title.push_back(']'); k += 4; break;
      case 'l': case 'L': title.push_back('['); k += 4; break;
      default: {
        const markup::DecodedEntity entity = markup::DecodeEntity(collected, k);
        title.push_back(static_cast<char>(entity.character));
        k += std::max<std::size_t>(1, entity.length);
        break;
      }
    }
  }
  for (char& c : title) c = SafeTitleCharacter(static_cast<unsigned char>(c));
  if (title.size() > static_cast<std::size_t>(kPageTitleCapacity)) title.resize(kPageTitleCapacity);
  return title;
}

}  // namespace tarn::page
