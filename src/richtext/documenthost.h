// The reader's view of a hypertext: its style list, the objects a page
// places, character measurement through the platform, and messages.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "richtext/markup.h"

namespace tarn::document {
class TAEHset;
}
namespace tarn::platform {
class Messages;
class TextMeasurer;
}  // namespace tarn::platform

namespace tarn::richtext {

class DocumentHost : public TextHost {
 public:
  // The measurer may be absent: characters then measure 0.
  DocumentHost(document::TAEHset& set, platform::TextMeasurer* measurer, platform::Messages* messages);

  // How placed objects are found; unset, no object is found.
  std::function<EmbeddedObject*(std::int32_t)> objectLookup;

  const TAEHoggetto* StyleRecord(int index) override;
  int StyleSlots() override;
  EmbeddedObject* FindObject(std::int32_t identifier) override;
  int FontHandle(const TMyFont& font) override;
  CharMetrics Measure(int fontHandle, unsigned char c) override;
  const int* WidthTable(int fontHandle) override;
  void ResetMeasure() override { m_hasPrevious = false; }
  void TruncatedLine(bool fontName) override;

 private:
  struct MeasuredFont {
    TMyFont font;
    int height = 0;
    int ascent = 0;
    std::array<int, 256> widths{};
    std::array<bool, 256> known{};
    bool complete = false;
  };
  document::TAEHset& m_set;
  platform::TextMeasurer* m_measurer;
  platform::Messages* m_messages;
  std::vector<std::unique_ptr<MeasuredFont>> m_fonts;
  // Fonts by what measuring depends on (not the colour).
  std::unordered_map<std::string, int> m_fontIndex;
  int m_lastFont = -1;
  // The few fonts used last (text, link, format) answer without hashing.
  std::array<int, 4> m_recent{-1, -1, -1, -1};
  bool m_hasPrevious = false;
  char m_previous = 0;
};

}  // namespace tarn::richtext
