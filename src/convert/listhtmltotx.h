// The export file list: what an export writes, one row for the generated
// style sheet, one per page and one per image and attached file, each with
// the file it becomes, that file's size when it is already on disk and the
// record's revision stamp. The export and publishing dialogs show it and
// export or publish its checked rows; this is the list without a window.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/aehconv.h"
#include "document/objectkinds.h"

namespace tarn::convert {

class TAEHtoHtml;

enum TFileSortType : int { fsName, fsSize, fsType, fsVersion };
enum TKrListType : int { ltHtml, ltOneFile, ltManyFiles };

// The row of the style sheet has no record.
inline constexpr document::ObjectId kStyleSheetRow = -1;

struct ExportListRow {
  std::string caption;        // "Title"
  std::string size;           // size of the main file in bytes, empty when not on disk
  std::string type;           // "CSS", "Page", "Image", "File"
  std::string file;           // main file name
  std::string framelessSize;  // size of the frameless file
  std::string framelessFile;  // frameless file name
  std::string version;        // revision stamp in decimal
  std::string extension;      // picks the row's file-type icon
  document::ObjectId id = kStyleSheetRow;
  bool checked = false;
};

struct RowFileNames {
  std::filesystem::path main;
  std::filesystem::path frameless;  // empty when the row has none
};

class TAEHListHtmlToTx {
 public:
  // The column captions, in order.
  static const std::vector<std::string>& ColumnCaptions();

  TAEHtoHtml* LinkedAEHtoHtml() const { return m_converter; }
  void SetLinkedAEHtoHtml(TAEHtoHtml* converter);
  // The converter is going away: the link and the kept hypertext go too.
  void Unlink();

  TKrListType ListType = ltHtml;
  TFileSortType FileSortType() const { return m_sortType; }
  // Sorts at once when it changes.
  void SetFileSortType(TFileSortType type);
  // Called at the end of every rebuild.
  std::function<void()> OnReload;

  // Filled by the caller before Reload: the pages to list (none means
  // every page; Reload empties it) and the images and files to list.
  std::vector<int>& PagesToList() { return m_pagesToList; }
  RecordList& FilesToList() { return m_filesToList; }

  // Lists every image and attached file of the hypertext that an export
  // can write, before any run has collected the ones the pages use.
  void ListAllFiles();
  void Reload();
  const std::vector<ExportListRow>& Rows() const { return m_rows; }
  std::size_t Count() const { return m_rows.size(); }
  void SetChecked(std::size_t row, bool checked);
  void CheckAll(bool checked);
  // The page indexes of the checked rows that stand for pages, in row order.
  std::vector<int> CheckedPages() const;
  // The records of the image and file rows checked (or unchecked), in row
  // order.
  std::vector<document::ObjectId> FileRows(bool checked) const;

  RowFileNames RowFiles(std::size_t row) const;
  // Checks the rows whose Version is greater than revision, unchecks the
  // others; an empty or unreadable Version counts as 0xF00000.
  void CheckNewerThan(std::int32_t revision);
  void RefreshVersions();
  void SetRowVersion(std::size_t row, std::int32_t revision);
  // A page row whose stamp is at least revision gets its stamp raised by
  // one; false for anything else.
  bool BumpRowVersion(std::size_t row, std::int32_t revision);
  // Editing a caption renames the record (cut to its field); false for the
  // style-sheet row.
  bool RenameRow(std::size_t row, std::string_view caption);
  // A click on a column header: "Title", "Size", "Type" and "Version" sort
  // (FileSortType stays); the others do nothing. False when nothing sorted.
  bool SortByColumn(int column);
  void Sort(TFileSortType type);

 private:
  document::TAEHoggetto* Record(std::size_t row) const;
  std::string SizeOf(const std::string& name) const;

  TAEHtoHtml* m_converter = nullptr;
  document::TAEHset* m_set = nullptr;
  TFileSortType m_sortType = fsType;
  std::vector<int> m_pagesToList;
  RecordList m_filesToList;
  std::vector<ExportListRow> m_rows;
};

}  // namespace tarn::convert
