// Writing what an RTF body says as markup: paragraphs and formats, tables,
// links, pictures, notes, hot spots, and the pages the text is cut into;
// see rtfimppage.h.
#include <algorithm>

#include "base/cp1252.h"
#include "convert/htmlwords.h"
#include "convert/importrecords.h"
#include "convert/rtfimp.h"
#include "convert/rtfimpheader.h"
#include "convert/rtfimppage.h"
#include "convert/rtfpicture.h"
#include "convert/textcodec.h"
#include "document/aehset.h"
#include "document/imagecodec.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "markup/entities.h"

namespace tarn::convert {

using document::TAEHoggetto;
using namespace document::field;

namespace {

constexpr int kMaxColumns = kMaxTableColumns;
constexpr int kDefaultStylePending = -1;
constexpr int kMaxRows = kMaxTableRows;
constexpr int kTitleCapacity = 71;
constexpr int kContextCapacity = 20;
constexpr int kDefaultPictureSize = 1000;
constexpr std::size_t kMaxHotSpotContext = 255;
constexpr std::string_view kEmptyCell = "<Z S1 >";
constexpr std::string_view kLinkPlaceholder = "<$00000000>";
// Column width kinds of a table.
constexpr std::uint8_t kColumnPixels = 1;
constexpr std::uint8_t kColumnFree = 2;

void Number(std::string& out, char key, int value) {
  out.push_back(key);
  out += std::to_string(value);
  out.push_back(' ');
}

// The character codes of a format that differ from the style's.
void CharacterCodes(std::string& out, const RtfCharFormat& c, const RtfCharFormat& style) {
  if (c.colour != style.colour) out += "c" + HtmlColour(c.colour) + " ";
  if (c.face != style.face) {
    std::string face = c.face;
    std::replace(face.begin(), face.end(), '"', '\'');
    out += "F\"" + face + "\" ";
  }
  if (c.size != style.size) Number(out, 's', c.size);
  if (c.styleBits != style.styleBits) Number(out, 'y', c.styleBits);
  if (c.position != style.position) Number(out, 'p', c.position);
}

std::string PageLink(int page, std::string_view text) {
  return "<$00" + Hex6(page) + ">" + std::string(text) + "<%>";
}

// Without the blanks and line breaks around it.
std::string Trim(std::string_view text) {
  constexpr std::string_view kBlanks = " \r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

}  // namespace

// ---- Paragraphs and formats ----

void TRtfPage::ApplyPard() {
  TRtfState& state = m_states.Current();
  state.rtfStyle = 0;
  if (m_header.HasStyle(0)) {
    const int style = m_header.DefaultStyle();
    const TAEHoggetto* record = m_run.Set().GetObject(document::stileParagrafo, style);
    state.paragraph = record != nullptr ? ParaFormatOf(*record, style) : RtfParaFormat{};
  } else {
    // The style made for a document without one ("Normal") has the values of
    // a new style; it is made when a paragraph is written in it.
    state.paragraph = RtfParaFormat{};
    state.paragraph.style = kDefaultStylePending;
  }
  state.inTable = false;
  state.leftGiven = state.rightGiven = false;
  state.listOverride = 0;
  state.listLevel = 0;
}

void TRtfPage::ApplyStyle(int rtfStyle) {
  TRtfState& state = m_states.Current();
  state.rtfStyle = rtfStyle;
  const int style = m_header.StyleFor(rtfStyle);
  const TAEHoggetto* record = m_run.Set().GetObject(document::stileParagrafo, style);
  if (record == nullptr) return;
  state.paragraph = ParaFormatOf(*record, style);
  state.leftGiven = state.rightGiven = false;
}

void TRtfPage::EnsureParagraph() {
  Text& out = Out();
  const TRtfState& state = m_states.Current();
  if (state.inTable && !out.table.open) OpenTable();
  else if (!state.inTable && out.table.open) CloseTable();
  if (Out().paragraphPending) WriteParagraphTag();
}

void TRtfPage::WriteParagraphTag() {
  TRtfState& state = m_states.Current();
  if (state.paragraph.style == kDefaultStylePending) state.paragraph.style = m_header.DefaultStyle();
  const bool topLevel = m_texts.size() == 1 && !Out().table.open && !m_run.Options().clipboard;
  if (topLevel) {
    const int level = m_header.HeadingLevel(state.rtfStyle);
    if (CutBefore(state.rtfStyle) && level > 0) m_headingLevel = level;
    // A page's title is its first heading.
    if (m_header.IsHeading(state.rtfStyle) && m_title.empty() && !m_titleFromHeading) {
      m_collectingHeading = true;
    }
  }
  Text& out = Out();
  const bool linkWasOpen = !out.linkTag.empty() && out.linkWritten;
  if (linkWasOpen) {
    // A link never runs on into the next paragraph: it is closed here and
    // opened again with the next character.
    out.markup += "<%>";
    out.linkWritten = false;
  }
  const TAEHoggetto* record = m_run.Set().GetObject(document::stileParagrafo, state.paragraph.style);
  const RtfCharFormat styleChar = record != nullptr ? CharFormatOf(*record) : RtfCharFormat{};
  const RtfParaFormat stylePara = record != nullptr ? ParaFormatOf(*record, state.paragraph.style) : RtfParaFormat{};
  const RtfCharFormat c = EffectiveFormat();
  const RtfParaFormat p = FinishMargins(state, m_ppi);
  std::string& m = out.markup;
  m += "<Z S" + std::to_string(p.style) + " ";
  CharacterCodes(m, c, styleChar);
  if (p.alignment != stylePara.alignment) Number(m, 'A', p.alignment);
  if (p.listKind != stylePara.listKind) Number(m, 'N', p.listKind);
  if (p.lineHeight != stylePara.lineHeight) Number(m, 'L', p.lineHeight);
  if (p.indent != stylePara.indent) Number(m, 'I', p.indent);
  if (p.leftMargin != stylePara.leftMargin) Number(m, 'l', p.leftMargin);
  if (p.rightMargin != stylePara.rightMargin) Number(m, 'r', p.rightMargin);
  if (p.spaceBefore != stylePara.spaceBefore) Number(m, 't', p.spaceBefore);
  if (p.spaceAfter != stylePara.spaceAfter) Number(m, 'b', p.spaceAfter);
  m += ">";
  out.written = c;
  out.styleChar = styleChar;
  out.paragraphPending = false;
  out.paragraphOpen = true;
  if (!out.table.open) ++out.paragraphs;
}

RtfCharFormat TRtfPage::EffectiveFormat() const {
  RtfCharFormat c = m_states.Current().character;
  const Text& out = m_texts.back();
  // Word processors show links blue and underlined by hand; here the
  // paragraph's link appearance does that, so the text keeps its own look.
  const RtfCharFormat* base = !out.linkTag.empty() ? &out.linkBase
                              : (m_hotSpotOpen && m_texts.size() == 1 ? &m_hotSpotBase : nullptr);
  if (base != nullptr) {
    c.colour = base->colour;
    c.styleBits = static_cast<std::uint8_t>((c.styleBits & ~4) | (base->styleBits & 4));
  }
  return c;
}

void TRtfPage::WriteFormat() {
  Text& out = Out();
  const RtfCharFormat c = EffectiveFormat();
  if (c == out.written) return;
  out.markup += "<Y ";
  CharacterCodes(out.markup, c, out.styleChar);
  out.markup += ">";
  out.written = c;
}

bool TRtfPage::BeginCharacter(bool evenHidden) {
  if (Collecting()) return false;
  const TRtfState& state = m_states.Current();
  if (state.hidden && !evenHidden) return false;
  if (m_run.Options().winHelp && !m_dests.empty() && m_dests.back().kind == Dest::kFootnote) return false;
  EnsureParagraph();
  Text& out = Out();
  if (m_run.Options().winHelp && m_texts.size() == 1) {
    if (state.hotSpot && !m_hotSpotOpen) {
      m_hotSpotBase = out.written;
      m_hotSpotOpen = true;
      WriteFormat();
      m_hotSpotAt = out.markup.size();
      out.markup += kLinkPlaceholder;
      m_hotSpotContext.clear();
    } else if (!state.hotSpot && m_hotSpotOpen) {
      FinishHotSpot();
    }
  }
  WriteFormat();
  if (!out.linkTag.empty() && !out.linkWritten) {
    if (out.linkTag == kLinkPlaceholder) out.bookmarkLinks.emplace_back(out.markup.size(), out.bookmarkTarget);
    out.markup += out.linkTag;
    out.linkWritten = true;
  }
  out.visible = true;
  m_readAnything = true;
  return true;
}

void TRtfPage::PutChar(unsigned char c) {
  if (c < 32) return;
  if (Collecting()) {
    const char ch = static_cast<char>(c);
    Collect(std::string_view(&ch, 1));
    return;
  }
  if (m_states.Current().hidden) {
    HiddenText(std::string_view(reinterpret_cast<const char*>(&c), 1));
    return;
  }
  if (!BeginCharacter()) return;
  markup::AppendEscaped(Out().markup, c);
  if (m_collectingHeading && m_texts.size() == 1 && m_title.size() < kTitleCapacity) m_title.push_back(static_cast<char>(c));
}

void TRtfPage::PutText(std::string_view text) {
  if (text.empty()) return;
  if (Collecting()) {
    Collect(text);
    return;
  }
  if (m_states.Current().hidden) {
    HiddenText(text);
    return;
  }
  if (!BeginCharacter()) return;
  std::string& m = Out().markup;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 32) continue;
    markup::AppendEscaped(m, c);
  }
  if (m_collectingHeading && m_texts.size() == 1) {
    for (char ch : text) {
      if (m_title.size() < kTitleCapacity && static_cast<unsigned char>(ch) >= 32) m_title.push_back(ch);
    }
  }
}

void TRtfPage::HiddenText(std::string_view text) {
  // Hidden text is not shown; in a WinHelp source it names the target of
  // the hot spot before it.
  if (!m_run.Options().winHelp || !m_hotSpotOpen) return;
  for (char c : text) {
    if (m_hotSpotContext.size() < kMaxHotSpotContext && static_cast<unsigned char>(c) >= 32) m_hotSpotContext += c;
  }
}

void TRtfPage::EndParagraph() {
  FinishHotSpot();
  EnsureParagraph();
  Text& out = Out();
  out.paragraphPending = true;
  m_collectingHeading = false;
  if (!m_title.empty() && m_texts.size() == 1) m_titleFromHeading = true;
}

// ---- Tables ----

void TRtfPage::CellEdge(int twips) {
  m_inRowBorder = false;
  if (m_rowEdges.size() >= static_cast<std::size_t>(kMaxColumns)) return;
  m_rowEdges.push_back(twips);
  std::int32_t background = -1;
  if (m_cellPattern >= 0 && m_cellShading >= 5000) background = m_cellPattern;
  else if (m_cellBackground >= 0) background = m_cellBackground;
  m_rowCellBackgrounds.push_back(background);
  m_cellPattern = m_cellBackground = -1;
  m_cellShading = 0;
}

void TRtfPage::OpenTable() {
  Text& out = Out();
  // The table stands at a character of a paragraph of the text around it.
  if (out.paragraphPending) {
    int style = m_tableHolderStyle;
    if (style < 0) style = m_states.Current().paragraph.style;
    if (style == kDefaultStylePending) style = m_header.DefaultStyle();
    out.markup += "<Z S" + std::to_string(style) + " >";
    out.paragraphPending = false;
    ++out.paragraphs;
  }
  if (out.linkWritten) {
    out.markup += "<%>";
    out.linkWritten = false;
  }
  TAEHoggetto* record = nullptr;
  const std::string tag = m_run.PlaceObject(m_run.Set().NewObject(document::tabellaHtml), &record);
  if (tag.empty()) return;
  out.markup += tag;
  out.visible = true;
  out.table = Table{};
  out.table.open = true;
  out.table.record = record;
  out.table.border = m_rowBorder;
  out.table.spacing = m_rowGap;
  out.paragraphPending = true;
  out.paragraphOpen = false;
}

void TRtfPage::EndCell() {
  FinishHotSpot();
  if (!Out().table.open) {
    OpenTable();
    if (!Out().table.open) return;
  }
  Text& out = Out();
  Table& t = out.table;
  if (t.lastCellOpen) {
    // A cell beyond the table's columns: its text joins the last cell.
    out.paragraphPending = true;
    return;
  }
  if (!out.paragraphOpen) WriteParagraphTag();
  if (out.linkWritten) {
    out.markup += "<%>";
    out.linkWritten = false;
  }
  const int limit = t.columns > 0 ? t.columns : kMaxColumns;
  out.paragraphPending = true;
  if (t.cellInRow + 1 >= limit) {
    // The row's last cell ends at "\row", so that more cells can join it.
    t.lastCellOpen = true;
    return;
  }
  out.markup += "<T>";
  ++t.cellInRow;
  out.paragraphOpen = false;
}

void TRtfPage::EndRow() {
  Text& out = Out();
  if (!out.table.open) return;
  FinishHotSpot();
  Table& t = out.table;
  if (out.paragraphOpen && !t.lastCellOpen) EndCell();
  const int ended = t.cellInRow + (t.lastCellOpen ? 1 : 0);
  if (t.columns == 0) {
    t.columns = std::clamp(ended, 1, kMaxColumns);
    t.firstEdges = m_rowEdges;
    if (t.border == 0) t.border = m_rowBorder;
    if (t.spacing < 0) t.spacing = m_rowGap;
  }
  if (t.lastCellOpen) {
    out.markup += "<T>";
  } else {
    for (int i = t.cellInRow; i < t.columns; ++i) out.markup += std::string(kEmptyCell) + "<T>";
  }
  for (int i = 0; i < t.columns; ++i) {
    t.backgrounds.push_back(static_cast<std::size_t>(i) < m_rowCellBackgrounds.size() ? m_rowCellBackgrounds[i] : -1);
  }
  ++t.rows;
  t.cellInRow = 0;
  t.lastCellOpen = false;
  out.paragraphOpen = false;
  out.paragraphPending = true;
  if (t.rows >= kMaxRows) CloseTable();
}

void TRtfPage::CloseTable() {
  Text& out = Out();
  Table& t = out.table;
  if (!t.open) return;
  if (t.cellInRow > 0 || t.lastCellOpen || out.paragraphOpen) EndRow();
  if (!t.open) return;  // EndRow closed it at the row limit
  if (t.rows == 0) {
    out.markup += std::string(kEmptyCell) + "<T>";
    t.rows = 1;
    t.columns = 1;
    t.backgrounds.assign(1, -1);
  }
  TAEHoggetto* record = t.record;
  if (record != nullptr) {
    record->SetU8(kTableRows, static_cast<std::uint8_t>(t.rows));
    record->SetU8(kTableColumns, static_cast<std::uint8_t>(t.columns));
    int previous = 0;
    int total = 0;
    bool allFixed = true;
    for (int i = 0; i < t.columns; ++i) {
      int width = 0;
      if (static_cast<std::size_t>(i) < t.firstEdges.size()) {
        width = TwipsToPixels(static_cast<std::int64_t>(t.firstEdges[i]) - previous, m_ppi);
        previous = t.firstEdges[i];
      }
      const bool fixed = width > 0;
      allFixed = allFixed && fixed;
      record->SetU8(kTableColumnKinds + i, fixed ? kColumnPixels : kColumnFree);
      record->SetI16(kTableColumnSizes + 2 * i, static_cast<std::int16_t>(fixed ? width : 0));
      total += fixed ? width : 0;
    }
    if (allFixed && total > 0) {
      record->SetU8(kTablePercentWidth, 0);
      record->SetI16(kTablePixelWidth, static_cast<std::int16_t>(std::min(total, 32000)));
    } else {
      record->SetU8(kTablePercentWidth, 1);
      record->SetU8(kTableWidthPercent, 100);
    }
    record->SetU8(kTableBorder, static_cast<std::uint8_t>(std::clamp(t.border, 0, 20)));
    if (t.spacing >= 0) {
      record->SetU8(kTableSpacing, static_cast<std::uint8_t>(std::clamp(TwipsToPixels(t.spacing, m_ppi), 0, 19)));
    }
    if (std::any_of(t.backgrounds.begin(), t.backgrounds.end(), [](std::int32_t b) { return b != -1; })) {
      std::string content;
      for (std::int32_t b : t.backgrounds) base::AppendI32(content, b);
      record->SetContent(std::move(content));
    }
  }
  t = Table{};
  out.paragraphOpen = false;
  out.paragraphPending = true;
}

// ---- Links ----

void TRtfPage::OpenLink(const std::string& tag) {
  if (tag.empty() || Collecting()) return;
  Text& out = Out();
  if (out.linkWritten) out.markup += "<%>";
  out.linkTag = tag;
  out.linkWritten = false;
  out.linkBase = m_states.Current().character;
}

void TRtfPage::CloseLink() {
  Text& out = Out();
  if (out.linkWritten) out.markup += "<%>";
  out.linkTag.clear();
  out.linkWritten = false;
}

void TRtfPage::FinishHotSpot() {
  if (!m_hotSpotOpen) return;
  m_hotSpotOpen = false;
  Text& body = m_texts.front();
  std::string context = Trim(m_hotSpotContext);
  // "%" and "*" only change how the hot spot looks; a window or a file
  // after ">" or "@" is not part of the topic's name.
  while (!context.empty() && (context.front() == '%' || context.front() == '*')) context.erase(0, 1);
  context = context.substr(0, std::min(context.find('>'), context.find('@')));
  context = Trim(context);
  if (context.empty() || context.front() == '!' || m_hotSpotAt + kLinkPlaceholder.size() > body.markup.size()) {
    if (!context.empty()) m_run.AddReport(2, context);
    if (m_hotSpotAt + kLinkPlaceholder.size() <= body.markup.size()) body.markup.erase(m_hotSpotAt, kLinkPlaceholder.size());
    return;
  }
  const int page = m_run.PageForContext(context);
  if (page < 0) {
    body.markup.erase(m_hotSpotAt, kLinkPlaceholder.size());
    return;
  }
  body.markup.replace(m_hotSpotAt, kLinkPlaceholder.size(), "<$00" + Hex6(page) + ">");
  body.markup += "<%>";
}

// ---- Pictures ----

void TRtfPage::FinishPicture() {
  Picture& p = m_picture;
  if (p.data.empty() || p.type == 0) return;
  const RtfImportOptions& options = m_run.Options();
  const int width = p.width >= 1 ? p.width : kDefaultPictureSize;
  const int height = p.height >= 1 ? p.height : kDefaultPictureSize;
  std::optional<base::Bitmap> bitmap;
  std::string bytes;
  std::string extension;
  int pixelWidth = width;
  int pixelHeight = height;
  switch (p.type) {
    case 1: {
      // The plain size of a metafile is in hundredths of a millimetre.
      pixelWidth = std::max(1, static_cast<int>(static_cast<std::int64_t>(width) * m_ppi / 2540));
      pixelHeight = std::max(1, static_cast<int>(static_cast<std::int64_t>(height) * m_ppi / 2540));
      // A metafile that only carries a bitmap is stored as that bitmap: it
      // is the picture, and pages show bitmaps everywhere.
      bitmap = BitmapInMetafile(p.data);
      if (!bitmap) {
        bytes = PlaceableWmfHeader(pixelWidth, pixelHeight) + p.data;
        extension = ".wmf";
      }
      break;
    }
    case 2:
      bytes = std::move(p.data);
      extension = ".emf";
      if (auto size = document::MetafileSize(bytes)) {
        pixelWidth = size->first;
        pixelHeight = size->second;
      }
      break;
    case 3:
      bitmap = document::DecodePng(p.data);
      break;
    case 4: {
      // A JPEG is kept as it is; its size comes from its header.
      const auto size = JpegSize(p.data);
      if (!size || !PlausiblePicture(size->first, size->second, p.data.size())) break;
      if (options.allToGif) {
        bitmap = document::DecodeJpeg(p.data);
      } else {
        pixelWidth = size->first;
        pixelHeight = size->second;
        bytes = std::move(p.data);
        extension = ".jpg";
      }
      break;
    }
    case 5:
      bitmap = DecodeDib(p.data);
      break;
    default:
      break;
  }
  bool transparent = false;
  if (bitmap) {
    pixelWidth = bitmap->width;
    pixelHeight = bitmap->height;
    transparent = bitmap->transparent;
    auto gif = document::EncodeGif(*bitmap);
    if (!gif) return;
    bytes = std::move(*gif);
    extension = ".gif";
  }
  if (bytes.empty()) return;
  const bool inShape = std::any_of(m_dests.begin(), m_dests.end(),
                                   [](const Destination& d) { return d.kind == Dest::kShapePicture; });
  if (inShape) {
    // Only a picture pages can show replaces the older form.
    if (extension == ".wmf" || extension == ".emf") return;
    m_shapeGaveBitmap = true;
  }
  // The display size: the goal size in twips, scaled; else the plain size.
  auto display = [this](int goal, int scale, int plain) {
    if (goal <= 0) return plain;
    const std::int64_t scaled = static_cast<std::int64_t>(goal) * std::clamp(scale, 1, 10000) / 100;
    return std::clamp(TwipsToPixels(scaled, m_ppi), 1, 32000);
  };
  const int shownWidth = display(p.goalWidth, p.scaleX, pixelWidth);
  const int shownHeight = display(p.goalHeight, p.scaleY, pixelHeight);
  TAEHoggetto* image = m_run.AddImage(std::move(bytes), extension, transparent, pixelWidth, pixelHeight);
  if (image == nullptr) return;
  PlaceImage(image, pixelWidth, pixelHeight, shownWidth, shownHeight);
}

void TRtfPage::PlaceImage(TAEHoggetto* image, int naturalWidth, int naturalHeight, int width, int height) {
  document::TAEHset& set = m_run.Set();
  auto placed = set.AddImmagineNew(image);
  if (!placed) return;
  if (m_run.Options().clipboard) placed->SetI32(kPlacedImage, m_run.ClipboardImageIndex(image));
  auto size16 = [](int v) { return static_cast<std::int16_t>(std::clamp(v, 1, 32000)); };
  placed->SetI16(kPlacedNaturalWidth, size16(naturalWidth));
  placed->SetI16(kPlacedNaturalHeight, size16(naturalHeight));
  placed->SetI16(kPlacedWidth, size16(width));
  placed->SetI16(kPlacedHeight, size16(height));
  if (!BeginCharacter()) return;
  const std::string tag = m_run.PlaceObject(std::move(placed));
  Out().markup += tag;
}

// ---- Notes ----

void TRtfPage::FinishFootnote(Text text) {
  if (!text.visible) return;
  if (!text.markup.starts_with("<Z")) text.markup.insert(0, "<Z S0 >");
  m_footnoteTexts.push_back(std::move(text.markup));
}

void TRtfPage::FinishAnnotation(std::string text) {
  auto comment = m_run.Set().NewObject(document::shortObj);
  comment->SetSubtype(10);
  text.push_back('\0');
  comment->SetContent(std::move(text));
  // Word processors hide the comment's mark; the comment itself is kept.
  if (!BeginCharacter(true)) return;
  const std::string tag = m_run.PlaceObject(std::move(comment));
  Out().markup += tag;
}

void TRtfPage::WinHelpFootnote(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return;
  const char mark = trimmed.front();
  const std::string value = Trim(std::string_view(trimmed).substr(1));
  switch (mark) {
    case '#':
      m_context = value.substr(0, kContextCapacity);
      break;
    case '$':
      m_title = value.substr(0, kTitleCapacity);
      m_titleFromHeading = true;
      break;
    case 'K': {
      std::size_t start = 0;
      while (start <= value.size()) {
        const std::size_t end = std::min(value.find(';', start), value.size());
        const std::string keyword = Trim(std::string_view(value).substr(start, end - start));
        if (!keyword.empty()) m_keywords.push_back(keyword);
        start = end + 1;
      }
      break;
    }
    default:
      break;
  }
  RemoveMark(mark);
}

void TRtfPage::RemoveMark(char mark) {
  // The mark stands before its footnote in the text, perhaps after format
  // tags; it is taken out.
  Text& body = m_texts.front();
  std::string& m = body.markup;
  std::size_t end = m.size();
  while (end > 0 && m[end - 1] == '>') {
    const std::size_t open = m.rfind('<', end - 1);
    if (open == std::string::npos || m.compare(open, 2, "<Y") != 0) break;
    end = open;
  }
  if (end == 0 || m[end - 1] != mark) return;
  m.erase(end - 1, 1);
  // A paragraph the marks opened before the topic's text begins is taken
  // back: the text's own paragraph follows.
  const std::size_t paragraph = m.rfind("<Z", end - 1);
  if (paragraph == std::string::npos || body.table.open || !body.linkTag.empty()) return;
  const std::size_t tagEnd = m.find('>', paragraph);
  if (tagEnd == std::string::npos) return;
  for (std::size_t at = tagEnd + 1; at < m.size();) {
    const std::size_t close = m.find('>', at);
    if (m.compare(at, 2, "<Y") != 0 || close == std::string::npos) return;
    at = close + 1;
  }
  m.erase(paragraph);
  body.paragraphPending = true;
  body.paragraphOpen = false;
  --body.paragraphs;
  if (m.empty()) body.visible = false;
}

// ---- Pages ----

bool TRtfPage::CutBefore(int rtfStyle) {
  const RtfImportOptions& options = m_run.Options();
  Text& body = m_texts.front();
  if (!m_run.CanMakePages(3)) return false;
  if (options.headingsCut) {
    if (!m_run.HasIndex()) m_run.StartIndex(m_documentName);
    const int level = m_header.HeadingLevel(rtfStyle);
    if (level >= 1 && level <= options.headingLimit) {
      if (body.visible) CutPage(true);
      return true;
    }
  }
  if (options.paragraphsPerPage > 0 && body.paragraphs >= options.paragraphsPerPage) CutPage(false);
  return false;
}

void TRtfPage::CutPage(bool byHeading) {
  FinishHotSpot();
  Text& body = m_texts.front();
  if (body.linkWritten) {
    body.markup += "<%>";
    body.linkWritten = false;
  }
  const std::string linkTag = body.linkTag;
  const std::string bookmarkTarget = body.bookmarkTarget;
  TAEHoggetto* old = m_currentPage != nullptr ? m_currentPage : NewPageForText();
  TAEHoggetto* next = m_run.NewPage();
  if (old == nullptr || next == nullptr) return;
  body.markup += "<Z S0 ><Z S0 >" + PageLink(next->Index(), "continue...") + "<Z S0 >";
  if (byHeading) body.markup += m_run.ContentsLink();
  StoreInto(body, old);
  ResetPageFields();
  m_currentPage = next;
  body = Text{};
  body.markup = "<Z S0 >" + PageLink(old->Index(), "...continue") + "<Z S0 >";
  body.linkTag = linkTag;
  body.bookmarkTarget = bookmarkTarget;
  ++m_pageInFile;
}

TAEHoggetto* TRtfPage::NewPageForText() {
  return m_run.NewPage(m_run.Options().winHelp ? std::string_view(m_context) : std::string_view());
}

void TRtfPage::ResetPageFields() {
  m_title.clear();
  m_titleFromHeading = false;
  m_collectingHeading = false;
  m_headingLevel = 0;
  m_context.clear();
  m_keywords.clear();
  m_footnoteTexts.clear();
  m_bookmarks.clear();
}

int TRtfPage::StorePage() {
  // Texts left open by a document that ends inside them are given up.
  while (m_texts.size() > 1) m_texts.pop_back();
  m_dests.clear();
  Text& body = m_texts.front();
  FinishHotSpot();
  if (body.table.open) CloseTable();
  CloseLink();
  const RtfImportOptions& options = m_run.Options();
  if (options.clipboard) {
    std::string markup = body.markup;
    for (const std::string& note : m_footnoteTexts) markup += "<Z S0 >" + note;
    m_run.clipboardMarkup += markup;
    m_run.clipboardParagraphs += body.paragraphs;
    body = Text{};
    ResetPageFields();
    return -1;
  }
  const bool empty = !body.visible && m_footnoteTexts.empty() && m_context.empty() && m_title.empty() &&
                     m_currentPage == nullptr;
  if (empty && (m_pageInFile > 0 || !m_readAnything)) {
    body = Text{};
    ResetPageFields();
    if (options.headingsCut && !options.commonIndex) m_run.FinishIndex();
    return -1;
  }
  TAEHoggetto* page = m_currentPage != nullptr ? m_currentPage : NewPageForText();
  m_currentPage = nullptr;
  int number = -1;
  if (page != nullptr) {
    if (options.headingsCut && m_run.HasIndex()) body.markup += m_run.ContentsLink();
    number = StoreInto(body, page);
  }
  body = Text{};
  ResetPageFields();
  ++m_pageInFile;
  if (options.headingsCut && !options.commonIndex) m_run.FinishIndex();
  return number;
}

int TRtfPage::StoreInto(Text& text, TAEHoggetto* page) {
  const RtfImportOptions& options = m_run.Options();
  const bool body = &text == &m_texts.front();
  std::string markup = std::move(text.markup);
  std::size_t shift = 0;
  if (!markup.starts_with("<Z")) {
    markup.insert(0, "<Z S0 >");
    shift = 7;
  }
  if (body) {
    for (const std::string& note : m_footnoteTexts) markup += "<Z S0 >" + note;
    m_footnoteTexts.clear();
  }
  if (options.winHelp) markup = ResolveBitmaps(std::move(markup));
  markup.push_back('\0');
  page->SetContent(std::move(markup));
  const int number = page->Index();
  if (!body) return number;
  m_run.PageStored(number);

  std::string title = m_title;
  if (options.winHelp && title.empty()) title = m_context;
  if (title.empty()) {
    title = m_documentName;
    if (m_pageInFile > 0) title += " (" + std::to_string(m_pageInFile + 1) + ")";
  }
  page->SetName(title.substr(0, kTitleCapacity));
  if (!options.winHelp) {
    for (const auto& [offset, name] : text.bookmarkLinks) m_run.LinkToBookmark(name, number, offset + shift);
  }
  for (const std::string& name : m_bookmarks) m_run.BookmarkAt(name, number);
  if (options.headingsCut && m_run.HasIndex()) m_run.IndexLine(std::max(m_headingLevel, 1), number, page->GetCaption());
  if (options.winHelp) {
    const std::string context = m_context.empty() ? "BadPageId" + std::to_string(number) : m_context;
    SetPageLookupName(*page, context);
    for (const std::string& keyword : m_keywords) {
      if (m_run.AddKeyword(*page, keyword)) m_run.AddReport(1, keyword);
    }
    std::string entry = context + ":" + std::to_string(number) + ").................................";
    m_run.AddReport(0, "(" + entry.substr(0, 32) + ".." + document::GetDescription(*page));
  }
  return number;
}

std::string TRtfPage::ResolveBitmaps(std::string markup) {
  // "{bmc name}", "{bml name}", "{bmr name}": the help compiler's pictures.
  std::string out;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t at = markup.find("{bm", pos);
    if (at == std::string::npos) break;
    const std::size_t close = markup.find('}', at);
    const std::size_t blank = markup.find(' ', at);
    if (close == std::string::npos || blank == std::string::npos || blank > close) {
      out.append(markup, pos, at + 3 - pos);
      pos = at + 3;
      continue;
    }
    const std::string name = Trim(std::string_view(markup).substr(blank + 1, close - blank - 1));
    TAEHoggetto* image = name.empty() ? nullptr : m_run.LoadImageFile(name);
    out.append(markup, pos, at - pos);
    if (image != nullptr) {
      auto placed = m_run.Set().AddImmagineNew(image);
      out += placed ? m_run.PlaceObject(std::move(placed)) : std::string();
    } else {
      out.append(markup, at, close + 1 - at);
    }
    pos = close + 1;
  }
  out.append(markup, pos, std::string::npos);
  return out;
}

}  // namespace tarn::convert
