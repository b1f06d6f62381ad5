// The body of an exported page: the walk over a page's markup that writes
// its paragraphs with their styles, character formats as B, I, SUB, SUP and
// FONT elements, blanks, entities, links with all their target forms, and
// the places where the objects placed in the text are converted. It is the
// lower half of the HTML converter: what it needs of the export run (file
// names, the file list, expanded object references) it asks through the
// virtual functions below, which TAEHtoHtml implements.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/aehconv.h"
#include "document/objectkinds.h"

namespace tarn::markup {
class TagCodes;
}

namespace tarn::convert {

enum class TExpCSS { ecUseCSS, ecEmulateFF };

// Names of a page file: the main version, the version without its frame
// set, and (by separator only) file objects.
enum NameKind : int { kMainName = 0, kFramelessName = 1, kFileObjectName = 2 };

// What WriteBody writes of a text.
enum BodyMode : int { kTextOnly = 0, kBodyAndText = 1, kFooterText = 2, kBodyTagOnly = 6 };

// Script flags of a page: which generated functions its head needs.
enum ScriptFlag : int {
  kBrowserDetection = 1,
  kRollOverSupport = 2,
  kCloseWindowScript = 4,
  kOpenWindowScript = 8,
  kOpenBrowserScript = 16,
};

// A font as the writer compares it: what it has emitted, what the text
// asks for, and what the paragraph's style gives.
struct HtmlFont {
  std::uint32_t colour = 0;
  std::string face;
  std::int32_t size = 12;
  std::uint8_t flags = 0;     // 1 bold, 2 italic, 4 underline, 8 strike-through
  std::uint8_t position = 0;  // 0 normal, 1 subscript, 2 superscript
};

// What has been written so far in the open paragraph.
struct EmittedState {
  HtmlFont font;
  bool fontOpen = false;
  int alignment = 0;
  int listType = 0;
  int unit = 1;
  int lineHeight = -32000;
  int indent = 0;
  int leftMargin = 10;
  int rightMargin = 10;
  int topMargin = 0;
  int bottomMargin = 0;
  std::uint32_t linkColour = 0xFF0000;
  int linkSize = -1;
  std::uint8_t linkFlags = 4;
};

// The state of one text while it is written (one WriteBody call). Objects
// inside the text work on it too.
struct HtmlText {
  explicit HtmlText(std::string& output) : out(output) {}
  std::string& out;
  EmittedState emitted;
  // Saved states of the texts around nested tables.
  std::vector<EmittedState> stack;
  HtmlFont current;
  HtmlFont styleFont;
  int styleNumber = 0;
  std::uint32_t styleLinkColour = 0xFF0000;
  int styleLinkSize = -1;
  std::uint8_t styleLinkFlags = 4;
  bool paragraphOpen = false;
  bool formatPending = false;
  bool linkOpen = false;
  // The open link's start tag, written again after an anchor inside it.
  std::string linkStart;
  int listCounter = 1;
  bool lastWasBlank = false;
  // Tables being written (innermost last) and the cells opened in each.
  struct Table {
    const TAEHoggetto* record = nullptr;
    int cellsOpened = 0;
  };
  std::vector<Table> tables;
  int formCounter = 0;
};

class THtmlBody : public TAEHconv {
 public:
  TExpCSS ExpCSS = TExpCSS::ecUseCSS;

  // The body part of one page's text, appended to out.
  void WriteBody(std::string& out, int mode, TAEHoggetto& page);

  // The name, relative to ExportPath, under which a record is exported;
  // folders are separated by "/".
  virtual std::string OutputFileName(const TAEHoggetto& record, int nameKind) const = 0;
  // The record's extra HTML with its object references replaced.
  virtual std::string ExpandObjectReferences(const TAEHoggetto& record) = 0;

  // Script flags of the page being written.
  int ScriptFlags() const { return m_scriptFlags; }
  void SetScriptFlags(int flags) { m_scriptFlags |= flags; }
  // The name kind of the page being written.
  int CurrentNameKind() const { return m_nameKind; }

 protected:
  // The objects placed in a text (tables, images, form controls, multimedia,
  // scripts and raw HTML) are converted here; the pending format has been
  // written. Anchors are handled; the other kinds write nothing yet.
  virtual void WriteEmbeddedObject(HtmlText& text, TAEHoggetto& record);
  // A "<T>" in the text: the boundary between two table cells.
  virtual void WriteCellBoundary(HtmlText& text);
  // Adds a record with data to copy (image or file) to the run's file list.
  virtual void AddToFileList(TAEHoggetto* record) = 0;
  // The hypertext's screen resolution, for lengths in other units.
  virtual int PixelsPerInch() const = 0;

  // Text-walk steps that object conversions reuse.
  void WritePendingFormat(HtmlText& text);
  void WriteClosingTags(HtmlText& text);
  void OpenLink(HtmlText& text, TAEHoggetto& record);
  // The target attributes of a link to the record (a page, file, URL or
  // special link), without its extra attributes.
  std::string LinkTargetAttributes(TAEHoggetto& record);
  // ",''" or ",'height=..,width=..,...'" from a special link's window description.
  std::string WindowFeatures(const TAEHoggetto& link) const;
  // The page file a link names: with its frame set, or the frameless version
  // (which then joins the frameless list).
  std::string LinkedPageName(TAEHoggetto& page, bool withFrameSet);

  // The run's frameless list, the page document being written, its name
  // kind and script flags.
  RecordList* m_frameless = nullptr;
  const TAEHoggetto* m_pageWritten = nullptr;
  int m_nameKind = kMainName;
  int m_scriptFlags = 0;

 private:
  void WalkText(HtmlText& text, std::string_view markup);
  void WriteCharacters(HtmlText& text, std::string_view characters);
  void ParagraphStart(HtmlText& text, const markup::TagCodes& codes);
  void CharacterFormat(HtmlText& text, const markup::TagCodes& codes);
  void WriteObjectTag(HtmlText& text, document::ObjectId id);
  void CloseParagraph(HtmlText& text);
  std::string FontElement(const HtmlFont& font, const HtmlFont& base) const;
  std::string LinkDeclarations(const HtmlText& text) const;
  void WriteBodyTag(std::string& out, const TAEHoggetto& page);
};

}  // namespace tarn::convert
