// The character commands of a box: typing, deleting, splitting paragraphs,
// replacing the selection, and the container in which a selection travels
// on the clipboard and in drag and drop. Each command records one undo
// step with its caption before it changes anything.
#pragma once

#include <optional>
#include <set>
#include <vector>
#include <string>
#include <string_view>
#include <utility>

#include "base/bytes.h"
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
inline constexpr std::string_view kCaptionPlaceObject = "Object insertion";

// The container's version numbers: a text selection, a copied picture.
inline constexpr std::int32_t kContainerText = 1;
inline constexpr std::int32_t kContainerPicture = 3;

// Whether the tables of a text, placed in a box `depth` tables deep, nest
// deeper than a page's text is read.
bool NestsTooDeep(const RichText& text, int depth);

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
  // Places the page's object with this number at the caret, replacing the
  // selection, as one undo step with the caption; a table gets a paragraph
  // of its own. The caret goes after it.
  bool InsertObject(std::int32_t number, std::string_view caption = kCaptionPlaceObject);
  // Moves the selection (objects and all) to the position, as one undo
  // step "Drop insertion"; false onto the selection itself.
  bool MoveSelection(CharPos at);
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
    m_pending = {};
  }
  bool TypingRun() const { return Continues(m_typing); }

  // Typed quotes become typographic ones (a property of the frame set).
  bool autoEngQuote = false;

  // ---- Character formats and links (formatting.cpp) ----
  // With a selection each changes the selected characters (one undo step);
  // without one the value waits, pending, for the next typed character.
  void SetColor(std::uint32_t colour);
  void SetFace(std::string_view face);
  void SetSize(std::int32_t points);
  void SetStyleBits(std::uint8_t bits);
  void ChangeStyleBits(std::uint8_t set, std::uint8_t clear);
  void SetPosition(std::uint8_t position);
  // Gives the selected characters the link value (-1 removes links);
  // "Selection must exists!" without a selection.
  bool SetLink(std::int32_t link);
  // What the toolbars show: the pending value when one waits, else the font
  // at the selection start (or before the caret), and the link there.
  TMyFont CaretFont() const;
  std::uint32_t Color() const { return CaretFont().colour; }
  std::string Face() const { return CaretFont().face; }
  std::int32_t Size() const { return CaretFont().size; }
  std::uint8_t StyleBits() const { return CaretFont().style; }
  std::uint8_t Position() const { return CaretFont().position; }
  std::int32_t Link() const;
  bool HasPending() const;

  // How a container carries the link and style records of its selection,
  // and how those of a pasted container become records of this page and
  // hypertext. Records travel in the object layer's transfer form. Unset,
  // a container carries none and pasted links are dropped.
  struct ContainerHooks {
    // The kind and transfer form of the link record behind a link value;
    // kind -1 when there is none.
    std::function<std::pair<int, std::string>(std::int32_t link)> linkRecord;
    // The transfer form of a style record; empty when there is none.
    std::function<std::string(int styleIndex)> styleRecord;
    // A pasted link record: answers the link value it has on this page
    // (-1: the characters carry no link).
    std::function<std::int32_t(int kind, std::string_view record)> addLink;
    // A pasted style record: answers the index of an equal style of the
    // hypertext or of the new one (-1: the paragraph takes the first style).
    std::function<int(std::string_view record)> addStyle;

    // ---- Placed objects (pictures, form controls, buttons, floating frames) ----
    // What a placed object of the selection takes along: its kind and
    // transfer form, the link values its fields refer to (click zones,
    // a button's link) and the images it shows (ObjectId, transfer form).
    struct ObjectRecords {
      int kind = -1;
      std::string record;
      std::vector<std::int32_t> links;
      std::vector<std::pair<std::int32_t, std::string>> images;
    };
    // Kind -1: the object stays behind (a blank takes its place).
    std::function<ObjectRecords(std::int32_t number)> objectRecord;
    // A pasted image record: answers the ObjectId of an equal image of the
    // hypertext or of the new one (-1: none).
    std::function<std::int32_t(std::string_view record)> addImage;
    // A pasted special link, its target translated through the map.
    std::function<std::int32_t(std::string_view record, const IdMap& map)> addSpecialLink;
    // A pasted object: its references are translated through the map and it
    // is placed on the page; answers its number there (-1: not placed).
    std::function<std::int32_t(int kind, std::string_view record, const IdMap& map)> addObject;

    // ---- Tables (tableclipboard.cpp) ----
    // A pasted table record becomes a table of this page, its background
    // images translated through the map: answers its number (-1: the
    // table cannot be placed). Its cells come with the pasted text.
    std::function<std::int32_t(std::string_view record, const IdMap& map)> addTable;
    // How many tables hold the box (0 for a page's own text).
    std::function<int()> tableDepth;
  };
  ContainerHooks containerHooks;

 private:
  // Character formats chosen while nothing was selected.
  struct Pending {
    std::optional<std::uint32_t> colour;
    std::optional<std::string> face;
    std::optional<std::int32_t> size;
    std::optional<std::uint8_t> style;
    std::optional<std::uint8_t> position;
    CharPos caret;
    bool Any() const { return colour || face || size || style || position; }
    void ApplyTo(TMyFont& font) const;
  };
  // The placed objects of a selection that travel in a container.
  struct ContainerObjects {
    std::vector<std::int32_t> numbers;  // the objects whose tags stay
    std::set<std::int32_t> links;       // link values their fields name
    std::vector<std::string> images;    // shared image records
    std::string part;                   // the objects part: count, then kind, identifier, record
    std::int32_t count = 0;
    // The travelling tables (nested ones too): their cells go in the
    // markup, with the links and styles the cells use.
    std::vector<const EmbeddedObject*> tables;
  };
  ContainerObjects CollectObjects(CharPos from, CharPos to) const;
  // ---- Tables in the container (tableclipboard.cpp) ----
  // Adds the objects placed in a text range, and in the cells of the
  // tables among them, to `result` (tables no deeper than a page is read).
  void CollectPlaced(const TAEHparag& p, int from, int to, ContainerObjects& result, std::set<std::int32_t>& images,
                     int depth) const;
  // The links and styles that the cells of the tables use.
  static void CollectTableRecords(const std::vector<const EmbeddedObject*>& tables, std::set<std::int32_t>& links,
                                  std::set<int>& styles);
  // Reads the objects part of a container into the map (the old object
  // tag, 0xFF and its number, to the new one); false when the bytes end
  // too soon or the container brings what this box cannot place.
  bool ReadContainerObjects(base::ByteReader& in, IdMap& map, bool samePage) const;
  // The link and style records of the selection, as the container holds them.
  void WriteContainerRecords(std::string& out, CharPos from, CharPos to,
                             const ContainerObjects* objects = nullptr) const;
  // Reads the records of a container (links, shared records, objects) into
  // the map of old to new values; false when the bytes end too soon.
  bool ReadContainerRecords(base::ByteReader& in, IdMap& map, bool samePage) const;
  // The frame of a command on the selection: the undo step, then the
  // change between BeginUpdate and EndUpdate, the touched paragraphs
  // measured and laid out again, and the selection kept.
  struct SelectionCommand {
    CharPos from, to, anchor, active;
  };
  SelectionCommand BeginSelectionCommand(std::string_view caption);
  void FinishSelectionCommand(const SelectionCommand& command);
  // Changes one field of the selected characters' fonts.
  void ApplyCharacterFormat(std::string_view caption, const std::function<void(TMyFont&)>& change);
  // The new character at `at` takes the pending formats; the one after it
  // keeps the typing font.
  void ApplyPending(TAEHparag& p, int at, const TMyFont& typingFont);
  Pending& PendingAtCaret();
  Pending m_pending;


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
