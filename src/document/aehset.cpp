// The hypertext container: header, object lists, open and save of the .AEH
// file, temporary files, image import and the image cache.
#include "document/aehset.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "base/cp1252.h"
#include "base/hex.h"
#include "base/winpath.h"
#include "document/aehorderedtree.h"
#include "document/aehtesto.h"
#include "document/imagecodec.h"
#include "document/recordfields.h"
#include "objects/frameset.h"
#include "platform/messages.h"
#include "richtext/oldtext.h"

namespace tarn::document {
namespace fs = std::filesystem;
using namespace field;
namespace {

constexpr std::string_view kMagicText = "BRIX";
constexpr int kNewHighestKind = 26;
constexpr int kCurrentVersion = 2;
constexpr std::int64_t kMinRecordSize = 16;
constexpr std::size_t kSinkBuffer = 4 << 20;
constexpr std::string_view kShareError =
    "Share error, or out of disk space.\rPlease close application(s) that make access to file, then "
    "choose \"Yes\" to retry.\r";

std::atomic<std::uint32_t> g_containerCounter{0};

class SilentMessages : public platform::Messages {
 public:
  void Information(std::string_view) override {}
  void Warning(std::string_view) override {}
  void Error(std::string_view) override {}
  platform::Answer Ask(std::string_view, bool) override { return platform::Answer::No; }
};

SilentMessages g_silent;
platform::HostSystemInfo g_host;

std::string Hex(std::uint64_t value, int digits) { return base::ToHex(static_cast<std::uint32_t>(value), digits); }

// Appends the variable-data area to the new document through a buffer, at
// the position that follows the fixed-record area.
class FileDataSink : public DataSink {
 public:
  FileDataSink(base::WriteFile& file, std::int64_t origin) : m_file(file), m_origin(origin) {
    m_buffer.reserve(kSinkBuffer);
  }
  std::int64_t Position() const override { return m_flushed + static_cast<std::int64_t>(m_buffer.size()); }
  bool Append(std::string_view bytes) override {
    if (m_buffer.size() + bytes.size() > kSinkBuffer && !Flush()) return false;
    if (bytes.size() >= kSinkBuffer) {
      if (!m_file.WriteAt(m_origin + m_flushed, bytes)) return false;
      m_flushed += static_cast<std::int64_t>(bytes.size());
      return true;
    }
    m_buffer.append(bytes);
    return true;
  }
  bool Flush() {
    if (m_buffer.empty()) return true;
    if (!m_file.WriteAt(m_origin + m_flushed, m_buffer)) return false;
    m_flushed += static_cast<std::int64_t>(m_buffer.size());
    m_buffer.clear();
    return true;
  }

 private:
  base::WriteFile& m_file;
  std::int64_t m_origin;
  std::int64_t m_flushed = 0;
  std::string m_buffer;
};

void SyncFolder(const fs::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

TAEHset::TAEHset(platform::Services services)
    : m_services(services), m_containerNumber(++g_containerCounter) {
  if (m_services.messages == nullptr) m_services.messages = &g_silent;
  if (m_services.system == nullptr) m_services.system = &g_host;
  OlderTextConverter = [](TAEHoggetto& page) { richtext::ConvertOlderText(page); };
  FrameSetWriter = [](TAEHoggetto& map, std::string& out) { return objects::WriteDocumentFrameSet(map, out); };
  m_randomState = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                  (static_cast<std::uint64_t>(m_containerNumber) << 32) ^
                  reinterpret_cast<std::uintptr_t>(this);
  NewHypertext();
}

TAEHset::~TAEHset() {
  OnBeforeNew = nullptr;
  OnAfterNew = nullptr;
  CloseHypertext();
  if (!m_tempFolder.empty()) {
    std::error_code ec;
    fs::remove_all(m_tempFolder, ec);
  }
}

// ---- Header ----

std::string TAEHset::Title() const { return HeaderString(header::kTitle, 79); }
void TAEHset::SetTitle(std::string_view title) { SetHeaderString(header::kTitle, 79, title); }
int TAEHset::Version() const { return base::GetI16(m_header, header::kVersion); }
std::string TAEHset::ExpPrefix() const { return HeaderString(header::kExpPrefix, 16); }
void TAEHset::SetExpPrefix(std::string_view prefix) { SetHeaderString(header::kExpPrefix, 16, prefix); }
std::int32_t TAEHset::Revision() const { return HeaderI32(header::kRevision); }

std::string TAEHset::ProtectionPassword() const {
  if (m_header[header::kReadOnly] == 0) return ".";
  if (Version() >= 2) return HeaderString(header::kPassword, 16);
  return {};
}

void TAEHset::ApplyNewHeaderDefaults() {
  m_header.fill(0);
  std::copy(kMagicText.begin(), kMagicText.end(), m_header.begin());
  SetTitle("Untitled");
  m_header[header::kHighestKind] = kNewHighestKind;
  base::PutI16(m_header, header::kVersion, kCurrentVersion);
  m_header[header::kReadOnly] = 0;
  SetHeaderI32(header::kRevision, 2);
  m_header[header::kContentsButton] = 0;
  m_header[header::kSearchButton] = 0;
  m_header[header::kHelpButton] = 0;
  m_header[header::kNoCoverButton] = 1;
  m_header[header::kReserved1] = 0;
  m_header[header::kNoButtons] = 1;
  SetHeaderString(header::kFixedFont, 39, "Courier New");
  SetHeaderString(header::kTextFont, 39, "Times New Roman");
  base::PutI16(m_header, header::kPixelsPerInch,
               static_cast<std::int16_t>(m_services.system->ScreenPixelsPerInch()));
  SetHeaderString(header::kAuthors, 79, m_services.system->UserName());
  SetHeaderI32(header::kHeaderPage, -1);
  SetHeaderI32(header::kFooterPage, -1);
  SetHeaderI32(header::kFirstTextSlot, 0);
  SetHeaderI32(header::kSecondTextSlot, 0);
  SetHeaderI32(header::kBackgroundColour, 0xC0C0C0);
  SetHeaderI32(header::kBackgroundImage, -1);
  base::PutI16(m_header, header::kLanguage, 1033);
  SetHeaderI32(header::kTextColour, 0);
  SetHeaderI32(header::kLinkColour, 0xFF0000);
  SetHeaderI32(header::kVisitedColour, 0x0000FF);
}

// ---- New and close ----

void TAEHset::NewHypertext() {
  if (OnBeforeNew) OnBeforeNew();
  CloseHypertext();
  ApplyNewHeaderDefaults();
  CreateDefaultStyles();
  if (OnAfterNew) OnAfterNew();
  m_modified = false;
}

void TAEHset::CreateDefaultStyles() {
  for (int i = 0; i < 2; ++i) {
    auto style = std::make_unique<TAEHoggetto>();
    style->SetType(stileParagrafo);
    style->SetOwner(this);
    style->Clear();
    style->SetSubtype(1);
    style->SetName(i == 0 ? "[no style]" : "[no style intab]");
    if (i == 1) {
      style->SetI16(kStyleSpace86, 0);
      style->SetI16(kStyleSpace88, 0);
    }
    TAEHoggetto* registered = Register(std::move(style));
    (i == 0 ? m_defaultStyle : m_defaultCellStyle) = registered;
  }
}

void TAEHset::CloseHypertext() {
  for (LinkedView* view : m_views) view->DropPage();
  ClearCache();
  for (auto& list : m_lists) list.clear();
  // FIXME: the undo list is recreated here with depth UndoDeep once it exists.
  m_doc.Close();
  m_fileName.clear();
  m_typeTable.clear();
  m_remap.clear();
  m_remapIndex.clear();
  m_defaultStyle = nullptr;
  m_defaultCellStyle = nullptr;
  EmptyTempFolder();
  m_modified = false;
}

void TAEHset::EmptyTempFolder() {
  if (m_tempFolder.empty()) return;
  std::error_code ec;
  for (fs::directory_iterator it(m_tempFolder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ignored;
    if (it->is_regular_file(ignored) || it->is_symlink(ignored)) fs::remove(it->path(), ignored);
  }
}

// ---- Loading ----

bool TAEHset::SetAEHFileName(const fs::path& path) {
  if (OnBeforeNew) OnBeforeNew();
  return LoadFromFile(path);
}

bool TAEHset::LoadFromFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    m_services.messages->Warning(path.string() + " doesn't exist");
    return false;
  }
  CloseHypertext();
  bool ok = false;
  try {
    if (!m_doc.Open(path)) throw std::runtime_error("open");
    m_fileName = path;
    const std::int64_t size = m_doc.Size();
    if (HeaderValid(size)) {
      m_remap.clear();
      m_remapIndex.clear();
      if (m_typeTable.size() <= stileParagrafo || m_typeTable[stileParagrafo].count == 0) {
        CreateDefaultStyles();
      }
      if (!ReadObjects()) throw std::runtime_error("records");
      if (Version() == 1) ConvertVersion1();
      if (CountOf(stileParagrafo) >= 2) {
        m_defaultStyle = GetObject(stileParagrafo, 0);
        m_defaultCellStyle = GetObject(stileParagrafo, 1);
      }
      ok = true;
    } else if (size == 0) {
      NewHypertext();
      std::string prefix = base::LowerCase(base::ExtractBaseName(path.filename().string()).substr(0, 8));
      SetExpPrefix(prefix);
      ok = true;
    }
    if (ok) {
      m_fileName = path;
      if (OnAfterNew) OnAfterNew();
    }
  } catch (const std::exception&) {
    ok = false;
  }
  if (!ok) {
    NewHypertext();
    m_services.messages->Information("Error reading file:" + path.string());
  }
  m_modified = false;
  return ok;
}

bool TAEHset::HeaderValid(std::int64_t fileSize) {
  if (fileSize < header::kSize) return false;
  if (!m_doc.ReadAt(0, m_header.data(), header::kSize)) return false;
  std::string magic = base::UpperCase(std::string_view(reinterpret_cast<const char*>(m_header.data()), 4));
  if (magic != kMagicText) {
    m_services.messages->Information("Unrecognized format.");
    return false;
  }
  const int version = Version();
  const int highest = m_header[header::kHighestKind];
  if (version == 1 && highest < 8) {
    m_services.messages->Information(
        "Attenzione: file salvato con una versione del programma\ranteriore alla 0.98. Non pi\xF9 "
        "supportato. UNSUPPORTED\r");
    return false;
  }
  if (version == 1) {
    SetHeaderString(header::kPassword, 16, "");
    SetHeaderString(header::kCompany, 79, "");
    SetHeaderString(header::kCopyright, 79, "");
    SetHeaderString(header::kAuthors, 79, "");
    SetExpPrefix(base::LowerCase(base::ExtractBaseName(m_fileName.filename().string()).substr(0, 8)));
    SetHeaderI32(header::kHeaderPage, -1);
    SetHeaderI32(header::kFooterPage, -1);
    SetHeaderI32(header::kFirstTextSlot, 0);
    SetHeaderI32(header::kSecondTextSlot, 0);
    SetHeaderI32(header::kBackgroundColour, 0xC0C0C0);
    SetHeaderI32(header::kTextColour, 0);
    SetHeaderI32(header::kLinkColour, 0xFF0000);
    SetHeaderI32(header::kVisitedColour, 0x0000FF);
    SetHeaderI32(header::kBackgroundImage, -1);
    base::PutI16(m_header, header::kLanguage, 1033);
  } else if (version > 2) {
    m_services.messages->Error("Unsupported file.\r" + std::string(kUnsupportedSecondLine));
    return false;
  }
  if (highest > 26) {
    m_services.messages->Information("Unsupported file.\r" + std::string(kUnsupportedSecondLine));
    return false;
  }
  m_dataStart = header::kSize + header::kTypeEntrySize * (highest + 1) + 4;
  if (fileSize < m_dataStart) return false;
  std::string table;
  if (!m_doc.ReadAt(header::kSize, m_dataStart - header::kSize, table)) return false;
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(table.data()), table.size());
  // Every count and size is checked against the file before anything is
  // allocated for it: a damaged table must fail here, not exhaust memory.
  m_typeTable.assign(static_cast<std::size_t>(highest) + 1, TypeEntry{});
  for (int k = 0; k <= highest; ++k) {
    const std::size_t at = static_cast<std::size_t>(k) * header::kTypeEntrySize;
    TypeEntry e{base::GetI32(bytes, at), base::GetI32(bytes, at + 4), base::GetI32(bytes, at + 8)};
    if (e.count < 0 || e.offset < 0 || e.size < 0) return false;
    if (e.count > 0) {
      if (e.size < kMinRecordSize) return false;
      const std::int64_t start = m_dataStart + e.offset;
      if (start > fileSize || e.count > (fileSize - start) / e.size) return false;
    }
    m_typeTable[static_cast<std::size_t>(k)] = e;
  }
  const std::int64_t fixedSize = base::GetI32(bytes, bytes.size() - 4);
  if (fixedSize < 0) return false;
  m_dataOrigin = m_dataStart + fixedSize;
  return true;
}

bool TAEHset::ReadObjects() {
  const int last = std::min<int>(static_cast<int>(m_typeTable.size()) - 1, kKindCount - 1);
  std::string block;
  std::vector<BlockRequest> requests;
  for (int k = 0; k <= last; ++k) {
    const TypeEntry& e = m_typeTable[static_cast<std::size_t>(k)];
    if (e.count == 0) continue;
    // One read per kind: the records of a kind lie side by side.
    if (!m_doc.ReadAt(m_dataStart + e.offset, e.count * e.size, block)) return false;
    const auto* base = reinterpret_cast<const std::uint8_t*>(block.data());
    const std::size_t keep = static_cast<std::size_t>(std::min<std::int64_t>(e.size, kRecordBufferSize));
    auto& list = m_lists[static_cast<std::size_t>(k)];
    list.reserve(list.size() + static_cast<std::size_t>(e.count));
    for (std::int64_t j = 0; j < e.count; ++j) {
      std::unique_ptr<TAEHoggetto> object =
          k == testoHtml ? std::make_unique<TAEHtesto>() : std::make_unique<TAEHoggetto>();
      object->SetType(k);
      object->SetOwner(this);
      object->m_index = static_cast<int>(list.size());
      object->ReadRecordOnly({base + j * e.size, keep}, e.size);
      object->RequestBlocks(m_doc.Size(), m_dataOrigin, requests);
      list.push_back(std::move(object));
    }
  }
  return ReadBlocks(requests);
}

bool TAEHset::ReadBlocks(std::vector<BlockRequest>& requests) {
  // Neighbouring and overlapping blocks are read together into one shared
  // buffer: the pages of a saved document lie one after another, while
  // images and embedded files in between (which stay in the file) break the
  // run.
  std::sort(requests.begin(), requests.end(),
            [](const BlockRequest& a, const BlockRequest& b) { return a.offset < b.offset; });
  constexpr std::int64_t kMaxRun = 32 << 20;
  struct Run {
    std::int64_t start, end;
    std::size_t first, last;
  };
  std::vector<Run> runs;
  std::int64_t total = 0;
  for (std::size_t i = 0; i < requests.size();) {
    Run run{requests[i].offset, requests[i].offset + requests[i].length, i, i + 1};
    while (run.last < requests.size() && requests[run.last].offset <= run.end &&
           std::max(run.end, requests[run.last].offset + requests[run.last].length) - run.start <= kMaxRun) {
      run.end = std::max(run.end, requests[run.last].offset + requests[run.last].length);
      ++run.last;
    }
    // The runs of a sound file never overlap, so together they fit in the
    // file; more means damaged records, and reading them would allocate
    // without bound.
    total += run.end - run.start;
    if (total > m_doc.Size()) return false;
    runs.push_back(run);
    i = run.last;
  }
  for (const Run& run : runs) {
    std::string bytes;
    if (!m_doc.ReadAt(run.start, run.end - run.start, bytes)) continue;
    auto shared = std::make_shared<const std::string>(std::move(bytes));
    for (std::size_t k = run.first; k < run.last; ++k) {
      const BlockRequest& r = requests[k];
      r.object->AdoptBlock(r.part, shared, static_cast<std::size_t>(r.offset - run.start),
                           static_cast<std::size_t>(r.length));
    }
  }
  return true;
}

void TAEHset::ConvertVersion1() {
  const std::int32_t revision = Revision();
  for (auto [from, to] : {std::pair{mappaClic, immagine}, std::pair{zipLink, genLink}}) {
    auto& list = m_lists[from];
    for (auto& slot : list) {
      if (!slot || slot->IsFree()) continue;
      std::unique_ptr<TAEHoggetto> object = std::move(slot);
      const ObjectId oldId = object->GetId();
      const int oldIndex = object->Index();
      object->m_registered = false;
      object->m_kind = static_cast<std::uint8_t>(to);
      if (to == immagine) {
        object->SetRevision(revision - 1);
        object->SetI32(kImageClickOrigin, oldIndex);
        object->SetU8(kImageLastByte, 0);
      }
      TAEHoggetto* raw = object.get();
      if (RegisterObject(object, -1) >= 0) {
        m_remap.emplace_back(oldId, raw->GetId());
        m_remapIndex.emplace(oldId, raw->GetId());
      }
    }
    list.clear();
  }
}

// ---- Objects ----

TAEHoggetto* TAEHset::GetObject(int kind, std::int64_t index) const {
  if ((kind == zipLink || kind == mappaClic) && index >= 0 && index <= kMaxIndex) {
    if (auto it = m_remapIndex.find(MakeObjectId(kind, static_cast<int>(index))); it != m_remapIndex.end()) {
      kind = KindOf(it->second);
      index = IndexOf(it->second);
    }
  }
  if (kind < 0 || kind >= none || index < 0 || index > kMaxIndex) return nullptr;
  const auto& list = m_lists[static_cast<std::size_t>(kind)];
  if (index >= static_cast<std::int64_t>(list.size())) return nullptr;
  return list[static_cast<std::size_t>(index)].get();
}

TAEHoggetto* TAEHset::GetObjectById(ObjectId id) const { return GetObject(KindOf(id), IndexOf(id)); }

int TAEHset::CountOf(int kind) const {
  if (kind < 0 || kind > none) return 0;
  return static_cast<int>(m_lists[static_cast<std::size_t>(kind)].size());
}

std::unique_ptr<TAEHoggetto> TAEHset::NewObject(int kind) {
  std::unique_ptr<TAEHoggetto> object =
      kind == testoHtml ? std::make_unique<TAEHtesto>() : std::make_unique<TAEHoggetto>();
  object->SetType(kind);
  object->SetOwner(this);
  object->Clear();
  object->InitNew();
  return object;
}

int TAEHset::RegisterObject(std::unique_ptr<TAEHoggetto>& object, std::int64_t index) {
  if (!object) return -1;
  if (object->Kind() >= kKindCount) return -1;
  auto& list = m_lists[object->Kind()];
  bool reuseEmpty = false;
  if (index < 0 || index > kMaxIndex) {
    // A free record or an empty slot is reused before the list grows.
    index = static_cast<std::int64_t>(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (!list[i] || list[i]->IsFree()) {
        index = static_cast<std::int64_t>(i);
        reuseEmpty = !list[i];
        break;
      }
    }
  }
  if (index >= static_cast<std::int64_t>(list.size())) {
    if (list.size() > static_cast<std::size_t>(kMaxIndex)) return -1;
    index = static_cast<std::int64_t>(list.size());
    list.emplace_back();
  } else if (!list[static_cast<std::size_t>(index)] && !reuseEmpty) {
    return -1;
  }
  auto& slot = list[static_cast<std::size_t>(index)];
  if (slot && slot.get() != object.get()) {
    slot->Clear();
    slot.reset();
  }
  object->m_index = static_cast<int>(index);
  object->m_owner = this;
  object->m_registered = true;
  slot = std::move(object);
  m_modified = true;
  return static_cast<int>(index);
}

TAEHoggetto* TAEHset::Register(std::unique_ptr<TAEHoggetto> object, std::int64_t index) {
  TAEHoggetto* raw = object.get();
  return RegisterObject(object, index) >= 0 ? raw : nullptr;
}

std::unique_ptr<TAEHoggetto> TAEHset::ChangeKind(TAEHoggetto* object, int kind) {
  if (object == nullptr || !object->IsRegistered() || kind < 0 || kind >= kKindCount) return nullptr;
  auto& list = m_lists[object->Kind()];
  const auto index = static_cast<std::size_t>(object->Index());
  if (index >= list.size() || list[index].get() != object) return nullptr;
  std::unique_ptr<TAEHoggetto> taken = std::move(list[index]);
  taken->m_registered = false;
  taken->m_kind = static_cast<std::uint8_t>(kind);
  return taken;
}

TAEHoggetto* TAEHset::FindEqual(const TAEHoggetto& object) const {
  if (object.Kind() >= kKindCount) return nullptr;
  for (const auto& candidate : m_lists[object.Kind()]) {
    if (candidate && candidate.get() != &object && object.SameContent(*candidate)) return candidate.get();
  }
  return nullptr;
}

TAEHoggetto* TAEHset::FindByName(const TAEHoggetto& object) const {
  if (object.Kind() >= kKindCount) return nullptr;
  const std::string name = object.GetCaption();
  for (const auto& candidate : m_lists[object.Kind()]) {
    if (candidate && !candidate->IsFree() && base::SameText(candidate->GetCaption(), name)) {
      return candidate.get();
    }
  }
  return nullptr;
}

// ---- Styles ----

int TAEHset::StyleIndex(std::string_view name) const {
  const auto& list = m_lists[stileParagrafo];
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] && !list[i]->IsFree() && base::SameText(list[i]->GetCaption(), name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string TAEHset::UniqueStyleName(std::string_view name) const {
  if (!StyleExists(name)) return std::string(name);
  for (int n = 1;; ++n) {
    std::string candidate = std::string(name) + " " + std::to_string(n);
    if (!StyleExists(candidate)) return candidate;
  }
}

std::vector<std::string> TAEHset::StyleNames() const {
  std::vector<std::string> names;
  for (const auto& style : m_lists[stileParagrafo]) {
    if (style && !style->IsFree()) names.push_back(style->GetCaption());
  }
  // Kept sorted without case, duplicates allowed, like the list handed out.
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return base::CompareText(a, b) < 0; });
  return names;
}

TAEHoggetto* TAEHset::FindStyle(std::string_view name) const {
  int index = StyleIndex(name);
  return index >= 0 ? GetObject(stileParagrafo, index) : nullptr;
}

void TAEHset::MakeStyleNamesUnique() {
  auto& list = m_lists[stileParagrafo];
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (!list[i] || list[i]->IsFree()) continue;
    const std::string name = list[i]->GetCaption();
    const int first = StyleIndex(name);
    if (first >= 0 && static_cast<std::size_t>(first) < i) list[i]->SetName(UniqueStyleName(name));
  }
}

// ---- Pages ----

TAEHoggetto* TAEHset::FindPage(std::string_view name) const {
  const std::string wanted = base::UpperCase(name);
  for (const auto& page : m_lists[testoHtml]) {
    if (!page || page->IsFree()) continue;
    const auto* text = dynamic_cast<const TAEHtesto*>(page.get());
    if (text != nullptr && base::UpperCase(text->LookupName()) == wanted) return page.get();
  }
  return nullptr;
}

int TAEHset::PreviousInSequence(int page) const { return NeighbourInSequence(page, -1); }
int TAEHset::NextInSequence(int page) const { return NeighbourInSequence(page, +1); }

int TAEHset::NeighbourInSequence(int page, int direction) const {
  const TAEHoggetto* self = GetObject(testoHtml, page);
  if (self == nullptr) return page;
  // A page outside every numbered sequence moves along the default page
  // order, so that "previous" and "next" lead somewhere on any page.
  if (self->I16(kPageBrowseNumber) < 0) return NeighbourInPageOrder(*this, page, direction);
  const int group = self->I16(kPageBrowseGroup);
  const int number = self->I16(kPageBrowseNumber);
  int best = page;
  int bestDistance = 0x7FFFFFFF;
  for (const auto& other : m_lists[testoHtml]) {
    if (!other || other.get() == self || other->IsFree() || other->I16(kPageBrowseGroup) != group) continue;
    const int n = other->I16(kPageBrowseNumber);
    if (n < 0) continue;  // not in the sequence
    const int distance = (n - number) * direction;
    if (distance == 1) return other->Index();
    if (distance > 0 && distance < bestDistance) {
      best = other->Index();
      bestDistance = distance;
    }
  }
  return best;
}

// ---- Temporary files ----

std::string TAEHset::RandomHex(int digits) {
  // xorshift64*: names only need to differ, not to be unpredictable.
  m_randomState ^= m_randomState >> 12;
  m_randomState ^= m_randomState << 25;
  m_randomState ^= m_randomState >> 27;
  return Hex((m_randomState * 2685821657736338717ULL) >> 16, digits);
}

fs::path TAEHset::TempFolder() {
  if (m_tempFolder.empty()) {
    m_tempFolder = m_services.system->TempPath() /
                   (Hex(static_cast<std::uint32_t>(::getpid()), 8) + "_" + Hex(m_containerNumber, 8));
    std::error_code ec;
    fs::remove_all(m_tempFolder, ec);
    fs::create_directories(m_tempFolder, ec);
  }
  return m_tempFolder;
}

fs::path TAEHset::TempFileName(std::string_view name) {
  const fs::path folder = TempFolder();
  fs::path candidate = folder / base::ExtractFileName(name);
  const std::string ext = base::ExtractFileExt(name);
  std::error_code ec;
  while (fs::exists(candidate, ec)) candidate = folder / ("re" + RandomHex(3) + RandomHex(3) + ext);
  return candidate;
}

std::string TAEHset::UniqueEmbeddedName(std::string_view name, const TAEHoggetto* exclude) {
  std::string current = base::ExtractFileName(name);
  const std::string ext = base::ExtractFileExt(current);
  for (bool clash = true; clash;) {
    clash = false;
    for (int kind : {genLink, zipLink, immagine, mappaClic}) {
      for (const auto& object : m_lists[static_cast<std::size_t>(kind)]) {
        if (object && object.get() != exclude && base::SameText(object->FileName(), current)) {
          clash = true;
          break;
        }
      }
      if (clash) break;
    }
    if (clash) current = "ed" + RandomHex(6) + ext;
  }
  return current;
}

// ---- Adding content ----

TAEHoggetto* TAEHset::AddImageFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return nullptr;
  const std::string ext = base::LowerCase(base::ExtractFileExt(path.filename().string()));
  std::string bytes;
  if (!base::ReadWholeFile(path, bytes)) return nullptr;
  fs::path source = path;
  fs::path converted;
  bool transparent = false;
  int width = 0;
  int height = 0;
  if (ext == ".gif" || ext == ".jpeg" || ext == ".jpg") {
    auto bitmap = ext == ".gif" ? DecodeGif(bytes) : DecodeJpeg(bytes);
    if (!bitmap) return nullptr;
    transparent = ext == ".gif" && bitmap->transparent;
    width = bitmap->width;
    height = bitmap->height;
  } else if (ext == ".wmf" || ext == ".emf") {
    auto size = MetafileSize(bytes);
    if (size) {
      width = size->first;
      height = size->second;
    }
  } else if (ext == ".bmp") {
    auto bitmap = DecodeBmp(bytes);
    if (!bitmap) return nullptr;
    // A bitmap is stored as a GIF when the colour reduction works, else as
    // a JPEG: browsers show neither BMP nor its size well.
    std::string newExt = ".gif";
    auto encoded = EncodeGif(*bitmap);
    if (!encoded) {
      newExt = ".jpg";
      encoded = EncodeJpeg(*bitmap);
    }
    if (!encoded) return nullptr;
    converted = TempFileName(base::ChangeFileExt(path.filename().string(), newExt));
    if (!base::WriteWholeFile(converted, *encoded)) return nullptr;
    source = converted;
    width = bitmap->width;
    height = bitmap->height;
    transparent = newExt == ".gif" && bitmap->transparent;
  } else {
    return nullptr;
  }
  TAEHoggetto* image = AddImageData(source, transparent, height, width);
  if (!converted.empty()) fs::remove(converted, ec);
  return image;
}

TAEHoggetto* TAEHset::AddImageData(const fs::path& path, bool transparent, int height, int width) {
  std::string bytes;
  if (!base::ReadWholeFile(path, bytes)) return nullptr;
  auto image = NewObject(immagine);
  const std::string fileName = UniqueEmbeddedName(path.filename().string());
  image->SetStr(kImageFileName, 75, fileName);
  image->SetName(base::ExtractBaseName(path.filename().string()));
  image->SetSubtype(base::LowerCase(base::ExtractFileExt(path.filename().string())) == ".gif" ? 0 : 1);
  image->SetI32(kImageTransparency, transparent ? -1 : -2);
  image->SetI32(kImageLength, static_cast<std::int32_t>(bytes.size()));
  image->SetContent(std::move(bytes));
  image->SetI16(kImageWidth, static_cast<std::int16_t>(width));
  image->SetI16(kImageHeight, static_cast<std::int16_t>(height));
  if (TAEHoggetto* existing = FindEqual(*image)) return existing;
  return Register(std::move(image));
}

std::unique_ptr<TAEHoggetto> TAEHset::AddImmagineNew(TAEHoggetto* image) {
  if (image != nullptr && image->Owner() != this) {
    m_services.messages->Error("Different AEHset in AddImmagineNew!");
    return nullptr;
  }
  auto placed = NewObject(immagineNew);
  placed->SetI32(kPlacedImage2, -1);
  placed->SetI32(kPlacedImage3, -1);
  placed->SetU8(13, 4);
  placed->SetU8(14, 0);
  placed->SetI16(23, 0);
  if (image == nullptr) {
    placed->SetI32(kPlacedImage, -1);
    for (int at : {kPlacedNaturalWidth, kPlacedNaturalHeight, kPlacedWidth, kPlacedHeight}) placed->SetI16(at, 100);
    placed->SetStr(kPlacedAltText, 32, "");
    return placed;
  }
  placed->SetI32(kPlacedImage, image->Index());
  for (int at : {kPlacedNaturalWidth, kPlacedWidth}) placed->SetI16(at, image->I16(kImageWidth));
  for (int at : {kPlacedNaturalHeight, kPlacedHeight}) placed->SetI16(at, image->I16(kImageHeight));
  placed->SetStr(kPlacedAltText, 32, m_altText ? image->GetCaption() : std::string());
  if (image->IsRegistered()) {
    std::copy_n(image->Record().begin() + kImageZones, kImageZonesBytes, placed->Record().begin() + kPlacedZones);
  }
  return placed;
}

TAEHoggetto* TAEHset::AddEmbeddedFile(const fs::path& path, TAEHoggetto* object) {
  std::unique_ptr<TAEHoggetto> created;
  if (object == nullptr) {
    created = std::make_unique<TAEHoggetto>();
    created->SetType(genLink);
    created->SetOwner(this);
    object = created.get();
  } else if (object->IsRegistered() && !object->FilePath().empty()) {
    // Only our own extracted copies are ever deleted, never an author's file.
    std::error_code ec;
    const fs::path old = object->FilePath();
    if (!m_tempFolder.empty() && old.parent_path() == m_tempFolder) fs::remove(old, ec);
  }
  object->Clear();
  object->InitNew();
  const std::string unique = UniqueEmbeddedName(path.filename().string(), object);
  const fs::path copy = TempFileName(unique);
  std::error_code ec;
  if (!fs::copy_file(path, copy, fs::copy_options::overwrite_existing, ec)) return nullptr;
  object->SetFilePath(copy);
  object->SetStr(5, 79, unique);
  object->SetSubtype(4);
  if (created) return Register(std::move(created));
  return object;
}

std::unique_ptr<TAEHoggetto> TAEHset::NewLink(std::string_view url) {
  auto link = NewObject(internetLink);
  link->SetStr(kLinkUrl, 127, url);
  if (url.starts_with("tarn:")) link->SetSubtype(6);
  else if (url.starts_with("http:")) link->SetSubtype(7);
  else if (url.starts_with("mailto:")) link->SetSubtype(8);
  return link;
}

// ---- Image cache ----

TAEHpicture* TAEHset::CachedPicture(const TAEHoggetto* object) const {
  if (object == nullptr) return nullptr;
  if (object->Kind() == immagineNew) {
    object = GetObject(immagine, object->I32(kPlacedImage));
    if (object == nullptr) return nullptr;
  }
  for (const auto& [owner, picture] : m_cache) {
    if (owner == object) return picture.get();
  }
  return nullptr;
}

void TAEHset::CachePicture(const TAEHoggetto* object, std::unique_ptr<TAEHpicture> picture) {
  if (object == nullptr || object->Kind() != immagine) {
    m_services.messages->Error("What happens? Image cache bug?");
    return;
  }
  if (CachedPicture(object) != nullptr) return;
  m_cache.emplace_back(object, std::move(picture));
  // At least the picture just added stays, so that its caller can use it.
  const std::size_t limit = static_cast<std::size_t>(std::max(1, m_maxCacheImg));
  while (m_cache.size() > limit) m_cache.erase(m_cache.begin());
}

void TAEHset::UncachePicture(const TAEHoggetto* object) {
  std::erase_if(m_cache, [object](const auto& entry) { return entry.first == object; });
}

void TAEHset::ClearCache() { m_cache.clear(); }

platform::FontMetrics TAEHset::TextMetrics(std::string_view fontName) {
  if (m_services.measurer == nullptr) return {};
  return m_services.measurer->Metrics({std::string(fontName), 12, 0});
}

void TAEHset::AddView(LinkedView* view) {
  if (std::find(m_views.begin(), m_views.end(), view) == m_views.end()) m_views.push_back(view);
}

void TAEHset::RemoveView(LinkedView* view) { std::erase(m_views, view); }

// ---- Saving ----

bool TAEHset::WriteDocument(const fs::path& target, const fs::path& /*userTarget*/) {
  // Pages still in the older text form are converted first: converting may
  // register new records, which must be counted in the tables below.
  if (OlderTextConverter) {
    for (std::size_t i = 0; i < m_lists[testoHtml].size(); ++i) {
      TAEHoggetto* page = m_lists[testoHtml][i].get();
      if (page != nullptr && !page->IsFree() && page->U8(kPageGeneration) == 1) OlderTextConverter(*page);
    }
  }
  base::WriteFile file;
  if (!file.Create(target)) return false;
  constexpr int kStoredKinds = kHighestStoredKind + 1;
  const std::int64_t dataStart = header::kSize + header::kTypeEntrySize * kStoredKinds + 4;
  std::int64_t fixedSize = 0;
  for (int k = 0; k < kStoredKinds; ++k) {
    fixedSize += static_cast<std::int64_t>(m_lists[static_cast<std::size_t>(k)].size()) * RecordSize(k);
  }
  FileDataSink data(file, dataStart + fixedSize);
  std::string records;
  records.reserve(static_cast<std::size_t>(fixedSize));
  std::string table;
  for (int k = 0; k < kStoredKinds; ++k) {
    auto& list = m_lists[static_cast<std::size_t>(k)];
    base::AppendI32(table, static_cast<std::int32_t>(records.size()));
    base::AppendI32(table, RecordSize(k));
    base::AppendI32(table, static_cast<std::int32_t>(list.size() & kMaxIndex));
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (!list[i]) {
        // An emptied slot still takes its index: it is written as a free record.
        auto filler = std::make_unique<TAEHoggetto>();
        filler->SetType(k);
        filler->SetOwner(this);
        filler->Clear();
        filler->WriteRecord(records);
        continue;
      }
      list[i]->WriteBlocks(data, m_saveErrors);
      list[i]->WriteRecord(records);
    }
  }
  if (!m_saveErrors.empty()) return true;
  std::string head(reinterpret_cast<const char*>(m_header.data()), m_header.size());
  head += table;
  base::AppendI32(head, static_cast<std::int32_t>(fixedSize));
  if (!data.Flush() || !file.WriteAt(0, head) || !file.WriteAt(dataStart, records) || !file.Sync() ||
      !file.Close()) {
    throw std::runtime_error("write");
  }
  return true;
}

bool TAEHset::SaveToFile(const fs::path& path, int formatVersion) {
  m_saveErrors.clear();
  if (path.empty()) {
    m_services.messages->Error("Invalid file name!");
    return false;
  }
  std::error_code ec;
  bool overOpen = !m_fileName.empty() && base::UpperCase(path.string()) == base::UpperCase(m_fileName.string());
  if (!overOpen && !m_fileName.empty() && fs::exists(path, ec)) overOpen = fs::equivalent(path, m_fileName, ec);
  if (OnBeforeNew) OnBeforeNew();

  std::vector<std::pair<LinkedView*, int>> shown;
  for (LinkedView* view : m_views) shown.emplace_back(view, view->ReleasePage());

  const fs::path folder = path.parent_path();
  if (!folder.empty()) fs::create_directories(folder, ec);

  // The new document is written beside the target under a private name and
  // renamed into place only when it is complete and on disk, so that the
  // old document and its backup survive any failure.
  fs::path partial;
  base::WriteFile probe;
  for (;;) {
    partial = (folder.empty() ? fs::path(".") : folder) /
              ("." + path.filename().string() + "." + RandomHex(6) + ".tmp");
    if (probe.Create(partial)) break;
    const std::string question = std::string(kShareError) + "(" + path.string() + ")";
    if (m_services.messages->Ask(question) != platform::Answer::Yes) {
      m_saveErrors.push_back("Error writing file " + path.string());
      for (auto [view, page] : shown) view->RestorePage(page);
      return false;
    }
  }
  probe.Close();

  const auto savedHeader = m_header;
  m_header[header::kHighestKind] = kHighestStoredKind;
  base::PutI16(m_header, header::kVersion, static_cast<std::int16_t>(formatVersion));
  SetHeaderI32(header::kRevision, Revision() + 1);
  base::PutI16(m_header, header::kPixelsPerInch,
               static_cast<std::int16_t>(m_services.system->ScreenPixelsPerInch()));
  const std::string userName = path.filename().string();
  if (ExpPrefix().empty()) SetExpPrefix(base::LowerCase(base::ExtractBaseName(userName).substr(0, 16)));
  // A new hypertext takes its file's name as title ("cafe.aeh" gives
  // "cafe"; the old program left a trailing dot, which files it wrote keep).
  if (Title() == "Untitled") SetTitle(base::ExtractBaseName(userName));

  try {
    WriteDocument(partial, path);
  } catch (const std::exception&) {
    m_saveErrors.push_back("Error writing file " + path.string());
  }
  if (!m_saveErrors.empty()) {
    fs::remove(partial, ec);
    m_header = savedHeader;
    for (auto [view, page] : shown) view->RestorePage(page);
    return false;
  }
  if (fs::exists(path, ec)) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) ::chmod(partial.c_str(), st.st_mode & 07777);
  }

  fs::path document = path;
  if (m_backup && fs::exists(path, ec)) MakeBackup(path);
  if (!ReplaceFile(partial, path, overOpen)) {
    if (overOpen) {
      document = partial;
      m_saveErrors.push_back("Share error, or out of disk space.");
    } else {
      fs::remove(partial, ec);
      m_saveErrors.push_back("Error writing file " + path.string());
      m_header = savedHeader;
      for (auto [view, page] : shown) view->RestorePage(page);
      return false;
    }
  }
  SyncFolder(folder);
  CloseHypertext();
  LoadFromFile(document);
  if (!Closing) {
    for (auto [view, page] : shown) view->RestorePage(page);
  }
  return m_saveErrors.empty();
}

void TAEHset::MakeBackup(const fs::path& target) {
  const fs::path bak = base::ChangeFileExt(target.string(), ".bak");
  std::error_code ec;
  fs::remove(bak, ec);
  // A hard link keeps the old document under both names until the new one
  // replaces it atomically; copying is the fallback where links are refused.
  fs::create_hard_link(target, bak, ec);
  if (ec) fs::copy_file(target, bak, fs::copy_options::overwrite_existing, ec);
}

bool TAEHset::ReplaceFile(const fs::path& from, const fs::path& to, bool overOpen) {
  for (;;) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec) return true;
    if (!overOpen) return false;
    const std::string question = std::string(kShareError) + "Choose \"No\" to use the document in \"" +
                                 from.string() + "\"";
    if (m_services.messages->Ask(question) != platform::Answer::Yes) return false;
  }
}

}  // namespace tarn::document
