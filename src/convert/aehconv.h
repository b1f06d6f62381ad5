// The converter base that the HTML, RTF and plain-text converters share: the
// hypertext, the output path and file, the export prefix, progress, and the
// five operations every converter implements.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "convert/exportprogress.h"

namespace tarn::document {
class TAEHset;
class TAEHoggetto;
}  // namespace tarn::document

namespace tarn::convert {

using document::TAEHoggetto;
using document::TAEHset;

// Records in the order they were added, each at most once (by identity):
// the file list, the frameless list and the list of exported pages of a run.
class RecordList {
 public:
  // False when the record is listed already.
  bool Add(TAEHoggetto* record);
  bool Contains(const TAEHoggetto* record) const { return m_index.contains(record); }
  std::size_t Size() const { return m_items.size(); }
  bool Empty() const { return m_items.empty(); }
  TAEHoggetto* operator[](std::size_t i) const { return m_items[i]; }
  auto begin() const { return m_items.begin(); }
  auto end() const { return m_items.end(); }
  void Clear();

 private:
  std::vector<TAEHoggetto*> m_items;
  std::unordered_set<const TAEHoggetto*> m_index;
};

class TAEHconv {
 public:
  TAEHconv();
  virtual ~TAEHconv() = default;
  TAEHconv(const TAEHconv&) = delete;
  TAEHconv& operator=(const TAEHconv&) = delete;

  // The hypertext that is exported or imported into.
  TAEHset* LinkedAEHset() const { return m_set; }
  void SetLinkedAEHset(TAEHset* set) { m_set = set; }
  // The main output file of the one-file formats.
  std::filesystem::path ExportFileName;
  // The output folder.
  std::filesystem::path ExportPath;
  // Told before each document; may be absent.
  ExportProgress* OnExpProgress = nullptr;
  // Language of generated texts.
  int Language = 0;

  // The override when set, else the hypertext's ExpPrefix.
  std::string ExportPrefix() const;
  const std::string& ExportPrefixOverride() const { return m_prefixOverride; }
  void SetExportPrefixOverride(std::string_view prefix) { m_prefixOverride = prefix; }

  // A piece of markup in the converter's format (for the clipboard).
  virtual void ConvertText(std::string_view markup, std::string& out) = 0;
  virtual bool ExportPageList(const std::vector<int>& pages) = 0;
  virtual bool ExportSinglePage(int page, RecordList& files, RecordList& exportedPages) = 0;
  // Imports the files as new pages; answers the page to show.
  virtual int ImportFiles(const std::vector<std::filesystem::path>& files, bool flag) = 0;
  // Clipboard data into the container a text box inserts.
  virtual void ConvertPaste(std::string_view source, std::string& container, int codeMode, int styleNumber) = 0;

  // The background of the pages an import makes (the import dialog sets
  // them): a colour, and an image index or -1.
  std::uint32_t ImportBackgroundColour = 0xFFFFFF;
  std::int32_t ImportBackgroundImage = -1;
  // A new page for an importer, registered: the empty first page of a new
  // hypertext is replaced, otherwise the first free slot is taken.
  TAEHoggetto* CreateImportText();

  // Why the last export run ended early (empty after a run that succeeded).
  const std::string& ErrorText() const { return m_error; }

 protected:
  void ReportProgress(int item, int total, int phase) const;
  void ProcessPendingEvents() const;
  // Whoever follows the run asked it to stop.
  bool Cancelled() const;
  void SetErrorText(std::string text) { m_error = std::move(text); }

 private:
  TAEHset* m_set = nullptr;
  std::string m_prefixOverride;
  std::string m_error;
};

}  // namespace tarn::convert
