// The link explorer's searches: the pages that refer to an object (first
// tab), and for one page the pages that refer to it and what it refers to
// (second tab). Each runs on a worker thread over a copy of the hypertext
// and hands its results, as object ids, to the user-interface thread.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <stop_token>
#include <string_view>
#include <vector>

#include "document/objectkinds.h"
#include "search/searchjob.h"

namespace tarn::document {
class TAEHset;
}

namespace tarn::search {

using document::ObjectId;

// The entries of the first tab's drop-down list and the kind of object
// each one lists as candidates.
struct SearchKind {
  std::string_view caption;
  int kind;
};
inline constexpr std::array<SearchKind, 5> kSearchKinds{{
    {"...a link to the selected page (below):", document::testoHtml},
    {"...an image like selected (below):", document::immagine},
    {"...a reference to file selected (below):", document::genLink},
    {"...the keyword selected (below):", document::keyword},
    {"...a reference to selected link (below):", document::internetLink},
}};

// The left explorer list reports in groups of this many pages, so that
// the first results show before the whole hypertext has been examined.
inline constexpr std::size_t kExplorerGroup = 5;

// ---- The searches themselves, on a hypertext no other thread changes ----

// The live pages, in index order, whose IsContainedIn(id) is not 0. found
// runs for each one as it is found; examined after each page looked at.
void FindPagesReferringTo(document::TAEHset& set, ObjectId id, const std::stop_token& stop,
                          const std::function<void(ObjectId page)>& found,
                          const std::function<void(int examined, int total)>& examined = {});
std::vector<ObjectId> PagesReferringTo(document::TAEHset& set, ObjectId id);
// The pages, links and files the object refers to, in the order found.
std::vector<ObjectId> ReferencesOf(document::TAEHset& set, ObjectId id);

// ---- The explorer's threads ----

// Who refers to a page (TKrSearchThreadDa) and what a page refers to
// (TKrSearchThreadPer). A thread starts when made; destroying it stops it.
class TKrSearchThreadDaPer {
 public:
  virtual ~TKrSearchThreadDaPer() = default;
  void Terminate() { m_job->Terminate(); }
  bool Running() const { return m_job->Running(); }

 protected:
  std::unique_ptr<SearchJob> m_job;
};

class TKrSearchThreadDa : public TKrSearchThreadDaPer {
 public:
  // report gets the pages found in groups of kExplorerGroup, the rest at the end.
  TKrSearchThreadDa(const document::TAEHset& set, ObjectId page, PostToUi post,
                    std::function<void(std::vector<ObjectId>)> report, std::function<void()> finished = {});
};

class TKrSearchThreadPer : public TKrSearchThreadDaPer {
 public:
  // report gets the pages, links and files the page refers to, once.
  TKrSearchThreadPer(const document::TAEHset& set, ObjectId page, PostToUi post,
                     std::function<void(std::vector<ObjectId>)> report, std::function<void()> finished = {});
};

// The first tab's search: every page that refers to an object, with the
// share of pages examined (0..100) for the progress bar.
class TKrPageSearchThread {
 public:
  TKrPageSearchThread(const document::TAEHset& set, ObjectId id, PostToUi post,
                      std::function<void(std::vector<ObjectId> found, int percent)> report,
                      std::function<void()> finished = {});
  void Terminate() { m_job->Terminate(); }
  bool Running() const { return m_job->Running(); }

 private:
  std::unique_ptr<SearchJob> m_job;
};

}  // namespace tarn::search
