// The link explorer's searches; see linkexplorer.h.
#include "search/linkexplorer.h"

#include <chrono>
#include <cstdio>

#include "document/aehoggetto.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"

namespace tarn::search {
using namespace document;
namespace {

// The first tab hands its results over at most this often, so that a
// search over thousands of pages does not flood the event queue.
constexpr auto kReportInterval = std::chrono::milliseconds(50);
constexpr int kPercent = 100;
constexpr int kOlderMarkup = 1;  // the page's markup generation byte

// A page whose markup holds the object's tag refers to it in its text, and
// IsContainedIn answers accordingly (perhaps with another code, never 0):
// such a page is taken without reading the rest of it. Images and keywords
// are not placed by tag, and a page still in the older text form is
// converted by IsContainedIn first, so those always take the long way.
bool TagInMarkup(const TAEHoggetto& page, ObjectId id, std::string_view tag) {
  if (KindOf(id) == keyword || KindOf(id) == immagine || page.U8(field::kPageGeneration) == kOlderMarkup) return false;
  return page.Content().View().find(tag) != std::string_view::npos;
}

}  // namespace

void FindPagesReferringTo(TAEHset& set, ObjectId id, const std::stop_token& stop,
                          const std::function<void(ObjectId)>& found,
                          const std::function<void(int, int)>& examined) {
  char tag[16];
  std::snprintf(tag, sizeof tag, "<$%08x>", static_cast<unsigned>(id));
  const int total = set.CountOf(testoHtml);
  for (int i = 0; i < total && !stop.stop_requested(); ++i) {
    TAEHoggetto* page = set.GetObject(testoHtml, i);
    if (page != nullptr && !page->IsFree() &&
        (TagInMarkup(*page, id, tag) || IsContainedIn(*page, id) != kNotContained)) {
      found(page->GetId());
    }
    if (examined) examined(i + 1, total);
  }
}

std::vector<ObjectId> PagesReferringTo(TAEHset& set, ObjectId id) {
  std::vector<ObjectId> pages;
  FindPagesReferringTo(set, id, {}, [&](ObjectId page) { pages.push_back(page); });
  return pages;
}

std::vector<ObjectId> ReferencesOf(TAEHset& set, ObjectId id) {
  std::vector<ObjectId> list;
  if (TAEHoggetto* object = set.GetObjectById(id)) CollectReferences(*object, list);
  return list;
}

TKrSearchThreadDa::TKrSearchThreadDa(const TAEHset& set, ObjectId page, PostToUi post,
                                     std::function<void(std::vector<ObjectId>)> report,
                                     std::function<void()> finished) {
  auto work = [page, report](TAEHset& copy, const std::stop_token& stop, SearchJob& job) {
    std::vector<ObjectId> group;
    FindPagesReferringTo(copy, page, stop, [&](ObjectId found) {
      group.push_back(found);
      if (group.size() >= kExplorerGroup) {
        job.Deliver([report, batch = std::move(group)] { report(batch); });
        group.clear();
      }
    });
    if (!group.empty() && !stop.stop_requested()) job.Deliver([report, batch = std::move(group)] { report(batch); });
  };
  m_job = std::make_unique<SearchJob>(set, std::move(post), std::move(work), std::move(finished));
}

TKrSearchThreadPer::TKrSearchThreadPer(const TAEHset& set, ObjectId page, PostToUi post,
                                       std::function<void(std::vector<ObjectId>)> report,
                                       std::function<void()> finished) {
  auto work = [page, report](TAEHset& copy, const std::stop_token&, SearchJob& job) {
    std::vector<ObjectId> list = ReferencesOf(copy, page);
    if (!list.empty()) job.Deliver([report, list = std::move(list)] { report(list); });
  };
  m_job = std::make_unique<SearchJob>(set, std::move(post), std::move(work), std::move(finished));
}

TKrPageSearchThread::TKrPageSearchThread(const TAEHset& set, ObjectId id, PostToUi post,
                                         std::function<void(std::vector<ObjectId>, int)> report,
                                         std::function<void()> finished) {
  auto work = [id, report](TAEHset& copy, const std::stop_token& stop, SearchJob& job) {
    std::vector<ObjectId> found;
    auto last = std::chrono::steady_clock::now();
    int percent = 0;
    auto hand = [&] {
      job.Deliver([report, batch = std::move(found), percent] { report(batch, percent); });
      found.clear();
      last = std::chrono::steady_clock::now();
    };
    FindPagesReferringTo(
        copy, id, stop, [&](ObjectId page) { found.push_back(page); },
        [&](int examined, int total) {
          percent = total > 0 ? examined * kPercent / total : kPercent;
          if (std::chrono::steady_clock::now() - last >= kReportInterval) hand();
        });
    if (!stop.stop_requested()) {
      percent = kPercent;
      hand();
    }
  };
  m_job = std::make_unique<SearchJob>(set, std::move(post), std::move(work), std::move(finished));
}

}  // namespace tarn::search
