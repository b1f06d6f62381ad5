// The print dialog's list of pages to print, in the order they print, and
// the printing of it: every page of the list on the sheets of one job.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "document/objectkinds.h"
#include "print/aehpagep.h"

namespace tarn::document {
class TAEHset;
}

namespace tarn::print {

class TPageSetupDialog;

class PrintList {
 public:
  explicit PrintList(document::TAEHset& set) : m_set(set) {}

  const std::vector<document::ObjectId>& Entries() const { return m_entries; }
  bool Empty() const { return m_entries.empty(); }

  // Every page in the default order, in place of what the list held.
  void AllInDefaultOrder();
  // A page at the end of the list (the current one, or one the author chose).
  void Add(document::ObjectId id);
  // The pages seen while following links in the preview, in the order seen.
  void AddVisited(const std::vector<int>& pages);
  void Remove(std::size_t at);
  void Clear() { m_entries.clear(); }
  bool MoveUp(std::size_t at);
  bool MoveDown(std::size_t at);

  // What each entry shows: the page's index and title.
  std::string Caption(std::size_t at) const;

  // Told before and after each page (two steps a page, out of total); false
  // stops the printing.
  using Progress = std::function<bool(int step, int total)>;
  // Prints the pages of the list (the current page when the list is
  // empty: it is added first) as one job titled after the first page.
  // Entries that name no live page are passed over. Answers the pages
  // printed; -1 when the job failed or was stopped.
  int Print(int currentPage, TPageSetupDialog& setup, const PrintOptions& options, const Progress& progress = {});
  // The sheets the last printing filled.
  int Sheets() const { return m_sheets; }

 private:
  document::TAEHset& m_set;
  std::vector<document::ObjectId> m_entries;
  int m_sheets = 0;
};

}  // namespace tarn::print
