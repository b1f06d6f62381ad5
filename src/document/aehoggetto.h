// One persistent object of a hypertext: a fixed-size record of its kind plus
// up to two variable-length data blocks (content and extra). The record is
// the only persistent form of anything an author places in a hypertext.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "document/objectkinds.h"

namespace tarn::base {
class ReadFile;
}

namespace tarn::document {

class TAEHset;
class TAEHpicture;

// Where an object's data block lives: nowhere, in memory, or still in the
// open document file (large payloads stay there until they are used).
struct DataBlock {
  enum class Source { None, Memory, Document };
  Source source = Source::None;
  // Source::Memory: the bytes are a range of a shared buffer, so that the
  // blocks read together at open need no copy each.
  std::shared_ptr<const std::string> buffer;
  std::size_t begin = 0;
  std::size_t size = 0;
  std::int64_t offset = 0;    // Source::Document: absolute offset in the file
  std::int64_t length = 0;    // Source::Document: stored length

  bool Present() const { return source != Source::None; }
  std::int64_t Size() const {
    return source == Source::Memory ? static_cast<std::int64_t>(size)
                                    : (source == Source::Document ? length : 0);
  }
  // The bytes of a block in memory (empty for the other sources).
  std::string_view View() const {
    return source == Source::Memory ? std::string_view(*buffer).substr(begin, size) : std::string_view();
  }
  void Assign(std::string bytes) {
    size = bytes.size();
    begin = 0;
    buffer = std::make_shared<const std::string>(std::move(bytes));
    source = Source::Memory;
  }
  void Share(std::shared_ptr<const std::string> shared, std::size_t from, std::size_t count) {
    buffer = std::move(shared);
    begin = from;
    size = count;
    source = Source::Memory;
  }
  void Reset() { *this = DataBlock{}; }
};

// Record offsets of the data-block fields of one kind; -1 where the kind has
// no such field.
struct BlockFields {
  int contentOffset = -1;
  int contentLength = -1;
  int extraOffset = -1;
  int extraLength = -1;
};
BlockFields BlockFieldsOf(int kind);

// Capacity of the display name of a kind (0 when it takes no name) and the
// record offset of the name field (-1 when none).
int NameCapacity(int kind);
int NameOffset(int kind);

class TAEHoggetto;
// A link record's subtype by the form of its URL: internal ("tarn:"), web
// ("http:") or mail ("mailto:"), decided by an exact prefix; any other URL
// leaves the subtype as it is.
void SetLinkSubtype(TAEHoggetto& link);

// A data block of an object that is to be read into memory at open. The
// container gathers these for all objects and reads neighbouring blocks
// together.
struct BlockRequest {
  enum class Part { Content, Extra, FrameDescription };
  class TAEHoggetto* object = nullptr;
  Part part = Part::Content;
  std::int64_t offset = 0;  // absolute, inside the file
  std::int64_t length = 0;
};

// Appends the variable-data area while a document is written; knows the
// current position so that objects can store their block offsets.
class DataSink {
 public:
  virtual ~DataSink() = default;
  virtual std::int64_t Position() const = 0;
  virtual bool Append(std::string_view bytes) = 0;
};

class TAEHoggetto {
 public:
  TAEHoggetto();
  virtual ~TAEHoggetto();
  TAEHoggetto(const TAEHoggetto&) = delete;
  TAEHoggetto& operator=(const TAEHoggetto&) = delete;

  int Kind() const { return m_kind; }
  int Index() const { return m_index; }
  bool IsRegistered() const { return m_registered; }
  TAEHset* Owner() const { return m_owner; }
  void SetOwner(TAEHset* owner) { m_owner = owner; }
  ObjectId GetId() const { return MakeObjectId(m_kind, m_index); }

  // Sets the kind of an unregistered object; a registered object changes
  // kind through TAEHset::ChangeKind, which gives up its slot.
  bool SetType(int kind);

  std::string GetCaption() const;
  bool IsFree() const;
  virtual void Clear();
  void InitNew();

  std::int32_t GetRevision() const;
  void SetRevision(std::int32_t value);

  // The 668-byte record.
  std::span<std::uint8_t> Record() { return m_record; }
  std::span<const std::uint8_t> Record() const { return m_record; }
  std::int32_t I32(int at) const { return base::GetI32(m_record, static_cast<std::size_t>(at)); }
  std::int16_t I16(int at) const { return base::GetI16(m_record, static_cast<std::size_t>(at)); }
  std::uint8_t U8(int at) const { return m_record[static_cast<std::size_t>(at)]; }
  void SetI32(int at, std::int32_t v) { base::PutI32(m_record, static_cast<std::size_t>(at), v); }
  void SetI16(int at, std::int16_t v) { base::PutI16(m_record, static_cast<std::size_t>(at), v); }
  void SetU8(int at, std::uint8_t v) { m_record[static_cast<std::size_t>(at)] = v; }
  std::string Str(int at, int capacity) const {
    return base::GetShortString(m_record, static_cast<std::size_t>(at), static_cast<std::size_t>(capacity));
  }
  void SetStr(int at, int capacity, std::string_view text) {
    base::PutShortString(m_record, static_cast<std::size_t>(at), static_cast<std::size_t>(capacity), text);
  }
  int Subtype() const { return m_record[4]; }
  void SetSubtype(int v) { m_record[4] = static_cast<std::uint8_t>(v); }

  // Renames the object, cut to the kind's longest name; false when the kind
  // takes no name.
  bool SetName(std::string_view name);
  // The embedded file name (kinds 2, 3, 5, 6, 7; empty for the others).
  std::string FileName() const;
  // Makes the name unique among the embedded files, then stores it.
  void SetFileName(std::string_view name);

  // Content and extra data.
  const DataBlock& Content() const { return m_content; }
  const DataBlock& Extra() const { return m_extra; }
  void SetContent(std::string bytes);
  void SetExtra(std::string bytes);
  void DropContent() { m_content.Reset(); }
  void DropExtra() { m_extra.Reset(); }
  // The content bytes from wherever they are: memory, the document file or
  // the external file. nullopt when they cannot be read.
  std::optional<std::string> ReadContent() const;
  std::int64_t ContentLength() const;

  const std::filesystem::path& FilePath() const { return m_filePath; }
  void SetFilePath(std::filesystem::path path) { m_filePath = std::move(path); }

  // Reading from and writing to the document file.
  // Takes the stored bytes of one record (at most 668 of its size bytes),
  // upgrades records written by older releases and attaches the data blocks:
  // large payloads stay in the file, the other blocks are read at once.
  void ReadRecord(std::span<const std::uint8_t> stored, std::int64_t size, const base::ReadFile& doc,
                  std::int64_t dataOrigin);
  // The same in two steps, for reading many records: the record, then the
  // blocks to read into memory are handed out as requests and fulfilled by
  // AdoptBlock.
  void ReadRecordOnly(std::span<const std::uint8_t> stored, std::int64_t size);
  // False when a data block of the record is not wholly inside the file: the
  // file was cut, and what lay past its end is lost.
  bool RequestBlocks(std::int64_t fileSize, std::int64_t dataOrigin, std::vector<BlockRequest>& requests);
  void AdoptBlock(BlockRequest::Part part, const std::shared_ptr<const std::string>& buffer,
                  std::size_t begin, std::size_t size);
  void WriteBlocks(DataSink& data, std::vector<std::string>& errors);
  void WriteRecord(std::string& records) const;

  // The object transfer format used by undo, the clipboard and image
  // replacement.
  void SaveToStream(std::string& out) const;
  bool LoadFromStream(base::ByteReader& in);

  std::filesystem::path ExtractToFile();
  TAEHpicture* GetPicture();
  bool ReplaceContent(std::unique_ptr<TAEHoggetto> other);
  bool ReplaceContent(const TAEHoggetto& other);
  bool SameContent(const TAEHoggetto& other) const;
  void CopyImageToClipboard();
  // Draws the picture on white and writes it as a Windows bitmap.
  bool SaveImageAsBitmap(const std::filesystem::path& path);

  // The frame-set description stored before a frame map's content; kept as
  // read until the frame-set layer rewrites it.
  const std::string& FrameDescription() const { return m_frameDescription; }
  void SetFrameDescription(std::string text, std::int32_t writerValue) {
    m_frameDescription = std::move(text);
    m_frameWriterValue = writerValue;
  }

 protected:
  virtual void ReleaseOwned();
  std::int32_t HypertextRevision() const;

 private:
  friend class TAEHset;
  void ApplyClearDefaults();
  void UpgradeShortRecord(std::int64_t size);
  void ClearReferencedSpecialLinks();
  bool AppendContent(DataSink& data, std::vector<std::string>& errors, std::int64_t& written);

  std::uint8_t m_kind = testoHtmlRtf;
  int m_index = 0;
  bool m_registered = false;
  TAEHset* m_owner = nullptr;
  std::array<std::uint8_t, kRecordBufferSize> m_record{};
  DataBlock m_content;
  DataBlock m_extra;
  std::filesystem::path m_filePath;
  std::string m_frameDescription;
  std::int32_t m_frameWriterValue = 0;
};

}  // namespace tarn::document
