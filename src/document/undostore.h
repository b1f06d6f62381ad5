// The container's side of the undo list. A hypertext owns its undo list and
// makes it anew at every close, but the list and its records work on page
// views and screen objects, which live in layers above this one: the
// container holds the list through this small interface and makes it with
// a factory that the program installs (app::Compose).
#pragma once

#include <functional>
#include <memory>
#include <string_view>

namespace tarn::document {

class TAEHoggetto;
class TAEHset;

class UndoStore {
 public:
  virtual ~UndoStore() = default;
  // Values below 2 are ignored; otherwise the oldest steps beyond n go.
  virtual void SetDepth(int depth) = 0;
  // Destroys every step of both stacks.
  virtual void Clear() = 0;
  // Records a registered object before it changes (an image's picture is
  // replaced, a paragraph style is redefined), as one undo step with the
  // caption; an unregistered object is not recorded.
  virtual void RecordObject(TAEHoggetto& object, std::string_view caption) = 0;
};

// Makes the undo list of a container, empty, with the given depth.
using UndoStoreFactory = std::function<std::unique_ptr<UndoStore>(TAEHset& set, int depth)>;

}  // namespace tarn::document
