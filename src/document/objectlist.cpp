// The object list's model; see objectlist.h.
#include "document/objectlist.h"

#include <algorithm>

#include "base/cp1252.h"
#include "base/winpath.h"
#include "document/aehoggetto.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"

namespace tarn::document {
namespace {

constexpr int kInternalLinkSubtype = 6;
constexpr int kDataSourceSortAt = 46;
constexpr int kListedDataSource = 11;

bool IsInternalLink(const TAEHoggetto& object) {
  return object.Kind() == internetLink && object.Subtype() == kInternalLinkSubtype;
}

std::string LinkIcon(const TAEHoggetto& link) {
  const std::string url = link.Str(field::kLinkUrl, field::kLinkUrlCapacity);
  if (base::LowerCase(base::ExtractFileExt(url)).starts_with(".htm")) return ".htm";
  switch (url.empty() ? '\0' : base::Cp1252Upper(url[0])) {
    case 'H': return ".htm";
    case 'M': return ".msg";
    default: return {};  // "F" (ftp) and the rest: the generic icon
  }
}

std::int64_t ListedSize(const TAEHoggetto& object) {
  switch (object.Kind()) {
    case testoHtml:
    case zipLink:
    case genLink:
    case immagine:
    case mappaClic: return object.ContentLength();
    case custom:
    case dbloc: return object.ContentLength() + object.Extra().Size();
    default: return 0;
  }
}

}  // namespace

ObjectListItem MakeListItem(const TAEHoggetto& object) {
  ObjectListItem item;
  item.id = object.GetId();
  item.caption = LinkCaption(object);
  item.size = ListedSize(object);
  item.fileName = object.FileName();
  switch (object.Kind()) {
    case testoHtml:
      item.iconExtension = ".txt";
      item.pageIndex = object.Index();
      break;
    case internetLink:
      if (IsInternalLink(object)) {
        const std::string description = GetDescription(object);
        item.caption = description.substr(0, description.find('|'));
        item.iconExtension = ".aeh";
      } else {
        item.iconExtension = LinkIcon(object);
      }
      break;
    case zipLink:
    case genLink:
    case immagine:
    case mappaClic: item.iconExtension = base::LowerCase(base::ExtractFileExt(item.fileName)); break;
    case keyword: item.noIcon = true; break;
    case custom: item.iconExtension = ".ini"; break;
    case dbloc: item.iconExtension = ".dsn"; break;
    default: break;
  }
  return item;
}

bool AcceptedByDefault(const TAEHoggetto& object) {
  if (IsInternalLink(object)) return false;
  if (object.Kind() == dbloc) return object.U8(kDataSourceSortAt) == kListedDataSource;
  return true;
}

void ObjectList::SetLinkedAEHset(TAEHset* set) {
  m_set = set;
  m_items.clear();
}

void ObjectList::Reload() {
  m_items.clear();
  if (m_set == nullptr) return;
  for (int i = 0; i < m_set->CountOf(m_kind); ++i) {
    const TAEHoggetto* object = m_set->GetObject(m_kind, i);
    if (object == nullptr || object->IsFree()) continue;
    bool accepted = AcceptedByDefault(*object);
    if (OnFilter) accepted = OnFilter(*object, accepted);
    if (accepted) m_items.push_back(MakeListItem(*object));
  }
  std::stable_sort(m_items.begin(), m_items.end(), [](const ObjectListItem& a, const ObjectListItem& b) {
    return base::CompareText(a.caption, b.caption) < 0;
  });
  if (OnReload) OnReload();
}

void ObjectList::AddItem(const TAEHoggetto& object) { m_items.push_back(MakeListItem(object)); }

int ObjectList::Find(ObjectId id) const {
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

bool ObjectList::Rename(std::size_t item, std::string_view name) {
  if (item >= m_items.size() || m_set == nullptr) return false;
  const ObjectId id = m_items[item].id;
  if (OnEditStart) OnEditStart(id);
  TAEHoggetto* object = m_set->GetObjectById(id);
  bool taken = false;
  if (object != nullptr && !object->IsFree()) {
    if (object->Kind() == stileParagrafo) {
      const int other = m_set->StyleIndex(name);
      taken = !base::SameText(name, object->GetCaption()) && (other < 0 || other == object->Index()) &&
              object->SetName(name);
    } else {
      taken = object->SetName(name);
    }
    if (taken) m_set->SetModified(true);
    m_items[item].caption = LinkCaption(*object);
  }
  if (OnEditStop) OnEditStop(id);
  return taken;
}

}  // namespace tarn::document
