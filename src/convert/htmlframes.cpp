// The frame-set document ahead of a page that owns a frame map: its frames
// show the frameless versions of their pages, which join the export so that
// a page shown in one of its own frames does not nest the frame set again.
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "objects/frameset.h"

namespace tarn::convert {

bool WriteFrameSetDocument(TAEHtoHtml& converter, const TAEHoggetto& /*page*/, const TAEHoggetto& map,
                           std::string& out, RecordList* frameless) {
  TAEHset* set = converter.LinkedAEHset();
  if (set == nullptr) return false;
  const std::string html = objects::FrameSetHtml(map, [&](std::int32_t number) -> std::string {
    TAEHoggetto* shown = number >= 0 ? set->GetObject(document::testoHtml, number) : nullptr;
    if (shown == nullptr || shown->IsFree()) return {};
    if (frameless != nullptr) frameless->Add(shown);
    return converter.OutputFileName(*shown, kFramelessName);
  });
  out += html;
  return !html.empty();
}

}  // namespace tarn::convert
