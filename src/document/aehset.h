// The container of one hypertext: its header, every object record, the open
// document file, the temporary folder and the image cache. Opening and saving
// the .AEH file happen here.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/filestream.h"
#include "document/aehoggetto.h"
#include "document/aehpicture.h"
#include "document/objectkinds.h"
#include "document/undostore.h"
#include "platform/system.h"
#include "platform/textmeasurer.h"

namespace tarn::document {

// Byte offsets of the 1978-byte file header.
namespace header {
inline constexpr int kSize = 1978;
inline constexpr int kMagic = 0;
inline constexpr int kTitle = 4;  // string[79]
// The capacities of the header's short strings: title, company, copyright
// and authors; export prefix and password; the two font names.
inline constexpr int kTextCapacity = 79;
inline constexpr int kPrefixCapacity = 16;
inline constexpr int kFontNameCapacity = 39;
inline constexpr int kInformation = 84;
inline constexpr int kInformationSize = 1258;
inline constexpr int kFirstTextSlot = 1342;
inline constexpr int kExpPrefix = 1346;  // string[16]
inline constexpr int kPassword = 1363;   // string[16]
inline constexpr int kCompany = 1380;    // string[79]
inline constexpr int kCopyright = 1460;  // string[79]
inline constexpr int kAuthors = 1540;    // string[79]
inline constexpr int kHighestKind = 1620;
inline constexpr int kVersion = 1621;
inline constexpr int kReadOnly = 1623;
inline constexpr int kContentsPage = 1624;
inline constexpr int kCoverPage = 1628;
inline constexpr int kRevision = 1632;
inline constexpr int kContentsButton = 1636;
inline constexpr int kSearchButton = 1637;
inline constexpr int kHelpButton = 1638;
inline constexpr int kNoCoverButton = 1639;
inline constexpr int kReserved1 = 1640;
inline constexpr int kNoButtons = 1641;
inline constexpr int kFixedFont = 1642;  // string[39]
inline constexpr int kTextFont = 1682;   // string[39]
inline constexpr int kPixelsPerInch = 1722;
inline constexpr int kHeaderPage = 1724;
inline constexpr int kFooterPage = 1728;
inline constexpr int kSecondTextSlot = 1732;
inline constexpr int kBackgroundColour = 1736;
inline constexpr int kBackgroundImage = 1740;
inline constexpr int kLanguage = 1744;
inline constexpr int kTextColour = 1746;
inline constexpr int kLinkColour = 1750;
inline constexpr int kVisitedColour = 1754;
inline constexpr int kTypeEntrySize = 12;
}  // namespace header

inline constexpr std::string_view kUnsupportedSecondLine =
    "Please obtain a more recent release of the program from its maker.";

// The hidden name beside a document under which a save by process pid
// writes a file before renaming it into place:
// "." + FILE + ".tarn-HOST-PID-RANDOM.tmp". A save into the folder removes
// the files of processes on this machine that have gone.
std::string SaveTemporaryName(std::string_view fileName, int pid, std::string_view random);

// Something that shows a page of the container and must write its edits back
// before a save (frame sets, later).
class LinkedView {
 public:
  virtual ~LinkedView() = default;
  // Writes the page back into the records; answers the page shown.
  virtual int ReleasePage() = 0;
  virtual void RestorePage(int page) = 0;
  // The container is closing its hypertext: drop every screen object.
  virtual void DropPage() = 0;
};

class TAEHset {
 public:
  explicit TAEHset(platform::Services services);
  ~TAEHset();
  TAEHset(const TAEHset&) = delete;
  TAEHset& operator=(const TAEHset&) = delete;

  // Opening, saving, new and close.
  bool LoadFromFile(const std::filesystem::path& path);
  bool SaveToFile(const std::filesystem::path& path, int formatVersion = 2);
  void NewHypertext();
  void CloseHypertext();
  const std::filesystem::path& AEHFileName() const { return m_fileName; }
  // The hypertext stops naming its file (a template opened as a new
  // document); lazy data is still read from the file it was loaded from.
  void ForgetFileName() { m_fileName.clear(); }
  // Setting the file name fires OnBeforeNew and opens the file.
  bool SetAEHFileName(const std::filesystem::path& path);
  const std::vector<std::string>& SaveErrors() const { return m_saveErrors; }
  // A document is damaged when the file it was read from ends before the
  // data of some of its records: those records lost what lay past the end.
  // Saving over such a file asks first and keeps it as the .bak.
  bool IsDamaged() const { return !m_damaged.empty(); }
  const std::vector<ObjectId>& DamagedObjects() const { return m_damaged; }

  std::function<void()> OnBeforeNew;
  std::function<void()> OnAfterNew;
  // Writes a frame map's frameset description before its content; answers
  // the value stored at record offset 97. The program installs the frame-set
  // layer's writer (app::Compose). Unset: the description read from the file
  // is written back unchanged.
  std::function<std::int32_t(TAEHoggetto& map, std::string& out)> FrameSetWriter;
  // Converts a page still in the older text form to the current markup
  // before it is written or read (sets its markup generation to 2). The
  // program installs the rich-text layer's converter (app::Compose). Unset:
  // such pages are written as they are.
  std::function<void(TAEHoggetto& page)> OlderTextConverter;

  // Header fields.
  std::span<std::uint8_t> Header() { return m_header; }
  std::span<const std::uint8_t> Header() const { return m_header; }
  std::string Title() const;
  void SetTitle(std::string_view title);
  int Version() const;
  std::string ExpPrefix() const;
  void SetExpPrefix(std::string_view prefix);
  std::int32_t Revision() const;
  std::int32_t HeaderI32(int at) const { return base::GetI32(m_header, static_cast<std::size_t>(at)); }
  void SetHeaderI32(int at, std::int32_t v) { base::PutI32(m_header, static_cast<std::size_t>(at), v); }
  std::string HeaderString(int at, int capacity) const {
    return base::GetShortString(m_header, static_cast<std::size_t>(at), static_cast<std::size_t>(capacity));
  }
  void SetHeaderString(int at, int capacity, std::string_view v) {
    base::PutShortString(m_header, static_cast<std::size_t>(at), static_cast<std::size_t>(capacity), v);
  }
  std::string ProtectionPassword() const;

  // Settings copied from the program options.
  int MaxCacheImg() const { return m_maxCacheImg; }
  void SetMaxCacheImg(int n) { m_maxCacheImg = n; }
  int UndoDeep() const { return m_undoDeep; }
  // Also the depth of the current undo list.
  void SetUndoDeep(int n);
  bool Backup() const { return m_backup; }
  void SetBackup(bool on) { m_backup = on; }
  bool AltText() const { return m_altText; }
  void SetAltText(bool on) { m_altText = on; }
  bool DbDebug = false;
  bool DbDebugMap = false;
  // Another container whose objects a wrapper panel refers to.
  TAEHset* WrapperSet = nullptr;

  // Objects.
  TAEHoggetto* GetObject(int kind, std::int64_t index) const;
  TAEHoggetto* GetObjectById(ObjectId id) const;
  int CountOf(int kind) const;
  // Creates an unregistered object of the kind owned by the caller: typed,
  // given this owner, cleared and initialised.
  std::unique_ptr<TAEHoggetto> NewObject(int kind);
  // Puts the object into its kind's list and answers its index; on success
  // the container takes the object over (the pointer is emptied). -1 when
  // the slot asked for is empty.
  int RegisterObject(std::unique_ptr<TAEHoggetto>& object, std::int64_t index = -1);
  // Registers and answers the object, or nothing when registration failed.
  TAEHoggetto* Register(std::unique_ptr<TAEHoggetto> object, std::int64_t index = -1);
  // Changes the kind of a registered object: its slot is emptied and the
  // object, now unregistered, is handed to the caller.
  std::unique_ptr<TAEHoggetto> ChangeKind(TAEHoggetto* object, int kind);
  TAEHoggetto* FindEqual(const TAEHoggetto& object) const;
  TAEHoggetto* FindByName(const TAEHoggetto& object) const;

  // Paragraph styles (kind 17).
  int StyleIndex(std::string_view name) const;
  bool StyleExists(std::string_view name) const { return StyleIndex(name) >= 0; }
  std::string UniqueStyleName(std::string_view name) const;
  std::vector<std::string> StyleNames() const;
  TAEHoggetto* FindStyle(std::string_view name) const;
  void MakeStyleNamesUnique();
  TAEHoggetto* DefaultStyle() const { return m_defaultStyle; }
  TAEHoggetto* DefaultCellStyle() const { return m_defaultCellStyle; }

  // Pages.
  TAEHoggetto* FindPage(std::string_view name) const;
  // Previous and next page of the browse sequence (the page itself when none).
  int PreviousInSequence(int page) const;
  int NextInSequence(int page) const;

  // Temporary files.
  std::filesystem::path TempFolder();
  std::filesystem::path TempFileName(std::string_view name);
  // Strips the folder; a name already used by another embedded file or
  // image becomes "ed" + six random hexadecimal digits + the extension.
  std::string UniqueEmbeddedName(std::string_view name, const TAEHoggetto* exclude = nullptr);

  // Adding content.
  TAEHoggetto* AddImageFile(const std::filesystem::path& path);
  TAEHoggetto* AddImageData(const std::filesystem::path& path, bool transparent, int height, int width);
  // A new, unregistered placed image (kind 16) showing the registered image.
  std::unique_ptr<TAEHoggetto> AddImmagineNew(TAEHoggetto* image);
  TAEHoggetto* AddEmbeddedFile(const std::filesystem::path& path, TAEHoggetto* object = nullptr);
  std::unique_ptr<TAEHoggetto> NewLink(std::string_view url);

  // Image cache (first in, first out).
  TAEHpicture* CachedPicture(const TAEHoggetto* object) const;
  void CachePicture(const TAEHoggetto* object, std::unique_ptr<TAEHpicture> picture);
  void CachePicture(const TAEHoggetto* object, std::shared_ptr<TAEHpicture> picture);
  // A cached picture as a share: a screen object that holds it keeps it
  // decoded while its page is shown, though the cache may let it go.
  std::shared_ptr<TAEHpicture> SharedPicture(const TAEHoggetto* object) const;
  // The picture of an image (kind 5) that the cache let go but something
  // still holds; nothing otherwise.
  std::shared_ptr<TAEHpicture> HeldPicture(const TAEHoggetto* object) const;
  void UncachePicture(const TAEHoggetto* object);
  void ClearCache();
  std::size_t CacheSize() const { return m_cache.size(); }

  platform::FontMetrics TextMetrics(std::string_view fontName);

  // The undo list of the hypertext, made by the factory (installed by
  // app::Compose, which makes the first list at once) and made anew, empty
  // and UndoDeep deep, at every close. Without a factory nothing is
  // recorded.
  void SetUndoFactory(UndoStoreFactory factory);
  UndoStore* Undo() const { return m_undo.get(); }
  // Told whenever a step is added to or taken from the undo list, or the
  // list is emptied: the window enables its undo commands.
  std::function<void()> OnUndoChanged;

  // Linked views.
  void AddView(LinkedView* view);
  void RemoveView(LinkedView* view);

  // A copy of the whole hypertext for reading on another thread while this
  // one goes on being edited: header and records copied, data blocks shared
  // (they are replaced, never changed in place), lazy content read through
  // a handle of its own. The copy has no views, hooks or undo.
  std::unique_ptr<TAEHset> ReadingCopy() const;

  bool IsModified() const { return m_modified; }
  void SetModified(bool on) { m_modified = on; }
  // Set while the application closes: views get no page back after a save.
  bool Closing = false;

  platform::Services& Services() { return m_services; }
  const base::ReadFile& DocumentFile() const { return m_doc; }
  std::int64_t DataOrigin() const { return m_dataOrigin; }
  // Pairs (old id, new id) of objects converted from a version 1 file.
  const std::vector<std::pair<ObjectId, ObjectId>>& RemapList() const { return m_remap; }

 private:
  struct SaveFiles;
  // Reads a file into the closed container; why is the system's reason
  // for a failure where there is one.
  bool ReadDocument(const std::filesystem::path& path, std::string& why);
  bool ReadObjects(std::vector<const TAEHoggetto*>& damaged, std::string& why);
  bool ReadBlocks(std::vector<BlockRequest>& requests, std::vector<const TAEHoggetto*>& damaged,
                  std::string& why);
  void ConvertVersion1();
  void CreateDefaultStyles();
  void ApplyNewHeaderDefaults();
  // The steps of a save; each failing step throws with its error list entry.
  void UpdateHeaderForSave(int formatVersion, const std::string& userName);
  std::filesystem::path CreatePartial(const std::filesystem::path& target, const std::filesystem::path& shown,
                                      base::WriteFile& file);
  std::int64_t WriteDocument(base::WriteFile& file, const std::filesystem::path& shown);
  std::unique_ptr<TAEHset> ReadBack(const std::filesystem::path& partial, std::int64_t size,
                                    const std::filesystem::path& shown);
  // False when the author chose to go on with the document in the temporary
  // file.
  bool CommitSave(SaveFiles& files, const std::filesystem::path& target, const std::filesystem::path& shown,
                  bool overOpen, bool makeBackup);
  // Takes over the hypertext another container read (the file just saved).
  void AdoptDocument(TAEHset& from, const std::filesystem::path& name);
  std::string DescribeObject(ObjectId id) const;
  std::string DamageReport() const;
  std::string DamagedQuestion(const std::filesystem::path& target) const;
  void EmptyTempFolder();
  std::string RandomHex(int digits);
  bool HeaderValid(std::int64_t fileSize, std::string& why);
  int NeighbourInSequence(int page, int direction) const;

  platform::Services m_services;
  std::array<std::uint8_t, header::kSize> m_header{};
  std::array<std::vector<std::unique_ptr<TAEHoggetto>>, kKindCount> m_lists;
  struct TypeEntry {
    std::int64_t offset = 0;
    std::int64_t size = 0;
    std::int64_t count = 0;
  };
  std::vector<TypeEntry> m_typeTable;
  base::ReadFile m_doc;
  std::filesystem::path m_fileName;
  std::int64_t m_dataStart = 0;
  std::int64_t m_dataOrigin = 0;
  std::vector<std::pair<ObjectId, ObjectId>> m_remap;
  std::unordered_map<ObjectId, ObjectId> m_remapIndex;
  std::vector<std::pair<const TAEHoggetto*, std::shared_ptr<TAEHpicture>>> m_cache;
  // Every picture handed out, as long as a holder keeps it: a page showing
  // more distinct pictures than the cache keeps decodes each of them once.
  std::vector<std::pair<const TAEHoggetto*, std::weak_ptr<TAEHpicture>>> m_held;
  std::vector<std::string> m_saveErrors;
  std::vector<ObjectId> m_damaged;
  // Set while a file is read: the embedded file names read so far.
  std::unordered_set<std::string>* m_loadNames = nullptr;
  TAEHoggetto* m_defaultStyle = nullptr;
  TAEHoggetto* m_defaultCellStyle = nullptr;
  std::vector<LinkedView*> m_views;
  UndoStoreFactory m_undoFactory;
  std::unique_ptr<UndoStore> m_undo;
  bool m_modified = false;
  std::filesystem::path m_tempFolder;
  int m_maxCacheImg = 20;
  int m_undoDeep = 100;
  bool m_backup = true;
  bool m_altText = true;
  std::uint32_t m_containerNumber;
  std::uint64_t m_randomState;
};

}  // namespace tarn::document
