// What the delete command tells the author before anything goes: for each
// object to delete, the pages and prototypes that refer to it and how; and
// the deletion itself, which cancels every reference and then clears the
// objects.
#pragma once

#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "document/objectkinds.h"
#include "search/searchjob.h"

namespace tarn::document {
class TAEHset;
}

namespace tarn::search {

using document::ObjectId;

inline constexpr std::string_view kPresentIn = "is present in/ linked from/ used by:";
inline constexpr std::string_view kSeemsUnused = "seems unused";
inline constexpr std::string_view kDeletedMark = "[X] Deleted";

// One object that refers to another, and how (an IsContainedIn code).
struct Referrer {
  ObjectId object = -1;
  int how = 0;
};
// The live pages and then the live prototypes, in index order, that refer
// to id.
std::vector<Referrer> ReferrersOf(document::TAEHset& set, ObjectId id, const std::stop_token& stop = {});

// A line of the report; it names the referring object where it has one.
struct ReportLine {
  std::string text;
  ObjectId object = -1;
};
// The report's block for one object; empty when no object has the id.
std::vector<ReportLine> ReferenceReport(document::TAEHset& set, ObjectId id, const std::stop_token& stop = {});
// The caption the delete dialog lists an object under.
std::string DeletionCaption(const document::TAEHset& set, ObjectId id);

// The report thread of the delete dialog: one block per id, in order.
class TKrSearchThread {
 public:
  TKrSearchThread(const document::TAEHset& set, std::vector<ObjectId> ids, PostToUi post,
                  std::function<void(std::vector<ReportLine>)> report, std::function<void()> finished = {});
  void Terminate() { m_job->Terminate(); }
  bool Running() const { return m_job->Running(); }

 private:
  std::unique_ptr<SearchJob> m_job;
};

// Progress of a deletion, for the dialog's bar and its "Selected" list.
struct DeletionSteps {
  // One page or prototype examined for references.
  std::function<void()> visited;
  // Every reference to ids[i] is cancelled.
  std::function<void(std::size_t i)> cancelled;
};
// Cancels every reference to each object (page 0 keeps its references and
// is never deleted), then clears the objects; an embedded file's copy in
// the temporary folder is removed. shownPage is the page the editor
// showed; the answer is the page to show afterwards (0 when it was deleted).
int DeleteObjects(document::TAEHset& set, const std::vector<ObjectId>& ids, int shownPage,
                  const DeletionSteps& steps = {});

}  // namespace tarn::search
