// The plain-text converter: pages of a hypertext as one text file, a piece
// of markup as plain text (the clipboard's text, the code editor's file),
// text files as new pages, and plain text as the container a text box
// inserts. Text files in UTF-8 or UTF-16 are recognised and converted;
// characters the document code page lacks become a visible "?" and are
// counted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/aehconv.h"
#include "convert/importrecords.h"

namespace tarn::convert {

class TAEHtoTxt : public TAEHconv {
 public:
  // The background of new pages (the import dialog sets it).
  ImportBackground ImportBackgroundOfPages;
  // Imported text is cut into pages of at most this many paragraphs, linked
  // by continuation links; 0 keeps each file on one page.
  int ParagraphsPerPage = 0;

  // The context of a text held by a text box. The page whose working list
  // of links the text's link values of kind 111 name, and the box's index
  // of placed objects (object tags "<$FF..."): both may be absent, and the
  // page is forgotten after every text.
  const TAEHoggetto* ContextPage = nullptr;
  std::function<const TAEHoggetto*(std::int32_t number)> PlacedObject;
  // The working list of links of ContextPage: the record of a kind 111 value.
  std::function<const TAEHoggetto*(std::int32_t number)> WorkingLink;

  void ConvertText(std::string_view markup, std::string& out) override;
  bool ExportPageList(const std::vector<int>& pages) override;
  bool ExportSinglePage(int page, RecordList& files, RecordList& exportedPages) override;
  int ImportFiles(const std::vector<std::filesystem::path>& files, bool flag) override;
  void ConvertPaste(std::string_view source, std::string& container, int codeMode, int styleNumber) override;

  // The bytes of one text file as new pages (its encoding recognised);
  // answers the first page, -1 when none could be made.
  int ImportFileText(std::string_view bytes);

  // The plain text of a markup text (without the byte 0 ConvertText adds).
  std::string PlainText(std::string_view markup);
  // The paragraphs of a text as markup of one style (code mode: markers
  // become the objects appended to objects).
  std::string TextToMarkup(std::string_view text, int styleNumber, bool codeMode,
                           std::vector<std::unique_ptr<TAEHoggetto>>* objects, int* paragraphs);

  // Characters replaced by "?" in the last import or paste.
  std::size_t ReplacedCharacters() const { return m_replaced; }
  // Pages made by the last import.
  int PagesMade() const { return m_pagesMade; }

  // The style of code: "Code", made when the hypertext has none.
  int CodeStyle();

 private:
  int ImportText(std::string_view text);

  std::size_t m_replaced = 0;
  int m_pagesMade = 0;
  std::size_t m_pageCursor = 0;
};

// Plain text split into lines at CR, LF and CR LF; a final line break starts
// no further line.
std::vector<std::string_view> SplitLines(std::string_view text);
// A line of plain text for the markup: a tab becomes eight blanks, "&", "<"
// and ">" entities; other control characters (NUL bytes among them, which
// would end the stored text) are dropped.
void AppendTextLine(std::string& markup, std::string_view line);

}  // namespace tarn::convert
