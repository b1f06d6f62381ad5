// The hypertext container: header, object lists, open and save of the .AEH
// file, temporary files, image import and the image cache.
#include "document/aehset.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <unordered_set>

#include "base/cp1252.h"
#include "base/hex.h"
#include "base/winpath.h"
#include "document/aehorderedtree.h"
#include "document/aehtesto.h"
#include "document/imagecodec.h"
#include "document/recordfields.h"
#include "platform/messages.h"

namespace tarn::document {
namespace fs = std::filesystem;
using namespace field;
namespace {

constexpr std::string_view kMagicText = "BRIX";
constexpr int kNewHighestKind = 26;
constexpr int kCurrentVersion = 2;
constexpr std::int64_t kMinRecordSize = 16;
constexpr std::size_t kSinkBuffer = 4 << 20;
// What one record costs in memory once read: the object itself, its heap
// block, its list slot and the block requests made for it while loading.
constexpr std::int64_t kRecordCost = static_cast<std::int64_t>(sizeof(TAEHtesto)) + 96;
// A load may spend on records at most this many times the file's size, and
// always up to the floor. The densest sound file, nothing but the smallest
// records the old program writes (28-byte short objects, each placed by an
// 11-byte tag in a page's text), needs about 25 times its size.
constexpr std::int64_t kRecordMemoryFactor = 32;
constexpr std::int64_t kRecordMemoryFloor = std::int64_t{64} << 20;
// The damage report names this many pages and objects, then counts the rest.
constexpr std::size_t kDamageLines = 20;
// Symbolic links followed from the name given to a save, at most.
constexpr int kMaxLinkHops = 40;
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

// A step of a save that failed; the text is the save error list's entry.
class SaveFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The message, and on a second line the system's reason.
std::string WithReason(const std::string& text, int error) {
  return error != 0 ? text + "\r" + base::ErrorText(error) : text;
}

std::string ErrorWriting(const fs::path& file, int error) {
  return WithReason("Error writing file " + file.string(), error);
}

// A file name made absolute, so that what the hypertext calls itself (in
// exported pages, in links to other hypertexts) does not depend on the
// folder the program was started in. ".." is kept: resolving it by hand
// would be wrong after a linked folder.
fs::path AbsoluteName(const fs::path& path) {
  std::error_code ec;
  fs::path full = fs::absolute(path, ec);
  if (ec) return path;
  for (const auto& part : full) {
    if (part == "..") return full;
  }
  return full.lexically_normal();
}

// The file a chain of symbolic links ends at; a save writes that file and
// leaves the links as they are.
fs::path ResolveLinks(fs::path path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    const fs::path target = fs::read_symlink(path, ec);
    if (ec) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

// Temporary files of a save lie beside the document (a rename only replaces
// a file within one file system) under hidden names that say which machine
// and which process made them: ".NAME.tarn-HOST-PID-RANDOM.tmp".
const std::string& HostTag() {
  static const std::string tag = [] {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (const char* c = host; *c != '\0'; ++c) hash = (hash ^ static_cast<unsigned char>(*c)) * 16777619u;
    return base::ToHex(hash, 8);
  }();
  return tag;
}

std::string TemporaryMark() { return ".tarn-" + HostTag() + "-"; }

}  // namespace

std::string SaveTemporaryName(std::string_view fileName, int pid, std::string_view random) {
  return "." + std::string(fileName) + TemporaryMark() + std::to_string(pid) + "-" + std::string(random) +
         ".tmp";
}

namespace {

// A temporary file is stale when the process that made it on this machine
// has gone: a save killed half-way. Files of live processes (a save running
// now, a document kept in a temporary file after a failed rename) stay.
void RemoveStaleTemporaries(const fs::path& folder) {
  const std::string mark = TemporaryMark();
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() < 2 || name[0] != '.' || !name.ends_with(".tmp")) continue;
    const std::size_t at = name.rfind(mark);
    if (at == std::string::npos) continue;
    const char* first = name.data() + at + mark.size();
    const char* last = name.data() + name.size();
    int pid = 0;
    const auto [next, parsed] = std::from_chars(first, last, pid);
    if (parsed != std::errc() || next == last || *next != '-' || pid <= 0 || pid == ::getpid()) continue;
    if (::kill(pid, 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    fs::remove(it->path(), ignored);
  }
}

// The permissions the new document gets: those of the file it replaces, or
// those of any new file.
unsigned DocumentMode(const fs::path& target, const fs::path& shown) {
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
  if (errno != ENOENT) throw SaveFailure(ErrorWriting(shown, errno));
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666u & ~static_cast<unsigned>(mask);
}

// A second name for the previous document: a hard link, or where the file
// system has none, a flushed copy.
int LinkOrCopy(const fs::path& from, const fs::path& to) {
  if (::link(from.c_str(), to.c_str()) == 0) return 0;
  // Only a file system that has no hard links gets the copy.
  const bool noLinks =
      errno == EPERM || errno == EXDEV || errno == EMLINK || errno == ENOTSUP || errno == ENOSYS;
  if (!noLinks) return errno;
  base::ReadFile in;
  base::WriteFile out;
  std::string bytes;
  struct stat st {};
  if (::stat(from.c_str(), &st) != 0) return errno;
  if (!in.Open(from) || !in.ReadAt(0, in.Size(), bytes)) return in.Error();
  if (!out.CreateNew(to, 0600) || ::fchmod(out.Descriptor(), st.st_mode & 07777) != 0 || !out.Write(bytes) ||
      !out.Sync() || !out.Close()) {
    const int error = out.Error() != 0 ? out.Error() : errno;
    ::unlink(to.c_str());
    return error;
  }
  return 0;
}

}  // namespace

// The temporary files of one save. Whatever is still named here when the
// save ends is removed, unless kept on purpose.
struct TAEHset::SaveFiles {
  fs::path partial;   // the new document, until it is renamed into place
  fs::path previous;  // a second name of the previous document, until it becomes the .bak
  bool keepPartial = false;
  bool keepPrevious = false;
  SaveFiles() = default;
  SaveFiles(const SaveFiles&) = delete;
  SaveFiles& operator=(const SaveFiles&) = delete;
  ~SaveFiles() {
    if (!partial.empty() && !keepPartial) ::unlink(partial.c_str());
    if (!previous.empty() && !keepPrevious) ::unlink(previous.c_str());
  }
};

TAEHset::TAEHset(platform::Services services)
    : m_services(services), m_containerNumber(++g_containerCounter) {
  if (m_services.messages == nullptr) m_services.messages = &g_silent;
  if (m_services.system == nullptr) m_services.system = &g_host;
  m_randomState = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                  (static_cast<std::uint64_t>(m_containerNumber) << 32) ^
                  reinterpret_cast<std::uintptr_t>(this);
  NewHypertext();
}

TAEHset::~TAEHset() {
  OnBeforeNew = nullptr;
  OnAfterNew = nullptr;
  OnUndoChanged = nullptr;
  m_undoFactory = nullptr;
  CloseHypertext();
  if (!m_tempFolder.empty()) {
    std::error_code ec;
    fs::remove_all(m_tempFolder, ec);
  }
}

// ---- Header ----

std::string TAEHset::Title() const { return HeaderString(header::kTitle, header::kTextCapacity); }
void TAEHset::SetTitle(std::string_view title) {
  SetHeaderString(header::kTitle, header::kTextCapacity, title);
}
void TAEHset::SetUndoDeep(int n) {
  m_undoDeep = n;
  if (m_undo) m_undo->SetDepth(n);
}

void TAEHset::SetUndoFactory(UndoStoreFactory factory) {
  m_undoFactory = std::move(factory);
  m_undo = m_undoFactory ? m_undoFactory(*this, m_undoDeep) : nullptr;
}

int TAEHset::Version() const { return base::GetI16(m_header, header::kVersion); }
std::string TAEHset::ExpPrefix() const { return HeaderString(header::kExpPrefix, header::kPrefixCapacity); }
void TAEHset::SetExpPrefix(std::string_view prefix) {
  SetHeaderString(header::kExpPrefix, header::kPrefixCapacity, prefix);
}
std::int32_t TAEHset::Revision() const { return HeaderI32(header::kRevision); }

std::string TAEHset::ProtectionPassword() const {
  if (m_header[header::kReadOnly] == 0) return ".";
  if (Version() >= 2) return HeaderString(header::kPassword, header::kPrefixCapacity);
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
  SetHeaderString(header::kFixedFont, header::kFontNameCapacity, "Courier New");
  SetHeaderString(header::kTextFont, header::kFontNameCapacity, "Times New Roman");
  base::PutI16(m_header, header::kPixelsPerInch,
               static_cast<std::int16_t>(m_services.system->ScreenPixelsPerInch()));
  SetHeaderString(header::kAuthors, header::kTextCapacity, m_services.system->UserName());
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
    style->SetSubtype(style::kInUse);
    style->SetName(i == 0 ? "[no style]" : "[no style intab]");
    if (i == 1) {
      style->SetI16(style::kLeftMargin, 0);
      style->SetI16(style::kRightMargin, 0);
    }
    TAEHoggetto* registered = Register(std::move(style));
    (i == 0 ? m_defaultStyle : m_defaultCellStyle) = registered;
  }
}

void TAEHset::CloseHypertext() {
  for (LinkedView* view : m_views) view->DropPage();
  // The steps go before the objects they were recorded from.
  m_undo.reset();
  ClearCache();
  for (auto& list : m_lists) list.clear();
  if (m_undoFactory) m_undo = m_undoFactory(*this, m_undoDeep);
  if (OnUndoChanged) OnUndoChanged();
  m_doc.Close();
  m_fileName.clear();
  m_typeTable.clear();
  m_damaged.clear();
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
  // A name that cannot even be looked at (ec set) is tried anyway: opening
  // it then tells why it cannot be read.
  if (!fs::exists(path, ec) && !ec) {
    m_services.messages->Warning(path.string() + " doesn't exist");
    return false;
  }
  CloseHypertext();
  std::string why;
  const bool ok = ReadDocument(path, why);
  if (ok) {
    if (OnAfterNew) OnAfterNew();
    if (IsDamaged()) m_services.messages->Warning(DamageReport());
  } else {
    NewHypertext();
    m_services.messages->Information("Error reading file:" + path.string() + (why.empty() ? "" : "\r" + why));
  }
  m_modified = false;
  return ok;
}

bool TAEHset::ReadDocument(const fs::path& path, std::string& why) {
  try {
    m_fileName = AbsoluteName(path);
    if (!m_doc.Open(path)) {
      why = base::ErrorText(m_doc.Error());
      return false;
    }
    const std::int64_t size = m_doc.Size();
    if (HeaderValid(size, why)) {
      m_remap.clear();
      m_remapIndex.clear();
      if (m_typeTable.size() <= stileParagrafo || m_typeTable[stileParagrafo].count == 0) {
        CreateDefaultStyles();
      }
      std::vector<const TAEHoggetto*> damaged;
      if (!ReadObjects(damaged, why)) return false;
      if (Version() == 1) ConvertVersion1();
      // Ids are taken after the conversion, which gives some objects new ones.
      for (const TAEHoggetto* object : damaged) m_damaged.push_back(object->GetId());
      std::sort(m_damaged.begin(), m_damaged.end());
      m_damaged.erase(std::unique(m_damaged.begin(), m_damaged.end()), m_damaged.end());
      if (CountOf(stileParagrafo) >= 2) {
        m_defaultStyle = GetObject(stileParagrafo, 0);
        m_defaultCellStyle = GetObject(stileParagrafo, 1);
      }
      return true;
    }
    if (size == 0 && why.empty()) {
      NewHypertext();
      std::string prefix = base::LowerCase(base::ExtractBaseName(path.filename().string()).substr(0, 8));
      SetExpPrefix(prefix);
      m_fileName = AbsoluteName(path);
      return true;
    }
  } catch (const std::exception&) {
    // Out of memory, or a damaged file met in a way not foreseen above.
  }
  return false;
}

bool TAEHset::HeaderValid(std::int64_t fileSize, std::string& why) {
  if (fileSize < header::kSize) return false;
  if (!m_doc.ReadAt(0, m_header.data(), header::kSize)) {
    why = base::ErrorText(m_doc.Error());
    return false;
  }
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
    SetHeaderString(header::kPassword, header::kPrefixCapacity, "");
    SetHeaderString(header::kCompany, header::kTextCapacity, "");
    SetHeaderString(header::kCopyright, header::kTextCapacity, "");
    SetHeaderString(header::kAuthors, header::kTextCapacity, "");
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
  if (!m_doc.ReadAt(header::kSize, m_dataStart - header::kSize, table)) {
    why = base::ErrorText(m_doc.Error());
    return false;
  }
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(table.data()), table.size());
  // Every count and size is checked against the file before anything is
  // allocated for it: a damaged table must fail here, not exhaust memory.
  m_typeTable.assign(static_cast<std::size_t>(highest) + 1, TypeEntry{});
  std::int64_t records = 0;
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
    records += e.count;
  }
  // The kinds' areas may overlap in a crafted table, each record claimed
  // many times over: what the records will cost in memory is bounded by the
  // file's size before any of them is made.
  if (records > std::max(kRecordMemoryFloor, kRecordMemoryFactor * fileSize) / kRecordCost) {
    why = "The file names " + std::to_string(records) + " records, more than its " +
          std::to_string(fileSize) + " bytes can hold.";
    return false;
  }
  const std::int64_t fixedSize = base::GetI32(bytes, bytes.size() - 4);
  if (fixedSize < 0) return false;
  m_dataOrigin = m_dataStart + fixedSize;
  return true;
}

bool TAEHset::ReadObjects(std::vector<const TAEHoggetto*>& damaged, std::string& why) {
  const int last = std::min<int>(static_cast<int>(m_typeTable.size()) - 1, kKindCount - 1);
  const std::int64_t fileSize = m_doc.Size();
  std::string block;
  std::vector<BlockRequest> requests;
  // The embedded file names read so far, for the records whose names are
  // made unique as they are read: one lookup each, not a walk over all.
  std::unordered_set<std::string> names;
  m_loadNames = &names;
  struct Forget {
    TAEHset* set;
    ~Forget() { set->m_loadNames = nullptr; }
  } forget{this};
  std::int64_t lazyBytes = 0;
  for (int k = 0; k <= last; ++k) {
    const TypeEntry& e = m_typeTable[static_cast<std::size_t>(k)];
    if (e.count == 0) continue;
    // One read per kind: the records of a kind lie side by side.
    if (!m_doc.ReadAt(m_dataStart + e.offset, e.count * e.size, block)) {
      why = base::ErrorText(m_doc.Error());
      return false;
    }
    const auto* base = reinterpret_cast<const std::uint8_t*>(block.data());
    const std::size_t keep = static_cast<std::size_t>(std::min<std::int64_t>(e.size, kRecordBufferSize));
    const bool embedded = k == zipLink || k == genLink || k == immagine || k == mappaClic;
    auto& list = m_lists[static_cast<std::size_t>(k)];
    list.reserve(list.size() + static_cast<std::size_t>(e.count));
    for (std::int64_t j = 0; j < e.count; ++j) {
      std::unique_ptr<TAEHoggetto> object =
          k == testoHtml ? std::make_unique<TAEHtesto>() : std::make_unique<TAEHoggetto>();
      object->SetType(k);
      object->SetOwner(this);
      object->m_index = static_cast<int>(list.size());
      object->ReadRecordOnly({base + j * e.size, keep}, e.size);
      if (!object->RequestBlocks(fileSize, m_dataOrigin, requests)) damaged.push_back(object.get());
      if (object->Content().source == DataBlock::Source::Document) {
        lazyBytes += std::min(object->Content().length, fileSize - object->Content().offset);
      }
      if (embedded) names.insert(base::UpperCase(object->FileName()));
      list.push_back(std::move(object));
    }
  }
  // Images and files stay in the document and are copied from it at every
  // save. In a sound file their blocks never overlap, so together they fit
  // in the file; a crafted file claiming the same bytes many times over
  // would make each save write a multiple of it.
  if (lazyBytes > fileSize) {
    why = "The data of the file's images and files overlap.";
    return false;
  }
  return ReadBlocks(requests, damaged, why);
}

bool TAEHset::ReadBlocks(std::vector<BlockRequest>& requests, std::vector<const TAEHoggetto*>& damaged,
                         std::string& why) {
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
  std::int64_t copied = 0;
  for (std::size_t i = 0; i < requests.size();) {
    Run run{requests[i].offset, requests[i].offset + requests[i].length, i, i + 1};
    while (run.last < requests.size() && requests[run.last].offset <= run.end &&
           std::max(run.end, requests[run.last].offset + requests[run.last].length) - run.start <= kMaxRun) {
      run.end = std::max(run.end, requests[run.last].offset + requests[run.last].length);
      ++run.last;
    }
    // The runs of a sound file never overlap, so together they fit in the
    // file; more means damaged records, and reading them would allocate
    // without bound. Frame-set descriptions are copied out of the runs, so
    // they are counted on their own.
    total += run.end - run.start;
    for (std::size_t k = run.first; k < run.last; ++k) {
      if (requests[k].part == BlockRequest::Part::FrameDescription) copied += requests[k].length;
    }
    if (total > m_doc.Size() || copied > m_doc.Size()) {
      why = "The data blocks of the file's records overlap.";
      return false;
    }
    runs.push_back(run);
    i = run.last;
  }
  for (const Run& run : runs) {
    std::string bytes;
    if (!m_doc.ReadAt(run.start, run.end - run.start, bytes)) {
      // The blocks are dropped, and the records that lose them named.
      why = base::ErrorText(m_doc.Error());
      for (std::size_t k = run.first; k < run.last; ++k) damaged.push_back(requests[k].object);
      continue;
    }
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
    auto& target = m_lists[to];
    // Each converted object takes the first free slot of its new kind. The
    // slots before it are then all taken, so the search goes on from there
    // instead of starting over for every object.
    std::size_t firstFree = 0;
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
      while (firstFree < target.size() && target[firstFree] && !target[firstFree]->IsFree()) ++firstFree;
      // An empty slot is only taken by the search of RegisterObject itself.
      const bool empty = firstFree < target.size() && !target[firstFree];
      TAEHoggetto* raw = object.get();
      if (RegisterObject(object, empty ? -1 : static_cast<std::int64_t>(firstFree)) >= 0) {
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
  if (m_loadNames != nullptr && exclude == nullptr) {
    // While a file is read, the names of the embedded objects read so far
    // are kept in a set: the object asking is not in its list yet.
    while (m_loadNames->contains(base::UpperCase(current))) current = "ed" + RandomHex(6) + ext;
    return current;
  }
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
  } else if (ext == ".bmp" || ext == ".png") {
    auto bitmap = ext == ".bmp" ? DecodeBmp(bytes) : DecodePng(bytes);
    if (!bitmap) return nullptr;
    // Pictures are stored as GIF or JPEG only. A bitmap becomes a GIF when
    // the colour reduction works, else a JPEG: browsers show neither BMP nor
    // its size well. A PNG of more colours than a GIF holds and without
    // transparency is a photograph, which a JPEG keeps far better.
    const bool photograph = ext == ".png" && !bitmap->transparent && !FitsGifPalette(*bitmap);
    std::string newExt = photograph ? ".jpg" : ".gif";
    auto encoded = photograph ? EncodeJpeg(*bitmap) : EncodeGif(*bitmap);
    if (!encoded && !photograph) {
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
  placed->SetU8(kPlacedAlignment, 4);
  placed->SetU8(kPlaced14, 0);
  placed->SetI16(kPlaced23, 0);
  if (image == nullptr) {
    placed->SetI32(kPlacedImage, -1);
    for (int at : {kPlacedNaturalWidth, kPlacedNaturalHeight, kPlacedWidth, kPlacedHeight}) placed->SetI16(at, 100);
    placed->SetStr(kPlacedAltText, kPlacedAltTextCapacity, "");
    return placed;
  }
  placed->SetI32(kPlacedImage, image->Index());
  for (int at : {kPlacedNaturalWidth, kPlacedWidth}) placed->SetI16(at, image->I16(kImageWidth));
  for (int at : {kPlacedNaturalHeight, kPlacedHeight}) placed->SetI16(at, image->I16(kImageHeight));
  placed->SetStr(kPlacedAltText, kPlacedAltTextCapacity, m_altText ? image->GetCaption() : std::string());
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
  object->SetStr(kEmbeddedFileName, kEmbeddedFileNameCapacity, unique);
  object->SetSubtype(kEmbeddedInUse);
  if (created) return Register(std::move(created));
  return object;
}

std::unique_ptr<TAEHoggetto> TAEHset::NewLink(std::string_view url) {
  auto link = NewObject(internetLink);
  link->SetStr(kLinkUrl, kLinkUrlCapacity, url);
  SetLinkSubtype(*link);
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
  CachePicture(object, std::shared_ptr<TAEHpicture>(std::move(picture)));
}

void TAEHset::CachePicture(const TAEHoggetto* object, std::shared_ptr<TAEHpicture> picture) {
  if (object == nullptr || object->Kind() != immagine) {
    m_services.messages->Error("What happens? Image cache bug?");
    return;
  }
  if (CachedPicture(object) != nullptr) return;
  std::erase_if(m_held, [object](const auto& entry) { return entry.first == object || entry.second.expired(); });
  m_held.emplace_back(object, picture);
  m_cache.emplace_back(object, std::move(picture));
  // At least the picture just added stays, so that its caller can use it.
  const std::size_t limit = static_cast<std::size_t>(std::max(1, m_maxCacheImg));
  while (m_cache.size() > limit) m_cache.erase(m_cache.begin());
}

std::shared_ptr<TAEHpicture> TAEHset::SharedPicture(const TAEHoggetto* object) const {
  if (object != nullptr && object->Kind() == immagineNew) object = GetObject(immagine, object->I32(kPlacedImage));
  if (object == nullptr) return nullptr;
  for (const auto& [owner, picture] : m_cache) {
    if (owner == object) return picture;
  }
  return nullptr;
}

std::shared_ptr<TAEHpicture> TAEHset::HeldPicture(const TAEHoggetto* object) const {
  for (const auto& [owner, picture] : m_held) {
    if (owner == object) return picture.lock();
  }
  return nullptr;
}

void TAEHset::UncachePicture(const TAEHoggetto* object) {
  std::erase_if(m_cache, [object](const auto& entry) { return entry.first == object; });
  std::erase_if(m_held, [object](const auto& entry) { return entry.first == object; });
}

void TAEHset::ClearCache() {
  m_cache.clear();
  m_held.clear();
}

platform::FontMetrics TAEHset::TextMetrics(std::string_view fontName) {
  if (m_services.measurer == nullptr) return {};
  return m_services.measurer->Metrics({std::string(fontName), 12, 0});
}

void TAEHset::AddView(LinkedView* view) {
  if (std::find(m_views.begin(), m_views.end(), view) == m_views.end()) m_views.push_back(view);
}

void TAEHset::RemoveView(LinkedView* view) { std::erase(m_views, view); }

// ---- Saving ----

std::int64_t TAEHset::WriteDocument(base::WriteFile& file, const fs::path& shown) {
  // Pages still in the older text form are converted first: converting may
  // register new records, which must be counted in the tables below.
  if (OlderTextConverter) {
    for (std::size_t i = 0; i < m_lists[testoHtml].size(); ++i) {
      TAEHoggetto* page = m_lists[testoHtml][i].get();
      if (page != nullptr && !page->IsFree() && page->U8(kPageGeneration) == 1) OlderTextConverter(*page);
    }
  }
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
  try {
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
  } catch (const std::runtime_error&) {
    throw SaveFailure(ErrorWriting(shown, file.Error()));
  }
  if (!m_saveErrors.empty()) return 0;
  std::string head(reinterpret_cast<const char*>(m_header.data()), m_header.size());
  head += table;
  base::AppendI32(head, static_cast<std::int32_t>(fixedSize));
  const std::int64_t size = dataStart + fixedSize + data.Position();
  // Written, then flushed to the disk, and only a close without error
  // counts: a file system may report a failed write only there.
  if (!data.Flush() || !file.WriteAt(0, head) || !file.WriteAt(dataStart, records) || !file.Sync() ||
      !file.Close()) {
    throw SaveFailure(ErrorWriting(shown, file.Error()));
  }
  return size;
}

void TAEHset::UpdateHeaderForSave(int formatVersion, const std::string& userName) {
  m_header[header::kHighestKind] = kHighestStoredKind;
  base::PutI16(m_header, header::kVersion, static_cast<std::int16_t>(formatVersion));
  SetHeaderI32(header::kRevision, Revision() + 1);
  base::PutI16(m_header, header::kPixelsPerInch,
               static_cast<std::int16_t>(m_services.system->ScreenPixelsPerInch()));
  if (ExpPrefix().empty()) SetExpPrefix(base::LowerCase(base::ExtractBaseName(userName).substr(0, 16)));
  // A new hypertext takes its file's name as title ("cafe.aeh" gives
  // "cafe"; the old program left a trailing dot, which files it wrote keep).
  if (Title() == "Untitled") SetTitle(base::ExtractBaseName(userName));
}

fs::path TAEHset::CreatePartial(const fs::path& target, const fs::path& shown, base::WriteFile& file) {
  for (;;) {
    const fs::path partial =
        target.parent_path() / SaveTemporaryName(target.filename().string(), ::getpid(), RandomHex(6));
    // Private until its permissions are set: it may hold a protected text.
    if (file.CreateNew(partial, 0600)) return partial;
    const int error = file.Error();
    if (error == EEXIST) continue;
    const std::string question = std::string(kShareError) + "(" + shown.string() + ")";
    if (m_services.messages->Ask(question) != platform::Answer::Yes) {
      throw SaveFailure(ErrorWriting(shown, error));
    }
  }
}

std::unique_ptr<TAEHset> TAEHset::ReadBack(const fs::path& partial, std::int64_t size,
                                           const fs::path& shown) {
  // The new file is read the way it will be used, before it replaces
  // anything; what is read becomes the open hypertext.
  auto written = std::make_unique<TAEHset>(
      platform::Services{&g_silent, m_services.system, m_services.measurer, m_services.clipboard});
  written->CloseHypertext();
  std::string why;
  if (!written->ReadDocument(partial, why) || written->m_doc.Size() != size || written->IsDamaged()) {
    throw SaveFailure(ErrorWriting(shown, 0) + "\r" +
                      (why.empty() ? "The new file does not read back as written." : why));
  }
  return written;
}

bool TAEHset::CommitSave(SaveFiles& f, const fs::path& target, const fs::path& shown, bool overOpen,
                         bool makeBackup) {
  const fs::path folder = target.parent_path();
  const fs::path bak = base::ChangeFileExt(target.string(), ".bak");
  struct stat st {};
  const bool hadTarget = ::lstat(target.c_str(), &st) == 0;
  if (!hadTarget && errno != ENOENT) throw SaveFailure(ErrorWriting(shown, errno));
  if (hadTarget) {
    // The previous document gets a second name first: it becomes the .bak
    // once the new document stands, and takes its place back if anything
    // fails before, so that a document and a .bak exist at every moment.
    f.previous = folder / SaveTemporaryName(bak.filename().string(), ::getpid(), RandomHex(6));
    if (const int error = LinkOrCopy(target, f.previous); error != 0) {
      f.previous.clear();
      throw SaveFailure(ErrorWriting(bak, error));
    }
  }
  for (;;) {
    if (::rename(f.partial.c_str(), target.c_str()) == 0) break;
    const int error = errno;
    if (!overOpen) throw SaveFailure(ErrorWriting(shown, error));
    const std::string question =
        std::string(kShareError) + "Choose \"No\" to use the document in \"" + f.partial.string() + "\"";
    if (m_services.messages->Ask(question) != platform::Answer::Yes) {
      f.keepPartial = true;
      m_saveErrors.push_back(WithReason("Share error, or out of disk space.", error));
      return false;
    }
  }
  f.partial.clear();
  // Puts the previous document back under the name; false when it cannot.
  auto undo = [&] {
    const bool undone =
        (hadTarget ? ::rename(f.previous.c_str(), target.c_str()) : ::unlink(target.c_str())) == 0;
    if (!undone) {
      f.keepPrevious = true;  // the previous document lives on only there
    } else if (hadTarget) {
      f.previous.clear();
    }
    base::SyncFolder(folder);
    return undone;
  };
  if (const int error = base::SyncFolder(folder); error != 0) {
    undo();
    throw SaveFailure(ErrorWriting(shown, error));
  }
  if (hadTarget && makeBackup) {
    if (::rename(f.previous.c_str(), bak.c_str()) != 0) {
      const int error = errno;
      if (undo()) throw SaveFailure(ErrorWriting(bak, error));
      // The new document stands and cannot be taken back: the save holds,
      // and the previous document stays where it is, under its own name.
      m_services.messages->Warning(WithReason("The previous document could not become the backup " +
                                                  bak.string() + "; it is kept as " + f.previous.string() +
                                                  ".",
                                              error));
      return true;
    }
    f.previous.clear();
  }
  return true;
}

void TAEHset::AdoptDocument(TAEHset& from, const fs::path& name) {
  CloseHypertext();
  m_header = from.m_header;
  m_lists.swap(from.m_lists);
  for (auto& list : m_lists) {
    for (auto& object : list) {
      if (object) object->m_owner = this;
    }
  }
  m_typeTable.swap(from.m_typeTable);
  m_doc = std::move(from.m_doc);
  m_dataStart = from.m_dataStart;
  m_dataOrigin = from.m_dataOrigin;
  m_remap.swap(from.m_remap);
  m_remapIndex.swap(from.m_remapIndex);
  m_damaged.swap(from.m_damaged);
  m_defaultStyle = std::exchange(from.m_defaultStyle, nullptr);
  m_defaultCellStyle = std::exchange(from.m_defaultCellStyle, nullptr);
  m_fileName = name;
  if (OnAfterNew) OnAfterNew();
  m_modified = false;
}

bool TAEHset::SaveToFile(const fs::path& path, int formatVersion) {
  m_saveErrors.clear();
  if (path.empty()) {
    m_services.messages->Error("Invalid file name!");
    return false;
  }
  const fs::path shown = AbsoluteName(path);
  const fs::path target = ResolveLinks(shown);
  std::error_code ec;
  const bool overOpen =
      !m_fileName.empty() && (shown == m_fileName || fs::equivalent(target, m_fileName, ec));
  // What could not be read of a damaged document is missing here: writing
  // over it is the author's decision, and the damaged file is kept.
  const bool overDamaged = overOpen && IsDamaged();
  if (overDamaged && m_services.messages->Ask(DamagedQuestion(target)) != platform::Answer::Yes) {
    m_saveErrors.push_back("The damaged document " + shown.string() + " was not replaced.");
    return false;
  }
  if (OnBeforeNew) OnBeforeNew();
  std::vector<std::pair<LinkedView*, int>> shownPages;
  for (LinkedView* view : m_views) shownPages.emplace_back(view, view->ReleasePage());

  const fs::path folder = target.parent_path();
  fs::create_directories(folder, ec);
  RemoveStaleTemporaries(folder);

  // The new document is written beside the target under a private name,
  // flushed, read back, and only then renamed into place, so that the old
  // document and its backup survive any failure.
  const auto savedHeader = m_header;
  UpdateHeaderForSave(formatVersion, shown.filename().string());
  SaveFiles files;
  std::unique_ptr<TAEHset> written;
  fs::path document;
  try {
    base::WriteFile file;
    files.partial = CreatePartial(target, shown, file);
    if (::fchmod(file.Descriptor(), static_cast<mode_t>(DocumentMode(target, shown))) != 0) {
      throw SaveFailure(ErrorWriting(shown, errno));
    }
    const std::int64_t size = WriteDocument(file, shown);
    if (m_saveErrors.empty()) {
      written = ReadBack(files.partial, size, shown);
      const fs::path partial = files.partial;
      document = CommitSave(files, target, shown, overOpen, m_backup || overDamaged) ? shown : partial;
    }
  } catch (const SaveFailure& failure) {
    m_saveErrors.push_back(failure.what());
  } catch (const std::exception&) {
    m_saveErrors.push_back(ErrorWriting(shown, 0));
  }
  if (document.empty()) {
    // Nothing was replaced: the hypertext goes on as it was.
    m_header = savedHeader;
    for (auto [view, page] : shownPages) view->RestorePage(page);
    return false;
  }
  AdoptDocument(*written, document);
  if (!Closing) {
    for (auto [view, page] : shownPages) view->RestorePage(page);
  }
  return m_saveErrors.empty();
}

// ---- Damaged documents ----

namespace {

// What the damage report calls an object of a kind.
std::string KindWord(int kind) {
  switch (kind) {
    case testoHtml: return "page";
    case genLink: return "embedded file";
    case immagine: return "image";
    case tabellaHtml: return "table";
    case mappaFrame: return "frame set";
    default: return "object of kind " + std::to_string(kind) + ", number";
  }
}

}  // namespace

std::string TAEHset::DescribeObject(ObjectId id) const {
  const TAEHoggetto* object = GetObjectById(id);
  const std::string caption = object != nullptr ? object->GetCaption() : std::string();
  std::string text = KindWord(KindOf(id)) + " ";
  text += std::to_string(IndexOf(id));
  if (!caption.empty()) text += " \"" + caption + "\"";
  return text;
}

std::string TAEHset::DamageReport() const {
  std::string text = "The file " + m_fileName.string() +
                     " is damaged: these pages and objects could not be read whole, and what is missing of "
                     "them is lost:";
  for (std::size_t i = 0; i < m_damaged.size(); ++i) {
    if (i == kDamageLines) {
      text += "\rand " + std::to_string(m_damaged.size() - i) + " more.";
      break;
    }
    text += "\r" + DescribeObject(m_damaged[i]);
  }
  return text;
}

std::string TAEHset::DamagedQuestion(const fs::path& target) const {
  return "The file " + m_fileName.string() +
         " was damaged when it was opened, and what could not be read of it is missing here.\rSave over it "
         "anyway? The damaged file is kept as " +
         base::ChangeFileExt(target.string(), ".bak") + ".";
}

}  // namespace tarn::document
