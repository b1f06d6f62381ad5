// HTML import: the run over a list of files and what the files share
// (images, links, keywords, style sheets), the page each file becomes, and
// the links between the pages of one run.
#include "convert/htmlimport.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "base/filestream.h"
#include "base/hex.h"
#include "convert/aehtohtml.h"
#include "convert/ht2reader.h"
#include "convert/htmlcss.h"
#include "convert/htmlwords.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "markup/tokenizer.h"
#include "platform/system.h"

namespace tarn::convert {
namespace fs = std::filesystem;
using namespace document;
using namespace document::field;
namespace sf = richtext::stylefield;
namespace {

// Files larger than this are not read: a page is held whole in memory.
constexpr std::uintmax_t kLargestFile = std::uintmax_t{512} << 20;

bool ReadFromDisk(const fs::path& path, std::string& out) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    errno = ec ? ec.value() : ENOENT;
    return false;
  }
  if (fs::file_size(path, ec) > kLargestFile) {
    errno = EFBIG;
    return false;
  }
  return base::ReadWholeFile(path, out);
}

int HexValue(char c) { return base::HexDigitValue(c); }

std::string PercentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i] == '\\' ? '/' : text[i]);
    }
  }
  return out;
}

std::string ExtraOfPage(const std::string& name, const std::string& head) {
  std::string extra(8, '\0');
  std::span<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(extra.data()), extra.size());
  base::PutI32(bytes, 0, static_cast<std::int32_t>(name.size() + 4));
  base::PutI32(bytes, 4, static_cast<std::int32_t>(name.size()));
  extra += name;
  extra += head.empty() ? std::string(" ") : head;
  return extra;
}

}  // namespace

// ---- The run ----

HtmlImportRun::HtmlImportRun(TAEHtoHtml& converter, HtmlImportReport& report, FileReader reader, bool preview)
    : m_converter(converter),
      m_set(*converter.LinkedAEHset()),
      m_report(report),
      m_reader(reader ? std::move(reader) : FileReader(ReadFromDisk)),
      m_preview(preview) {
  if (m_set.Services().system != nullptr) m_ppi = m_set.Services().system->ScreenPixelsPerInch();
  if (m_ppi <= 0) m_ppi = 96;
}

std::string HtmlImportRun::CanonicalKey(const fs::path& path) {
  // Pages link to the same few files again and again; the file system is
  // asked once per name.
  const auto [found, added] = m_canonical.try_emplace(path.string());
  if (added) {
    std::error_code ec;
    fs::path key = fs::weakly_canonical(path, ec);
    if (ec) key = fs::absolute(path, ec).lexically_normal();
    found->second = key.string();
  }
  return found->second;
}

TAEHoggetto* HtmlImportRun::Register(std::unique_ptr<TAEHoggetto> object) {
  if (object == nullptr) return nullptr;
  const int kind = object->Kind();
  if (kind < 0 || kind >= document::kKindCount) return nullptr;
  int& from = m_freeFrom[static_cast<std::size_t>(kind)];
  const int count = m_set.CountOf(kind);
  while (from < count) {
    const TAEHoggetto* slot = m_set.GetObject(kind, from);
    if (slot != nullptr && slot->IsFree()) break;
    ++from;
  }
  // The slot found is free (the hypertext replaces what is there) or the end.
  TAEHoggetto* registered = m_set.Register(std::move(object), from);
  if (registered != nullptr) from = registered->Index() + 1;
  return registered;
}

void HtmlImportRun::Skipped(std::string what, const fs::path& page) {
  auto [entry, added] = m_skipped.try_emplace(what, page.string(), 0);
  if (added) m_skippedOrder.push_back(what);
  ++entry->second.second;
}

std::string HtmlImportRun::Missing(std::string_view what, std::string_view reference,
                                   const std::optional<fs::path>& file) {
  std::error_code ec;
  const bool exists = file && fs::exists(*file, ec);
  return std::string(what) + " " + std::string(reference) +
         (exists ? " (not a picture Tarn reads: GIF, JPEG, BMP, WMF, EMF)" : " (not found)");
}

std::optional<fs::path> LocalReference(const fs::path& folder, std::string_view reference) {
  std::string ref(reference.substr(0, reference.find_first_of("#?")));
  while (!ref.empty() && static_cast<unsigned char>(ref.back()) <= ' ') ref.pop_back();
  ref.erase(0, ref.find_first_not_of(" \t\r\n"));
  if (base::LowerCase(ref).starts_with("file://")) ref.erase(0, 7);
  const std::size_t colon = ref.find(':');
  if (colon != std::string::npos && colon > 1 && colon < ref.find('/')) return std::nullopt;
  ref = PercentDecoded(ref);
  if (ref.empty() || ref.starts_with("//")) return std::nullopt;
  const fs::path plain = (ref.starts_with('/') ? fs::path(ref) : folder / ref).lexically_normal();
  std::error_code ec;
  if (fs::exists(plain, ec)) return plain;
  // Names written in the page's code page, while the disk names its files
  // in UTF-8.
  const std::string utf8 = base::Cp1252ToUtf8(ref);
  if (utf8 != ref) {
    const fs::path other = (utf8.starts_with('/') ? fs::path(utf8) : folder / utf8).lexically_normal();
    if (fs::exists(other, ec)) return other;
  }
  return plain;
}

std::optional<fs::path> HtmlImportRun::LocalFile(const fs::path& folder, std::string_view reference) const {
  return LocalReference(folder, reference);
}

TAEHoggetto* HtmlImportRun::Image(const fs::path& path) {
  const std::string key = path.string();
  if (const auto found = m_images.find(key); found != m_images.end()) return found->second;
  if (!m_imagesSeeded) {
    for (int i = 0; i < m_set.CountOf(immagine); ++i) m_knownImages.insert(m_set.GetObject(immagine, i));
    m_imagesSeeded = true;
  }
  TAEHoggetto* image = m_set.AddImageFile(path);
  // An equal image already in the hypertext is found again, not added.
  if (image != nullptr && m_knownImages.insert(image).second) ++m_report.images;
  m_images.emplace(key, image);
  return image;
}

ObjectId HtmlImportRun::ExternalLink(std::string_view url) {
  const std::string address(url.substr(0, kLinkUrlCapacity));
  if (!m_linksSeeded) {
    for (int i = 0; i < m_set.CountOf(internetLink); ++i) {
      const TAEHoggetto* link = m_set.GetObject(internetLink, i);
      if (link != nullptr && !link->IsFree()) m_links.emplace(link->GetCaption(), link->GetId());
    }
    m_linksSeeded = true;
  }
  if (const auto found = m_links.find(address); found != m_links.end()) return found->second;
  TAEHoggetto* link = Register(m_set.NewLink(address));
  if (link == nullptr) return -1;
  m_links.emplace(address, link->GetId());
  return link->GetId();
}

ObjectId HtmlImportRun::ImportLink(const fs::path& file, const fs::path& from, std::string fragment) {
  auto link = m_set.NewObject(speclink);
  link->SetSubtype(kSpecialAutoImport);
  link->SetI32(kSpecialTarget, -1);
  link->SetI32(kSpecialAnchor, -1);
  // The action byte of a link without a target.
  link->SetU8(kSpecialAction, kAnchorInPage);
  link->SetContent(file.string());
  TAEHoggetto* registered = Register(std::move(link));
  if (registered == nullptr) return -1;
  m_importLinks.push_back({registered->GetId(), CanonicalKey(file), CanonicalKey(from), std::move(fragment)});
  return registered->GetId();
}

int HtmlImportRun::Keyword(std::string_view text) {
  const std::string word(text.substr(0, kKeywordCapacity));
  if (word.empty() || word == "-") return -1;
  if (!m_keywordsSeeded) {
    for (int i = 0; i < m_set.CountOf(keyword); ++i) {
      const TAEHoggetto* k = m_set.GetObject(keyword, i);
      if (k != nullptr && !k->IsFree()) m_keywords.emplace(k->GetCaption(), i);
    }
    m_keywordsSeeded = true;
  }
  if (const auto found = m_keywords.find(word); found != m_keywords.end()) return found->second;
  auto k = m_set.NewObject(keyword);
  k->SetStr(kKeywordText, kKeywordCapacity, word);
  TAEHoggetto* registered = Register(std::move(k));
  if (registered == nullptr) return -1;
  m_keywords.emplace(word, registered->Index());
  return registered->Index();
}

// ---- Styles ----

bool HtmlImportRun::StyleExists(int number) const {
  const TAEHoggetto* style = number >= 0 ? m_set.GetObject(stileParagrafo, number) : nullptr;
  return style != nullptr && !style->IsFree();
}

const Ht2StyleInfo& HtmlImportRun::Style(int number) {
  if (number < 0) number = 0;
  const auto n = static_cast<std::size_t>(number);
  if (n >= m_styles.size()) m_styles.resize(n + 1);
  if (!m_styles[n]) {
    Ht2StyleInfo info;
    const TAEHoggetto* style = StyleExists(number) ? m_set.GetObject(stileParagrafo, number) : nullptr;
    info.font = richtext::StyleFont(style);
    if (style != nullptr) {
      info.alignment = style->U8(sf::kAlignment);
      info.listType = style->U8(sf::kListKind);
      info.unit = style->U8(sf::kUnit);
      info.lineHeight = style->I16(sf::kLineHeight);
      info.indent = style->I16(sf::kIndent);
      info.leftMargin = style->I16(sf::kLeftMargin);
      info.rightMargin = style->I16(sf::kRightMargin);
      info.topMargin = style->I16(sf::kSpaceBefore);
      info.bottomMargin = style->I16(sf::kSpaceAfter);
    }
    m_styles[n] = info;
  }
  return *m_styles[n];
}

int HtmlImportRun::AddStyle(std::unique_ptr<TAEHoggetto> style) {
  if (const TAEHoggetto* equal = m_set.FindEqual(*style); equal != nullptr) return equal->Index();
  const std::string name = style->GetCaption();
  if (m_set.StyleExists(name)) style->SetStr(sf::kName, sf::kNameCapacity, m_set.UniqueStyleName(name));
  TAEHoggetto* registered = Register(std::move(style));
  if (registered == nullptr) return 0;
  ++m_report.styles;
  return registered->Index();
}

int HtmlImportRun::StyleFromRule(const CssStyleRule& rule) {
  auto style = m_set.NewObject(stileParagrafo);
  style->SetStr(sf::kName, sf::kNameCapacity, rule.name);
  const CssDeclarations& p = rule.paragraph;
  if (p.hasFace) style->SetStr(sf::kFace, sf::kFaceCapacity, p.face);
  if (p.hasSize) style->SetI16(sf::kSize, static_cast<std::int16_t>(p.size));
  if (p.hasColour) style->SetI32(sf::kColour, static_cast<std::int32_t>(p.colour));
  std::uint8_t bits = 0;
  if (p.bold == 1) bits |= 1;
  if (p.italic == 1) bits |= 2;
  if (p.decoration == 1) bits |= 4;
  if (p.decoration == 2) bits |= 8;
  style->SetU8(sf::kStyleBits, bits);
  const std::pair<const Ht2Measure*, int> lengths[] = {
      {&p.measures.lineHeight, sf::kLineHeight}, {&p.measures.indent, sf::kIndent},
      {&p.measures.leftMargin, sf::kLeftMargin}, {&p.measures.rightMargin, sf::kRightMargin},
      {&p.measures.topMargin, sf::kSpaceBefore}, {&p.measures.bottomMargin, sf::kSpaceAfter}};
  for (const auto& [measure, at] : lengths) {
    if (measure->set) style->SetI16(at, static_cast<std::int16_t>(measure->value));
  }
  if (p.unit >= 0) style->SetU8(sf::kUnit, static_cast<std::uint8_t>(p.unit));
  if (p.alignment >= 0) style->SetU8(sf::kAlignment, static_cast<std::uint8_t>(p.alignment));
  if (p.listType >= 0) style->SetU8(sf::kListKind, static_cast<std::uint8_t>(p.listType));
  if (rule.hasLink) {
    const CssDeclarations& l = rule.link;
    if (l.hasColour) style->SetI32(sf::kLinkColour, static_cast<std::int32_t>(l.colour));
    if (l.hasSize) style->SetI16(sf::kLinkSize, static_cast<std::int16_t>(l.size));
    std::uint8_t linkBits = style->U8(sf::kLinkStyle);
    if (l.bold >= 0) linkBits = static_cast<std::uint8_t>(l.bold == 1 ? linkBits | 1 : linkBits & ~1);
    if (l.italic >= 0) linkBits = static_cast<std::uint8_t>(l.italic == 1 ? linkBits | 2 : linkBits & ~2);
    if (l.decoration == 0) linkBits = static_cast<std::uint8_t>(linkBits & ~12);
    if (l.decoration == 1) linkBits = static_cast<std::uint8_t>((linkBits | 4) & ~8);
    if (l.decoration == 2) linkBits = static_cast<std::uint8_t>(linkBits | 12);
    style->SetU8(sf::kLinkStyle, linkBits);
  }
  // A style of the same name that a style sheet would write the same way is
  // the same style: lengths written in a unit come back rounded to it.
  const int unit = style->U8(sf::kUnit);
  auto sameLength = [&](const TAEHoggetto& a, int at) {
    return a.I16(at) == style->I16(at) ||
           LengthInUnit(a.I16(at), unit, m_ppi) == LengthInUnit(style->I16(at), unit, m_ppi);
  };
  for (int i = 0; i < m_set.CountOf(stileParagrafo); ++i) {
    const TAEHoggetto* other = m_set.GetObject(stileParagrafo, i);
    if (other == nullptr || other->IsFree() || other->GetCaption() != style->GetCaption()) continue;
    bool same = other->Str(sf::kFace, sf::kFaceCapacity) == style->Str(sf::kFace, sf::kFaceCapacity);
    for (int at : {sf::kSize, sf::kLinkSize}) same = same && other->I16(at) == style->I16(at);
    for (int at : {sf::kColour, sf::kLinkColour}) same = same && (other->I32(at) & 0xFFFFFF) == (style->I32(at) & 0xFFFFFF);
    for (int at : {sf::kStyleBits, sf::kLinkStyle, sf::kAlignment, sf::kListKind, sf::kUnit}) {
      same = same && other->U8(at) == style->U8(at);
    }
    same = same && (other->I16(sf::kLineHeight) == richtext::kAutomaticLineHeight) ==
                       (style->I16(sf::kLineHeight) == richtext::kAutomaticLineHeight);
    for (int at : {sf::kLineHeight, sf::kIndent, sf::kLeftMargin, sf::kRightMargin, sf::kSpaceBefore, sf::kSpaceAfter}) {
      same = same && sameLength(*other, at);
    }
    if (same) return i;
  }
  return AddStyle(std::move(style));
}

const std::unordered_map<std::string, int>* HtmlImportRun::StyleSheet(const fs::path& path) {
  const std::string key = CanonicalKey(path);
  auto found = m_sheets.find(key);
  if (found == m_sheets.end()) {
    std::optional<std::unordered_map<std::string, int>> classes;
    std::string text;
    if (m_reader(path, text)) {
      classes.emplace();
      std::string cp1252 = m_characters.ToCp1252(text, DetectHtmlCharset(text));
      const CssStyleSheet sheet = ParseStyleSheet(cp1252, m_ppi);
      for (const CssStyleRule& rule : sheet.rules) classes->emplace(rule.className, StyleFromRule(rule));
    }
    found = m_sheets.emplace(key, std::move(classes)).first;
  }
  return found->second ? &*found->second : nullptr;
}

// ---- Pages ----

TAEHoggetto* HtmlImportRun::ImportFile(const fs::path& file) {
  std::string bytes;
  if (!m_reader(file, bytes)) {
    m_report.unreadable.push_back(file.string() + ": " + std::strerror(errno));
    return nullptr;
  }
  return ImportSource(bytes, file);
}

TAEHoggetto* HtmlImportRun::ImportSource(std::string_view bytes, const fs::path& file) {
  std::string text = m_characters.ToCp1252(bytes, DetectHtmlCharset(bytes));
  THt2Reader reader(*this, std::move(text), file, m_preview);
  std::string markup;
  // A file that cannot be read to its end keeps what was read of it.
  try {
    reader.Read();
  } catch (const std::exception&) {
  }
  try {
    markup = reader.FinishMarkup();
  } catch (const std::exception&) {
    markup = "<Z S0 >";
  }
  m_report.replacedCharacters = m_characters.Replaced();
  TAEHoggetto* page = m_converter.CreateImportText();
  if (page == nullptr) return nullptr;
  markup.push_back('\0');
  page->SetContent(std::move(markup));
  page->SetExtra(ExtraOfPage(file.string(), reader.HeadHtml()));
  const THt2Reader::PageSettings& found = reader.Settings();
  if (found.background) page->SetI32(kPageBgColour, static_cast<std::int32_t>(*found.background));
  if (found.textColour) page->SetI32(kPageTextColour, static_cast<std::int32_t>(*found.textColour));
  if (found.linkColour) page->SetI32(kPageLinkColour, static_cast<std::int32_t>(*found.linkColour));
  if (found.visitedColour) page->SetI32(kPageVisitedColour, static_cast<std::int32_t>(*found.visitedColour));
  if (found.backgroundImage) page->SetI32(kPageBgImage, *found.backgroundImage);
  if (found.language) page->SetI16(kPageLanguage, static_cast<std::int16_t>(*found.language));
  if (reader.HasTitle() && !reader.Title().empty()) page->SetStr(kPageTitle, kPageTitleCapacity, reader.Title());
  int slot = 0;
  for (const std::string& word : reader.Keywords()) {
    if (slot >= kPageKeywordSlots) break;
    const int index = Keyword(word);
    if (index < 0) continue;
    bool has = false;
    for (int i = 0; i < slot; ++i) has = has || page->I32(kPageKeywords + 4 * i) == index;
    if (!has) page->SetI32(kPageKeywords + 4 * slot++, index);
  }
  const std::string key = CanonicalKey(file);
  m_pages[key] = page->GetId();
  if (auto anchors = reader.TakeAnchors(); !anchors.empty()) m_anchors[key] = std::move(anchors);
  ++m_report.pages;
  m_report.pageIndexes.push_back(page->Index());
  return page;
}

namespace {

// Turns an automatic-import link into a link to a page of the hypertext, or
// to an anchor in it (-1 none); a link to an anchor of its own page jumps
// within the page.
void LeadToPage(TAEHoggetto& link, ObjectId page, int anchor, bool samePage) {
  const bool inPage = samePage && anchor >= 0;
  link.SetSubtype(kSpecialToObject);
  link.SetI32(kSpecialTarget, inPage ? -1 : page);
  link.SetU8(kSpecialTargetKind, 0);
  link.SetU8(kSpecialAction, inPage ? kAnchorInPage : kReplaceWindow);
  link.SetI32(kSpecialAnchor, anchor);
  link.DropContent();
}

}  // namespace

int HtmlImportRun::AnchorOf(const std::string& page, const std::string& name) const {
  const auto anchors = m_anchors.find(page);
  if (anchors == m_anchors.end() || name.empty()) return -1;
  const auto found = anchors->second.find(name);
  return found != anchors->second.end() ? found->second : -1;
}

void HtmlImportRun::ResolveImportLinks() {
  std::unordered_set<std::string> reported;
  std::unordered_map<ObjectId, ObjectId> toPage;
  for (const ImportLinkRef& ref : m_importLinks) {
    const auto page = m_pages.find(ref.target);
    if (page == m_pages.end()) {
      std::error_code ec;
      if (!fs::exists(ref.target, ec) && reported.insert(ref.target).second) {
        m_report.skipped.push_back("linked file " + ref.target + " (not found)");
      }
      continue;
    }
    if (const int anchor = AnchorOf(ref.target, ref.fragment); anchor >= 0) {
      // A link to an anchor stays a special link: only those name anchors.
      if (TAEHoggetto* link = m_set.GetObjectById(ref.link); link != nullptr && !link->IsFree()) {
        LeadToPage(*link, page->second, anchor, ref.target == ref.from);
      }
      continue;
    }
    toPage.emplace(ref.link, page->second);
  }
  // A link in a page's text to a file that became a page of this run is a
  // link to that page, as if the author had made it.
  for (const auto& [key, pageId] : m_pages) {
    if (toPage.empty()) break;
    TAEHoggetto* page = m_set.GetObjectById(pageId);
    if (page == nullptr || page->Content().source != DataBlock::Source::Memory) continue;
    std::string text(page->Content().View());
    struct Replaced {
      std::size_t at;
      ObjectId link;
      ObjectId page;
    };
    std::vector<Replaced> replaced;
    markup::ForEachReference(text, [&](const markup::Token& tag) {
      const auto link = static_cast<ObjectId>(tag.value);
      const auto found = tag.wellFormed ? toPage.find(link) : toPage.end();
      if (found != toPage.end()) replaced.push_back({tag.at, link, found->second});
    });
    if (replaced.empty()) continue;
    for (const Replaced& r : replaced) {
      text.replace(r.at + 2, 8, base::ToHex(static_cast<std::uint32_t>(r.page), 8));
      if (TAEHoggetto* record = m_set.GetObjectById(r.link); record != nullptr) record->Clear();
    }
    page->SetContent(std::move(text));
  }
  // Links held elsewhere (the zones of image maps) lead to the page too.
  for (const auto& [id, pageId] : toPage) {
    TAEHoggetto* link = m_set.GetObjectById(id);
    if (link != nullptr && !link->IsFree()) LeadToPage(*link, pageId, -1, false);
  }
  m_importLinks.clear();
  // The same reference missing from many pages is told once.
  for (const std::string& what : m_skippedOrder) {
    const auto& [page, count] = m_skipped[what];
    m_report.skipped.push_back(what + (count == 1 ? " in " + page : " in " + std::to_string(count) + " places"));
  }
  m_skipped.clear();
  m_skippedOrder.clear();
}

// ---- The converter's operations ----

int TAEHtoHtml::ImportFiles(const std::vector<fs::path>& files, bool /*flag*/) {
  m_importReport = {};
  if (LinkedAEHset() == nullptr) return 0;
  const int language = Language;
  HtmlImportRun run(*this, m_importReport, ImportFileReader, ImpPreview);
  int first = -1;
  const int total = static_cast<int>(files.size());
  for (int i = 0; i < total; ++i) {
    ReportProgress(i, total, kPhaseImportFiles);
    if (Cancelled()) break;
    const fs::path& file = files[static_cast<std::size_t>(i)];
    TAEHoggetto* page = run.ImportFile(file);
    if (page != nullptr && first < 0) first = page->Index();
    ProcessPendingEvents();
  }
  run.ResolveImportLinks();
  Language = language;
  return first < 0 ? 0 : first;
}

int TAEHtoHtml::ImportHtmlSource(std::string_view bytes, const fs::path& name) {
  m_importReport = {};
  if (LinkedAEHset() == nullptr) return -1;
  HtmlImportRun run(*this, m_importReport, ImportFileReader, ImpPreview);
  TAEHoggetto* page = run.ImportSource(bytes, name);
  run.ResolveImportLinks();
  return page != nullptr ? page->Index() : -1;
}

}  // namespace tarn::convert
