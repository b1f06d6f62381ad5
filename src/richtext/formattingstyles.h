// The style list's own commands: which pages name a style, renaming and
// deleting a style. The styles dialog calls them; they change records only,
// so the window releases the shown page before and shows it again after.
#pragma once

#include <string>
#include <string_view>

namespace tarn::document {
class TAEHset;
}

namespace tarn::richtext {

// The number of pages whose markup (cell texts included) has a paragraph
// in the style of that index.
int PagesUsingStyle(const document::TAEHset& set, int index);

enum class StyleChange {
  kDone,
  kMissing,       // no style in use at that index
  kDefault,       // the two default styles stay as they are
  kEmptyName,
  kNameTaken,     // another style has that name (compared without case)
  kInUse,         // pages still name the style
};

// Registers a style of the defaults named "New style " and the first
// number no style has yet; answers its index.
int AddNewStyle(document::TAEHset& set);

StyleChange RenameStyle(document::TAEHset& set, int index, std::string_view name);

// A style that pages still name is not deleted: their paragraphs would read
// a freed record, and the slot is handed to the next new style. pages tells
// how many pages name it. Deleting empties the undo list, whose steps may
// name the style's slot.
StyleChange DeleteStyle(document::TAEHset& set, int index, int& pages);

// The message for a refused change, for the author.
std::string StyleChangeMessage(StyleChange change, std::string_view name, int pages);

}  // namespace tarn::richtext
