// The RTF converter's walk over a text's markup: paragraphs with their
// styles and lists, character formats, links (help hot spots, or hyperlink
// fields), tables flattened into rows, comments and pictures. See aehtortf.h.
#include <algorithm>
#include <memory>

#include "base/cp1252.h"
#include "base/hex.h"
#include "base/winpath.h"
#include "convert/aehtortf.h"
#include "convert/htmlwords.h"
#include "convert/pagemarkup.h"
#include "convert/rtfexportwords.h"
#include "convert/rtfimpheader.h"
#include "convert/rtfpicture.h"
#include "document/aehset.h"
#include "document/imagecodec.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "markup/tokenizer.h"
#include "platform/messages.h"
#include "richtext/localform.h"

namespace tarn::convert {

using namespace document;
using namespace document::field;
using markup::Code;
using markup::TokenKind;
using richtext::TMyFont;

namespace {

using document::field::style::kBold;
using document::field::style::kItalic;
using document::field::style::kUnderline;
constexpr std::uint8_t kStrike = document::field::style::kStrikeout;
constexpr int kNumbered = document::field::style::kListNumbered;
constexpr int kBulleted = document::field::style::kListBullet;
constexpr int kLineHeightSet = -19999;
constexpr std::uint32_t kWorkingLinkKind = richtext::kLocalLinkKind;
constexpr std::uint32_t kPlacedObjectKind = markup::kObjectTagKind;
constexpr std::int32_t kImageBackground = 0x02000000;
constexpr int kFreeColumnTwips = 30;
constexpr int kNarrowestText = 1000;
constexpr int kBorderThick = 75;
constexpr std::size_t kAuthorLength = 50;
constexpr std::size_t kHexPerLine = 64;
constexpr std::string_view kSymbolFace = "Symbol";
constexpr std::string_view kTruncated = "Truncated line!";
// Column width kinds of a table.
constexpr int kPercentColumn = 0;
constexpr int kFixedColumn = 1;

TMyFont StyleFontOf(const TAEHoggetto* style) { return richtext::StyleFont(style); }

void AppendHexData(std::string& out, std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0 && i % kHexPerLine == 0) out += "\r\n";
    base::AppendHex(out, static_cast<unsigned char>(bytes[i]), 2);
  }
}

}  // namespace

// A paragraph's settings: its style's with the paragraph tag's overrides.
struct TAEHtortf::Paragraph {
  TMyFont font;
  RtfParaFormat format;
  bool inTable = false;
};

struct TAEHtortf::Table {
  const TAEHoggetto* record = nullptr;
  int columns = 1;
  int total = 1;
  int remaining = 1;
};

// The state of one text while it is written.
struct TAEHtortf::Text {
  explicit Text(std::string& output) : out(output) {}
  std::string& out;
  // No "\par" before the first paragraph, nor before the first of a cell.
  bool firstParagraph = true;
  bool paragraphHasContent = false;
  TMyFont styleFont;  // the paragraph style's font, which absent codes take
  Paragraph paragraph;
  TMyFont current;
  TMyFont last;
  bool lastValid = false;
  const TAEHoggetto* link = nullptr;
  bool fieldOpen = false;
  std::vector<Table> tables;
  // After a table, text of the paragraph that held it needs its format again.
  bool afterTable = false;
  std::string holderFormat;
  std::string tableHolderFormat;  // of the paragraph that holds the outermost table
  int tableLeft = 0;
  int tableRight = 0;
  TMyFont tableFont;
};

TAEHtortf::Paragraph TAEHtortf::ParagraphOf(const TAEHoggetto* style) {
  Paragraph p;
  p.font = StyleFontOf(style);
  if (style != nullptr) p.format = ParaFormatOf(*style, style->Index());
  return p;
}

namespace {

// The character codes present in a tag over a font.
void ApplyCharacterCodes(const markup::TagCodes& codes, TMyFont& font, bool formatTag) {
  if (codes.Has(Code::kColour)) font.colour = codes.Colour(Code::kColour) & 0xFFFFFF;
  if (codes.Has(Code::kFace)) font.face = std::string(codes.Face());
  if (codes.Has(Code::kSize)) font.size = codes.Number(Code::kSize);
  auto setBit = [&font](std::uint8_t bit, bool on) {
    font.style = static_cast<std::uint8_t>(on ? font.style | bit : font.style & ~bit);
  };
  if (formatTag && codes.Has(Code::kItalic)) setBit(kItalic, codes.Number(Code::kItalic) == 1);
  if (formatTag && codes.Has(Code::kBold)) setBit(kBold, codes.Number(Code::kBold) == 1);
  if (codes.Has(Code::kStyleBits)) {
    font.style = static_cast<std::uint8_t>((font.style & ~0x0F) | (codes.Number(Code::kStyleBits) & 0x0F));
  }
  if (codes.Has(Code::kPosition)) font.position = static_cast<std::uint8_t>(codes.Number(Code::kPosition) & 0x7F);
}

std::string_view RtfPosition(int position) {
  if (position == 1) return "\\dn6";
  if (position == 2) return "\\up6";
  return "\\up0";
}

std::string_view RtfAlignment(int alignment) {
  if (alignment == 1) return "\\qr";
  if (alignment == 2) return "\\qc";
  return "\\ql";
}

}  // namespace

// ---- Texts ----

void TAEHtortf::WriteBody(std::string& out, TAEHoggetto& page, bool nested) {
  const PageMarkup markup(page);
  const TAEHoggetto* outer = m_page;
  if (!nested) {
    m_page = &page;
    if (WinHelp && !TextMode) WriteTopicFootnotes(out, page);
    // Links to the page from the rest of the export go to this mark.
    if (!WinHelp && !TextMode) {
      const std::string mark = PageBookmark(page.Index());
      out += "{\\*\\bkmkstart " + mark + "}{\\*\\bkmkend " + mark + "}";
    }
  }
  Text t(out);
  WriteText(t, markup.Text());
  m_page = outer;
}

void TAEHtortf::WriteMarkup(std::string& out, std::string_view markup) {
  Text t(out);
  WriteText(t, markup);
}

void TAEHtortf::WriteHeaderFooter(std::string& out, const TAEHoggetto& page, bool footer, bool onlyPresent) {
  TAEHset* set = LinkedAEHset();
  std::int32_t choice = page.I32(footer ? kPageFooterChoice : kPageHeaderChoice);
  if (choice == -1) choice = set->HeaderI32(footer ? header::kFooterPage : header::kHeaderPage);
  TAEHoggetto* shared = choice >= 0 ? set->GetObject(testoHtml, IndexOf(choice)) : nullptr;
  if (shared != nullptr && shared->IsFree()) shared = nullptr;
  if (shared == nullptr && onlyPresent) return;
  out += footer ? "{\\footer " : "{\\header ";
  if (shared != nullptr) WriteBody(out, *shared, true);
  out += "}";
}

void TAEHtortf::WriteText(Text& t, std::string_view text) {
  text = markup::TextPart(text);
  const std::size_t first = text.find('<');
  if (first == std::string_view::npos) return;
  TAEHset* set = LinkedAEHset();
  markup::Tokenizer tokens(text, first);
  for (markup::Token token = tokens.Next(); token.kind != TokenKind::kEnd; token = tokens.Next()) {
    switch (token.kind) {
      case TokenKind::kText:
        BeforeContent(t);
        for (char c : token.text) AppendRtfChar(t.out, static_cast<unsigned char>(c));
        break;
      case TokenKind::kEntity:
        BeforeContent(t);
        AppendRtfChar(t.out, token.character);
        break;
      case TokenKind::kParagraphTag:
      case TokenKind::kFormatTag: {
        const markup::TagCodes& codes = tokens.Codes();
        if (set != nullptr) {
          codes.ForEachTruncated([set](bool face) {
            platform::Messages& messages = *set->Services().messages;
            if (face) messages.Information(kTruncated);
            else messages.Error(kTruncated);
          });
        }
        if (token.kind == TokenKind::kFormatTag) CharacterFormat(t, codes);
        else if (codes.Has(Code::kStyle)) ParagraphStart(t, codes);
        break;
      }
      case TokenKind::kReference:
        if (token.closed) ObjectReference(t, token.value);
        break;
      case TokenKind::kLinkEnd:
        LinkEnd(t);
        break;
      case TokenKind::kCellEnd:
        CellBoundary(t);
        break;
      default:
        break;
    }
    // A tag without its ">", or a block without its closing tag, ends the text.
    if (!token.closed) break;
  }
  if (t.link != nullptr) LinkEnd(t);
  t.out += "\\par \r\n";
}

void TAEHtortf::BeforeContent(Text& t) {
  if (t.afterTable) {
    // What follows a table in its paragraph is a paragraph of its own again.
    t.out += t.tableHolderFormat;
    t.afterTable = false;
    t.current = t.tableFont;
    t.last = t.tableFont;
    t.lastValid = true;
  }
  t.firstParagraph = false;
  t.paragraphHasContent = true;
}

void TAEHtortf::ParagraphStart(Text& t, const markup::TagCodes& codes) {
  if (t.link != nullptr) LinkEnd(t);
  if (!t.firstParagraph) t.out += "\\par \r\n";
  t.firstParagraph = false;
  t.afterTable = false;
  t.paragraphHasContent = false;
  const TAEHoggetto* style = StyleRecord(codes.Number(Code::kStyle));
  const int number = style != nullptr ? style->Index() : 0;
  Paragraph& p = t.paragraph;
  p = ParagraphOf(style);
  t.styleFont = p.font;
  ApplyCharacterCodes(codes, p.font, false);
  RtfParaFormat& f = p.format;
  auto integer = [&codes](Code code, int& field) {
    if (codes.Has(code)) field = codes.Number(code);
  };
  auto byte = [&codes](Code code, std::uint8_t& field, int mask) {
    if (codes.Has(code)) field = static_cast<std::uint8_t>(codes.Number(code) & mask);
  };
  byte(Code::kAlignment, f.alignment, 0x7F);
  byte(Code::kListKind, f.listKind, 0x7F);
  integer(Code::kLineHeight, f.lineHeight);
  integer(Code::kIndent, f.indent);
  integer(Code::kLeftMargin, f.leftMargin);
  integer(Code::kRightMargin, f.rightMargin);
  integer(Code::kSpaceBefore, f.spaceBefore);
  integer(Code::kSpaceAfter, f.spaceAfter);
  if (codes.Has(Code::kLinkColour)) f.linkColour = codes.Colour(Code::kLinkColour) & 0xFFFFFF;
  integer(Code::kLinkSize, f.linkSize);
  byte(Code::kLinkStyle, f.linkStyle, 0x0F);
  p.inTable = !t.tables.empty();
  std::string head = p.inTable ? "\\pard\\intbl" : "\\pard\\plain ";
  head += "\\s" + std::to_string(StyleNumber(number));
  t.out += head + FormatWords(p, true);
  t.holderFormat = head + FormatWords(p, false);
  t.current = p.font;
  t.last = p.font;
  t.lastValid = true;
}

std::string TAEHtortf::FormatWords(const Paragraph& p, bool withListText) {
  const TMyFont& f = p.font;
  const RtfParaFormat& format = p.format;
  std::string w = "\\f" + std::to_string(FontNumber(f.face)) + "\\fs" + std::to_string(2 * f.size) + "\\cf" +
                  std::to_string(ColourNumber(f.colour));
  w += (f.style & kItalic) ? "\\i" : "\\i0";
  w += (f.style & kBold) ? "\\b" : "\\b0";
  if (!WinHelp) w += (f.style & kUnderline) ? "\\ul" : "\\ul0";
  w += (f.style & kStrike) ? "\\strike" : "\\strike0";
  w += RtfPosition(f.position);
  w += RtfAlignment(format.alignment);
  const std::string hang = std::to_string(std::abs(Twips(format.indent)));
  if (format.listKind == kNumbered) {
    w += "{\\*\\pn \\pnlvlbody\\pndec\\pnstart1\\pnhang\\pnindent" + hang + "{\\pntxta .}}";
    if (withListText) w += "{\\pntext " + std::to_string(m_listCounter++) + ".\\tab}";
  } else if (format.listKind == kBulleted) {
    const std::string symbol = std::to_string(FontNumber(kSymbolFace));
    w += "{\\*\\pn\\pnlvlblt\\pnf" + symbol + "\\pnstart1\\pnhang\\pnindent" + hang + "{\\pntxtb\\'b7}}";
    if (withListText) {
      w += "{\\pntext\\f" + symbol + "\\'b7\\tab}";
      m_listCounter = 1;
    }
  } else if (withListText) {
    m_listCounter = 1;
  }
  if (format.lineHeight >= kLineHeightSet) w += "\\sl" + std::to_string(Twips(format.lineHeight));
  w += "\\fi" + std::to_string(Twips(format.indent)) + "\\li" + std::to_string(Twips(format.leftMargin)) + "\\ri" +
       std::to_string(Twips(format.rightMargin)) + "\\sb" + std::to_string(Twips(format.spaceBefore)) + "\\sa" +
       std::to_string(Twips(format.spaceAfter)) + " ";
  return w;
}

std::string TAEHtortf::StyleFormat(int style) { return FormatWords(ParagraphOf(StyleRecord(style)), false); }

void TAEHtortf::CharacterFormat(Text& t, const markup::TagCodes& codes) {
  // Codes a tag leaves out take the paragraph style's values.
  TMyFont font = t.styleFont;
  ApplyCharacterCodes(codes, font, true);
  t.current = font;
  WriteFont(t, t.link != nullptr ? LinkFont(t, font) : font, false);
}

TMyFont TAEHtortf::LinkFont(const Text& t, const TMyFont& font) const {
  TMyFont link = font;
  const RtfParaFormat& format = t.paragraph.format;
  link.colour = format.linkColour;
  link.style = static_cast<std::uint8_t>(font.style ^ format.linkStyle);
  if (format.linkSize != -1) link.size = format.linkSize;
  // Underline marks the hot spots of help files; it is not text's look there.
  if (WinHelp && !TextMode) link.style = static_cast<std::uint8_t>(link.style & ~kUnderline);
  return link;
}

void TAEHtortf::WriteFont(Text& t, const TMyFont& f, bool full) {
  const bool all = full || !t.lastValid;
  std::string w;
  if (all || f.face != t.last.face) w += "\\f" + std::to_string(FontNumber(f.face));
  if (all || f.size != t.last.size) w += "\\fs" + std::to_string(2 * f.size);
  if (all || (f.colour & 0xFFFFFF) != (t.last.colour & 0xFFFFFF)) w += "\\cf" + std::to_string(ColourNumber(f.colour));
  if (all || (f.style & 0x0F) != (t.last.style & 0x0F)) {
    w += (f.style & kItalic) ? "\\i" : "\\i0";
    w += (f.style & kBold) ? "\\b" : "\\b0";
    if (!WinHelp) w += (f.style & kUnderline) ? "\\ul" : "\\ul0";
    w += (f.style & kStrike) ? "\\strike" : "\\strike0";
  }
  if (all || f.position != t.last.position) w += RtfPosition(f.position);
  if (!w.empty()) t.out += w + " ";
  t.last = f;
  t.lastValid = true;
}

// ---- Objects ----

void TAEHtortf::ObjectReference(Text& t, std::uint32_t value) {
  const std::uint32_t kind = value >> 24;
  const auto number = static_cast<std::int32_t>(value & 0xFFFFFF);
  TAEHoggetto* record = nullptr;
  if (kind == kWorkingLinkKind) {
    record = WorkingLink ? const_cast<TAEHoggetto*>(WorkingLink(number)) : nullptr;
  } else if (kind == kPlacedObjectKind) {
    record = PlacedObject ? const_cast<TAEHoggetto*>(PlacedObject(number)) : nullptr;
  } else if (LinkedAEHset() != nullptr) {
    record = LinkedAEHset()->GetObjectById(static_cast<ObjectId>(value));
  }
  if (record == nullptr || record->IsFree()) return;
  switch (record->Kind()) {
    case testoHtml:
    case internetLink:
    case genLink:
    case speclink:
      LinkStart(t, *record);
      break;
    case tabellaHtml:
      TableStart(t, *record);
      break;
    case shortObj:
      if (record->Subtype() == 10 && !TextMode) {
        BeforeContent(t);
        Annotation(t, *record);
      }
      break;
    case immagine:
    case immagineNew:
      BeforeContent(t);
      Picture(t, *record);
      break;
    default:
      break;
  }
}

std::string TAEHtortf::HyperlinkTarget(const TAEHoggetto& record) const {
  auto quoted = [](std::string_view target) {
    std::string out = "\"";
    AppendRtfText(out, target);
    return out + "\"";
  };
  const TAEHoggetto* target = &record;
  if (record.Kind() == speclink) {
    if (record.Subtype() != kSpecialToObject) return {};
    target = LinkedAEHset() != nullptr ? LinkedAEHset()->GetObjectById(record.I32(kSpecialTarget)) : nullptr;
    if (target == nullptr) return {};
  }
  if (target->Kind() == internetLink) {
    const std::string url = target->Str(kLinkUrl, kLinkUrlCapacity);
    if (url.empty() || url.starts_with(kInternalScheme)) return {};
    return quoted(url);
  }
  if (target->Kind() != testoHtml || TextMode || !m_exportedPages.contains(target->Index())) return {};
  // A page of the same export: its file, or its mark in this file.
  if (m_perPage) return quoted(PageFileName(target->Index()));
  return "\\\\l " + quoted(PageBookmark(target->Index()));
}

void TAEHtortf::LinkStart(Text& t, TAEHoggetto& record) {
  BeforeContent(t);
  if (t.link != nullptr) LinkEnd(t);
  t.link = &record;
  if (WinHelp && !TextMode) {
    const bool popup = record.Kind() == speclink && record.Subtype() == kSpecialToObject &&
                       record.U8(kSpecialAction) == kPopupWindow;
    t.out += popup ? "\\ul " : "\\uldb ";
  } else if (const std::string target = HyperlinkTarget(record); !target.empty()) {
    t.out += "{\\field{\\*\\fldinst HYPERLINK " + target + "}{\\fldrslt ";
    t.fieldOpen = true;
    t.lastValid = false;
  }
  WriteFont(t, LinkFont(t, t.current), false);
}

std::string TAEHtortf::TopicContext(const TAEHoggetto* target) const {
  if (target == nullptr) return HelpContext(m_page != nullptr ? m_page->GetCaption() : std::string(), 0);
  return HelpContext(target->GetCaption(), target->Index());
}

std::string TAEHtortf::HelpLinkEnd(const TAEHoggetto& record) {
  auto hidden = [](const std::string& text) {
    std::string out = "\\ul0{\\field{\\fldrslt {\\v ";
    AppendRtfText(out, text);
    return out + "}}}";
  };
  auto window = [this](const TAEHoggetto& link) {
    const std::string context = WindowContext(WindowName(link));
    if (std::find(m_windows.begin(), m_windows.end(), context) == m_windows.end()) m_windows.push_back(context);
    return context;
  };
  switch (record.Kind()) {
    case testoHtml:
    case genLink:
      return hidden(HelpContext(record.GetCaption(), record.Index()));
    case internetLink: {
      const InternalUrl url = ParseInternalUrl(*LinkedAEHset(), record.Str(kLinkUrl, kLinkUrlCapacity));
      const std::string file = url.isInternal ? base::ChangeFileExt(base::ExtractFileName(url.file), ".hlp") : "";
      return hidden("!JumpContext(\"" + file + "\"," + std::to_string(url.isInternal ? url.page : 0) + ")");
    }
    case programma:
      return hidden("!ExecProgram(\"" + record.Str(kProgramFileName, 127) + "\",0)");
    case speclink:
      break;
    default:
      return {};
  }
  switch (record.Subtype()) {
    case kSpecialToObject: {
      const TAEHoggetto* target = LinkedAEHset()->GetObjectById(record.I32(kSpecialTarget));
      const int action = record.U8(kSpecialAction);
      if (action == kReplaceFrame || action == kIndependentWindow || action == kNewBrowser) {
        return hidden(TopicContext(target) + ">" + window(record));
      }
      return hidden(TopicContext(target));
    }
    case kSpecialCloseWindow: return hidden("!CloseWindow(\"" + window(record) + "\")");
    case kSpecialKeywords: return hidden("!Search()");
    case kSpecialPrevious: return hidden("!Prev()");
    case kSpecialNext: return hidden("!Next()");
    case kSpecialAutoImport: return "\\ul0 ";
    default: return {};
  }
}

void TAEHtortf::LinkEnd(Text& t) {
  if (t.link != nullptr) {
    if (WinHelp && !TextMode) {
      t.out += HelpLinkEnd(*t.link);
      t.lastValid = false;
    } else if (t.fieldOpen) {
      t.out += "}}";
      t.fieldOpen = false;
      t.lastValid = false;
    }
    t.link = nullptr;
  }
  WriteFont(t, t.current, true);
}

// ---- Tables ----

void TAEHtortf::TableStart(Text& t, const TAEHoggetto& table) {
  Table entry;
  entry.record = &table;
  entry.columns = std::max<int>(1, table.U8(kTableColumns));
  entry.total = std::max<int>(1, table.U8(kTableRows)) * entry.columns;
  entry.remaining = entry.total;
  if (t.tables.empty()) {
    if (t.link != nullptr) LinkEnd(t);
    // A row starts a paragraph of its own.
    if (t.paragraphHasContent) t.out += "\\par ";
    t.tableLeft = Twips(t.paragraph.format.leftMargin);
    t.tableRight = Twips(t.paragraph.format.rightMargin);
    t.tableHolderFormat = t.holderFormat;
    t.tableFont = t.current;
    t.tables.push_back(entry);
    RowDefinition(t, table);
    t.firstParagraph = true;
    return;
  }
  t.tables.push_back(entry);
}

void TAEHtortf::RowDefinition(Text& t, const TAEHoggetto& table) {
  const Table& outer = t.tables.front();
  const int columns = outer.columns;
  const int row = (outer.total - outer.remaining) / columns;
  std::string& out = t.out;
  out += "\\trowd\\trleft0\\trgaph" + std::to_string(Twips(table.U8(kTableSpacing)));
  const int border = Twips(table.U8(kTableBorder));
  std::string b;
  if (border > 0) {
    b = border > kBorderThick ? "\\brdrth\\brdrw" + std::to_string(std::min(border / 2, kBorderThick))
                              : "\\brdrs\\brdrw" + std::to_string(border);
    for (std::string_view side : {"\\trbrdrt", "\\trbrdrl", "\\trbrdrb", "\\trbrdrr", "\\trbrdrh", "\\trbrdrv"}) {
      out += std::string(side) + b;
    }
    out += " ";
  }
  // Column widths share the width between the page's and the paragraph's margins.
  int available = PaperWidth - LeftMargin - RightMargin - t.tableLeft - t.tableRight;
  if (available < 0) available = kNarrowestText;
  std::vector<int> widths(static_cast<std::size_t>(columns), kFreeColumnTwips);
  std::vector<int> free;
  int used = 0;
  std::int64_t carry = 0;
  for (int i = 0; i < columns; ++i) {
    const int kind = table.U8(kTableColumnKinds + i);
    const int size = table.I16(kTableColumnSizes + 2 * i);
    int& width = widths[static_cast<std::size_t>(i)];
    if (kind == kPercentColumn && size > 0) {
      const std::int64_t share = static_cast<std::int64_t>(available) * size + carry;
      width = static_cast<int>(share / 100);
      carry = share % 100;
    } else if (kind == kFixedColumn && size > 0) {
      // Stored in pixels.
      width = Twips(size);
    } else {
      free.push_back(i);
    }
    used += width;
  }
  // Columns without a width share what is left, the last one the rest of
  // the division: a column of a few twips would hide its text.
  if (!free.empty() && used < available) {
    const int each = (available - used) / static_cast<int>(free.size());
    for (int i : free) widths[static_cast<std::size_t>(i)] += each;
    widths[static_cast<std::size_t>(free.back())] += (available - used) % static_cast<int>(free.size());
  }
  std::string content;
  if (table.Content().Present()) content = table.ReadContent().value_or(std::string());
  int edge = 0;
  for (int i = 0; i < columns; ++i) {
    const std::size_t cell = static_cast<std::size_t>(row * columns + i) * 4;
    if (cell + 4 <= content.size()) {
      std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
      const std::int32_t background = base::GetI32(bytes, cell);
      // The cell's background colour. (A pattern colour at full shading, the
      // older form, shows black in LibreOffice.)
      if (background >= 0 && background < kImageBackground) {
        out += "\\clcbpat" + std::to_string(ColourNumber(static_cast<std::uint32_t>(background)));
      }
    }
    if (!b.empty()) out += "\\clbrdrb" + b + "\\clbrdrt" + b + "\\clbrdrl" + b + "\\clbrdrr" + b;
    edge += std::max(1, widths[static_cast<std::size_t>(i)]);
    out += "\\cellx" + std::to_string(edge);
  }
  out += " ";
}

void TAEHtortf::CellBoundary(Text& t) {
  if (t.tables.empty()) return;
  if (t.link != nullptr) LinkEnd(t);
  Table& table = t.tables.back();
  const int ended = table.total - table.remaining;
  --table.remaining;
  if (t.tables.size() == 1) {
    t.out += "\\cell ";
    t.firstParagraph = true;
    if ((ended + 1) % table.columns == 0) {
      t.out += "\\row ";
      if (table.remaining > 0) RowDefinition(t, *table.record);
    }
  }
  if (table.remaining <= 0) {
    t.tables.pop_back();
    if (t.tables.empty()) t.afterTable = true;
  }
}

// ---- Comments and pictures ----

void TAEHtortf::Annotation(Text& t, const TAEHoggetto& comment) {
  std::string text = comment.ReadContent().value_or(std::string());
  text = text.substr(0, text.find('\0'));
  const std::size_t cr = text.find('\r');
  std::string author = "Tarn";
  std::string rest = text;
  if (cr != std::string::npos) {
    author = text.substr(0, std::min(cr, kAuthorLength));
    rest = text.substr(cr + 1);
    if (!rest.empty() && rest.front() == '\n') rest.erase(0, 1);
  }
  std::string& out = t.out;
  out += "\\v{\\*\\atnid ";
  if (!author.empty()) AppendRtfText(out, std::string(1, base::Cp1252Upper(author.front())));
  out += "}{\\*\\atnauthor ";
  AppendRtfText(out, author);
  out += "}\\chatn {\\*\\annotation \\pard\\plain\\fs20 \\widctlpar{\\chatn }";
  AppendRtfText(out, rest);
  out += "}\\v0 ";
}

void TAEHtortf::Picture(Text& t, TAEHoggetto& record) {
  TAEHset* set = LinkedAEHset();
  TAEHoggetto* image = record.Kind() == immagine ? &record : set->GetObject(immagine, record.I32(kPlacedImage));
  if (image == nullptr || image->IsFree()) return;
  if (WinHelp && !TextMode) {
    auto saved = m_bitmapFiles.find(image);
    if (saved == m_bitmapFiles.end()) {
      const std::string name =
          base::ExtractBaseName(image->FileName().empty() ? image->GetCaption() : image->FileName());
      // Two pictures of one name ("lake.gif", "lake.jpg") must not share a
      // bitmap file: the second would show in place of the first.
      std::string file = name + ".bmp";
      for (int n = 2; !m_bitmapNamesTaken.insert(base::LowerCase(file)).second; ++n) {
        file = name + "_" + std::to_string(n) + ".bmp";
      }
      saved = m_bitmapFiles.emplace(image, file).first;
      image->SaveImageAsBitmap(ExportPath / file);
    }
    t.out += "\\{bmc ";
    AppendRtfText(t.out, saved->second);
    t.out += "\\}";
    return;
  }
  const std::optional<std::string> bytes = image->ReadContent();
  if (!bytes || bytes->empty()) return;
  std::string data;
  std::string_view kind = "\\wmetafile8";
  bool drawn = false;
  int width = image->I16(kImageWidth);
  int height = image->I16(kImageHeight);
  switch (SniffImageFormat(*bytes)) {
    case ImageFormat::Wmf:
      data = *bytes;
      if (auto size = MetafileSize(data)) {
        width = size->first;
        height = size->second;
      }
      // The RTF form of a metafile has no placeable header.
      if (data.size() > static_cast<std::size_t>(kPlaceableHeaderSize) &&
          static_cast<unsigned char>(data[0]) == 0xD7 && static_cast<unsigned char>(data[1]) == 0xCD) {
        data.erase(0, kPlaceableHeaderSize);
      }
      break;
    case ImageFormat::Emf:
      data = *bytes;
      kind = "\\emfblip";
      if (auto size = MetafileSize(data)) {
        width = size->first;
        height = size->second;
      }
      break;
    default: {
      // Any other picture is drawn into a metafile of its own.
      std::optional<base::Bitmap> bitmap = DecodeImage(*bytes);
      if (!bitmap) return;
      width = bitmap->width;
      height = bitmap->height;
      data = MetafileOfBitmap(*bitmap);
      drawn = true;
      break;
    }
  }
  if (data.empty()) return;
  int shownWidth = width;
  int shownHeight = height;
  if (record.Kind() == immagineNew) {
    shownWidth = record.I16(kPlacedWidth);
    shownHeight = record.I16(kPlacedHeight);
  }
  // The plain size in hundredths of a millimetre, the shown size in twips.
  const int ppi = PixelsPerInch();
  auto himetric = [ppi](int pixels) { return static_cast<int>(static_cast<std::int64_t>(pixels) * 2540 / ppi); };
  std::string& out = t.out;
  out += "{{\\pict" + std::string(kind) + "\\picw" + std::to_string(himetric(width)) + "\\pich" +
         std::to_string(himetric(height)) + "\\picwgoal" + std::to_string(Twips(shownWidth)) + "\\pichgoal" +
         std::to_string(Twips(shownHeight)) + (drawn ? " \\picbmp" : "") + " \r\n";
  AppendHexData(out, data);
  out += "}}";
}

// ---- WinHelp topics ----

void TAEHtortf::WriteTopicFootnotes(std::string& out, const TAEHoggetto& page) {
  auto footnote = [&out](char mark, const std::string& escaped) {
    out += std::string("{\\super ") + mark + "{\\footnote {\\super " + mark + "}{\\field{\\fldrslt " + escaped + "}}}}";
  };
  const std::string title = page.GetCaption();
  out += "\\ftnbj ";
  footnote('#', HelpContext(title, page.Index()));
  std::string escapedTitle;
  AppendRtfText(escapedTitle, title);
  footnote('$', escapedTitle);
  const std::vector<int> keywords = PageKeywords(page);
  if (!keywords.empty()) {
    std::string text;
    if (TitlesAsKeywords) {
      std::string keyTitle = title;
      std::replace(keyTitle.begin(), keyTitle.end(), ';', ',');
      AppendRtfText(text, keyTitle);
      text += ";";
    }
    for (std::size_t i = 0; i < keywords.size(); ++i) {
      const TAEHoggetto* keyword = LinkedAEHset()->GetObject(document::keyword, keywords[i]);
      if (keyword == nullptr) continue;
      if (i > 0) text += ";";
      AppendRtfText(text, keyword->GetCaption());
    }
    footnote('K', text);
  }
  const int group = page.I16(kPageBrowseGroup);
  const int number = page.I16(kPageBrowseNumber);
  if (page.U8(kPageBrowseOut) != 1 && group >= 0 && number >= 0) {
    std::string sequence;
    AppendRtfText(sequence, "seq" + std::to_string(group) + ":" + std::to_string(number));
    footnote('+', sequence);
  }
}

}  // namespace tarn::convert
