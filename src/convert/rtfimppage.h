// The body of an RTF document read into the rich-text markup (TRtfPage):
// paragraphs with their styles and formats, tables, pictures, fields and
// hyperlinks, footnotes, annotations, headers and footers, the hot spots and
// topic footnotes of WinHelp sources. The text is cut into pages at page
// breaks, at headings and when a page holds too many paragraphs.
//
// The reader is a loop over tokens with explicit stacks (groups, the texts
// being written, destinations), never recursion, so any nesting depth in
// the input is safe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "convert/rtfimplexer.h"
#include "convert/rtfimpstate.h"

namespace tarn::document {
class TAEHoggetto;
}

namespace tarn::convert {

class TRtfImp;
class TRtfHeader;
class CodePage;

class TRtfPage {
 public:
  TRtfPage(TRtfImp& run, TRtfHeader& header, rtf::Lexer& lexer, std::string_view documentName);
  ~TRtfPage();
  TRtfPage(const TRtfPage&) = delete;
  TRtfPage& operator=(const TRtfPage&) = delete;

  // Reads up to the end of a page ("\page" or "\sect" in many-pages mode) or
  // of the document; true when another page follows. Pages cut at headings
  // or by the paragraph limit are stored while reading.
  bool ReadPage();
  // Stores the page read; answers its number (-1 in clipboard mode or when
  // nothing was read of a page after the first).
  int StorePage();

 private:
  // One text being written: the page, a footnote, a header, an annotation.
  struct Table {
    bool open = false;
    document::TAEHoggetto* record = nullptr;
    int columns = 0;         // 0 until the first row ends
    int rows = 0;
    int cellInRow = 0;       // cells ended in the current row
    bool lastCellOpen = false;  // cells beyond the columns join the last one
    std::vector<int> firstEdges;             // the first row's cell edges, in twips
    std::vector<std::int32_t> backgrounds;   // one per cell, row by row
    std::vector<std::int32_t> rowBackgrounds;
    int border = 0;  // pixels
    int spacing = -1;
  };
  struct Text {
    std::string markup;
    bool paragraphOpen = false;  // a paragraph tag was written
    bool paragraphPending = true;
    RtfCharFormat written;       // the character format the markup is in
    RtfCharFormat styleChar;     // the paragraph style's, which "<Y" tags restate
    int paragraphs = 0;          // outside tables
    bool visible = false;        // anything but empty paragraphs
    // The link the next characters belong to, and whether its start tag is
    // written in the current paragraph.
    std::string linkTag;
    bool linkWritten = false;
    RtfCharFormat linkBase;      // the look of the text where the link began
    // Placeholders of links to bookmarks and the bookmarks they name.
    std::vector<std::pair<std::size_t, std::string>> bookmarkLinks;
    std::string bookmarkTarget;
    Table table;
  };
  enum class Dest : std::uint8_t {
    kFootnote,
    kHeaderFooter,
    kAnnotation,
    kAuthor,
    kFieldInstruction,
    kFieldResult,
    kField,
    kPicture,
    kBookmark,
    kShapePicture,
  };
  struct Destination {
    Dest kind;
    std::size_t depth;  // the group depth the destination's group opened
    std::string collected;
  };
  struct Picture {
    int type = 0;  // 0 none, 1 metafile, 2 EMF, 3 PNG, 4 JPEG, 5 DIB
    int width = 0, height = 0, goalWidth = 0, goalHeight = 0;
    int scaleX = 100, scaleY = 100;
    bool bitmap = false;
    std::string data;
    int pendingNibble = -1;
  };

  // Tokens.
  void GroupStart();
  void GroupEnd();
  void ControlWord(const rtf::Token& token);
  void ControlSymbol(char symbol);
  void TextBytes(std::string_view bytes);
  void HexByte(unsigned char byte);
  bool StartDestination(const rtf::Token& word, bool starred);
  void EndDestination(Destination& dest);

  // Writing.
  Text& Out() { return m_texts.back(); }
  void PutChar(unsigned char c);
  void PutCharacter(char32_t character);
  void PutText(std::string_view text);
  void HiddenText(std::string_view text);
  // Opens what a character needs (paragraph, format, link); false when the
  // character is not written (hidden text, collected text).
  bool BeginCharacter(bool evenHidden = false);
  RtfCharFormat EffectiveFormat() const;
  void EnsureParagraph();
  void WriteParagraphTag();
  void WriteFormat();
  void EndParagraph();
  void ApplyStyle(int rtfStyle);
  void ApplyPard();
  // The destination that takes text as it stands (a note's or comment's
  // text, a field instruction, a bookmark's name, picture data); none when
  // text goes into the markup.
  Destination* Collector();
  void Collect(std::string_view text);
  bool Collecting() const;

  // Tables.
  void OpenTable();
  void EndCell();
  void EndRow();
  void CloseTable();
  void CellEdge(int twips);

  // Links, pictures, notes.
  void OpenLink(const std::string& tag);
  void CloseLink();
  void FieldInstruction(std::string_view instruction);
  void FinishPicture();
  void PlaceImage(document::TAEHoggetto* image, int naturalWidth, int naturalHeight, int width, int height);
  void FinishFootnote(Text text);
  void FinishAnnotation(std::string text);
  void FinishHotSpot();
  void WinHelpFootnote(std::string_view text);
  void RemoveMark(char mark);

  // Pages.
  bool CutBefore(int rtfStyle);
  void CutPage(bool byHeading);
  document::TAEHoggetto* NewPageForText();
  int StoreInto(Text& text, document::TAEHoggetto* page);
  void ResetPageFields();
  std::string ResolveBitmaps(std::string markup);

  TRtfImp& m_run;
  TRtfHeader& m_header;
  rtf::Lexer& m_lexer;
  std::string m_documentName;
  TRtfStateList m_states;
  std::vector<Text> m_texts;
  std::vector<Destination> m_dests;
  int m_ppi = 96;

  // Unicode fallback characters still to skip, and a lead byte waiting for
  // its trail byte (the East Asian code pages).
  int m_skipFallback = 0;
  int m_pendingLead = -1;
  int m_footnotes = 0;

  // Row definition being read ("\trowd" ... "\cellx").
  std::vector<int> m_rowEdges;
  std::vector<std::int32_t> m_rowCellBackgrounds;
  std::int32_t m_cellPattern = -1;
  std::int32_t m_cellBackground = -1;
  int m_cellShading = 0;
  int m_rowBorder = 0;
  int m_rowGap = -1;
  bool m_inRowBorder = false;
  // The style of the paragraph a table stands in: the one before its first row.
  int m_tableHolderStyle = -1;

  // The field being read.
  std::string m_fieldLink;
  bool m_fieldBookmark = false;
  Picture m_picture;
  // The newer form of the last picture gave a bitmap: its older form is skipped.
  bool m_shapeGaveBitmap = false;
  std::string m_annotationAuthor = "Tarn";

  // The page being read.
  int m_pageInFile = 0;
  // The page record of the text being read, made early when a cut needs its
  // number for the continuation links.
  document::TAEHoggetto* m_currentPage = nullptr;
  std::string m_title;                 // WinHelp "$", or the first heading
  bool m_titleFromHeading = false;
  bool m_collectingHeading = false;
  int m_headingLevel = 0;
  std::string m_context;               // WinHelp "#"
  std::vector<std::string> m_keywords; // WinHelp "K"
  std::vector<std::string> m_footnoteTexts;
  std::vector<std::string> m_bookmarks;
  // WinHelp hot spot: where its link starts and the context it jumps to.
  bool m_hotSpotOpen = false;
  RtfCharFormat m_hotSpotBase;  // the look of the text before it
  std::size_t m_hotSpotAt = 0;
  std::string m_hotSpotContext;
  bool m_readAnything = false;
};

}  // namespace tarn::convert
