// The records of copied selections; see containerrecords.h.
#include "page/containerrecords.h"

#include "base/bytes.h"
#include "base/cp1252.h"
#include "document/aehset.h"
#include "document/objectkinds.h"
#include "page/tablecontainer.h"
#include "page/workingcopy.h"
#include "richtext/aehtextattributes.h"
#include "richtext/localform.h"

namespace tarn::page {
namespace {

std::unique_ptr<TAEHoggetto> FromStream(TAEHset& set, int kind, std::string_view record) {
  auto object = set.NewObject(kind);
  base::ByteReader in(record);
  if (!object->LoadFromStream(in) || object->Kind() != kind) return nullptr;
  return object;
}

// A pasted style: the hypertext's style of the same name and definition,
// else one with the same definition, else the style added (under a name of
// its own when its name is taken by a different style).
int AddStyle(TAEHset& set, std::string_view record) {
  std::unique_ptr<TAEHoggetto> style = FromStream(set, document::stileParagrafo, record);
  if (!style) return -1;
  const TAEHoggetto* equal = nullptr;
  for (int i = 0; i < set.CountOf(document::stileParagrafo); ++i) {
    const TAEHoggetto* candidate = set.GetObject(document::stileParagrafo, i);
    if (candidate == nullptr || candidate->IsFree() || !style->SameContent(*candidate)) continue;
    if (base::SameText(candidate->GetCaption(), style->GetCaption())) return candidate->Index();
    if (equal == nullptr) equal = candidate;
  }
  if (equal != nullptr) return equal->Index();
  style->SetName(set.UniqueStyleName(style->GetCaption()));
  const TAEHoggetto* added = set.Register(std::move(style));
  return added != nullptr ? added->Index() : -1;
}

}  // namespace

void ConnectContainerRecords(richtext::TAEHTextAttributes& commands, TAEHset& set, WorkingCopy& copy) {
  auto& hooks = commands.containerHooks;
  // The set and the working copy outlive the box's commands: the page view
  // drops its box first.
  hooks.linkRecord = [&set, &copy](std::int32_t link) -> std::pair<int, std::string> {
    const auto value = static_cast<std::uint32_t>(link);
    const TAEHoggetto* record =
        (value >> 24) == richtext::kLocalLinkKind ? copy.Link(link) : set.GetObjectById(link);
    if (record == nullptr) return {-1, {}};
    std::string stream;
    record->SaveToStream(stream);
    return {record->Kind(), stream};
  };
  hooks.styleRecord = [&set](int index) {
    std::string stream;
    if (const TAEHoggetto* style = set.GetObject(document::stileParagrafo, index)) style->SaveToStream(stream);
    return stream;
  };
  hooks.addLink = [&set, &copy](int kind, std::string_view record) -> std::int32_t {
    // FIXME: a special link's target names a record of the hypertext it was
    // copied from; until targets are translated only address links travel.
    if (kind != document::internetLink) return -1;
    std::unique_ptr<TAEHoggetto> link = FromStream(set, kind, record);
    if (!link) return -1;
    return LocalLinkValue(copy.AddLink(std::move(link)));
  };
  hooks.addStyle = [&set](std::string_view record) { return AddStyle(set, record); };
  // Tables travel with their records and cells.
  ConnectTableRecords(commands, set, copy);
}

}  // namespace tarn::page
