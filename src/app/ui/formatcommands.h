// The commands of the Format menu, the Format and Paragraphs toolbars and
// the link items of the Insert menu, acting on the text box being edited.
#pragma once

#include <functional>

namespace tarn::document {
class TAEHset;
}
namespace tarn::objects::ui {
class TInsiemeCornici;
}

namespace tarn::app::ui {

class CommandSet;

// changed runs after a command changed the page, pagesChanged after one
// added a page to the hypertext.
void BindFormatCommands(CommandSet& commands, objects::ui::TInsiemeCornici& editor, document::TAEHset& set,
                        std::function<void()> changed, std::function<void()> pagesChanged = {});

}  // namespace tarn::app::ui
