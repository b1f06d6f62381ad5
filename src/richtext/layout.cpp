// Paragraph and line layout; see layout.h.
#include "richtext/layout.h"

#include <algorithm>
#include <string>

#include "document/recordfields.h"

namespace tarn::richtext {
namespace {

constexpr int kFirstParagraphTop = 8;
constexpr int kHiddenObjectHeight = 10;
constexpr int kRemeasureTolerance = 4;
constexpr int kBulletGap = 10;
using document::field::style::kListBullet;
using document::field::style::kListNumbered;
constexpr std::string_view kBulletFace = "Wingdings";

int Effective(int lineHeight, int computed) { return lineHeight > 0 ? lineHeight : computed; }

}  // namespace

platform::FontRequest ToRequest(const TMyFont& font) {
  return {font.face, font.size, font.style, font.colour};
}

CharMetrics FontBox(platform::TextMeasurer& measurer, const TMyFont& font) {
  const platform::FontMetrics m = measurer.Metrics(ToRequest(font));
  CharMetrics box{0, m.height, m.ascent};
  if (font.position == 1) box.height += m.height / 2;
  if (font.position == 2) box.ascent += m.height / 2;
  return box;
}

void CharMeasurer::SelectFont(const TMyFont& font) {
  m_font = ToRequest(font);
  const CharMetrics box = FontBox(m_measurer, font);
  m_height = box.height;
  m_ascent = box.ascent;
  m_hasPrevious = false;
}

CharMetrics CharMeasurer::MeasureChar(unsigned char c) {
  const char current = static_cast<char>(c);
  int width = 0;
  if (m_hasPrevious) {
    const char pair[2] = {m_previous, current};
    width = m_measurer.TextWidth(m_font, {pair, 2}) - m_measurer.TextWidth(m_font, {pair, 1});
  } else {
    width = m_measurer.TextWidth(m_font, {&current, 1});
  }
  m_previous = current;
  m_hasPrevious = true;
  return {width, m_height, m_ascent};
}

CharMetrics MeasureObject(const EmbeddedObject& object) {
  if (!object.Shown()) return {0, kHiddenObjectHeight, kHiddenObjectHeight};
  int height = object.Height();
  const int kind = object.RecordKind();
  if (kind >= 20 && kind <= 22) height += 2;
  int ascent = height;
  if (object.VerticalAlignment() == 3) ascent = 0;
  if (object.VerticalAlignment() == 4) ascent = height / 2;
  return {object.Width(), height, ascent};
}

bool Selection::Contains(int paragraph, int c) const {
  if (startParagraph < 0) return false;
  if (paragraph < startParagraph || paragraph > endParagraph) return false;
  if (paragraph == startParagraph && c < startChar) return false;
  if (paragraph == endParagraph && c >= endChar) return false;
  return true;
}

// ---- Offsets ----

int TextLayout::LeftOffset(const TAEHparag& p) const {
  return p.style.LeftMargin() + (isCell ? cellPadding : 0);
}

int TextLayout::RightOffset(const TAEHparag& p) const {
  return p.style.RightMargin() + (isCell ? cellPadding : 0);
}

int TextLayout::FirstLineIndent(const TAEHparag& p) const {
  const int indent = p.style.Indent();
  // A list mark takes the hanging space of a negative indent.
  if (p.style.ListKind() != 0 && indent < 0) return 0;
  return indent;
}

// ---- Layout ----

void TextLayout::EndLine(TAEHparag& p, TAEHline& line, int available, int remaining) const {
  int height = 0;
  int maxAscent = 0;
  for (int i = line.firstChar; i < line.firstChar + line.charCount; ++i) {
    maxAscent = std::max(maxAscent, p.infos[static_cast<std::size_t>(i)].ascent);
  }
  for (int i = line.firstChar; i < line.firstChar + line.charCount; ++i) {
    const CharInfo& info = p.infos[static_cast<std::size_t>(i)];
    height = std::max(height, maxAscent + info.height - info.ascent);
  }
  line.maxAscent = maxAscent;
  line.height = line.charCount > 0 ? height : p.fontHeight;
  const int slack = std::max(remaining, 0);
  switch (p.style.Alignment()) {
    case 1: line.alignOffset = slack; break;
    case 2: line.alignOffset = slack / 2; break;
    default: line.alignOffset = 0; break;
  }
  line.usedWidth = available - remaining;
  line.height = Effective(p.style.LineHeight(), line.height);
}

int TextLayout::LayoutParagraph(TAEHparag& p, int top) {
  p.top = top;
  p.bottom = top;
  p.layoutWidth = layoutWidth;
  const int left = LeftOffset(p);
  const int right = RightOffset(p);
  const int indent = FirstLineIndent(p);
  const int full = layoutWidth - left - right;
  const int length = p.Length();
  if (p.fontHeight <= 0) p.fontHeight = FontBox(m_measurer, p.style.Font()).height;

  p.lines.clear();
  TAEHline line;
  line.leftOffset = left + indent;
  int available = full - indent;
  int remaining = available;
  int breakPoint = -1;
  int remainingAtBreak = 0;

  auto finish = [&](int rem) {
    EndLine(p, line, available, rem);
    p.lines.push_back(line);
    TAEHline next;
    next.top = line.top + line.height;
    next.leftOffset = left;
    line = next;
    available = full;
  };
  auto place = [&](int i) {
    const CharInfo& info = p.infos[static_cast<std::size_t>(i)];
    remaining -= info.width;
    line.maxAscent = std::max(line.maxAscent, info.ascent);
    ++line.charCount;
    if (remaining < 0) widestExtent = std::max(widestExtent, layoutWidth - remaining);
    if (p.text[static_cast<std::size_t>(i)] == ' ') {
      breakPoint = i + 1;
      remainingAtBreak = remaining;
    }
  };

  for (int i = 0; i < length; ++i) {
    CharInfo& info = p.infos[static_cast<std::size_t>(i)];
    if (info.object >= 0 && static_cast<std::size_t>(info.object) < p.objects.size()) {
      EmbeddedObject& object = *p.objects[static_cast<std::size_t>(info.object)];
      object.SetAvailableWidth(remaining);
      const CharMetrics m = MeasureObject(object);
      info.width = m.width;
      info.height = m.height;
      info.ascent = m.ascent;
      object.Hide();
    }
    if (remaining - info.width > 0) {
      place(i);
    } else if (line.charCount > 0) {
      if (breakPoint < 0 && i > 0 && p.text[static_cast<std::size_t>(i - 1)] == ' ') {
        breakPoint = i;
        remainingAtBreak = remaining;
      }
      if (breakPoint < 0 || breakPoint <= line.firstChar) {
        // A word longer than the line is never split: the line overflows.
        place(i);
      } else {
        const int moved = breakPoint;
        line.charCount = moved - line.firstChar;
        finish(remainingAtBreak);
        line.firstChar = moved;
        remaining = available;
        breakPoint = -1;
        for (int k = moved; k < i; ++k) place(k);
        place(i);
      }
    } else {
      place(i);
      finish(remaining);
      line.firstChar = i + 1;
      remaining = available;
      breakPoint = -1;
      if (i == length - 1) {
        // The character ended the paragraph: no empty line follows it.
        line.charCount = -1;
      }
    }
  }
  if (line.charCount >= 0 && (line.charCount > 0 || p.lines.empty())) {
    finish(remaining);
  }
  const TAEHline& last = p.lines.back();
  const int next = top + p.style.SpaceBefore() + last.top + last.height + p.style.SpaceAfter();
  p.bottom = next - 1;
  return next;
}

int TextLayout::ContentHeight() const {
  return m_text.paragraphs.empty() ? 0 : m_text.paragraphs.back()->bottom + 1;
}

void TextLayout::LayoutAll() {
  if (m_text.paragraphs.empty()) return;
  const TAEHparag& first = *m_text.paragraphs.front();
  int top = first.style.SpaceBefore();
  if (isCell) {
    top += cellPadding;
  } else if (top == 0) {
    top = kFirstParagraphTop;
  }
  m_text.paragraphs.front()->top = top;
  // Force a full shift check: lay everything out from the first top.
  for (auto& p : m_text.paragraphs) top = LayoutParagraph(*p, top);
  if (onHorizontalRange) onHorizontalRange(widestExtent);
  if (onVerticalRange) onVerticalRange(ContentHeight());
  if (onRepaint) onRepaint(0, ContentHeight());
}

void TextLayout::LayoutRange(int first, int last) {
  auto& ps = m_text.paragraphs;
  if (ps.empty()) return;
  first = std::clamp(first, 0, static_cast<int>(ps.size()) - 1);
  last = std::clamp(last, first, static_cast<int>(ps.size()) - 1);
  const int oldWidest = widestExtent;
  const int oldEnd = ps[static_cast<std::size_t>(last)]->bottom + 1;
  int top = ps[static_cast<std::size_t>(first)]->top;
  for (int i = first; i <= last; ++i) top = LayoutParagraph(*ps[static_cast<std::size_t>(i)], top);
  if (widestExtent != oldWidest && onHorizontalRange) onHorizontalRange(widestExtent);
  const int delta = top - oldEnd;
  if (delta != 0) {
    // Following paragraphs keep their lines; they only move.
    for (std::size_t i = static_cast<std::size_t>(last) + 1; i < ps.size(); ++i) {
      ps[i]->top += delta;
      ps[i]->bottom += delta;
      for (EmbeddedObject* object : ps[i]->objects) object->markedForPlacing = true;
    }
    if (onVerticalRange) onVerticalRange(ContentHeight());
    if (onRepaint) onRepaint(std::min(top, oldEnd), ContentHeight());
  }
  if (onRepaint) onRepaint(ps[static_cast<std::size_t>(first)]->top, top);
}

void TextLayout::NumberLists() {
  int number = 1;
  for (auto& p : m_text.paragraphs) {
    if (p->style.ListKind() == kListNumbered) {
      p->listNumber = number++;
    } else {
      number = 1;
    }
  }
}

// ---- Painting ----

void TextLayout::Paint(platform::Canvas& canvas, const platform::Rect& update, const Selection& selection) {
  NumberLists();
  for (std::size_t i = 0; i < m_text.paragraphs.size(); ++i) {
    const TAEHparag& p = *m_text.paragraphs[i];
    if (p.bottom < update.top || p.top >= update.bottom) continue;
    DrawParagraph(canvas, static_cast<int>(i), selection);
  }
}

void TextLayout::DrawParagraph(platform::Canvas& canvas, int index, const Selection& selection) {
  TAEHparag& p = *m_text.paragraphs[static_cast<std::size_t>(index)];
  const int contentTop = p.top + p.style.SpaceBefore();
  if (editablePageBox && p.origin != Origin::Text) {
    const platform::Rect band{0, p.top - 2, std::max(layoutWidth, widestExtent), p.bottom + 2};
    canvas.HatchRect(band, platform::Hatch::ForwardDiagonal, canvas.System(platform::SystemColour::Highlight3D));
    canvas.HatchRect(band, platform::Hatch::BackwardDiagonal, canvas.System(platform::SystemColour::ButtonShadow));
  }
  const platform::FontRequest font = ToRequest(p.style.Font());
  const int left = LeftOffset(p);
  const int indent = p.style.Indent();
  if (!p.lines.empty() && (p.style.ListKind() == kListNumbered || p.style.ListKind() == kListBullet)) {
    const TAEHline& first = p.lines.front();
    const int firstAscent = p.Length() > 0 ? p.infos[0].ascent : first.maxAscent;
    const int y = contentTop + first.top + first.maxAscent - firstAscent;
    if (p.style.ListKind() == kListNumbered) {
      const std::string mark = std::to_string(p.listNumber) + ". ";
      const int width = canvas.TextWidth(font, mark);
      const int x = indent < 0 ? left + indent : (indent < width ? left - width : left);
      canvas.DrawText(font, x, y, mark);
    } else {
      platform::FontRequest bullet = font;
      bullet.face = std::string(kBulletFace);
      const int x = indent < 0 ? left + indent : (indent > 9 ? left : left - kBulletGap);
      canvas.DrawText(bullet, x, y, "w");
    }
  }
  for (std::size_t l = 0; l < p.lines.size(); ++l) DrawLine(canvas, index, static_cast<int>(l), selection);
}

void TextLayout::DrawLine(platform::Canvas& canvas, int index, int lineIndex, const Selection& selection) {
  TAEHparag& p = *m_text.paragraphs[static_cast<std::size_t>(index)];
  const TAEHline& line = p.lines[static_cast<std::size_t>(lineIndex)];
  const int contentTop = p.top + p.style.SpaceBefore();
  const int baseline = contentTop + line.top + line.maxAscent;
  int x = line.alignOffset + line.leftOffset;

  // The fonts in force at the line's start.
  TMyFont format = p.FontAt(line.firstChar);
  std::int32_t link = line.firstChar > 0 ? p.infos[static_cast<std::size_t>(line.firstChar - 1)].link : -1;
  if (line.firstChar < p.Length()) link = p.infos[static_cast<std::size_t>(line.firstChar)].link;
  auto fontFor = [&p](const TMyFont& text, std::int32_t l) { return l == -1 ? text : p.style.LinkFont(text); };
  TMyFont current = fontFor(format, link);
  auto subscriptOffset = [&](const TMyFont& f) {
    return f.position == 1 ? canvas.Metrics(ToRequest(f)).height / 2 : 0;
  };
  const std::uint32_t highlight = canvas.System(platform::SystemColour::Highlight);
  const std::uint32_t highlightText = canvas.System(platform::SystemColour::HighlightText);

  auto drawText = [&](int at, std::string_view text, const TMyFont& f, bool selected, int ascent) {
    platform::FontRequest request = ToRequest(f);
    const int y = baseline - ascent + subscriptOffset(f);
    if (selected) {
      request.colour = highlightText;
      canvas.DrawTextOn(request, at, y, text, highlight);
    } else {
      canvas.DrawText(request, at, y, text);
    }
  };

  const int end = line.firstChar + line.charCount;
  int i = line.firstChar;
  while (i < end) {
    CharInfo& info = p.infos[static_cast<std::size_t>(i)];
    if (info.format >= 0 && static_cast<std::size_t>(info.format) < p.formats.size()) {
      format = p.formats[static_cast<std::size_t>(info.format)]->Font();
      // A link with its own size keeps the link's font over format changes.
      if (!(link != -1 && p.style.LinkSize() > 0)) current = fontFor(format, link);
    }
    if (info.link != link || info.format >= 0) {
      link = info.link;
      current = fontFor(format, link);
    }
    const bool selected = selection.Contains(index, i);
    if (info.object >= 0 && static_cast<std::size_t>(info.object) < p.objects.size()) {
      EmbeddedObject& object = *p.objects[static_cast<std::size_t>(info.object)];
      if (object.markedForPlacing || object.placedX <= -20000) {
        object.Place(x, contentTop + line.top + line.maxAscent - info.ascent);
      }
      x += info.width;
      ++i;
      continue;
    }
    // A run: characters with no format, no object, the same link and the
    // same selection state go out with one call.
    int j = i + 1;
    int stored = info.width;
    while (j < end) {
      const CharInfo& next = p.infos[static_cast<std::size_t>(j)];
      if (next.format >= 0 || next.object >= 0 || next.link != link || selection.Contains(index, j) != selected) break;
      stored += next.width;
      ++j;
    }
    const std::string_view run = std::string_view(p.text).substr(static_cast<std::size_t>(i), static_cast<std::size_t>(j - i));
    const platform::FontRequest request = ToRequest(current);
    const int measured = canvas.TextWidth(request, run);
    if (std::abs(measured - stored) > kRemeasureTolerance) {
      // The stored widths no longer match this canvas: draw one by one and
      // take the new pair widths.
      CharMeasurer measurer(canvas);
      measurer.SelectFont(current);
      for (int k = i; k < j; ++k) {
        CharInfo& ki = p.infos[static_cast<std::size_t>(k)];
        const CharMetrics m = measurer.MeasureChar(static_cast<unsigned char>(p.text[static_cast<std::size_t>(k)]));
        drawText(x, run.substr(static_cast<std::size_t>(k - i), 1), current, selected, ki.ascent);
        ki.width = m.width;
        x += m.width;
      }
    } else {
      drawText(x, run, current, selected, info.ascent);
      x += stored;
    }
    i = j;
  }

  // Misspelt words: two dotted red lines under each marked run.
  if (!p.spellingMarks.empty()) {
    int runX = line.alignOffset + line.leftOffset;
    int k = line.firstChar;
    while (k < end) {
      if (static_cast<std::size_t>(k) < p.spellingMarks.size() && p.spellingMarks[static_cast<std::size_t>(k)] == '!') {
        const int startX = runX;
        while (k < end && static_cast<std::size_t>(k) < p.spellingMarks.size() &&
               p.spellingMarks[static_cast<std::size_t>(k)] == '!') {
          runX += p.infos[static_cast<std::size_t>(k)].width;
          ++k;
        }
        canvas.DottedLine(startX, runX, baseline + 2, 0x0000FF);
        canvas.DottedLine(startX + 2, runX, baseline + 1, 0x0000FF);
      } else {
        runX += p.infos[static_cast<std::size_t>(k)].width;
        ++k;
      }
    }
  }
}

// ---- Positions ----

int TextLayout::LineOf(const TAEHparag& p, int charIndex) const {
  for (std::size_t l = 0; l < p.lines.size(); ++l) {
    const TAEHline& line = p.lines[l];
    if (charIndex < line.firstChar + line.charCount) return static_cast<int>(l);
  }
  return p.lines.empty() ? 0 : static_cast<int>(p.lines.size()) - 1;
}

TextPos TextLayout::MakePos(int paragraph, int lineIndex, int charIndex) const {
  TextPos pos;
  TAEHparag* p = m_text.paragraphs[static_cast<std::size_t>(paragraph)].get();
  pos.paragraph = p;
  pos.paragraphIndex = paragraph;
  pos.line = lineIndex;
  pos.charIndex = charIndex;
  if (p->lines.empty()) return pos;
  const TAEHline& line = p->lines[static_cast<std::size_t>(lineIndex)];
  const int contentTop = p->top + p->style.SpaceBefore();
  pos.y = contentTop + line.top;
  pos.height = line.height;
  int x = line.alignOffset + line.leftOffset;
  for (int i = line.firstChar; i < charIndex && i < p->Length(); ++i) x += p->infos[static_cast<std::size_t>(i)].width;
  pos.x = x;
  pos.rightX = x + (charIndex < p->Length() ? p->infos[static_cast<std::size_t>(charIndex)].width : 0);
  return pos;
}

TextPos TextLayout::HitTest(int x, int y, HitScope scope) const {
  const auto& ps = m_text.paragraphs;
  if (ps.empty()) return {};
  int lo = scope == HitScope::All ? 0 : std::min(headerCount, static_cast<int>(ps.size()) - 1);
  int hi = static_cast<int>(ps.size()) - 1 - (scope == HitScope::All ? 0 : footerCount);
  hi = std::max(hi, lo);
  // Binary search by vertical extent; outside the text, the nearest one.
  int found = lo;
  if (y >= ps[static_cast<std::size_t>(hi)]->top) {
    found = hi;
  } else if (y > ps[static_cast<std::size_t>(lo)]->bottom) {
    int a = lo;
    int b = hi;
    while (a < b) {
      const int mid = (a + b) / 2;
      if (ps[static_cast<std::size_t>(mid)]->bottom < y) {
        a = mid + 1;
      } else {
        b = mid;
      }
    }
    found = a;
  }
  const TAEHparag& p = *ps[static_cast<std::size_t>(found)];
  if (p.lines.empty()) return MakePos(found, 0, 0);
  int lineIndex = 0;
  for (std::size_t l = 0; l < p.lines.size(); ++l) {
    if (p.lines[l].top < y - p.top) lineIndex = static_cast<int>(l);
  }
  const TAEHline& line = p.lines[static_cast<std::size_t>(lineIndex)];
  int running = line.alignOffset + line.leftOffset;
  if (x < running) return MakePos(found, lineIndex, line.firstChar);
  for (int i = line.firstChar; i < line.firstChar + line.charCount; ++i) {
    const int width = p.infos[static_cast<std::size_t>(i)].width;
    if (x < running + width) return MakePos(found, lineIndex, i);
    running += width;
  }
  const bool lastLine = lineIndex == static_cast<int>(p.lines.size()) - 1;
  if (lastLine) return MakePos(found, lineIndex, p.Length());
  return MakePos(found, lineIndex, std::max(line.firstChar, line.firstChar + line.charCount - 1));
}

TextPos TextLayout::PositionToPoint(int paragraph, int charIndex) const {
  const auto& ps = m_text.paragraphs;
  if (paragraph < 0 || static_cast<std::size_t>(paragraph) >= ps.size()) return {};
  const TAEHparag& p = *ps[static_cast<std::size_t>(paragraph)];
  charIndex = std::clamp(charIndex, 0, p.Length());
  return MakePos(paragraph, LineOf(p, charIndex), charIndex);
}

TextPos TextLayout::PlaceOnLine(const TextPos& position, int x) const {
  const TAEHparag& p = *m_text.paragraphs[static_cast<std::size_t>(position.paragraphIndex)];
  if (p.lines.empty()) return position;
  const TAEHline& line = p.lines[static_cast<std::size_t>(position.line)];
  int running = line.alignOffset + line.leftOffset;
  int i = line.firstChar;
  const int end = line.firstChar + line.charCount;
  while (i < end && running < x) {
    running += p.infos[static_cast<std::size_t>(i)].width;
    ++i;
  }
  return MakePos(position.paragraphIndex, position.line, i);
}

TextPos TextLayout::PositionOnLine(int paragraph, int line, int charIndex) const {
  const auto& ps = m_text.paragraphs;
  if (paragraph < 0 || static_cast<std::size_t>(paragraph) >= ps.size()) return {};
  const TAEHparag& p = *ps[static_cast<std::size_t>(paragraph)];
  if (p.lines.empty()) return MakePos(paragraph, 0, 0);
  line = std::clamp(line, 0, static_cast<int>(p.lines.size()) - 1);
  const TAEHline& l = p.lines[static_cast<std::size_t>(line)];
  charIndex = std::clamp(charIndex, l.firstChar, std::min(p.Length(), l.firstChar + std::max(l.charCount, 0)));
  return MakePos(paragraph, line, charIndex);
}

}  // namespace tarn::richtext
