// The text a box edits; see boxtext.h.
#include "richtext/boxtext.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/messages.h"

namespace tarn::richtext {
namespace {

constexpr std::string_view kEmptyParagraph = "<Z S0 >";

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// Gives the character at c a format holding its present font, unless it
// has one: the character keeps its look whatever happens before it.
void PinFont(TAEHparag& p, int c) {
  if (c >= p.Length() || p.infos[Index(c)].format >= 0) return;
  auto format = std::make_unique<TAEHFontStyle>();
  format->SetBase(p.style.Base());
  format->Assign(p.FontAt(c));
  p.infos[Index(c)].format = static_cast<std::int32_t>(p.formats.size());
  p.formats.push_back(std::move(format));
}

// Removes characters c1..c2 of one paragraph; the character after them
// keeps the font it had. Where that font is also the one before the range,
// no format is needed to keep it.
void CutCharacters(TAEHparag& p, int c1, int c2) {
  if (c2 <= c1) return;
  if (c2 < p.Length() && p.FontAt(c2) != BoxText::TypingFont(p, c1)) PinFont(p, c2);
  p.text.erase(Index(c1), Index(c2 - c1));
  p.infos.erase(p.infos.begin() + c1, p.infos.begin() + c2);
  p.spellingMarks.clear();
}

}  // namespace

bool IsWordSeparator(unsigned char c) {
  return c == ' ' || c == '!' || c == '"' || (c >= '\'' && c <= '/') || (c >= ':' && c <= '?') ||
         (c >= '{' && c <= '~') || c == 147 || c == 148;
}

BoxText::BoxText(TextHost& host, platform::TextMeasurer& measurer, platform::Messages* messages)
    : m_host(host), m_messages(messages), m_layout(m_text, measurer) {}

// ---- Loading and saving ----

bool BoxText::LoadText(std::string_view content, std::string_view header, std::string_view footer, int version) {
  m_text.paragraphs.clear();
  m_hasSelection = false;
  m_caret = {};
  m_caretLine = -1;
  m_layout.headerCount = 0;
  m_layout.footerCount = 0;
  if (version == 1) {
    if (m_messages != nullptr) m_messages->Error("baco; testo ver 1 ancora pres in aehBox!");
    return false;
  }
  auto read = [this](std::string_view markup, Origin origin) {
    if (markup.empty()) return 0;
    if (onReadSection) onReadSection(origin);
    const std::size_t before = m_text.paragraphs.size();
    MarkupStream stream(markup);
    ReadText(m_text, stream, m_host, origin);
    return static_cast<int>(m_text.paragraphs.size() - before);
  };
  m_layout.headerCount = read(header, Origin::Header);
  int own = read(content, Origin::Text);
  if (own == 0) {
    // A box always has a paragraph of its own to put the caret in.
    RichText empty;
    MarkupStream stream(kEmptyParagraph);
    ReadText(empty, stream, m_host);
    for (auto& p : empty.paragraphs) m_text.paragraphs.push_back(std::move(p));
    own = 1;
  }
  m_layout.footerCount = read(footer, Origin::Footer);
  // Later reads (rebuilt paragraphs) are of the own text.
  if (onReadSection) onReadSection(Origin::Text);
  m_layout.LayoutAll();
  SetCaret(TextStartPos());
  return true;
}

std::string BoxText::SaveText() const {
  std::string out;
  for (int i = FirstOwn(); i <= LastOwn(); ++i) WriteWholeParagraph(Paragraph(i), out, WriteMode::Store);
  out.push_back('\0');
  return out;
}

void BoxText::Rebuild(int first, int last) {
  auto& ps = m_text.paragraphs;
  if (ps.empty()) return;
  first = std::clamp(first, 0, ParagraphCount() - 1);
  last = std::clamp(last, first, ParagraphCount() - 1);
  std::string markup;
  for (int i = first; i <= last; ++i) WriteWholeParagraph(Paragraph(i), markup, WriteMode::Relayout);
  markup.push_back('\0');
  RichText fresh;
  MarkupStream stream(markup);
  ReadOptions options;
  options.tablesByReference = true;
  ReadText(fresh, stream, m_host, Origin::Text, options);
  if (static_cast<int>(fresh.paragraphs.size()) != last - first + 1) return;  // cannot happen with our own writer
  const int top = Paragraph(first).top;
  const int bottom = Paragraph(last).bottom;
  for (int i = first; i <= last; ++i) {
    auto& p = fresh.paragraphs[Index(i - first)];
    p->origin = Paragraph(i).origin;
    ps[Index(i)] = std::move(p);
  }
  Paragraph(first).top = top;
  Paragraph(last).bottom = bottom;
}

void BoxText::EndUpdate() {
  if (m_updateDepth > 0 && --m_updateDepth == 0 && onUpdateEnded) onUpdateEnded();
}

bool BoxText::IsTableParagraph(int paragraph) const {
  if (paragraph < 0 || paragraph >= ParagraphCount()) return false;
  const TAEHparag& p = Paragraph(paragraph);
  if (p.objects.empty()) return false;
  // The object list may still hold objects the paragraph no longer places
  // (the two halves of a split keep both lists until they are rebuilt):
  // only a character that places a table counts.
  for (int c = 0; c < p.Length(); ++c) {
    const std::int32_t o = p.infos[Index(c)].object;
    if (o >= 0 && Index(o) < p.objects.size() && p.objects[Index(o)] != nullptr && p.objects[Index(o)]->IsTable()) {
      return true;
    }
  }
  return false;
}

// ---- Caret and selection ----

CharPos BoxText::ClampOwn(CharPos pos) const {
  if (m_text.paragraphs.empty()) return {};
  pos.paragraph = std::clamp(pos.paragraph, FirstOwn(), std::max(FirstOwn(), LastOwn()));
  pos.character = std::clamp(pos.character, 0, Paragraph(pos.paragraph).Length());
  return pos;
}

TextPos BoxText::CaretPos() const {
  if (m_text.paragraphs.empty()) return {};
  const TAEHparag& p = Paragraph(m_caret.paragraph);
  if (m_caretLine >= 0 && static_cast<std::size_t>(m_caretLine) < p.lines.size()) {
    const TAEHline& line = p.lines[Index(m_caretLine)];
    if (m_caret.character >= line.firstChar && m_caret.character <= line.firstChar + line.charCount) {
      return m_layout.PositionOnLine(m_caret.paragraph, m_caretLine, m_caret.character);
    }
  }
  return ToTextPos(m_caret);
}

void BoxText::SetCaret(CharPos pos) {
  m_caret = ClampOwn(pos);
  m_caretLine = -1;
}

void BoxText::SetCaret(const TextPos& pos) {
  m_caret = ClampOwn({pos.paragraphIndex, pos.charIndex});
  m_caretLine = m_caret.paragraph == pos.paragraphIndex ? pos.line : -1;
}

CharPos BoxText::SelectionStart() const { return m_hasSelection ? std::min(m_anchor, m_active) : m_caret; }
CharPos BoxText::SelectionEnd() const { return m_hasSelection ? std::max(m_anchor, m_active) : m_caret; }

bool BoxText::InSelection(CharPos pos) const {
  return m_hasSelection && pos >= SelectionStart() && pos <= SelectionEnd();
}

void BoxText::SelectRange(CharPos from, CharPos to) {
  from = ClampOwn(from);
  to = ClampOwn(to);
  SetCaret(from);
  m_anchor = from;
  m_active = to;
  m_hasSelection = from != to;
}

void BoxText::SetSelection(CharPos anchor, CharPos active) {
  anchor = ClampOwn(anchor);
  active = ClampOwn(active);
  m_anchor = anchor;
  m_active = active;
  m_hasSelection = anchor != active;
  if (m_caret != active) SetCaret(active);
}

void BoxText::ClearSelection() {
  m_hasSelection = false;
  m_anchor = m_active = m_caret;
}

void BoxText::SelectAll() { SetSelection(TextStartPos(), TextEndPos()); }

Selection BoxText::LayoutSelection() const {
  if (!m_hasSelection) return {};
  const CharPos s = SelectionStart();
  const CharPos e = SelectionEnd();
  return {s.paragraph, s.character, e.paragraph, e.character};
}

void BoxText::SelectWordAt(CharPos pos) {
  pos = ClampOwn(pos);
  const std::string& t = Paragraph(pos.paragraph).text;
  int start = pos.character;
  while (start > 0 && !IsWordSeparator(static_cast<unsigned char>(t[Index(start - 1)]))) --start;
  int end = pos.character;
  const int length = static_cast<int>(t.size());
  while (end < length && !IsWordSeparator(static_cast<unsigned char>(t[Index(end)]))) ++end;
  while (end < length && t[Index(end)] == ' ') ++end;
  SetSelection({pos.paragraph, start}, {pos.paragraph, end});
}

// ---- Caret moves ----

TextPos BoxText::Move(CaretMove move, const TextPos& from) {
  m_boundary = Boundary::Moved;
  const CharPos at = ClampOwn({from.paragraphIndex, from.charIndex});
  const int length = Paragraph(at.paragraph).Length();
  auto intoTable = [this](const TextPos& pos, Boundary status) {
    if (IsTableParagraph(pos.paragraphIndex)) m_boundary = status;
    return pos;
  };
  switch (move) {
    case CaretMove::CharLeft:
      if (at.character > 0) return intoTable(ToTextPos({at.paragraph, at.character - 1}), Boundary::TableLeft);
      if (at.paragraph > FirstOwn()) {
        return intoTable(ToTextPos({at.paragraph - 1, Paragraph(at.paragraph - 1).Length()}), Boundary::TableLeft);
      }
      m_boundary = Boundary::BeforeStart;
      return ToTextPos(at);
    case CaretMove::CharRight:
      if (at.character < length) return intoTable(ToTextPos({at.paragraph, at.character + 1}), Boundary::TableRight);
      if (at.paragraph < LastOwn()) return intoTable(ToTextPos({at.paragraph + 1, 0}), Boundary::TableRight);
      m_boundary = Boundary::AfterEnd;
      return ToTextPos(at);
    case CaretMove::LineUp: return LineUpDown(from, false);
    case CaretMove::LineDown: return LineUpDown(from, true);
    case CaretMove::WordLeft: return WordLeft(from);
    case CaretMove::WordRight: return WordRight(from);
    case CaretMove::ParagraphUp:
      if (at.paragraph > FirstOwn()) return ToTextPos({at.paragraph - 1, 0});
      m_boundary = Boundary::AboveFirst;
      return ToTextPos(at);
    case CaretMove::ParagraphDown:
      if (at.paragraph < LastOwn()) return ToTextPos({at.paragraph + 1, 0});
      m_boundary = Boundary::BelowLast;
      return ToTextPos(at);
    case CaretMove::LineStart:
    case CaretMove::LineEnd: {
      const TAEHparag& p = Paragraph(at.paragraph);
      TextPos pos = at.paragraph == from.paragraphIndex ? from : ToTextPos(at);
      if (p.lines.empty()) return pos;
      const int lineIndex = std::clamp(pos.line, 0, static_cast<int>(p.lines.size()) - 1);
      const TAEHline& line = p.lines[Index(lineIndex)];
      const int c = move == CaretMove::LineStart ? line.firstChar : line.firstChar + std::max(line.charCount, 0);
      return m_layout.PositionOnLine(at.paragraph, lineIndex, c);
    }
    case CaretMove::TextStart: return ToTextPos(TextStartPos());
    case CaretMove::TextEnd: return ToTextPos(TextEndPos());
  }
  return from;
}

TextPos BoxText::LineUpDown(const TextPos& from, bool down) {
  const TAEHparag& p = Paragraph(from.paragraphIndex);
  const int lines = static_cast<int>(p.lines.size());
  TextPos target;
  if (down && from.line + 1 < lines) {
    target = m_layout.PositionOnLine(from.paragraphIndex, from.line + 1, p.lines[Index(from.line + 1)].firstChar);
  } else if (!down && from.line > 0) {
    target = m_layout.PositionOnLine(from.paragraphIndex, from.line - 1, p.lines[Index(from.line - 1)].firstChar);
  } else if (down && from.paragraphIndex < LastOwn()) {
    target = m_layout.PositionOnLine(from.paragraphIndex + 1, 0, 0);
  } else if (!down && from.paragraphIndex > FirstOwn()) {
    const TAEHparag& prev = Paragraph(from.paragraphIndex - 1);
    const int last = std::max(0, static_cast<int>(prev.lines.size()) - 1);
    target = m_layout.PositionOnLine(from.paragraphIndex - 1, last, prev.lines.empty() ? 0 : prev.lines[Index(last)].firstChar);
  } else {
    m_boundary = down ? Boundary::BelowLast : Boundary::AboveFirst;
    return from;
  }
  if (IsTableParagraph(target.paragraphIndex) && target.paragraphIndex != from.paragraphIndex) {
    m_boundary = down ? Boundary::TableDown : Boundary::TableUp;
  }
  return m_layout.PlaceOnLine(target, from.x);
}

TextPos BoxText::WordRight(const TextPos& from) {
  const CharPos at = ClampOwn({from.paragraphIndex, from.charIndex});
  const std::string& t = Paragraph(at.paragraph).text;
  const int length = static_cast<int>(t.size());
  if (at.character >= length) {
    if (at.paragraph < LastOwn()) return ToTextPos({at.paragraph + 1, 0});
    m_boundary = Boundary::AfterEnd;
    return ToTextPos(at);
  }
  auto sep = [&t](int i) { return IsWordSeparator(static_cast<unsigned char>(t[Index(i)])); };
  int i = at.character;
  while (i < length && sep(i)) ++i;
  while (i < length && !sep(i)) ++i;
  while (i < length && sep(i)) ++i;
  return ToTextPos({at.paragraph, i});
}

TextPos BoxText::WordLeft(const TextPos& from) {
  const CharPos at = ClampOwn({from.paragraphIndex, from.charIndex});
  auto previousEnd = [&]() {
    if (at.paragraph > FirstOwn()) return ToTextPos({at.paragraph - 1, Paragraph(at.paragraph - 1).Length()});
    if (at.character == 0) m_boundary = Boundary::BeforeStart;
    return ToTextPos({at.paragraph, 0});
  };
  if (at.character == 0) return previousEnd();
  const std::string& t = Paragraph(at.paragraph).text;
  auto sep = [&t](int i) { return IsWordSeparator(static_cast<unsigned char>(t[Index(i)])); };
  int i = at.character - 1;
  while (i >= 0 && sep(i)) --i;
  if (i < 0) return previousEnd();
  while (i > 0 && !sep(i - 1)) --i;
  return ToTextPos({at.paragraph, i});
}

// ---- Paragraph surgery ----

TMyFont BoxText::TypingFont(const TAEHparag& p, int c) { return c > 0 ? p.FontAt(c - 1) : p.style.Font(); }

void BoxText::RebaseFormats(TAEHparag& p, const TAEHoggetto* newBase) {
  for (auto& format : p.formats) {
    const TMyFont font = format->Font();
    format = std::make_unique<TAEHFontStyle>();
    format->SetBase(newBase);
    format->Assign(font);
  }
}

void BoxText::Join(int index) {
  auto& ps = m_text.paragraphs;
  if (index < 0 || index + 1 >= ParagraphCount()) return;
  TAEHparag& first = Paragraph(index);
  TAEHparag& second = Paragraph(index + 1);
  // The joined characters keep their own paragraph's font (a format says
  // so unless the text before the join ends in that font anyway).
  if (second.Length() > 0 && second.infos[0].format < 0 &&
      second.style.Font() != TypingFont(first, first.Length())) {
    auto format = std::make_unique<TAEHFontStyle>();
    format->SetBase(second.style.Base());
    format->Assign(second.style.Font());
    second.infos[0].format = static_cast<std::int32_t>(second.formats.size());
    second.formats.push_back(std::move(format));
  }
  if (second.style.Base() != first.style.Base()) RebaseFormats(second, first.style.Base());
  const auto formatOffset = static_cast<std::int32_t>(first.formats.size());
  const auto objectOffset = static_cast<std::int32_t>(first.objects.size());
  for (auto& format : second.formats) first.formats.push_back(std::move(format));
  for (EmbeddedObject* object : second.objects) first.objects.push_back(object);
  first.text += second.text;
  first.infos.pop_back();
  for (CharInfo info : second.infos) {
    if (info.format >= 0) info.format += formatOffset;
    if (info.object >= 0) info.object += objectOffset;
    first.infos.push_back(info);
  }
  first.spellingMarks.clear();
  first.bottom = second.bottom;
  ps.erase(ps.begin() + index + 1);
}

int BoxText::SplitAt(CharPos at) {
  auto& ps = m_text.paragraphs;
  TAEHparag& p = Paragraph(at.paragraph);
  const int c = std::clamp(at.character, 0, p.Length());
  auto tail = std::make_unique<TAEHparag>();
  tail->style = p.style;
  const TMyFont font = TypingFont(p, c);
  tail->style.SetColour(font.colour);
  tail->style.SetFace(font.face);
  tail->style.SetSize(font.size);
  tail->style.SetStyle(font.style);
  tail->style.SetPosition(font.position);
  tail->styleIndex = p.styleIndex;
  tail->origin = p.origin;
  tail->text = p.text.substr(Index(c));
  tail->infos.assign(p.infos.begin() + c, p.infos.end());
  // Both halves keep the format and object lists with their indexes; the
  // rebuild that follows drops what each half no longer uses.
  for (const auto& format : p.formats) tail->formats.push_back(std::make_unique<TAEHFontStyle>(*format));
  tail->objects = p.objects;
  tail->top = p.top;
  tail->bottom = p.bottom;
  CharInfo final = p.infos.back();
  final.format = -1;
  final.object = -1;
  p.text.resize(Index(c));
  p.infos.resize(Index(c));
  p.infos.push_back(final);
  p.spellingMarks.clear();
  ps.insert(ps.begin() + at.paragraph + 1, std::move(tail));
  return at.paragraph + 1;
}

void BoxText::DeleteRange(CharPos from, CharPos to) {
  auto& ps = m_text.paragraphs;
  if (to <= from) return;
  if (from.paragraph == to.paragraph) {
    CutCharacters(Paragraph(from.paragraph), from.character, to.character);
    return;
  }
  TAEHparag& first = Paragraph(from.paragraph);
  const int top = first.top;
  CutCharacters(first, from.character, first.Length());
  CutCharacters(Paragraph(to.paragraph), 0, to.character);
  const int bottom = Paragraph(to.paragraph).bottom;
  // The space of the paragraphs between goes to the first one, so that
  // laying it out moves what follows up by that much.
  const int betweenBottom = Paragraph(to.paragraph - 1).bottom;
  ps.erase(ps.begin() + from.paragraph + 1, ps.begin() + to.paragraph);
  const int last = from.paragraph + 1;
  Paragraph(last).bottom = bottom;
  if (IsTableParagraph(last) && to.character == 0) {
    Paragraph(from.paragraph).bottom = betweenBottom;
    return;
  }
  if (Paragraph(from.paragraph).Length() == 0) {
    ps.erase(ps.begin() + from.paragraph);
    Paragraph(from.paragraph).top = top;
    return;
  }
  Join(from.paragraph);
}

}  // namespace tarn::richtext
