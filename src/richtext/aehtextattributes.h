// The character commands of a box: typing, deleting, splitting paragraphs,
// replacing the selection, and the container in which a selection travels
// on the clipboard and in drag and drop. Each command records one undo
// step with its caption before it changes anything.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "richtext/boxtext.h"
#include "richtext/clipboardformats.h"

namespace tarn::richtext {

inline constexpr std::string_view kCaptionDeletion = "Selection deletion";
inline constexpr std::string_view kCaptionObjectDeletion = "Object deletion";
inline constexpr std::string_view kCaptionReplace = "Replace selection with: ";
inline constexpr std::string_view kCaptionParagraph = "Paragraph insertion";
inline constexpr std::string_view kCaptionTyping = "Text insertion";
inline constexpr std::string_view kCaptionClipboard = "Clipboard insertion";
inline constexpr std::string_view kCaptionDrop = "Drop insertion";

// The container's version numbers: a text selection, a copied picture.
inline constexpr std::int32_t kContainerText = 1;
inline constexpr std::int32_t kContainerPicture = 3;

class TAEHTextAttributes {
 public:
  explicit TAEHTextAttributes(BoxText& box) : m_box(box) {}

  // Deletes the selection ("SelectionMustExists" without one).
  bool DeleteSelection() { return DeleteSelectionImpl(false, false); }
  // Delete and Backspace without a selection: the character after (or
  // before) the caret, or the paragraph break there. Consecutive ones share
  // one undo step.
  void DeleteNext();
  void DeletePrevious();
  // Enter: splits the caret's paragraph.
  void SplitParagraph();
  // A typed character (cp1252) at the caret, replacing the selection.
  bool TypeChar(unsigned char c);
  // Replaces the selected text inside one paragraph and selects the result.
  void ReplaceSelection(std::string_view text);

  // The selection as a container. Without keepObjects the object positions
  // travel as plain blanks (the objects stay where they are).
  std::string WriteContainer(bool keepObjects) const;
  // Inserts a container at the caret. samePage says that the container was
  // written from this page, so that its links and objects are this page's.
  bool InsertContainer(std::string_view bytes, std::string_view caption, bool replaceHead = false,
                       bool samePage = false);
  // Plain text, one paragraph per line, at the caret: in the caret's
  // paragraph style, or in code mode in the style "Code" with reference
  // markers made objects.
  void InsertText(std::string_view text, bool codeMode = false);
  // RTF from another program at the caret; false when nothing could be
  // inserted (no converter, or a container this box cannot take yet).
  bool InsertRtf(std::string_view rtf);
  // The selected characters, paragraphs concatenated.
  std::string SelectedText() const;
  // The selection as a page stores it (tables with their cells), with the
  // byte 0 that ends a text.
  std::string SelectedMarkup() const;
  // The selection as plain text for other programs, lines ended by CR LF.
  std::string SelectedPlainText() const;
  // The selection as RTF; empty without a converter.
  std::string SelectedRtf() const;

  // The converters of the formats other programs use, and what the box's
  // text refers to. Without them only the box's own container and plain
  // characters travel.
  void SetClipboardFormats(ClipboardFormats* formats, ClipboardContext context) {
    m_formats = formats;
    m_context = std::move(context);
  }
  bool HasClipboardFormats() const { return m_formats != nullptr; }

  // Caret moves, clicks and other commands end the runs of typed characters
  // and single deletions. A run also ends by itself when the caret is no
  // longer where the run left it, or when its step is no longer the newest
  // (another step was recorded, or the run's step was undone).
  void EndRuns() {
    m_typing.active = false;
    m_deletion.active = false;
  }
  bool TypingRun() const { return Continues(m_typing); }

  // Typed quotes become typographic ones (a property of the frame set).
  bool autoEngQuote = false;

 private:
  // A run of commands that share one undo step.
  struct Run {
    bool active = false;
    std::uint64_t step = 0;
    CharPos caret;  // where the run left the caret
  };
  bool Continues(const Run& run) const {
    return run.active && !m_box.HasSelection() && m_box.Caret() == run.caret && m_box.IsNewestStep(run.step);
  }
  // single: Delete or Backspace without a selection; continuing: the
  // deletion joins the run's step.
  bool DeleteSelectionImpl(bool single, bool continuing);
  // The selected characters with the separator between paragraphs.
  std::string SelectedCharacters(std::string_view separator) const;
  void Finish(int first, int last, CharPos caret);

  BoxText& m_box;
  Run m_typing;
  Run m_deletion;
  ClipboardFormats* m_formats = nullptr;
  ClipboardContext m_context;
};

}  // namespace tarn::richtext
