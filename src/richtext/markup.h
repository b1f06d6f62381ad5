// The markup of rich text: reading a stored text into paragraphs with their
// styles, character formats, links and embedded objects, and writing
// paragraphs back in the canonical form.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "markup/tokenizer.h"
#include "richtext/styles.h"

namespace tarn::richtext {

// Per character position: measurements and what starts or applies there.
struct CharInfo {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t ascent = 0;
  std::int32_t format = -1;  // index into the paragraph's formats, -1 none starts here
  std::int32_t object = -1;  // index into the paragraph's objects
  std::int32_t link = -1;    // link value, -1 no link
  std::int32_t reserved = 0;
};

// One line of a laid-out paragraph; the reader makes the first one.
struct TAEHline {
  std::int32_t firstChar = 0;
  std::int32_t charCount = 0;
  std::int32_t maxAscent = 0;
  std::int32_t height = 0;
  std::int32_t top = 0;          // relative to the paragraph's content top
  std::int32_t alignOffset = 0;
  std::int32_t leftOffset = 0;
  std::int32_t usedWidth = 0;
};

class RichText;

// An object placed in a text at one character position. Tables carry rich
// texts of their own, one per cell.
class EmbeddedObject {
 public:
  virtual ~EmbeddedObject() = default;
  // The object's number in the page's object index (24 bits).
  virtual std::int32_t Identifier() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool IsTable() const { return false; }
  virtual int Rows() const { return 0; }
  virtual int Columns() const { return 0; }
  virtual RichText* Cell(int /*row*/, int /*column*/) { return nullptr; }

  // Layout and painting. The record kind (form fields 20..22 stand two
  // pixels taller than their control); the vertical alignment (3 hangs from
  // the baseline, 4 is centred on it, anything else stands on it); whether
  // the object shows in the current mode.
  virtual int RecordKind() const { return -1; }
  virtual int VerticalAlignment() const { return 4; }
  virtual bool Shown() const { return true; }
  // Told the width available on its line before it is measured.
  virtual void SetAvailableWidth(int /*width*/) {}
  // Layout hides an object and marks it; the next paint places it.
  virtual void Hide() { markedForPlacing = true; }
  virtual void Place(int x, int y) {
    placedX = x;
    placedY = y;
    markedForPlacing = false;
  }
  bool markedForPlacing = true;
  int placedX = -20000;
  int placedY = 0;
};

enum class WriteMode { Store = 0, Relayout = 1, Continuation = 2, TableRange = 3 };

// Where a paragraph comes from when a box shows shared header or footer text.
enum class Origin { Text = 0, Header = 1, Footer = 2 };

class TAEHparag {
 public:
  std::string text;
  std::vector<CharInfo> infos;  // one per character plus one for the end
  std::vector<std::unique_ptr<TAEHFontStyle>> formats;
  // The objects at the paragraph's object positions; they belong to the
  // page's object index and outlive rebuilt paragraphs.
  std::vector<EmbeddedObject*> objects;
  TAEHParaStyle style;
  std::vector<TAEHline> lines;
  Origin origin = Origin::Text;
  // The base style's number in the hypertext's style list.
  int styleIndex = 0;

  // Layout: set by the layout of the box that shows the paragraph.
  std::int32_t top = 0;          // first pixel, before the space before
  std::int32_t bottom = 0;       // last pixel
  std::int32_t layoutWidth = 0;
  std::int32_t fontHeight = 0;   // height of the paragraph's effective font
  std::int32_t listNumber = 1;   // place in a run of numbered paragraphs
  // One byte per character: "!" marks a misspelt word's character.
  std::string spellingMarks;

  int Length() const { return static_cast<int>(text.size()); }
  // The format that applies at position i (the paragraph font when none).
  TMyFont FontAt(int i) const;
};

class RichText {
 public:
  std::vector<std::unique_ptr<TAEHparag>> paragraphs;
};

struct CharMetrics {
  int width = 0;
  int height = 0;
  int ascent = 0;
};

// What the reader needs from the box it reads for.
class TextHost {
 public:
  virtual ~TextHost() = default;
  // A style record of the hypertext; nothing beyond the list.
  virtual const TAEHoggetto* StyleRecord(int index) = 0;
  // The slots of the style list, deleted styles included (StyleRecord
  // answers nothing for those).
  virtual int StyleSlots() = 0;
  // The placed object with this number in the page's object index.
  virtual EmbeddedObject* FindObject(std::int32_t identifier) = 0;
  // A handle for measuring in a font; cheap to call again with the same font.
  virtual int FontHandle(const TMyFont& font) = 0;
  // The next character's metrics; its width is taken as a pair with the
  // character measured before it, until ResetMeasure.
  virtual CharMetrics Measure(int fontHandle, unsigned char c) = 0;
  virtual void ResetMeasure() {}
  // The advance widths of all 256 characters in a font, when the host keeps
  // such a table (it lets runs of text be measured without a call per
  // character); nothing otherwise.
  virtual const int* WidthTable(int /*fontHandle*/) { return nullptr; }
  // "Truncated line!": fontName selects the caption ("Information" for a
  // font name, "Error!" for a number or colour).
  virtual void TruncatedLine(bool fontName) = 0;
};

using IdMap = std::unordered_map<std::int32_t, std::int32_t>;

// A text being read: the bytes up to the first byte 0, read as tokens from
// a position that the paragraphs of a text and of its table cells share.
class MarkupStream {
 public:
  explicit MarkupStream(std::string_view text) : tokens(markup::TextPart(text)) {}
  std::string_view Text() const { return tokens.Text(); }
  std::size_t Position() const { return tokens.Position(); }
  void SetPosition(std::size_t pos) { tokens.SetPosition(pos); }
  bool AtEnd() const { return tokens.AtEnd(); }

  markup::Tokenizer tokens;
  // Tables whose cells are being read, against tables nested in themselves.
  std::vector<const EmbeddedObject*> openTables;
};

struct ReadOptions {
  bool tablesByReference = false;
  const IdMap* typedIdMap = nullptr;   // style indexes (type 17), link values of kind 111
  const IdMap* objectIdMap = nullptr;  // 24-bit object numbers
};

struct ReadResult {
  bool endOfText = true;
  bool produced = false;  // false: the caller discards the paragraph
};

ReadResult ReadParagraph(TAEHparag& paragraph, MarkupStream& stream, TextHost& host,
                         const ReadOptions& options = {});
// Reads paragraphs into the text until one ends the text, the position does
// not move, or the stream ends.
void ReadText(RichText& text, MarkupStream& stream, TextHost& host, Origin origin = Origin::Text,
              const ReadOptions& options = {});

void WriteParagraph(const TAEHparag& paragraph, std::string& out, WriteMode mode, int from, int to);
void WriteWholeParagraph(const TAEHparag& paragraph, std::string& out, WriteMode mode);
// All paragraphs in Store mode followed by the byte 0 that ends a text.
std::string WriteText(const RichText& text);

}  // namespace tarn::richtext
