// The reader's view of a hypertext; see documenthost.h.
#include "richtext/documenthost.h"

#include <algorithm>

#include "document/aehset.h"
#include "platform/messages.h"
#include "platform/textmeasurer.h"
#include "richtext/layout.h"

namespace tarn::richtext {

DocumentHost::DocumentHost(document::TAEHset& set, platform::TextMeasurer* measurer, platform::Messages* messages)
    : m_set(set), m_measurer(measurer), m_messages(messages) {}

const TAEHoggetto* DocumentHost::StyleRecord(int index) {
  if (index < 0 || index >= m_set.CountOf(document::stileParagrafo)) return nullptr;
  // A deleted style stays in its slot as a free record; a paragraph that
  // still names it (an old undo step, a pasted text) takes the default.
  const TAEHoggetto* style = m_set.GetObject(document::stileParagrafo, index);
  return style != nullptr && !style->IsFree() ? style : nullptr;
}

int DocumentHost::StyleSlots() { return m_set.CountOf(document::stileParagrafo); }

EmbeddedObject* DocumentHost::FindObject(std::int32_t identifier) {
  return objectLookup ? objectLookup(identifier) : nullptr;
}

namespace {
bool SameMeasure(const TMyFont& a, const TMyFont& b) {
  return a.size == b.size && a.style == b.style && a.position == b.position && a.face == b.face;
}
}  // namespace

int DocumentHost::FontHandle(const TMyFont& font) {
  for (int handle : m_recent) {
    if (handle >= 0 && SameMeasure(m_fonts[static_cast<std::size_t>(handle)]->font, font)) return m_lastFont = handle;
  }
  auto remember = [this](int handle) {
    std::rotate(m_recent.rbegin(), m_recent.rbegin() + 1, m_recent.rend());
    m_recent[0] = handle;
    return m_lastFont = handle;
  };
  std::string key = font.face;
  key += '\0';
  key += std::to_string(font.size) + ',' + std::to_string(font.style) + ',' + std::to_string(font.position);
  if (auto it = m_fontIndex.find(key); it != m_fontIndex.end()) return remember(it->second);
  m_fontIndex.emplace(std::move(key), static_cast<int>(m_fonts.size()));
  auto measured = std::make_unique<MeasuredFont>();
  measured->font = font;
  if (m_measurer != nullptr) {
    const CharMetrics box = FontBox(*m_measurer, font);
    measured->height = box.height;
    measured->ascent = box.ascent;
  }
  m_fonts.push_back(std::move(measured));
  return remember(static_cast<int>(m_fonts.size() - 1));
}

CharMetrics DocumentHost::Measure(int fontHandle, unsigned char c) {
  if (fontHandle < 0 || static_cast<std::size_t>(fontHandle) >= m_fonts.size()) return {};
  MeasuredFont& f = *m_fonts[static_cast<std::size_t>(fontHandle)];
  const char current = static_cast<char>(c);
  if (m_measurer != nullptr && m_measurer->Kerns() && m_hasPrevious) {
    // The pair's extent less the previous character: kerning included.
    const platform::FontRequest request{f.font.face, f.font.size, f.font.style, f.font.colour};
    const char pair[2] = {m_previous, current};
    const int width = m_measurer->TextWidth(request, {pair, 2}) - m_measurer->TextWidth(request, {pair, 1});
    m_previous = current;
    return {width, f.height, f.ascent};
  }
  if (!f.known[c]) {
    f.known[c] = true;
    if (m_measurer != nullptr) {
      f.widths[c] = m_measurer->TextWidth({f.font.face, f.font.size, f.font.style, f.font.colour}, {&current, 1});
    }
  }
  m_previous = current;
  m_hasPrevious = true;
  return {f.widths[c], f.height, f.ascent};
}

const int* DocumentHost::WidthTable(int fontHandle) {
  // Without kerning a run is measured from the single widths at once.
  if (m_measurer != nullptr && m_measurer->Kerns()) return nullptr;
  if (fontHandle < 0 || static_cast<std::size_t>(fontHandle) >= m_fonts.size()) return nullptr;
  MeasuredFont& f = *m_fonts[static_cast<std::size_t>(fontHandle)];
  if (!f.complete) {
    for (int c = 32; c < 256; ++c) Measure(fontHandle, static_cast<unsigned char>(c));
    f.complete = true;
  }
  return f.widths.data();
}

void DocumentHost::TruncatedLine(bool fontName) {
  if (m_messages == nullptr) return;
  if (fontName) {
    m_messages->Information("Truncated line!");
  } else {
    m_messages->Error("Truncated line!");
  }
}

}  // namespace tarn::richtext
