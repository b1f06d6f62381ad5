// The print dialog's page list; see printlist.h.
#include "print/printlist.h"

#include "document/aehorderedtree.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "platform/messages.h"
#include "print/pagesetupdialog.h"

namespace tarn::print {
namespace {

using document::ObjectId;

// List entries below this name pages (kind 0); the others are passed over.
constexpr ObjectId kFirstNonPage = 0x01000000;

document::TAEHtesto* LivePage(document::TAEHset& set, ObjectId id) {
  if (id < 0 || id >= kFirstNonPage) return nullptr;
  auto* page = dynamic_cast<document::TAEHtesto*>(set.GetObject(document::testoHtml, document::IndexOf(id)));
  return page != nullptr && !page->IsFree() ? page : nullptr;
}

}  // namespace

void PrintList::AllInDefaultOrder() { m_entries = document::DefaultOrder(m_set, document::testoHtml); }

void PrintList::Add(ObjectId id) { m_entries.push_back(id); }

void PrintList::AddVisited(const std::vector<int>& pages) {
  for (int page : pages) {
    if (page >= 0) m_entries.push_back(document::MakeObjectId(document::testoHtml, page));
  }
}

void PrintList::Remove(std::size_t at) {
  if (at < m_entries.size()) m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(at));
}

bool PrintList::MoveUp(std::size_t at) {
  if (at == 0 || at >= m_entries.size()) return false;
  std::swap(m_entries[at - 1], m_entries[at]);
  return true;
}

bool PrintList::MoveDown(std::size_t at) {
  if (at + 1 >= m_entries.size()) return false;
  std::swap(m_entries[at], m_entries[at + 1]);
  return true;
}

std::string PrintList::Caption(std::size_t at) const {
  if (at >= m_entries.size()) return {};
  const ObjectId id = m_entries[at];
  const document::TAEHtesto* page = LivePage(m_set, id);
  if (page == nullptr) return "(" + std::to_string(id) + ")";
  return std::to_string(document::IndexOf(id)) + "  " + page->GetCaption();
}

int PrintList::Print(int currentPage, TPageSetupDialog& setup, const PrintOptions& options,
                     const Progress& progress) {
  m_sheets = 0;
  if (m_entries.empty()) Add(document::MakeObjectId(document::testoHtml, currentPage));
  std::vector<document::TAEHtesto*> pages;
  for (ObjectId id : m_entries) {
    if (document::TAEHtesto* page = LivePage(m_set, id)) pages.push_back(page);
  }
  if (pages.empty()) return 0;
  if (!setup.CheckPrinters()) return -1;
  PrintJob job(setup.PrinterObject(), setup.MessagesObject());
  if (!job.Begin(std::string(kJobTitlePrefix) + pages.front()->Title())) return -1;
  const int total = 2 * static_cast<int>(pages.size());
  int printed = 0;
  for (document::TAEHtesto* page : pages) {
    if (progress && !progress(2 * printed + 1, total)) {
      job.Abort();
      return -1;
    }
    // A printable page of its own for each page, gone once printed: the
    // memory a job takes does not grow with its pages.
    TAEHpageP printable(m_set);
    printable.options = options;
    if (!printable.PrintInto(*page, setup, job)) {
      job.Abort();
      return -1;
    }
    ++printed;
    if (progress && !progress(2 * printed, total)) {
      job.Abort();
      return -1;
    }
  }
  m_sheets = job.Sheets();
  return job.End() ? printed : -1;
}

}  // namespace tarn::print
