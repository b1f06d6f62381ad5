// The program put together; see compose.h.
#include "app/compose.h"

#include "document/aehset.h"
#include "objects/frameset.h"
#include "richtext/oldtext.h"

namespace tarn::app {

document::TAEHset& Compose(document::TAEHset& set) {
  set.OlderTextConverter = [](document::TAEHoggetto& page) { richtext::ConvertOlderText(page); };
  set.FrameSetWriter = [](document::TAEHoggetto& map, std::string& out) {
    return objects::WriteDocumentFrameSet(map, out);
  };
  return set;
}

}  // namespace tarn::app
