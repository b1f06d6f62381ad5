// One RTF import run; see rtfimp.h.
#include "convert/rtfimp.h"

#include <algorithm>
#include <map>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "base/hex.h"
#include "base/winpath.h"
#include "convert/aehconv.h"
#include "convert/htmlwords.h"
#include "convert/rtfimpheader.h"
#include "convert/rtfimplexer.h"
#include "convert/rtfimppage.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "markup/entities.h"
#include "markup/tokenizer.h"
#include "richtext/localform.h"

namespace tarn::convert {

using document::TAEHoggetto;
using namespace document::field;

namespace {

constexpr int kContextCapacity = 20;
constexpr int kTitleCapacity = 71;
constexpr std::int32_t kContainerVersion = 1;
constexpr std::uint32_t kWorkingLinkKind = richtext::kLocalLinkKind;
constexpr std::string_view kPlaceholder = "<$00000000>";
constexpr std::string_view kLinkEnd = "<%>";
constexpr int kProgressPhase = 10;

std::string ContextKey(std::string_view context) {
  return base::UpperCase(context.substr(0, kContextCapacity));
}

// An object in the transfer format, carrying the number it has in the
// container rather than its (unregistered) index.
void AppendTransfer(std::string& out, const TAEHoggetto& object, std::int32_t number) {
  std::string record;
  object.SaveToStream(record);
  std::span<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(record.data()), record.size());
  if (record.size() >= 4) base::PutI32(bytes, 0, number);
  out += record;
}

}  // namespace

TRtfImp::TRtfImp(document::TAEHset& set, const RtfImportOptions& options, ExportProgress* progress,
                 const TAEHconv* sender)
    : m_set(set), m_options(options), m_records(set, options.background), m_progress(progress), m_sender(sender) {
  if (set.Services().system != nullptr) m_pixelsPerInch = set.Services().system->ScreenPixelsPerInch();
  if (m_options.headingLimit < 1) m_options.headingLimit = 1;
}

TRtfImp::~TRtfImp() = default;

bool TRtfImp::ReadDocument(std::string_view rtf, const std::filesystem::path& folder, std::string_view name) {
  m_folder = folder;
  rtf::Lexer lexer(rtf);
  TRtfHeader header(m_set, m_pixelsPerInch);
  if (!header.ReadHeader(lexer)) return false;
  TRtfPage page(*this, header, lexer, name);
  for (;;) {
    const bool more = page.ReadPage();
    page.StorePage();
    if (!more) break;
  }
  if (!m_options.commonIndex) FinishIndex();
  return true;
}

void TRtfImp::Finish() {
  FinishIndex();
  ResolveBookmarks();
  for (const auto& [page, context] : m_placeholders) AddReport(2, context + " (" + std::to_string(page) + ")");
  m_placeholders.clear();
}

int TRtfImp::FirstPage() const { return m_commonIndex >= 0 ? m_commonIndex : m_firstPage; }

void TRtfImp::Progress() {
  if (m_progress == nullptr || m_sender == nullptr) return;
  m_progress->OnExpProgress(*m_sender, static_cast<int>(m_progressTicks++ % 100), 100, kProgressPhase);
  if (m_progressTicks % 2 == 0) m_progress->ProcessPendingEvents();
}

// ---- Records ----

std::string TRtfImp::PlaceObject(std::unique_ptr<TAEHoggetto> object, TAEHoggetto** placed) {
  if (!object) return {};
  TAEHoggetto* raw = object.get();
  std::string tag;
  if (m_options.clipboard) {
    tag = "<$FF" + Hex6(static_cast<std::int64_t>(m_objects.size())) + ">";
    m_objects.push_back(std::move(object));
  } else {
    if (m_records.Register(std::move(object)) == nullptr) return {};
    tag = "<$" + base::ToHex(static_cast<std::uint32_t>(raw->GetId()), 8) + ">";
  }
  if (placed != nullptr) *placed = raw;
  return tag;
}

std::string TRtfImp::UrlLinkTag(std::string_view url) {
  if (m_options.clipboard) {
    std::size_t i = 0;
    while (i < m_links.size() && m_links[i]->Str(kLinkUrl, kLinkUrlCapacity) != url.substr(0, kLinkUrlCapacity)) ++i;
    if (i == m_links.size()) m_links.push_back(m_set.NewLink(url));
    return "<$" + base::ToHex(kWorkingLinkKind, 2) + Hex6(static_cast<std::int64_t>(i)) + ">";
  }
  TAEHoggetto* record = m_records.Link(url);
  if (record == nullptr) return {};
  return "<$" + base::ToHex(static_cast<std::uint32_t>(record->GetId()), 8) + ">";
}

TAEHoggetto* TRtfImp::AddImage(std::string bytes, std::string_view extension, bool transparent, int width,
                               int height) {
  if (!m_options.clipboard) return m_records.Image(std::move(bytes), extension, transparent, width, height, "Img");
  const std::string fileName = "Img" + std::to_string(++m_imageNumber) + std::string(extension);
  m_images.push_back(NewImageRecord(m_set, std::move(bytes), fileName, transparent, width, height));
  return m_images.back().get();
}

int TRtfImp::ClipboardImageIndex(const TAEHoggetto* image) const {
  for (std::size_t i = 0; i < m_images.size(); ++i) {
    if (m_images[i].get() == image) return static_cast<int>(i);
  }
  return -1;
}

TAEHoggetto* TRtfImp::LoadImageFile(std::string_view name) {
  if (m_options.clipboard) return nullptr;
  const std::filesystem::path wanted = base::ToLocalPath(name);
  std::filesystem::path path = wanted.is_absolute() ? wanted : m_folder / wanted;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    // Help sources come from a system that ignores the case of names.
    const std::string target = base::UpperCase(path.filename().string());
    path.clear();
    for (const auto& entry : std::filesystem::directory_iterator(m_folder, ec)) {
      if (base::UpperCase(entry.path().filename().string()) == target) {
        path = entry.path();
        break;
      }
    }
    if (path.empty()) return nullptr;
  }
  return m_set.AddImageFile(path);
}

// ---- Pages ----

TAEHoggetto* TRtfImp::NewPage(std::string_view context) {
  if (m_options.clipboard) return nullptr;
  const std::string key = ContextKey(context);
  if (!context.empty()) {
    const auto found = m_contexts.find(key);
    if (found != m_contexts.end()) {
      TAEHoggetto* page = m_set.GetObject(document::testoHtml, found->second);
      if (page != nullptr && !page->IsFree()) {
        m_placeholders.erase(found->second);
        return page;
      }
    }
  }
  TAEHoggetto* page = m_records.NewPage();
  if (page == nullptr) return nullptr;
  if (!context.empty()) {
    m_records.NamePage(*page, context.substr(0, kContextCapacity));
    m_contexts[key] = page->Index();
  }
  return page;
}

void TRtfImp::PageStored(int page) {
  if (m_firstPage < 0) m_firstPage = page;
}

int TRtfImp::PageForContext(std::string_view context) {
  const std::string key = ContextKey(context);
  const auto found = m_contexts.find(key);
  if (found != m_contexts.end()) return found->second;
  // A topic of the hypertext from an earlier import is found by its name.
  if (TAEHoggetto* existing = m_records.PageNamed(context.substr(0, kContextCapacity))) {
    m_contexts[key] = existing->Index();
    return existing->Index();
  }
  TAEHoggetto* page = NewPage(context);
  if (page == nullptr) return -1;
  page->SetName(context.substr(0, kTitleCapacity));
  m_placeholders[page->Index()] = std::string(context);
  return page->Index();
}

void TRtfImp::BookmarkAt(std::string_view name, int page) { m_bookmarks.emplace(std::string(name), page); }

void TRtfImp::LinkToBookmark(std::string_view name, int page, std::size_t offset) {
  m_pendingLinks.push_back({page, offset, std::string(name)});
}

void TRtfImp::ResolveBookmarks() {
  // Per page, from the last link backwards, so that offsets stay valid.
  std::map<int, std::vector<const PendingLink*>> byPage;
  for (const PendingLink& link : m_pendingLinks) byPage[link.page].push_back(&link);
  for (auto& [number, links] : byPage) {
    TAEHoggetto* page = m_set.GetObject(document::testoHtml, number);
    if (page == nullptr) continue;
    std::string markup = page->ReadContent().value_or(std::string());
    std::sort(links.begin(), links.end(), [](const PendingLink* a, const PendingLink* b) { return a->offset > b->offset; });
    for (const PendingLink* link : links) {
      if (markup.compare(link->offset, kPlaceholder.size(), kPlaceholder) != 0) continue;
      const auto target = m_bookmarks.find(link->name);
      if (target != m_bookmarks.end()) {
        markup.replace(link->offset, kPlaceholder.size(), "<$00" + Hex6(target->second) + ">");
        continue;
      }
      // No such bookmark: the text stays, without a link.
      const std::size_t end = markup.find(kLinkEnd, link->offset + kPlaceholder.size());
      if (end != std::string::npos) markup.erase(end, kLinkEnd.size());
      markup.erase(link->offset, kPlaceholder.size());
    }
    page->SetContent(std::move(markup));
  }
  m_pendingLinks.clear();
}

// ---- Index pages ----

void TRtfImp::StartIndex(std::string_view name) {
  if (m_index != nullptr || m_options.clipboard) return;
  m_index = NewPage();
  if (m_index == nullptr) return;
  m_index->SetName(name.substr(0, kTitleCapacity));
  PageStored(m_index->Index());
  m_indexMarkup = "<Z S0 >INDICE<Z S0 >";
  if (m_options.commonIndex && m_commonIndex < 0) m_commonIndex = m_index->Index();
}

void TRtfImp::IndexLine(int level, int page, std::string_view text) {
  if (m_index == nullptr) return;
  m_indexMarkup += "<Z S0 >";
  for (int i = 1; i < level; ++i) m_indexMarkup += ". ";
  m_indexMarkup += "<$00" + Hex6(page) + ">";
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 32) markup::AppendEscaped(m_indexMarkup, static_cast<unsigned char>(c));
  }
  m_indexMarkup += "<%><Z S0 >";
}

void TRtfImp::FinishIndex() {
  if (m_index == nullptr) return;
  std::string content = m_indexMarkup;
  content.push_back('\0');
  m_index->SetContent(std::move(content));
  m_index = nullptr;
  m_indexMarkup.clear();
}

std::string TRtfImp::ContentsLink() const {
  if (m_index == nullptr) return {};
  return "<Z S0 ><$00" + Hex6(m_index->Index()) + ">Contents<%><Z S0 >";
}

// ---- The clipboard container ----

namespace {

// A clipboard text without its tables' object tags and cell ends: without
// its table record a cell end would end the text, so the cells' paragraphs
// become paragraphs of the text.
std::string WithoutTables(std::string_view markup,
                          const std::vector<std::unique_ptr<document::TAEHoggetto>>& objects) {
  std::string out;
  out.reserve(markup.size());
  std::size_t copied = 0;
  markup::Tokenizer tokens(markup);
  for (markup::Token t = tokens.Next(); t.kind != markup::TokenKind::kEnd; t = tokens.Next()) {
    bool drop = t.kind == markup::TokenKind::kCellEnd;
    if (t.IsObject()) {
      const std::size_t index = t.value & 0xFFFFFF;
      drop = index < objects.size() && objects[index]->Kind() == document::tabellaHtml;
    }
    if (!drop) continue;
    out.append(markup.substr(copied, t.at - copied));
    copied = t.End();
  }
  out.append(markup.substr(copied));
  return out;
}

}  // namespace

std::string TRtfImp::Container(bool withRecords) const {
  std::string out;
  base::AppendI32(out, kContainerVersion);
  if (!withRecords) {
    for (int i = 0; i < 3; ++i) base::AppendI32(out, 0);
  } else {
    base::AppendI32(out, static_cast<std::int32_t>(m_links.size()));
    for (std::size_t i = 0; i < m_links.size(); ++i) {
      base::AppendI32(out, document::internetLink);
      base::AppendI32(out, static_cast<std::int32_t>((kWorkingLinkKind << 24) | i));
      AppendTransfer(out, *m_links[i], static_cast<std::int32_t>(i));
    }
    base::AppendI32(out, static_cast<std::int32_t>(m_images.size()));
    for (std::size_t i = 0; i < m_images.size(); ++i) {
      base::AppendI32(out, document::immagine);
      AppendTransfer(out, *m_images[i], static_cast<std::int32_t>(i));
    }
    base::AppendI32(out, static_cast<std::int32_t>(m_objects.size()));
    for (std::size_t i = 0; i < m_objects.size(); ++i) {
      base::AppendI32(out, m_objects[i]->Kind());
      base::AppendI32(out, static_cast<std::int32_t>(i));
      AppendTransfer(out, *m_objects[i], static_cast<std::int32_t>(i));
    }
  }
  std::string markup = withRecords ? clipboardMarkup : WithoutTables(clipboardMarkup, m_objects);
  if (!markup.starts_with("<Z S")) markup.insert(0, "<Z S0 >");
  base::AppendI32(out, std::max(clipboardParagraphs, 1));
  out += markup;
  out.push_back('\0');
  return out;
}

}  // namespace tarn::convert
