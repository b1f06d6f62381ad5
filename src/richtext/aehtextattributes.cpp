// The character commands of a box; see aehtextattributes.h.
#include "richtext/aehtextattributes.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "base/bytes.h"
#include "markup/entities.h"
#include "markup/tokenizer.h"
#include "platform/messages.h"
#include "richtext/containerobjects.h"

namespace tarn::richtext {
namespace {

constexpr unsigned char kOpenDouble = 147;
constexpr unsigned char kCloseDouble = 148;
constexpr unsigned char kOpenSingle = 145;
constexpr unsigned char kCloseSingle = 146;

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

unsigned char Typographic(unsigned char c, const TAEHparag& p, int at) {
  if (c != '"' && c != '\'') return c;
  const unsigned char before = at > 0 ? static_cast<unsigned char>(p.text[Index(at - 1)]) : 0;
  const bool opening = at == 0 || before == ' ' || before == kCloseSingle || before == kCloseDouble;
  if (c == '"') return opening ? kOpenDouble : kCloseDouble;
  return opening ? kOpenSingle : kCloseSingle;
}

}  // namespace

void TAEHTextAttributes::Finish(int first, int last, CharPos caret) {
  m_box.Rebuild(first, last);
  m_box.LayoutRange(first, last);
  m_box.SetCaret(caret);
  m_box.ClearSelection();
}

// ---- Deleting ----

bool TAEHTextAttributes::DeleteSelectionImpl(bool single, bool continuing) {
  if (!m_box.HasSelection()) {
    if (m_box.Messages() != nullptr) m_box.Messages()->Error("SelectionMustExists");
    return false;
  }
  const CharPos from = m_box.SelectionStart();
  const CharPos to = m_box.SelectionEnd();
  const TAEHparag& p = m_box.Paragraph(from.paragraph);
  const bool atObject = from.character < p.Length() && p.infos[Index(from.character)].object >= 0;
  m_typing.active = false;
  // A deletion that joins two paragraphs reaches beyond the paragraph the
  // run's step saved: it is a step of its own.
  if (!continuing || atObject || from.paragraph != to.paragraph) {
    m_deletion.step = m_box.Record(atObject ? kCaptionObjectDeletion : kCaptionDeletion,
                                   single ? UndoKind::CharacterDeletion : UndoKind::Deletion);
  }
  m_deletion.active = single && !atObject;
  m_box.BeginUpdate();
  m_box.DeleteRange(from, to);
  Finish(from.paragraph, from.paragraph, from);
  m_box.EndUpdate();
  m_deletion.caret = m_box.Caret();
  return true;
}

void TAEHTextAttributes::DeleteNext() {
  if (m_box.HasSelection()) {
    DeleteSelection();
    return;
  }
  const CharPos caret = m_box.Caret();
  const TextPos next = m_box.Move(CaretMove::CharRight, m_box.CaretPos());
  if (m_box.LastBoundary() == Boundary::AfterEnd) return;
  const bool continuing = Continues(m_deletion);
  m_box.SelectRange(caret, {next.paragraphIndex, next.charIndex});
  DeleteSelectionImpl(true, continuing);
}

void TAEHTextAttributes::DeletePrevious() {
  if (m_box.HasSelection()) {
    DeleteSelection();
    return;
  }
  const CharPos caret = m_box.Caret();
  const TextPos previous = m_box.Move(CaretMove::CharLeft, m_box.CaretPos());
  if (m_box.LastBoundary() == Boundary::BeforeStart) return;
  const bool continuing = Continues(m_deletion);
  m_box.SelectRange({previous.paragraphIndex, previous.charIndex}, caret);
  DeleteSelectionImpl(true, continuing);
}

// ---- Typing and splitting ----

bool TAEHTextAttributes::TypeChar(unsigned char c) {
  if (c < 32) return false;
  if (m_box.HasSelection()) DeleteSelection();
  if (!Continues(m_typing)) {
    m_typing.step = m_box.Record(kCaptionTyping);
    m_typing.active = true;
  }
  m_deletion.active = false;
  m_box.BeginUpdate();
  CharPos at = m_box.Caret();
  int first = at.paragraph;
  if (m_box.IsTableParagraph(at.paragraph)) {
    // A table stands alone in its paragraph: the character goes into a new
    // paragraph above the table (caret at its start) or below it.
    if (at.character == 0) {
      m_box.SplitAt(at);
    } else {
      at = {m_box.SplitAt({at.paragraph, m_box.Paragraph(at.paragraph).Length()}), 0};
    }
    m_box.Rebuild(first, first + 1);
    m_box.LayoutRange(first, first + 1);
  }
  TAEHparag& p = m_box.Paragraph(at.paragraph);
  if (autoEngQuote) c = Typographic(c, p, at.character);
  CharInfo info;
  info.link = at.character > 0 ? p.infos[Index(at.character - 1)].link : -1;
  const TMyFont typingFont = BoxText::TypingFont(p, at.character);
  p.text.insert(p.text.begin() + at.character, static_cast<char>(c));
  p.infos.insert(p.infos.begin() + at.character, info);
  p.spellingMarks.clear();
  ApplyPending(p, at.character, typingFont);
  first = at.paragraph;
  Finish(first, first, {at.paragraph, at.character + 1});
  m_box.EndUpdate();
  m_typing.caret = m_box.Caret();
  return true;
}

void TAEHTextAttributes::SplitParagraph() {
  if (m_box.HasSelection()) DeleteSelection();
  EndRuns();
  m_box.Record(kCaptionParagraph);
  m_box.BeginUpdate();
  const CharPos at = m_box.Caret();
  const int tail = m_box.SplitAt(at);
  Finish(at.paragraph, tail, {tail, 0});
  m_box.EndUpdate();
}

void TAEHTextAttributes::ReplaceSelection(std::string_view text) {
  EndRuns();
  m_box.Record(std::string(kCaptionReplace) + std::string(text));
  const CharPos from = m_box.SelectionStart();
  const CharPos to = m_box.SelectionEnd();
  if (from.paragraph != to.paragraph) {
    if (m_box.Messages() != nullptr) {
      m_box.Messages()->Information(
          "Funzione non disponibile per parole non comprese interamente in un paragrafo.");
    }
    return;
  }
  m_box.BeginUpdate();
  TAEHparag& p = m_box.Paragraph(from.paragraph);
  const int oldLength = to.character - from.character;
  const int newLength = static_cast<int>(text.size());
  const int kept = std::min(oldLength, newLength);
  if (newLength < oldLength) {
    // The surplus goes as in a deletion; the text after it keeps its font.
    m_box.DeleteRange({from.paragraph, from.character + kept}, to);
  } else if (newLength > oldLength) {
    CharInfo info;
    info.link = to.character > 0 ? p.infos[Index(to.character - 1)].link : -1;
    p.infos.insert(p.infos.begin() + to.character, Index(newLength - oldLength), info);
    p.text.insert(Index(to.character), Index(newLength - oldLength), ' ');
  }
  p.text.replace(Index(from.character), Index(newLength), text);
  p.spellingMarks.clear();
  m_box.Rebuild(from.paragraph, from.paragraph);
  m_box.LayoutRange(from.paragraph, from.paragraph);
  m_box.SelectRange(from, {from.paragraph, from.character + newLength});
  m_box.EndUpdate();
}

// ---- The container ----

std::string TAEHTextAttributes::WriteContainer(bool keepObjects) const {
  const CharPos from = m_box.SelectionStart();
  const CharPos to = m_box.SelectionEnd();
  std::string out;
  base::AppendI32(out, kContainerText);
  // A copy takes its placed objects along (with the links and images they
  // use); a move within the page keeps the objects themselves.
  const ContainerObjects objects = keepObjects ? ContainerObjects{} : CollectObjects(from, to);
  WriteContainerRecords(out, from, to, &objects);
  base::AppendI32(out, objects.count);
  out += objects.part;
  base::AppendI32(out, to.paragraph - from.paragraph + 1);
  std::string markup;
  for (int i = from.paragraph; i <= to.paragraph; ++i) {
    const int start = i == from.paragraph ? from.character : 0;
    const int end = i == to.paragraph ? to.character : -1;
    // Copied tables take their cells along in the text; otherwise tables
    // go by reference and their cells stay with the live table.
    WriteParagraph(m_box.Paragraph(i), markup, objects.tables.empty() ? WriteMode::Relayout : WriteMode::Store, start,
                   end);
  }
  out += keepObjects ? markup : KeepObjectTags(markup, objects.numbers);
  out.push_back('\0');
  return out;
}

bool TAEHTextAttributes::InsertContainer(std::string_view bytes, std::string_view caption, bool replaceHead,
                                         bool samePage) {
  // A damaged container is refused whole, before any of its records joins
  // the page or the hypertext. Tables or other objects from elsewhere that
  // this box cannot place refuse it too, so that a converter's paste falls
  // back to its text-only form (a table's cells as paragraphs rather than a
  // blank).
  if (!ContainerWellFormed(bytes, !samePage && !containerHooks.addTable, !samePage && !containerHooks.addObject)) {
    return false;
  }
  base::ByteReader reader(bytes);
  std::int32_t version = 0;
  reader.ReadI32(version);
  IdMap map;
  std::int32_t paragraphCount = 0;
  if (!ReadContainerRecords(reader, map, samePage) || !reader.ReadI32(paragraphCount)) return false;
  std::string markup(bytes.substr(reader.Position()));
  // The objects that came along take their new numbers; tags of any other
  // object become blanks, so that a paste never shows an object twice.
  if (!samePage) markup = MapObjectTags(markup, map);

  RichText fresh;
  MarkupStream stream(markup);
  ReadOptions options;
  // Pasted tables bring their cells; within the page they stay what they are.
  options.tablesByReference = samePage;
  // Links and styles of the container become this page's through the map;
  // a link without a record carries nothing rather than a wrong target.
  if (!samePage) options.typedIdMap = &map;
  ReadText(fresh, stream, m_box.Host(), Origin::Text, options);
  // A table pasted into a cell must not nest deeper than a page is read:
  // the paste is refused, and the clipboard's other forms are tried.
  if (containerHooks.tableDepth && NestsTooDeep(fresh, containerHooks.tableDepth())) return false;

  if (m_box.HasSelection()) DeleteSelection();
  EndRuns();
  if (!caption.empty()) m_box.Record(caption);
  m_box.BeginUpdate();
  const CharPos at = m_box.Caret();
  const int head = at.paragraph;
  const int top = m_box.Paragraph(head).top;
  const bool headWasEmpty = m_box.Paragraph(head).Length() == 0;
  m_box.SplitAt(at);
  const int bottom = m_box.Paragraph(head + 1).bottom;
  auto& ps = m_box.Text().paragraphs;
  const int count = static_cast<int>(fresh.paragraphs.size());
  if (count == 0) {
    m_box.Join(head);
    Finish(head, head, at);
    m_box.EndUpdate();
    return false;
  }
  for (int i = 0; i < count; ++i) {
    ps.insert(ps.begin() + head + 1 + i, std::move(fresh.paragraphs[Index(i)]));
  }
  TAEHparag& headParagraph = m_box.Paragraph(head);
  TAEHparag& firstInserted = m_box.Paragraph(head + 1);
  if ((headWasEmpty || replaceHead) && firstInserted.styleIndex > 1) {
    headParagraph.style.SetBase(firstInserted.style.Base());
    headParagraph.style.ClearOverrides();
    headParagraph.styleIndex = firstInserted.styleIndex;
  } else if (firstInserted.style.Base() != headParagraph.style.Base() ||
             firstInserted.styleIndex != headParagraph.styleIndex ||
             firstInserted.style.Font() != headParagraph.style.Font()) {
    // The inserted characters keep their look when their paragraph takes
    // the head's style: the font they had from their own paragraph (a bold
    // first word of pasted RTF, say) becomes a format.
    if (firstInserted.Length() > 0 && firstInserted.infos[0].format < 0 &&
        firstInserted.style.Font() != headParagraph.style.Font()) {
      auto format = std::make_unique<TAEHFontStyle>();
      format->SetBase(firstInserted.style.Base());
      format->Assign(firstInserted.style.Font());
      firstInserted.infos[0].format = static_cast<std::int32_t>(firstInserted.formats.size());
      firstInserted.formats.push_back(std::move(format));
    }
    BoxText::RebaseFormats(firstInserted, headParagraph.style.Base());
    firstInserted.style = headParagraph.style;
    firstInserted.styleIndex = headParagraph.styleIndex;
  }

  int last = head + count;
  CharPos end{last, m_box.Paragraph(last).Length()};
  const int tail = last + 1;
  const bool tailKept = m_box.IsTableParagraph(tail);
  if (!tailKept) {
    m_box.Join(last);
  } else if (m_box.Paragraph(last).Length() == 0 && count > 1) {
    ps.erase(ps.begin() + last);
    --last;
    end = {last, m_box.Paragraph(last).Length()};
  }
  CharPos start{head + 1, 0};
  if (replaceHead) {
    ps.erase(ps.begin() + head);
    --last;
    --end.paragraph;
    start = {head, 0};
  } else if (!m_box.IsTableParagraph(head) && !m_box.IsTableParagraph(head + 1)) {
    const int headLength = m_box.Paragraph(head).Length();
    m_box.Join(head);
    if (end.paragraph == head + 1) end.character += headLength;
    --end.paragraph;
    --last;
    start = {head, headLength};
  }
  last = std::max(last, head);
  // A tail that holds a table stays a paragraph of its own: it still has
  // the place of the paragraph it was split from, so it is laid out too.
  if (tailKept) ++last;
  m_box.Paragraph(head).top = top;
  m_box.Paragraph(last).bottom = bottom;
  m_box.Rebuild(head, last);
  m_box.LayoutRange(head, last);
  m_box.SetSelection(start, end);
  m_box.EndUpdate();
  return true;
}

void TAEHTextAttributes::InsertText(std::string_view text, bool codeMode) {
  const int style = m_box.Paragraph(m_box.Caret().paragraph).styleIndex;
  if (m_formats != nullptr &&
      InsertContainer(m_formats->TextToContainer(text, codeMode, style, m_context), kCaptionClipboard)) {
    return;
  }
  // Without the text converter, or with reference markers this box cannot
  // make objects of yet: every line a paragraph in the caret's style.
  std::string markup;
  int paragraphs = 0;
  std::size_t i = 0;
  while (i <= text.size()) {
    std::size_t eol = text.find_first_of("\r\n", i);
    if (eol == std::string_view::npos) eol = text.size();
    markup += "<Z S" + std::to_string(style) + " >";
    std::string line;
    for (const char c : text.substr(i, eol - i)) {
      // A tab stands as a blank; other control characters are dropped.
      if (c == '\t') line += ' ';
      else if (static_cast<unsigned char>(c) >= 32) line += c;
    }
    markup::AppendEscaped(markup, line);
    ++paragraphs;
    if (eol < text.size() && text[eol] == '\r' && eol + 1 < text.size() && text[eol + 1] == '\n') ++eol;
    i = eol + 1;
  }
  std::string container;
  base::AppendI32(container, kContainerText);
  for (int k = 0; k < 3; ++k) base::AppendI32(container, 0);
  base::AppendI32(container, paragraphs);
  container += markup;
  container.push_back('\0');
  InsertContainer(container, kCaptionClipboard);
}

bool TAEHTextAttributes::InsertRtf(std::string_view rtf) {
  if (m_formats == nullptr) return false;
  if (InsertContainer(m_formats->RtfToContainer(rtf, true, m_context), kCaptionClipboard)) return true;
  // FIXME: a container with link, picture and table records is refused
  // until records can join the page's working copy; until then the text
  // comes with its formats, its links as plain text.
  return InsertContainer(m_formats->RtfToContainer(rtf, false, m_context), kCaptionClipboard);
}

std::string TAEHTextAttributes::SelectedCharacters(std::string_view separator) const {
  std::string out;
  const CharPos from = m_box.SelectionStart();
  const CharPos to = m_box.SelectionEnd();
  for (int i = from.paragraph; i <= to.paragraph; ++i) {
    const std::string& t = m_box.Paragraph(i).text;
    const std::size_t start = i == from.paragraph ? Index(from.character) : 0;
    const std::size_t end = i == to.paragraph ? Index(to.character) : t.size();
    if (i > from.paragraph) out += separator;
    out.append(t, start, end - start);
  }
  return out;
}

std::string TAEHTextAttributes::SelectedText() const { return SelectedCharacters({}); }

std::string TAEHTextAttributes::SelectedMarkup() const {
  const CharPos from = m_box.SelectionStart();
  const CharPos to = m_box.SelectionEnd();
  std::string markup;
  for (int i = from.paragraph; i <= to.paragraph; ++i) {
    const int start = i == from.paragraph ? from.character : 0;
    const int end = i == to.paragraph ? to.character : -1;
    WriteParagraph(m_box.Paragraph(i), markup, WriteMode::Store, start, end);
  }
  markup.push_back('\0');
  return markup;
}

std::string TAEHTextAttributes::SelectedPlainText() const {
  if (m_formats != nullptr) return m_formats->SelectionToText(SelectedMarkup(), m_context);
  // Without the text converter: the characters, CR LF between paragraphs.
  return SelectedCharacters("\r\n");
}

std::string TAEHTextAttributes::SelectedRtf() const {
  if (m_formats == nullptr) return {};
  return m_formats->SelectionToRtf(SelectedMarkup(), m_context);
}

}  // namespace tarn::richtext
