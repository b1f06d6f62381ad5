// Paragraph and line layout: measuring characters, breaking paragraphs into
// lines, stacking them, painting them on a canvas, and turning points into
// text positions and back.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/canvas.h"
#include "richtext/markup.h"

namespace tarn::richtext {

// Measures characters the way layout needs them: a character's width is
// the extent of the pair (previous, current) minus the previous character,
// so pairs include the font's kerning; a font change restarts the pairs.
class CharMeasurer {
 public:
  explicit CharMeasurer(platform::TextMeasurer& measurer) : m_measurer(measurer) {}
  void SelectFont(const TMyFont& font);
  CharMetrics MeasureChar(unsigned char c);
  void ResetMeasure() { m_hasPrevious = false; }
  int Height() const { return m_height; }
  int Ascent() const { return m_ascent; }
  const platform::FontRequest& Font() const { return m_font; }

 private:
  platform::TextMeasurer& m_measurer;
  platform::FontRequest m_font;
  int m_height = 0;
  int m_ascent = 0;
  bool m_hasPrevious = false;
  char m_previous = 0;
};

// Height and ascent of a font as layout uses them: a subscript font is half
// again as high, a superscript one has half its height more ascent.
CharMetrics FontBox(platform::TextMeasurer& measurer, const TMyFont& font);
platform::FontRequest ToRequest(const TMyFont& font);

// An embedded object's measurements on its line.
CharMetrics MeasureObject(const EmbeddedObject& object);

struct TextPos {
  TAEHparag* paragraph = nullptr;
  int paragraphIndex = -1;
  int line = 0;
  int charIndex = 0;
  int y = 0;       // top of the line in the box
  int height = 0;  // the line's height
  int x = 0;       // the caret's x
  int rightX = 0;  // right edge of the character after the caret
};

enum class HitScope { Text, All };

// A selected range of the box, from (paragraph, character) to (paragraph,
// character), start before end; empty when start equals end.
struct Selection {
  int startParagraph = -1;
  int startChar = 0;
  int endParagraph = -1;
  int endChar = 0;
  bool Contains(int paragraph, int c) const;
};

class TextLayout {
 public:
  TextLayout(RichText& text, platform::TextMeasurer& measurer) : m_text(text), m_measurer(measurer) {}

  // Box state.
  int layoutWidth = 800;
  int widestExtent = 800;
  int headerCount = 0;  // shared-header paragraphs at the start
  int footerCount = 0;  // shared-footer paragraphs at the end
  bool isCell = false;
  int cellPadding = 0;
  bool editablePageBox = false;
  // The few lengths the layout itself fixes in screen pixels (the first
  // paragraph's top, the gap before a bullet, how far a redrawn run may
  // stray) are multiplied by these: 1 on screen, the printer's pixels per
  // screen pixel when a page is laid out for printing.
  double screenToX = 1.0;
  double screenToY = 1.0;
  // Told what must be repainted (y from, y to) and the new scroll ranges.
  std::function<void(int, int)> onRepaint;
  std::function<void(int)> onVerticalRange;
  std::function<void(int)> onHorizontalRange;

  int LeftOffset(const TAEHparag& p) const;
  int RightOffset(const TAEHparag& p) const;
  int FirstLineIndent(const TAEHparag& p) const;

  // Lays the paragraph out from top; answers where the next one starts.
  int LayoutParagraph(TAEHparag& p, int top);
  // Lays out paragraphs first..last and shifts the ones after them.
  void LayoutRange(int first, int last);
  void LayoutAll();
  // Numbers runs of numbered paragraphs 1, 2, 3 ...
  void NumberLists();
  int ContentHeight() const;

  void Paint(platform::Canvas& canvas, const platform::Rect& update, const Selection& selection);
  void DrawParagraph(platform::Canvas& canvas, int index, const Selection& selection);
  // The number or bullet of a list paragraph (nothing for other paragraphs).
  void DrawListMark(platform::Canvas& canvas, int index);
  void DrawLine(platform::Canvas& canvas, int index, int lineIndex, const Selection& selection);

  TextPos HitTest(int x, int y, HitScope scope) const;
  TextPos PositionToPoint(int paragraph, int charIndex) const;
  TextPos PlaceOnLine(const TextPos& position, int x) const;
  // A position on a given line of its paragraph: at a soft line break the
  // same character index is the end of one line and the start of the next.
  TextPos PositionOnLine(int paragraph, int line, int charIndex) const;

  RichText& Text() { return m_text; }

 private:
  struct LineState;
  void EndLine(TAEHparag& p, TAEHline& line, int available, int remaining) const;
  int LineOf(const TAEHparag& p, int charIndex) const;
  TextPos MakePos(int paragraph, int line, int charIndex) const;
  int FixedX(int screenPixels) const;
  int FixedY(int screenPixels) const;

  RichText& m_text;
  platform::TextMeasurer& m_measurer;
};

}  // namespace tarn::richtext
