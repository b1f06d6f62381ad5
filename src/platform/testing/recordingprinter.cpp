// The recording test printer; see recordingprinter.h.
#include "platform/testing/recordingprinter.h"

namespace tarn::platform::testing {

RecordingPrinter::RecordingPrinter() {
  paper.width = 794;
  paper.height = 1123;
  paper.printable = {0, 0, paper.width, paper.height};
}

bool RecordingPrinter::Select(const PrinterName& name) {
  for (const std::string& device : installed) {
    if (device == name.device) {
      current = name;
      return true;
    }
  }
  return false;
}

bool RecordingPrinter::BeginDoc(std::string_view title) {
  if (failBegin || m_printing) return false;
  m_printing = true;
  titles.emplace_back(title);
  m_canvas.ops.clear();
  return true;
}

bool RecordingPrinter::NewPage() {
  if (!m_printing) return false;
  CloseSheet();
  return true;
}

bool RecordingPrinter::EndDoc() {
  if (!m_printing) return false;
  CloseSheet();
  m_printing = false;
  ++ended;
  return true;
}

void RecordingPrinter::Abort() {
  if (!m_printing) return;
  CloseSheet();
  m_printing = false;
  ++aborted;
}

void RecordingPrinter::SetClip(const Rect* clip) {
  if (clip == nullptr) {
    m_canvas.ops.push_back({"unclip", 0, 0, 0, 0, {}, {}, 0, 0});
    return;
  }
  m_canvas.ops.push_back({"clip", clip->left, clip->top, clip->right, clip->bottom, {}, {}, 0, 0});
}

void RecordingPrinter::CloseSheet() {
  sheets.push_back(std::move(m_canvas.ops));
  m_canvas.ops.clear();
}

std::vector<std::string> RecordingPrinter::Texts(std::size_t sheet) const {
  std::vector<std::string> texts;
  if (sheet >= sheets.size()) return texts;
  for (const FixedCanvas::Op& op : sheets[sheet]) {
    if (op.what == "text") texts.push_back(op.text);
  }
  return texts;
}

}  // namespace tarn::platform::testing
