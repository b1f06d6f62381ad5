// The plain-text converter's export half: markup walked into plain text,
// tables row by row with tabs between cells, reference markers written back;
// pages into one text file. See aehtotxt.h.
#include <vector>

#include "base/filestream.h"
#include "base/hex.h"
#include "convert/aehtotxt.h"
#include "convert/pagemarkup.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "markup/tokenizer.h"
#include "richtext/localform.h"

namespace tarn::convert {

using document::TAEHoggetto;
using markup::TokenKind;

namespace {

constexpr std::uint32_t kWorkingLinkKind = richtext::kLocalLinkKind;
constexpr std::uint32_t kPlacedObjectKind = markup::kObjectTagKind;
constexpr int kFirstMarker = 21;
constexpr int kLastMarker = 28;
constexpr int kParameterMarker = document::field::kShortParameter;
constexpr std::string_view kMarkerNames[] = {"!RefI:", "!RefL:", "!RefP:", "!RefF:",
                                            "!RefX:", "!RefY:", "!ReCP:", "!ReCF:"};

struct OpenTable {
  int columns = 1;
  int total = 1;
  int remaining = 1;
};

}  // namespace

std::string TAEHtoTxt::PlainText(std::string_view text) {
  std::string out;
  text = markup::TextPart(text);
  const std::size_t first = text.find('<');
  if (first == std::string_view::npos) return out;
  out.reserve(text.size());
  bool firstParagraph = true;
  std::vector<OpenTable> tables;
  markup::Tokenizer tokens(text, first);
  for (markup::Token token = tokens.Next(); token.kind != TokenKind::kEnd; token = tokens.Next()) {
    if (!token.closed) break;  // a tag without its ">" ends the text
    switch (token.kind) {
      case TokenKind::kText:
        out += token.text;
        break;
      case TokenKind::kEntity:
        if (token.character >= 32) out.push_back(static_cast<char>(token.character));
        break;
      case TokenKind::kParagraphTag:
        if (firstParagraph) firstParagraph = false;
        else if (tables.empty()) out += "\r\n";
        break;
      case TokenKind::kCellEnd: {
        if (tables.empty()) break;
        OpenTable& table = tables.back();
        const int ended = table.total - table.remaining;
        out += (ended % table.columns + 1 != table.columns) ? "\t" : "\r\n";
        firstParagraph = true;
        if (--table.remaining <= 0) tables.pop_back();
        break;
      }
      case TokenKind::kReference: {
        const std::uint32_t kind = token.value >> 24;
        const auto number = static_cast<std::int32_t>(token.value & 0xFFFFFF);
        const TAEHoggetto* record = nullptr;
        if (kind == kPlacedObjectKind) record = PlacedObject ? PlacedObject(number) : nullptr;
        else if (kind == kWorkingLinkKind) record = WorkingLink && ContextPage != nullptr ? WorkingLink(number) : nullptr;
        else if (LinkedAEHset() != nullptr) record = LinkedAEHset()->GetObjectById(static_cast<document::ObjectId>(token.value));
        if (record == nullptr || record->IsFree()) break;
        if (record->Kind() == document::tabellaHtml) {
          OpenTable table;
          table.columns = std::max<int>(1, record->U8(document::field::kTableColumns));
          table.total = std::max<int>(1, record->U8(document::field::kTableRows)) * table.columns;
          table.remaining = table.total;
          tables.push_back(table);
          if (tables.size() == 1) firstParagraph = true;
        } else if (record->Kind() == document::shortObj && record->Subtype() >= kFirstMarker &&
                   record->Subtype() <= kLastMarker) {
          out += kMarkerNames[record->Subtype() - kFirstMarker];
          if (record->Subtype() == kParameterMarker) {
            std::string content = record->ReadContent().value_or(std::string());
            out += content.substr(0, content.find('\0')) + "!";
          } else {
            base::AppendHex(out, static_cast<std::uint32_t>(record->I32(document::field::kShortValue)), 8);
          }
        }
        break;
      }
      default:
        break;
    }
  }
  return out;
}

void TAEHtoTxt::ConvertText(std::string_view markup, std::string& out) {
  out += PlainText(markup);
  out.push_back('\0');
  ContextPage = nullptr;
}

bool TAEHtoTxt::ExportPageList(const std::vector<int>& pages) {
  document::TAEHset* set = LinkedAEHset();
  if (set == nullptr) return false;
  SetErrorText({});
  base::WriteFile file;
  bool ok = file.Create(ExportFileName);
  for (std::size_t i = 0; ok && i < pages.size(); ++i) {
    TAEHoggetto* page = set->GetObject(document::testoHtml, pages[i]);
    if (page != nullptr && !page->IsFree()) ok = file.Write(PlainText(PageMarkup(*page).Text()));
    ReportProgress(static_cast<int>(i), static_cast<int>(pages.size()), kPhasePages);
    ProcessPendingEvents();
    if (Cancelled()) {
      (void)file.Close();
      SetErrorText(kExportCancelled);
      return false;
    }
  }
  ok = file.Close() && ok;
  if (!ok) SetErrorText("Error writing file " + ExportFileName.string());
  return ok;
}

bool TAEHtoTxt::ExportSinglePage(int number, RecordList& /*files*/, RecordList& /*exportedPages*/) {
  document::TAEHset* set = LinkedAEHset();
  if (set == nullptr) return false;
  SetErrorText({});
  TAEHoggetto* page = set->GetObject(document::testoHtml, number);
  std::string text;
  if (page != nullptr && !page->IsFree()) text = PlainText(PageMarkup(*page).Text());
  if (!base::WriteWholeFile(ExportFileName, text)) {
    SetErrorText("Error writing file " + ExportFileName.string());
    return false;
  }
  return true;
}

}  // namespace tarn::convert
