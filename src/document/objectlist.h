// The live objects of one kind as the pickers list them: caption, size, file
// name and the file type whose icon stands for them. This is the model of
// the list control; document/ui/ shows it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/objectkinds.h"

namespace tarn::document {

class TAEHset;
class TAEHoggetto;

struct ObjectListItem {
  ObjectId id = -1;
  std::string caption;
  std::int64_t size = 0;
  std::string fileName;
  // Pages show their index in the fourth column; -1 for other kinds.
  int pageIndex = -1;
  // The file type whose icon the item shows (".txt", ".htm", the file's own
  // extension ...); empty for the generic icon.
  std::string iconExtension;
  bool noIcon = false;
};

// The item an object makes in a list: caption, size, file name and icon.
ObjectListItem MakeListItem(const TAEHoggetto& object);
// Whether a list of the object's kind offers it before any filter: internal
// links and data sources of other sorts are left out.
bool AcceptedByDefault(const TAEHoggetto& object);

class ObjectList {
 public:
  explicit ObjectList(int kind = testoHtml) : m_kind(kind) {}

  int Objects() const { return m_kind; }
  void SetObjects(int kind) { m_kind = kind; }
  TAEHset* LinkedAEHset() const { return m_set; }
  // Forgets the items; the owner reloads when it wants them.
  void SetLinkedAEHset(TAEHset* set);

  // May turn down (or accept) an object; gets the default decision.
  std::function<bool(const TAEHoggetto& object, bool accepted)> OnFilter;
  // After the list was filled.
  std::function<void()> OnReload;
  // Around a rename; OnEditStop also fires when the rename was refused.
  std::function<void(ObjectId id)> OnEditStart;
  std::function<void(ObjectId id)> OnEditStop;

  // Every accepted live object of the kind in index order, then sorted by
  // caption.
  void Reload();
  // Appends one item (also of another kind) without sorting.
  void AddItem(const TAEHoggetto& object);
  void Clear() { m_items.clear(); }

  const std::vector<ObjectListItem>& Items() const { return m_items; }
  // The position of the item for id, or -1.
  int Find(ObjectId id) const;
  // Gives the item's object a new name. A paragraph style takes it only
  // when it differs from its old name and no other style has it; the item
  // then shows the name the object has. False when the name was refused.
  bool Rename(std::size_t item, std::string_view name);

 private:
  int m_kind;
  TAEHset* m_set = nullptr;
  std::vector<ObjectListItem> m_items;
};

}  // namespace tarn::document
