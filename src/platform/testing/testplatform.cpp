// Deterministic platform stand-ins; see testplatform.h.
#include "platform/testing/testplatform.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tarn::platform::testing {

void RecordingMessages::Information(std::string_view text) {
  entries.push_back({"information", std::string(text)});
}
void RecordingMessages::Warning(std::string_view text) { entries.push_back({"warning", std::string(text)}); }
void RecordingMessages::Error(std::string_view text) { entries.push_back({"error", std::string(text)}); }

Answer RecordingMessages::Ask(std::string_view question, bool /*withCancel*/) {
  entries.push_back({"question", std::string(question)});
  if (answers.empty()) return defaultAnswer;
  Answer a = answers.front();
  answers.pop_front();
  return a;
}

bool RecordingMessages::Saw(std::string_view text) const {
  for (const auto& e : entries) {
    if (e.text.find(text) != std::string::npos) return true;
  }
  return false;
}

FontMetrics FixedTextMeasurer::Metrics(const FontRequest& font) {
  FontMetrics m;
  // A size comes from the text and may be any number; no font is larger
  // than the style record can hold, and the metrics below must not overflow.
  const int size = font.sizePoints > 0 ? std::min(font.sizePoints, kLargestSize) : 12;
  m.height = 16 * size / 12;
  m.descent = 4 * size / 12;
  m.ascent = m.height - m.descent;
  m.averageCharWidth = 8 * size / 12;
  m.maxCharWidth = m.averageCharWidth;
  return m;
}

int FixedTextMeasurer::TextWidth(const FontRequest& font, std::string_view text) {
  const std::int64_t width = static_cast<std::int64_t>(Metrics(font).averageCharWidth) * std::ssize(text);
  return static_cast<int>(std::min<std::int64_t>(width, std::numeric_limits<int>::max()));
}

}  // namespace tarn::platform::testing
