// The reference report and the deletion; see referencereport.h.
#include "search/referencereport.h"

#include <filesystem>

#include "base/cp1252.h"
#include "document/aehorderedtree.h"
#include "document/aehoggetto.h"
#include "document/aehset.h"
#include "document/links.h"

namespace tarn::search {
using namespace document;
namespace fs = std::filesystem;
namespace {

constexpr ObjectId kFirstPage = 0;  // page 0 is never deleted

// Whether the file lies inside the folder (a copy the hypertext made),
// never an author's own file elsewhere.
bool Inside(const fs::path& file, const fs::path& folder) {
  std::error_code ec;
  const fs::path f = fs::weakly_canonical(file, ec);
  if (ec) return false;
  const fs::path d = fs::weakly_canonical(folder, ec);
  if (ec || d.empty()) return false;
  const fs::path relative = f.lexically_relative(d);
  return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

std::vector<Referrer> ReferrersOf(TAEHset& set, ObjectId id, const std::stop_token& stop) {
  std::vector<Referrer> out;
  for (int kind : {static_cast<int>(testoHtml), static_cast<int>(custom)}) {
    for (int i = 0; i < set.CountOf(kind); ++i) {
      if (stop.stop_requested()) return out;
      TAEHoggetto* object = set.GetObject(kind, i);
      if (object == nullptr || object->IsFree()) continue;
      if (const int how = IsContainedIn(*object, id); how != kNotContained) out.push_back({object->GetId(), how});
    }
  }
  return out;
}

std::string DeletionCaption(const TAEHset& set, ObjectId id) {
  const TAEHoggetto* object = set.GetObjectById(id);
  return object != nullptr ? LinkCaption(*object) : std::string();
}

std::vector<ReportLine> ReferenceReport(TAEHset& set, ObjectId id, const std::stop_token& stop) {
  std::vector<ReportLine> block;
  if (set.GetObjectById(id) == nullptr) return block;
  const std::string name = base::UpperCase(DeletionCaption(set, id));
  block.push_back({"+ \"" + name + "\" " + std::string(kPresentIn), -1});
  for (const Referrer& r : ReferrersOf(set, id, stop)) {
    const std::string caption = DeletionCaption(set, r.object);
    block.push_back({"    - " + caption + "   {" + std::string(ContainmentText(r.how)) + "}", r.object});
  }
  if (block.size() == 1) block.front() = {"- \"" + name + "\" " + std::string(kSeemsUnused), -1};
  return block;
}

TKrSearchThread::TKrSearchThread(const TAEHset& set, std::vector<ObjectId> ids, PostToUi post,
                                 std::function<void(std::vector<ReportLine>)> report,
                                 std::function<void()> finished) {
  auto work = [ids = std::move(ids), report](TAEHset& copy, const std::stop_token& stop, SearchJob& job) {
    for (ObjectId id : ids) {
      if (stop.stop_requested()) return;
      std::vector<ReportLine> block = ReferenceReport(copy, id, stop);
      // A block cut short by a stop request is not shown half-made.
      if (stop.stop_requested()) return;
      job.Deliver([report, block = std::move(block)] { report(block); });
    }
  };
  m_job = std::make_unique<SearchJob>(set, std::move(post), std::move(work), std::move(finished));
}

int DeleteObjects(TAEHset& set, const std::vector<ObjectId>& ids, int shownPage, const DeletionSteps& steps) {
  // First every reference goes, while all the objects still exist.
  for (std::size_t n = 0; n < ids.size(); ++n) {
    const ObjectId id = ids[n];
    if (id == kFirstPage || set.GetObjectById(id) == nullptr) continue;
    RemoveHeaderReferencesTo(set, id);
    for (int kind : {static_cast<int>(testoHtml), static_cast<int>(custom)}) {
      for (int i = 0; i < set.CountOf(kind); ++i) {
        TAEHoggetto* object = set.GetObject(kind, i);
        if (object == nullptr || object->IsFree()) continue;
        RemoveReferencesTo(*object, id);
        if (steps.visited) steps.visited();
      }
    }
    if (steps.cancelled) steps.cancelled(n);
  }
  int remembered = shownPage;
  bool deleted = false;
  for (ObjectId id : ids) {
    TAEHoggetto* object = set.GetObjectById(id);
    if (object == nullptr || object->IsFree()) continue;
    if (object->Kind() == testoHtml && object->Index() == remembered) remembered = 0;
    if (id == kFirstPage) continue;
    try {
      if (object->Kind() == genLink && !object->FilePath().empty() && Inside(object->FilePath(), set.TempFolder())) {
        std::error_code ignored;
        fs::remove(object->FilePath(), ignored);
      }
      object->Clear();
      deleted = true;
    } catch (...) {
      // An object that cannot be cleared is skipped; the others still go.
    }
  }
  if (deleted) {
    set.SetModified(true);
    MendStoredTrees(set);
  }
  return remembered;
}

}  // namespace tarn::search
