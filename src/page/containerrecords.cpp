// The records of copied selections; see containerrecords.h.
#include "page/containerrecords.h"

#include "base/bytes.h"
#include "base/cp1252.h"
#include "document/aehset.h"
#include "document/objectkinds.h"
#include "document/placedrecords.h"
#include "document/recordfields.h"
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

bool IsLocalLink(std::int32_t value) {
  return (static_cast<std::uint32_t>(value) >> 24) == richtext::kLocalLinkKind;
}

// The record fields of a placed object that name images.
std::vector<int> ImageFields(const TAEHoggetto& object) {
  switch (object.Kind()) {
    case document::immagineNew:
      return {document::field::kPlacedImage, document::field::kPlacedImage2, document::field::kPlacedImage3};
    case document::bottoneCGI: return {document::field::kButtonImage};
    default: return {};
  }
}

// Kinds that stand in a text as placed objects (tables go their own way).
bool Placeable(int kind) {
  switch (kind) {
    case document::shortObj: case document::dbloc: case document::immagineNew: case document::inputStat:
    case document::inputDin: case document::bottoneCGI: case document::inizioForm: case document::multiMedia:
      return true;
    default: return false;
  }
}

// A pasted image: the hypertext's image with the same content, else the
// image added.
std::int32_t AddImage(TAEHset& set, std::string_view record) {
  std::unique_ptr<TAEHoggetto> image = FromStream(set, document::immagine, record);
  if (!image) return -1;
  if (const TAEHoggetto* equal = set.FindEqual(*image); equal != nullptr && equal->IsRegistered() && !equal->IsFree()) {
    return equal->GetId();
  }
  const TAEHoggetto* added = set.Register(std::move(image));
  return added != nullptr ? added->GetId() : -1;
}

// The links and images a pasted object names become those of this page and
// hypertext. A link that did not come along leaves the field empty (a zone
// without link); an image that did not come along is left as it is, since
// containers made within one hypertext need not carry its images.
void TranslateReferences(TAEHoggetto& object, const richtext::IdMap& map) {
  const bool zones = object.Kind() == document::immagineNew;
  for (const int at : LinkFields(object)) {
    const std::int32_t value = object.I32(at);
    if (!IsLocalLink(value)) continue;
    const auto it = map.find(value);
    object.SetI32(at, it != map.end() && it->second != -1 ? it->second : (zones ? 0 : -1));
  }
  for (const int at : ImageFields(object)) {
    const std::int32_t value = object.I32(at);
    if (value < 0 || (document::KindOf(value) != 0 && document::KindOf(value) != document::immagine)) continue;
    const auto it = map.find(document::MakeObjectId(document::immagine, document::IndexOf(value)));
    // The field keeps its form: stored records name images by their
    // plain index, which is what the picture lookup reads.
    if (it != map.end() && it->second >= 0) {
      object.SetI32(at, document::KindOf(value) == 0 ? document::IndexOf(it->second) : it->second);
    }
  }
}

}  // namespace

void ConnectContainerRecords(richtext::TAEHTextAttributes& commands, TAEHset& set, WorkingCopy& copy,
                             PlaceObject place) {
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
  // Tables are placed from their records (with their cells' text read
  // from the markup), also in a table's cell.
  ConnectTableRecords(commands, set, copy);

  // ---- Placed objects ----
  hooks.objectRecord = [&set, &copy](std::int32_t number) {
    richtext::TAEHTextAttributes::ContainerHooks::ObjectRecords out;
    const TAEHoggetto* object = copy.Object(number);
    if (object == nullptr) return out;
    const bool table = object->Kind() == document::tabellaHtml;
    if (!table && !Placeable(object->Kind())) return out;
    out.kind = object->Kind();
    object->SaveToStream(out.record);
    auto addImage = [&out](const TAEHoggetto* image) {
      if (image == nullptr || image->IsFree()) return;
      std::string stream;
      image->SaveToStream(stream);
      out.images.emplace_back(image->GetId(), std::move(stream));
    };
    if (table) {
      // A table's backgrounds; its cells' links are the box's to collect.
      for (const int index : TableImages(*object)) addImage(set.GetObject(document::immagine, index));
      return out;
    }
    for (const int at : LinkFields(*object)) {
      if (IsLocalLink(object->I32(at))) out.links.push_back(object->I32(at));
    }
    for (const int at : ImageFields(*object)) addImage(document::ImageByField(&set, object->I32(at)));
    return out;
  };
  hooks.addImage = [&set](std::string_view record) { return AddImage(set, record); };
  hooks.addSpecialLink = [&set, &copy](std::string_view record, const richtext::IdMap& map) -> std::int32_t {
    std::unique_ptr<TAEHoggetto> link = FromStream(set, document::speclink, record);
    if (!link) return -1;
    TranslateReferences(*link, map);
    return LocalLinkValue(copy.AddLink(std::move(link)));
  };
  if (!place) return;
  hooks.addObject = [&set, place](int kind, std::string_view record, const richtext::IdMap& map) -> std::int32_t {
    if (!Placeable(kind)) return -1;
    std::unique_ptr<TAEHoggetto> object = FromStream(set, kind, record);
    if (!object) return -1;
    TranslateReferences(*object, map);
    return place(std::move(object));
  };
}

}  // namespace tarn::page
