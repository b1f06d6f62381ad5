// Object records: life cycle, reading, writing and the transfer format.
#include "document/aehoggetto.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "base/cp1252.h"
#include "base/filestream.h"
#include "base/winpath.h"
#include "document/aehpicture.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/imagecodec.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "platform/clipboard.h"
#include "platform/messages.h"

namespace tarn::document {
using namespace field;
namespace {

constexpr std::int64_t kCopyChunk = 1 << 20;

}  // namespace

BlockFields BlockFieldsOf(int kind) {
  switch (kind) {
    case testoHtml: return {0, 185, 239, 243};
    case zipLink:
    case genLink: return {0, 85, -1, -1};
    case immagine:
    case mappaClic: return {0, 174, -1, -1};
    case tabellaHtml: return {0, 85, 58, 62};
    case mappaFrame: return {0, 85, -1, -1};
    case speclink: return {0, 5, 39, 43};
    case shortObj: return {0, 13, 20, 24};
    case custom: return {0, 13, 72, 76};
    case dbloc: return {0, 13, 38, 42};
    case immagineNew: return {-1, -1, 61, 65};
    case inputStat: return {0, 13, 184, 188};
    case inputDin: return {0, 13, 452, 456};
    case bottoneCGI: return {-1, -1, 195, 199};
    case inizioForm: return {-1, -1, 356, 360};
    case multiMedia: return {0, 13, 38, 42};
    default: return {};
  }
}

int NameOffset(int kind) {
  switch (kind) {
    case testoHtml: return kPageTitle;
    case internetLink: return kLinkUrl;
    case zipLink: case genLink: return kEmbeddedFileName;
    case immagine: return kImageName;
    case programma: return kProgramName;
    case mappaFrame: return kFrameMapName;
    case stileParagrafo: case fontFace: return style::kName;
    case keyword: return kKeywordText;
    case custom: case dbloc: case inputStat: case inputDin: case bottoneCGI: case inizioForm:
      return kObjectName;
    case immagineNew: return kPlacedAltText;
    default: return -1;
  }
}

int NameCapacity(int kind) {
  switch (kind) {
    case testoHtml: return kPageTitleCapacity;
    case immagine: return kImageNameCapacity;
    case internetLink: return kLinkUrlCapacity;
    case zipLink: case genLink: return kEmbeddedFileNameCapacity;
    case keyword: return kKeywordCapacity;
    case mappaFrame: return kFrameMapNameCapacity;
    case inputStat: case inputDin: case bottoneCGI: return kFormNameCapacity;
    case programma: return kProgramNameCapacity;
    case custom: return kPrototypeNameCapacity;
    case dbloc: return kDataSourceNameCapacity;
    case immagineNew: return kPlacedAltTextCapacity;
    case stileParagrafo: case fontFace: return style::kNameCapacity;
    case inizioForm: return kFormStartNameCapacity;
    default: return 0;
  }
}

void SetLinkSubtype(TAEHoggetto& link) {
  const std::string url = link.Str(kLinkUrl, kLinkUrlCapacity);
  if (url.starts_with(kInternalScheme)) link.SetSubtype(kLinkInternal);
  else if (url.starts_with("http:")) link.SetSubtype(kLinkWeb);
  else if (url.starts_with("mailto:")) link.SetSubtype(kLinkMail);
}

TAEHoggetto::TAEHoggetto() { m_record.fill(0xFF); }

TAEHoggetto::~TAEHoggetto() {
  if (m_owner != nullptr) m_owner->UncachePicture(this);
}

bool TAEHoggetto::SetType(int kind) {
  if (kind < 0 || kind >= kKindCount) return false;
  if (m_registered && kind != m_kind) return false;
  m_kind = static_cast<std::uint8_t>(kind);
  return true;
}

std::int32_t TAEHoggetto::HypertextRevision() const { return m_owner ? m_owner->Revision() : 0; }

std::string TAEHoggetto::GetCaption() const {
  int at = NameOffset(m_kind);
  if (at < 0) return {};
  return Str(at, NameCapacity(m_kind));
}

bool TAEHoggetto::SetName(std::string_view name) {
  int at = NameOffset(m_kind);
  int cap = NameCapacity(m_kind);
  if (at < 0 || cap == 0 || m_kind == zipLink) return false;
  SetStr(at, cap, name);
  return true;
}

std::string TAEHoggetto::FileName() const {
  switch (m_kind) {
    case zipLink: case genLink: return Str(kEmbeddedFileName, kEmbeddedFileNameCapacity);
    case immagine: case mappaClic: return Str(kImageFileName, kImageFileNameCapacity);
    case programma: return Str(kProgramFileName, kProgramFileNameCapacity);
    default: return {};
  }
}

void TAEHoggetto::SetFileName(std::string_view name) {
  std::string unique = m_owner ? m_owner->UniqueEmbeddedName(name, this) : base::ExtractFileName(name);
  switch (m_kind) {
    case zipLink: case genLink: SetStr(kEmbeddedFileName, kEmbeddedFileNameCapacity, unique); break;
    case immagine: case mappaClic: SetStr(kImageFileName, kImageFileNameCapacity, unique); break;
    case programma: SetStr(kProgramFileName, kProgramFileNameCapacity, unique); break;
    default: break;
  }
}

bool TAEHoggetto::IsFree() const {
  int sub = m_record[kSubtype];
  switch (m_kind) {
    case testoHtml: return sub == kPageFree;
    case immagine: return sub == kImageFree;
    case internetLink: return sub == kLinkFree;
    case genLink: return sub == kEmbeddedFree;
    case keyword: return Str(kKeywordText, kKeywordCapacity) == kFreeKeyword;
    case programma: return sub == kProgramFree;
    case mappaFrame: return sub == kFrameMapFree;
    case zipLink: case mappaClic: case spazio4: case spazio5: case none: return false;
    case testoHtmlRtf: return false;
    default: return sub == kObjectFree;  // 8, 10..13, 16..24
  }
}

std::int32_t TAEHoggetto::GetRevision() const {
  switch (m_kind) {
    case testoHtml: return I32(kPageRevision);
    case zipLink: case genLink: return I32(kFileRevision);
    case immagine: case mappaClic: return I32(kImageRevision);
    default: return HypertextRevision();
  }
}

void TAEHoggetto::SetRevision(std::int32_t value) {
  switch (m_kind) {
    case testoHtml: SetI32(kPageRevision, value); break;
    case zipLink: case genLink: SetI32(kFileRevision, value); break;
    case immagine: case mappaClic: SetI32(kImageRevision, value); break;
    default: break;
  }
}

void TAEHoggetto::ClearReferencedSpecialLinks() {
  if (m_owner == nullptr) return;
  auto clearIf = [this](ObjectId id, int wantedKind) {
    if (KindOf(id) != wantedKind) return;
    TAEHoggetto* target = m_owner->GetObjectById(id);
    if (target != nullptr && target != this && !target->IsFree()) target->Clear();
  };
  switch (m_kind) {
    case shortObj:
      if (Subtype() != kShortAnchor && Subtype() != kShortMarker) clearIf(I32(kShortValue), speclink);
      break;
    case dbloc:
      // A data source owns the four short objects that hold its settings.
      for (int i = 0; i < kDataObjectCount; ++i) clearIf(I32(kDataObjects + 4 * i), shortObj);
      break;
    case immagineNew:
      for (int i = 0; i < kZoneCount; ++i) clearIf(I32(kPlacedZones + i * kZoneSize), speclink);
      break;
    case bottoneCGI: clearIf(I32(kButtonLink), speclink); break;
    default: break;
  }
}

void TAEHoggetto::ReleaseOwned() {
  if (m_kind == immagine && m_owner != nullptr) m_owner->UncachePicture(this);
  ClearReferencedSpecialLinks();
}

void TAEHoggetto::Clear() {
  ReleaseOwned();
  m_record.fill(0xFF);
  m_filePath.clear();
  ApplyClearDefaults();
  m_content.Reset();
  m_extra.Reset();
  m_frameDescription.clear();
  m_frameWriterValue = 0;
}

void TAEHoggetto::ApplyClearDefaults() {
  const std::int32_t rev = HypertextRevision();
  switch (m_kind) {
    case testoHtml: {
      SetSubtype(kPageFree);
      SetStr(kPageTitle, kPageTitleCapacity, "Untitled");
      if (m_owner != nullptr) {
        SetI32(kPageBgColour, m_owner->HeaderI32(header::kBackgroundColour));
        SetI32(kPageBgImage, m_owner->HeaderI32(header::kBackgroundImage));
        SetI32(kPageTextColour, m_owner->HeaderI32(header::kTextColour));
        SetI32(kPageLinkColour, m_owner->HeaderI32(header::kLinkColour));
        SetI32(kPageVisitedColour, m_owner->HeaderI32(header::kVisitedColour));
      } else {
        SetI32(kPageBgColour, 0xC0C0C0);
        SetI32(kPageBgImage, -1);
        SetI32(kPageTextColour, 0);
        SetI32(kPageLinkColour, 0xFF0000);
        SetI32(kPageVisitedColour, 0x0000FF);
      }
      SetU8(kPageZero200, 0);
      SetU8(kPageGeneration, 2);
      SetI32(kPageRevision, rev);
      SetI16(kPageLanguage, 1033);
      SetU8(kPageBrowseOut, 1);
      // No additional HTML name: left at 0xFF it would read as 40 bytes of
      // garbage and name the exported file.
      SetU8(kPageHtmlName, 0);
      break;
    }
    case internetLink:
    case genLink:
      SetSubtype(m_kind == internetLink ? kLinkFree : kEmbeddedFree);
      SetI32(kFileRevision, rev);
      break;
    case keyword: SetStr(kKeywordText, kKeywordCapacity, kFreeKeyword); break;
    case immagine:
      SetSubtype(kImageFree);
      SetU8(kImageLastByte, 0);
      SetI32(kImageRevision, rev);
      break;
    case programma: SetSubtype(kProgramFree); break;
    case tabellaHtml: {
      SetSubtype(kObjectFree);
      std::fill_n(m_record.begin() + kTableColumnKinds, kMaxTableColumns, std::uint8_t{1});
      SetU8(kTablePercentWidth, 1);
      SetU8(kTable88, 100);
      SetU8(kTableWidthPercent, 100);
      SetU8(kTablePadding, 2);
      SetU8(kTableSpacing, 2);
      SetU8(kTableBorder, 0);
      SetU8(kTableRows, 1);
      SetU8(kTableColumns, 1);
      SetU8(kTableAlignment, 0);
      SetU8(kTableVerticalAlignment, 0);
      std::fill_n(m_record.begin() + kTableColumnSizes, 2 * kMaxTableColumns, std::uint8_t{0});
      SetI32(kTableLightFrame, static_cast<std::int32_t>(0x80000014u));
      SetI32(kTableDarkFrame, static_cast<std::int32_t>(0x80000010u));
      SetU8(kTableForm, 2);
      SetI32(kTableZero197, 0);
      SetI32(kTableZero201, 0);
      SetI16(kTableZero205, 0);
      break;
    }
    case mappaFrame:
      SetSubtype(kFrameMapFree);
      SetStr(kFrameMapName, kFrameMapNameCapacity, "Map");
      break;
    case speclink:
      SetSubtype(kObjectFree);
      SetStr(kSpecialWindow, kSpecialWindowCapacity, "Kr");
      break;
    case shortObj: case immagineNew: case formato: case inputStat: case inputDin: case bottoneCGI:
    case inizioForm: case multiMedia:
      SetSubtype(kObjectFree);
      break;
    case custom:
      SetSubtype(kObjectFree);
      SetStr(kObjectName, kPrototypeNameCapacity, "New prototype");
      break;
    case dbloc:
      SetSubtype(kObjectFree);
      SetStr(kObjectName, kDataSourceNameCapacity, "db");
      SetU8(kData46, 0);
      break;
    case stileParagrafo: {
      m_record.fill(0);
      SetStr(style::kFace, style::kFaceCapacity, "Times New Roman");
      SetI16(style::kSize, 12);
      SetI32(style::kColour, 0);
      SetU8(style::kStyleBits, 0);
      SetI16(style::kLinkSize, -1);
      SetI32(style::kLinkColour, 0xFF0000);
      SetU8(style::kLinkStyle, style::kUnderline);
      SetI16(style::kLeftMargin, 10);
      SetI16(style::kRightMargin, 10);
      SetI16(style::kLineHeight, style::kAutomaticLineHeight);
      SetU8(style::kUnit, 1);
      SetU8(style::kAlignment, 0);
      SetU8(style::kListKind, style::kListNone);
      SetU8(style::kPByte, 0);
      SetU8(style::kPosition, 0);
      break;
    }
    default: break;
  }
}

void TAEHoggetto::InitNew() {
  switch (m_kind) {
    case testoHtml:
      SetSubtype(kPageInUse);
      SetContent(std::string(kEmptyPageMarkup));
      break;
    case internetLink: SetSubtype(kLinkNew); break;
    case genLink: SetSubtype(kEmbeddedInUse); break;
    case immagine: SetSubtype(kImageGif); break;
    case tabellaHtml: SetSubtype(kTableNew); break;
    case mappaFrame: SetSubtype(kFrameMapNew); break;
    case speclink: case shortObj: case custom: case immagineNew: case stileParagrafo: case fontFace:
    case formato: case inputStat: case inputDin: case bottoneCGI: case inizioForm: case multiMedia:
      SetSubtype(kObjectNew);
      break;
    case dbloc: SetSubtype(kDataSourceNew); break;
    default: break;
  }
  SetRevision(HypertextRevision());
}

void TAEHoggetto::SetContent(std::string bytes) {
  m_content.Assign(std::move(bytes));
}

void TAEHoggetto::SetExtra(std::string bytes) {
  m_extra.Assign(std::move(bytes));
}

std::int64_t TAEHoggetto::ContentLength() const {
  if (m_content.Present()) return m_content.Size();
  if (!m_filePath.empty()) {
    std::error_code ec;
    auto size = std::filesystem::file_size(m_filePath, ec);
    return ec ? 0 : static_cast<std::int64_t>(size);
  }
  return 0;
}

std::optional<std::string> TAEHoggetto::ReadContent() const {
  switch (m_content.source) {
    case DataBlock::Source::Memory: return std::string(m_content.View());
    case DataBlock::Source::Document: {
      if (m_owner == nullptr) return std::nullopt;
      std::string out;
      if (!m_owner->DocumentFile().ReadAt(m_content.offset, m_content.length, out)) return std::nullopt;
      return out;
    }
    case DataBlock::Source::None: break;
  }
  if (m_filePath.empty()) return std::nullopt;
  std::string out;
  if (!base::ReadWholeFile(m_filePath, out)) return std::nullopt;
  return out;
}

// ---- Reading from the document file ----

void TAEHoggetto::ReadRecord(std::span<const std::uint8_t> stored, std::int64_t size,
                             const base::ReadFile& doc, std::int64_t dataOrigin) {
  ReadRecordOnly(stored, size);
  std::vector<BlockRequest> requests;
  RequestBlocks(doc.Size(), dataOrigin, requests);
  for (const BlockRequest& r : requests) {
    std::string bytes;
    if (doc.ReadAt(r.offset, r.length, bytes)) {
      auto buffer = std::make_shared<const std::string>(std::move(bytes));
      AdoptBlock(r.part, buffer, 0, buffer->size());
    }
  }
}

void TAEHoggetto::ReadRecordOnly(std::span<const std::uint8_t> stored, std::int64_t size) {
  m_record.fill(0xFF);
  std::copy_n(stored.begin(), std::min<std::size_t>(stored.size(), m_record.size()), m_record.begin());
  UpgradeShortRecord(size);
  m_registered = true;
}

void TAEHoggetto::UpgradeShortRecord(std::int64_t size) {
  const std::int32_t rev = HypertextRevision();
  auto uniqueName = [this](int at, int cap) {
    std::string name = Str(at, cap);
    std::string unique = m_owner ? m_owner->UniqueEmbeddedName(name) : name;
    SetStr(at, cap, unique);
  };
  switch (m_kind) {
    case testoHtml:
      if (size <= kPageShorterSize) {
        SetI16(kPageLanguage, 1033);
        SetU8(kPageGeneration, 1);
        SetI32(kPageRevision, rev - 1);
        SetU8(kPageZero200, 0);
        SetI16(kPageSlideDelay, 5);
        SetI32(kPage223, -1);
        SetI32(kPageSlideTarget, -1);
        SetI32(kPageHeaderChoice, -1);
        SetI32(kPageFooterChoice, -1);
      }
      break;
    case internetLink:
      if (Subtype() < kLinkFree || Subtype() > kLinkMail) SetLinkSubtype(*this);
      break;
    case zipLink:
    case genLink:
      if (size <= kEmbeddedShorterSize) {
        SetI32(kFileRevision, rev - 1);
        uniqueName(kEmbeddedFileName, kEmbeddedFileNameCapacity);
      }
      break;
    case immagine:
      if (size <= kImageShorterSize) {
        uniqueName(kImageFileName, kImageFileNameCapacity);
        SetI32(kImageClickOrigin, -1);
        SetU8(kImageLastByte, 0);
        SetI32(kImageRevision, rev - 1);
      }
      break;
    case mappaClic: uniqueName(kImageFileName, kImageFileNameCapacity); break;
    case tabellaHtml:
      if (size <= kTableShorterSize) {
        SetU8(kTableForm, 1);
        SetI16(kTablePixelWidth, 300);
        std::fill_n(m_record.begin() + kTableColumnKinds, kMaxTableColumns, std::uint8_t{0});
        // Column widths grew from one byte to two.
        std::array<std::uint8_t, kMaxTableColumns> narrow{};
        std::copy_n(m_record.begin() + kTableColumnSizes, kMaxTableColumns, narrow.begin());
        for (int i = 0; i < kMaxTableColumns; ++i) {
          SetI16(kTableColumnSizes + 2 * i, narrow[static_cast<std::size_t>(i)]);
        }
        SetU8(kTablePercentWidth, 1);
      }
      break;
    case bottoneCGI:
      if (size < kButtonFullSize) SetI16(kButtonNaturalWidth, -1);
      break;
    case multiMedia:
      if (Subtype() != kMediaReferenced && Subtype() != kMediaCustom && I32(kMediaReference) != -1) {
        // An index stored without its kind names an embedded file.
        const auto v = static_cast<std::uint32_t>(I32(kMediaReference));
        SetI32(kMediaReference, MakeObjectId(genLink, static_cast<int>(v & 0x00FFFFFFu)));
      }
      break;
    default: break;
  }
}

bool TAEHoggetto::RequestBlocks(std::int64_t fileSize, std::int64_t dataOrigin,
                                std::vector<BlockRequest>& requests) {
  // A deleted object keeps the block fields of its last save, which may point
  // at other objects' data by now; it writes no blocks, so none are read.
  // Tables are the exception: tables in use are stored with the same subtype
  // as deleted ones, and their cell colours must not be lost.
  if (IsFree() && m_kind != tabellaHtml) return true;
  BlockFields f = BlockFieldsOf(m_kind);
  // A block that starts inside the file is attached; one that runs past the
  // end cannot be read and is dropped. Either way a block with data that is
  // not wholly inside the file means the file was cut: the record is not
  // whole. (A negative offset is an absent block, not a lost one.)
  bool whole = true;
  auto inside = [&](std::int64_t off, std::int64_t len) {
    const std::int64_t at = dataOrigin + off;
    return off >= 0 && len > 0 && at < fileSize;
  };
  auto readable = [&](std::int64_t off, std::int64_t len) {
    return inside(off, len) && len <= fileSize - (dataOrigin + off);
  };
  auto check = [&](std::int64_t off, std::int64_t len) {
    if (off < 0 || len <= 0 || readable(off, len)) return;
    // The stale fields of a deleted table may point past the end of a file
    // that has shrunk since; only a table block that the end cuts is lost.
    if (m_kind == tabellaHtml && !inside(off, len)) return;
    whole = false;
  };
  if (f.contentOffset >= 0) {
    if (m_content.Present()) {
      if (m_owner) m_owner->Services().messages->Error("Errore, oggetto non risulta libero!");
      return true;
    }
    std::int64_t off = I32(f.contentOffset);
    std::int64_t len = I32(f.contentLength);
    if (m_kind == tabellaHtml) len = I32(kTableCells81) == 0 ? 0 : base::GetU16(m_record, kTableLength16);
    if (m_kind == multiMedia) {
      if (off == -1) off = 0;
      if (len == -1) len = 0;
    }
    check(off, len);
    const bool lazy = m_kind == zipLink || m_kind == genLink || m_kind == immagine || m_kind == mappaClic;
    if (lazy && inside(off, len)) {
      m_content.source = DataBlock::Source::Document;
      m_content.offset = dataOrigin + off;
      m_content.length = len;
    } else if (!lazy && readable(off, len)) {
      requests.push_back({this, BlockRequest::Part::Content, dataOrigin + off, len});
    }
  }
  if (f.extraOffset >= 0) {
    const std::int64_t off = I32(f.extraOffset);
    const std::int64_t len = I32(f.extraLength);
    check(off, len);
    if (readable(off, len)) requests.push_back({this, BlockRequest::Part::Extra, dataOrigin + off, len});
  }
  if (m_kind == mappaFrame && Subtype() != kFrameMapFree) {
    // The frameset description sits between its start and the content.
    const std::int64_t start = I32(kFrameDescStart);
    const std::int64_t end = I32(kContentOffset);
    if (end > start) check(start, end - start);
    if (end > start && readable(start, end - start)) {
      requests.push_back({this, BlockRequest::Part::FrameDescription, dataOrigin + start, end - start});
      m_frameWriterValue = I32(kFrameWriterValue);
    }
  }
  return whole;
}

void TAEHoggetto::AdoptBlock(BlockRequest::Part part, const std::shared_ptr<const std::string>& buffer,
                             std::size_t begin, std::size_t size) {
  switch (part) {
    case BlockRequest::Part::Content: m_content.Share(buffer, begin, size); break;
    case BlockRequest::Part::Extra: m_extra.Share(buffer, begin, size); break;
    case BlockRequest::Part::FrameDescription: m_frameDescription.assign(*buffer, begin, size); break;
  }
}

// ---- Writing to the document file ----

bool TAEHoggetto::AppendContent(DataSink& data, std::vector<std::string>& errors, std::int64_t& written) {
  written = 0;
  if (m_content.source == DataBlock::Source::Memory) {
    written = m_content.Size();
    return data.Append(m_content.View());
  }
  if (m_content.source == DataBlock::Source::Document) {
    const base::ReadFile& doc = m_owner->DocumentFile();
    // A stored range running past the end of the file is copied as far as it
    // exists, and the length written is what was copied: writing the stored
    // length would make this block overlap the next one.
    std::int64_t left = std::min(m_content.length, std::max<std::int64_t>(0, doc.Size() - m_content.offset));
    std::int64_t at = m_content.offset;
    std::string chunk;
    while (left > 0) {
      std::int64_t n = std::min(left, kCopyChunk);
      if (!doc.ReadAt(at, n, chunk)) {
        errors.push_back("Error in file opening: " + m_owner->AEHFileName().string() + "\r" +
                         base::ErrorText(doc.Error()));
        return true;
      }
      if (!data.Append(chunk)) return false;
      written += n;
      at += n;
      left -= n;
    }
    return true;
  }
  if ((m_kind == genLink || m_kind == immagine || m_kind == immagineNew) && !m_filePath.empty()) {
    std::string bytes;
    if (!base::ReadWholeFile(m_filePath, bytes)) {
      const int error = errno;
      errors.push_back("Error in file opening: " + m_filePath.string() + "\r" + base::ErrorText(error));
      return true;
    }
    written = static_cast<std::int64_t>(bytes.size());
    return data.Append(bytes);
  }
  return true;
}

void TAEHoggetto::WriteBlocks(DataSink& data, std::vector<std::string>& errors) {
  // A free record keeps its old block fields; one that still holds data (a
  // table, whose subtype does not tell use from deletion) writes it.
  if (IsFree() && !m_content.Present() && !m_extra.Present()) return;
  BlockFields f = BlockFieldsOf(m_kind);
  if (m_kind == mappaFrame) {
    std::string description;
    std::int32_t value = m_frameWriterValue;
    if (m_owner != nullptr && m_owner->FrameSetWriter) {
      value = m_owner->FrameSetWriter(*this, description);
    } else {
      description = m_frameDescription;
    }
    SetI32(kFrameDescStart, static_cast<std::int32_t>(data.Position()));
    SetI32(kFrameWriterValue, value);
    if (!data.Append(description)) throw std::runtime_error("write");
  }
  if (f.contentOffset >= 0) {
    SetI32(f.contentOffset, static_cast<std::int32_t>(data.Position()));
    std::int64_t written = 0;
    if (!AppendContent(data, errors, written)) throw std::runtime_error("write");
    if (m_kind == tabellaHtml) {
      // FIXME: the table layer decides what a table's content is; until then
      // content beyond what the 16-bit field can hold is reported, not cut.
      if (written > 0xFFFF) errors.push_back("Error writing file table content too large");
      base::PutU32(m_record, 0, static_cast<std::uint32_t>(I32(f.contentOffset)));
      SetI16(kTableLength16, static_cast<std::int16_t>(static_cast<std::uint16_t>(written)));
    } else {
      SetI32(f.contentLength, static_cast<std::int32_t>(written));
    }
  }
  if (f.extraOffset >= 0) {
    SetI32(f.extraOffset, static_cast<std::int32_t>(data.Position()));
    std::int64_t len = 0;
    if (m_extra.source == DataBlock::Source::Memory) {
      len = m_extra.Size();
      if (!data.Append(m_extra.View())) throw std::runtime_error("write");
    }
    SetI32(f.extraLength, static_cast<std::int32_t>(len));
  }
}

void TAEHoggetto::WriteRecord(std::string& records) const {
  records.append(reinterpret_cast<const char*>(m_record.data()), static_cast<std::size_t>(RecordSize(m_kind)));
}

// ---- Transfer format ----

void TAEHoggetto::SaveToStream(std::string& out) const {
  base::AppendI32(out, m_index);
  base::AppendU8(out, m_kind);
  out.append(reinterpret_cast<const char*>(m_record.data()), m_record.size());
  std::string path = m_filePath.string();
  base::AppendI32(out, static_cast<std::int32_t>(path.size()));
  out += path;
  std::string content;
  if (m_content.Present()) content = ReadContent().value_or(std::string());
  base::AppendI32(out, static_cast<std::int32_t>(content.size()));
  base::AppendI32(out, 0);
  out += content;
  std::string_view extra = m_extra.View();
  base::AppendI32(out, static_cast<std::int32_t>(extra.size()));
  out += extra;
}

bool TAEHoggetto::LoadFromStream(base::ByteReader& in) {
  std::int32_t index = 0;
  std::uint8_t kind = 0;
  std::array<std::uint8_t, kRecordBufferSize> record{};
  if (!in.ReadI32(index) || !in.ReadU8(kind) || !in.ReadInto(record)) return false;
  std::int32_t pathLength = 0;
  std::string path;
  if (!in.ReadI32(pathLength) || pathLength < 0 || !in.ReadBytes(static_cast<std::size_t>(pathLength), path)) {
    return false;
  }
  if (m_registered) {
    if (kind != m_kind && m_owner != nullptr) {
      m_owner->Services().messages->Error(
          "In un TAEHoggetto registrato si pu\xF2 caricare solo un TAEHoggetto dello stesso tipo!");
    }
  } else {
    if (kind >= kKindCount) return false;
    m_index = index & kMaxIndex;
    m_kind = kind;
  }
  m_record = record;
  m_filePath = path;
  m_content.Reset();
  m_extra.Reset();
  std::int32_t contentLength = 0;
  std::int32_t zero = 0;
  std::string content;
  if (!in.ReadI32(contentLength) || !in.ReadI32(zero) || contentLength < 0 ||
      !in.ReadBytes(static_cast<std::size_t>(contentLength), content)) {
    return true;
  }
  if (contentLength > 0) SetContent(std::move(content));
  std::int32_t extraLength = 0;
  std::string extra;
  if (!in.ReadI32(extraLength) || extraLength < 0 ||
      !in.ReadBytes(static_cast<std::size_t>(extraLength), extra)) {
    return true;
  }
  if (extraLength > 0) SetExtra(std::move(extra));
  return true;
}

// ---- Files and pictures ----

std::filesystem::path TAEHoggetto::ExtractToFile() {
  if (!m_content.Present() || m_owner == nullptr) return m_filePath;
  std::string name = FileName();
  if (name.empty()) name = GetCaption();
  if (name.empty()) name = "object.dat";
  std::filesystem::path target = m_owner->TempFileName(name);
  auto bytes = ReadContent();
  if (!bytes || !base::WriteWholeFile(target, *bytes)) {
    m_owner->Services().messages->Error("HD space may be low! Error depacking file: " + target.string());
    return {};
  }
  if (m_content.source == DataBlock::Source::Memory) m_content.Reset();
  m_filePath = target;
  return target;
}

TAEHpicture* TAEHoggetto::GetPicture() {
  if (m_owner == nullptr) return nullptr;
  if (m_kind == immagineNew) {
    TAEHoggetto* image = m_owner->GetObject(immagine, I32(kPlacedImage));
    return image != nullptr && image != this ? image->GetPicture() : nullptr;
  }
  if (m_kind != immagine) return nullptr;
  if (TAEHpicture* cached = m_owner->CachedPicture(this)) return cached;
  // Still held by a screen object: back into the cache, not decoded again.
  if (std::shared_ptr<TAEHpicture> held = m_owner->HeldPicture(this)) {
    TAEHpicture* raw = held.get();
    m_owner->CachePicture(this, std::move(held));
    return raw;
  }
  std::filesystem::path file = ExtractToFile();
  if (file.empty()) return nullptr;
  auto picture = std::make_unique<TAEHpicture>();
  if (!picture->SetImageNameL(file)) return nullptr;
  SetI16(kImageWidth, static_cast<std::int16_t>(picture->Width()));
  SetI16(kImageHeight, static_cast<std::int16_t>(picture->Height()));
  TAEHpicture* raw = picture.get();
  m_owner->CachePicture(this, std::move(picture));
  return m_owner->CachedPicture(this) == raw ? raw : nullptr;
}

bool TAEHoggetto::ReplaceContent(const TAEHoggetto& other) {
  if (m_kind != immagine) {
    if (m_owner) m_owner->Services().messages->Information("ReplaceContent called improperly...");
    return false;
  }
  if (m_registered && m_owner != nullptr && m_owner->Undo() != nullptr) {
    m_owner->Undo()->RecordObject(*this, "Modify image " + GetCaption());
  }
  std::string stream;
  other.SaveToStream(stream);
  const int index = m_index;
  const std::uint8_t kind = m_kind;
  const bool registered = m_registered;
  m_registered = true;  // keeps index and kind while loading
  base::ByteReader reader(stream);
  LoadFromStream(reader);
  m_registered = registered;
  m_index = index;
  m_kind = kind;
  if (m_owner) m_owner->UncachePicture(this);
  SetRevision(HypertextRevision());
  return true;
}

bool TAEHoggetto::ReplaceContent(std::unique_ptr<TAEHoggetto> other) {
  // An unregistered source is destroyed afterwards with the pointer.
  return other != nullptr && ReplaceContent(*other);
}

bool TAEHoggetto::SameContent(const TAEHoggetto& other) const {
  if (IsFree() || other.IsFree()) return false;
  switch (m_kind) {
    case internetLink:
    case keyword:
      return other.m_kind == m_kind && GetCaption() == other.GetCaption();
    case immagine: {
      if (other.m_kind != immagine || ContentLength() != other.ContentLength()) return false;
      auto a = ReadContent();
      auto b = other.ReadContent();
      return a && b && *a == *b;
    }
    case stileParagrafo: {
      if (other.m_kind != stileParagrafo) return false;
      if ((!m_registered || m_index > 1) &&
          Str(style::kName, style::kNameCapacity) != other.Str(style::kName, style::kNameCapacity)) {
        return false;
      }
      return std::equal(m_record.begin() + style::kDefinition,
                        m_record.begin() + style::kDefinition + style::kDefinitionBytes,
                        other.m_record.begin() + style::kDefinition);
    }
    default: return false;
  }
}

void TAEHoggetto::CopyImageToClipboard() {
  if (m_owner == nullptr) return;
  platform::Messages& messages = *m_owner->Services().messages;
  if (m_kind != immagine && m_kind != immagineNew) {
    messages.Error("Allowed only for immagine");
    return;
  }
  std::string data;
  base::AppendI32(data, 3);
  if (m_kind == immagine) {
    base::AppendI32(data, 0);  // no link records
    base::AppendI32(data, 1);  // one shared record: the image
    base::AppendI32(data, immagine);
    SaveToStream(data);
    auto placed = m_owner->NewObject(immagineNew);
    placed->SetI32(kPlacedImage, m_index);
    std::string alt = m_owner->AltText() ? GetCaption() + "=" : std::string();
    placed->SetStr(kPlacedAltText, 32, alt);
    for (int at : {kPlacedNaturalWidth, kPlacedWidth}) placed->SetI16(at, I16(kImageWidth));
    for (int at : {kPlacedNaturalHeight, kPlacedHeight}) placed->SetI16(at, I16(kImageHeight));
    base::AppendI32(data, 1);
    base::AppendI32(data, immagineNew);
    base::AppendI32(data, 1);
    placed->SaveToStream(data);
  } else {
    // The click zones' links are only known to the screen object, which
    // does not exist outside the page editor.
    messages.Error("Mah.Occorre salvare oggetti reg?");
    base::AppendI32(data, 0);
    std::vector<TAEHoggetto*> images;
    for (int at : {kPlacedImage, kPlacedImage2, kPlacedImage3}) {
      if (TAEHoggetto* image = m_owner->GetObject(immagine, I32(at)); image != nullptr && image != this) {
        images.push_back(image);
      }
    }
    base::AppendI32(data, static_cast<std::int32_t>(images.size()));
    for (TAEHoggetto* image : images) {
      base::AppendI32(data, immagine);
      image->SaveToStream(data);
    }
    base::AppendI32(data, 1);
    base::AppendI32(data, immagineNew);
    base::AppendI32(data, 1);
    SaveToStream(data);
  }
  base::AppendI32(data, 1);
  data += std::string("<Z S0 ><$FF000001>\0", 19);

  platform::ClipboardData clip;
  clip.items.push_back({std::string(platform::kMimePicture), std::move(data)});
  if (TAEHpicture* picture = GetPicture()) clip.image = picture->Bitmap();
  if (platform::Clipboard* clipboard = m_owner->Services().clipboard) clipboard->Set(clip);
}

bool TAEHoggetto::SaveImageAsBitmap(const std::filesystem::path& path) {
  TAEHpicture* picture = GetPicture();
  if (picture == nullptr || picture->Bitmap().Empty()) return false;
  std::string bmp = EncodeBmp(picture->Bitmap());
  std::filesystem::path target = path;
  target.replace_extension(".bmp");
  bool ok = base::WriteWholeFile(target, bmp);
  if (m_owner != nullptr) {
    TAEHoggetto* image = m_kind == immagine ? this : m_owner->GetObject(immagine, I32(kPlacedImage));
    if (image != nullptr) m_owner->UncachePicture(image);
  }
  return ok;
}

}  // namespace tarn::document
