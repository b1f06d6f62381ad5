// The text a box edits, without any widget: its paragraphs (with the shared
// header and footer paragraphs around its own), their layout, the caret, the
// selection, the caret moves, and the paragraph surgery that the editing
// commands are built from. The widget turns keys and the mouse into calls
// on this class; tests drive it directly.
#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "richtext/layout.h"
#include "richtext/markup.h"

namespace tarn::platform {
class Messages;
}

namespace tarn::richtext {

// A place between characters: paragraph index and character index.
struct CharPos {
  int paragraph = 0;
  int character = 0;
  auto operator<=>(const CharPos&) const = default;
};

// What the last caret move ran into. The table statuses let a box hand the
// caret to a table cell, or a cell hand it back to its box.
enum class Boundary {
  Moved = 0,
  BeforeStart = 1,
  AfterEnd = 2,
  AboveFirst = 3,
  BelowLast = 4,
  TableLeft = 5,
  TableRight = 6,
  TableUp = 7,
  TableDown = 8,
};

// Undo steps come in two kinds: deletions keep the removed text (with
// its tables' cells and objects), every other change keeps the touched
// paragraphs. A character deleted on its own (Delete, Backspace) puts the
// caret after it when undone.
enum class UndoKind { Ordinary, Deletion, CharacterDeletion };

// Told before each change to the text, with the change's caption, so that
// the change can be undone: it saves what the change may alter (the
// paragraphs from the selection's start to its end, or the caret's
// paragraph). The undo layer implements it (undo::TextBoxControl).
class EditRecorder {
 public:
  virtual ~EditRecorder() = default;
  // Answers a number for the step (0 when none was recorded).
  virtual std::uint64_t Record(std::string_view caption, UndoKind kind) = 0;
  // The number of the newest step of the undo list.
  virtual std::uint64_t NewestStep() const = 0;
};

enum class CaretMove {
  CharLeft, CharRight, LineUp, LineDown, WordLeft, WordRight,
  ParagraphUp, ParagraphDown, LineStart, LineEnd, TextStart, TextEnd,
};

// The characters that end a word: the blank, "!", the double quote, "'" to
// "/", ":" to "?", "{" to "~", and the two curly double quotes.
bool IsWordSeparator(unsigned char c);

class BoxText {
 public:
  BoxText(TextHost& host, platform::TextMeasurer& measurer, platform::Messages* messages);

  RichText& Text() { return m_text; }
  const RichText& Text() const { return m_text; }
  TextLayout& Layout() { return m_layout; }
  const TextLayout& Layout() const { return m_layout; }
  TextHost& Host() { return m_host; }
  platform::Messages* Messages() { return m_messages; }
  void SetMessages(platform::Messages* messages) { m_messages = messages; }
  TAEHparag& Paragraph(int index) { return *m_text.paragraphs[static_cast<std::size_t>(index)]; }
  const TAEHparag& Paragraph(int index) const { return *m_text.paragraphs[static_cast<std::size_t>(index)]; }
  int ParagraphCount() const { return static_cast<int>(m_text.paragraphs.size()); }

  // Loads the box's own text (working markup) between the shared header
  // and footer texts, lays everything out and puts the caret at the start.
  // A text still in the first text format (version 1) is refused.
  bool LoadText(std::string_view content, std::string_view header = {}, std::string_view footer = {},
                int version = 2);
  // Told before LoadText reads each of the three texts: the header, the own
  // text and the footer number their placed objects separately, so the
  // owner may switch the object lookup between them.
  std::function<void(Origin)> onReadSection;
  // The box's own paragraphs in Store mode followed by a byte 0.
  std::string SaveText() const;
  // Writes paragraphs first..last in Relayout mode and reads them back, so
  // that measurements follow changed styles and formats. The rebuilt
  // paragraphs keep their origin, the first one's top and the last one's
  // bottom, so that laying out the range shifts what follows correctly.
  void Rebuild(int first, int last);
  // Lays out the range (and shifts the paragraphs after it).
  void LayoutRange(int first, int last) { m_layout.LayoutRange(first, last); }
  void LayoutAll() { m_layout.LayoutAll(); }

  int HeaderCount() const { return m_layout.headerCount; }
  int FooterCount() const { return m_layout.footerCount; }
  int FirstOwn() const { return m_layout.headerCount; }
  int LastOwn() const { return ParagraphCount() - 1 - m_layout.footerCount; }
  bool IsOwn(int paragraph) const { return paragraph >= FirstOwn() && paragraph <= LastOwn(); }
  bool IsTableParagraph(int paragraph) const;
  CharPos TextStartPos() const { return {FirstOwn(), 0}; }
  CharPos TextEndPos() const { return {LastOwn(), Paragraph(LastOwn()).Length()}; }

  // The caret, and where it stands on screen. At a soft line break the
  // caret remembers on which of the two lines it stands.
  CharPos Caret() const { return m_caret; }
  TextPos CaretPos() const;
  void SetCaret(CharPos pos);
  void SetCaret(const TextPos& pos);

  // The selection: an anchor and an active end; the caret is kept at the
  // active end by the callers that extend it.
  bool HasSelection() const { return m_hasSelection; }
  CharPos Anchor() const { return m_anchor; }
  CharPos ActiveEnd() const { return m_active; }
  CharPos SelectionStart() const;
  CharPos SelectionEnd() const;
  bool InSelection(CharPos pos) const;
  // from..to becomes the selection and the caret goes to from; an empty
  // range clears the selection.
  void SelectRange(CharPos from, CharPos to);
  // The selection from anchor to active end, with the caret at the active end.
  void SetSelection(CharPos anchor, CharPos active);
  void ClearSelection();
  void SelectAll();
  Selection LayoutSelection() const;
  // The word under a position with the blanks after it (double click).
  void SelectWordAt(CharPos pos);

  // Caret moves: each answers the new position and sets the boundary status.
  TextPos Move(CaretMove move, const TextPos& from);
  Boundary LastBoundary() const { return m_boundary; }

  // While above 0, the box ignores input and the page defers repainting.
  void BeginUpdate() { ++m_updateDepth; }
  void EndUpdate();
  int UpdateDepth() const { return m_updateDepth; }
  std::function<void()> onUpdateEnded;

  // ---- Paragraph surgery, used by the editing commands ----

  // The font in which a character typed at the position shows: the font of
  // the character before it, or the paragraph's font at its start.
  static TMyFont TypingFont(const TAEHparag& p, int c);
  // Removes from..to (from before to); the text after the range keeps its
  // look, paragraphs between are freed and the ends are joined.
  void DeleteRange(CharPos from, CharPos to);
  // Splits the paragraph at the position; the new paragraph (answered)
  // starts in the font before the position.
  int SplitAt(CharPos at);
  // Appends paragraph index + 1 to paragraph index, keeping the look of both.
  void Join(int index);
  // Gives the paragraph a new base style and rewrites its formats so that
  // its characters keep their fonts.
  static void RebaseFormats(TAEHparag& p, const TAEHoggetto* newBase);

  // Every change of the text is announced here before it is made.
  EditRecorder* recorder = nullptr;
  std::uint64_t Record(std::string_view caption, UndoKind kind = UndoKind::Ordinary) {
    return recorder != nullptr ? recorder->Record(caption, kind) : ++m_steps;
  }
  // Whether the step is still the newest one: a run of typed characters
  // (or of single deletions) joins its step only while nothing else was
  // recorded or undone since.
  bool IsNewestStep(std::uint64_t step) const {
    return step != 0 && step == (recorder != nullptr ? recorder->NewestStep() : m_steps);
  }

 private:
  CharPos ClampOwn(CharPos pos) const;
  TextPos ToTextPos(CharPos pos) const { return m_layout.PositionToPoint(pos.paragraph, pos.character); }
  TextPos WordLeft(const TextPos& from);
  TextPos WordRight(const TextPos& from);
  TextPos LineUpDown(const TextPos& from, bool down);

  TextHost& m_host;
  platform::Messages* m_messages;
  RichText m_text;
  TextLayout m_layout;
  CharPos m_caret;
  int m_caretLine = -1;
  CharPos m_anchor;
  CharPos m_active;
  bool m_hasSelection = false;
  Boundary m_boundary = Boundary::Moved;
  int m_updateDepth = 0;
  // Steps counted when no recorder listens.
  std::uint64_t m_steps = 0;
};

}  // namespace tarn::richtext
