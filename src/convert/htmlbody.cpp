// The body of an exported page; see htmlbody.h.
#include "convert/htmlbody.h"

#include <algorithm>
#include <memory>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "convert/htmlwords.h"
#include "convert/pagemarkup.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "markup/tokenizer.h"
#include "platform/messages.h"
#include "richtext/styles.h"

namespace tarn::convert {
using namespace document;
using namespace document::field;
namespace {

constexpr std::string_view kDefaultFace = "Times New Roman";
constexpr std::uint32_t kColourMask = 0xFFFFFF;
constexpr std::int16_t kPairNotGiven = -20000;

bool IsList(int listType) { return listType == style::kListNumbered || listType == style::kListBullet; }

HtmlFont ToHtmlFont(const richtext::TMyFont& font) {
  return {font.colour & kColourMask, font.face, font.size, static_cast<std::uint8_t>(font.style & 0x0F),
          font.position};
}

bool SameFont(const HtmlFont& a, const HtmlFont& b) {
  return a.colour == b.colour && a.face == b.face && a.size == b.size && a.flags == b.flags;
}

void SetBit(std::uint8_t& flags, std::uint8_t bit, bool on) {
  flags = static_cast<std::uint8_t>(on ? flags | bit : flags & ~bit);
}

// The character codes of a paragraph or format tag applied to a font.
void ApplyCharacterCodes(const markup::TagCodes& codes, HtmlFont& font) {
  using markup::Code;
  if (codes.Has(Code::kColour)) font.colour = codes.Colour(Code::kColour) & kColourMask;
  if (codes.Has(Code::kFace)) font.face = codes.Face();
  if (codes.Has(Code::kSize)) font.size = codes.Number(Code::kSize);
  if (codes.Has(Code::kItalic)) SetBit(font.flags, style::kItalic, codes.Number(Code::kItalic) == 1);
  if (codes.Has(Code::kBold)) SetBit(font.flags, style::kBold, codes.Number(Code::kBold) == 1);
  // All four style bits follow "y": underline and strike-through must reach
  // the FONT element as much as bold and italic.
  if (codes.Has(Code::kStyleBits))
    font.flags = static_cast<std::uint8_t>(codes.Number(Code::kStyleBits) & 0x0F);
  if (codes.Has(Code::kPosition)) font.position = static_cast<std::uint8_t>(codes.Number(Code::kPosition));
}

TAEHoggetto* Live(const TAEHset* set, ObjectId id) {
  if (set == nullptr) return nullptr;
  TAEHoggetto* object = set->GetObjectById(id);
  return object != nullptr && !object->IsFree() ? object : nullptr;
}

}  // namespace

// ---- Body ----

void THtmlBody::WriteBodyTag(std::string& out, const TAEHoggetto& page) {
  const TAEHset* set = LinkedAEHset();
  out += "<BODY";
  const std::int32_t background = page.I32(kPageBgImage);
  TAEHoggetto* image = background >= 0 && set != nullptr ? set->GetObject(immagine, IndexOf(background)) : nullptr;
  if (image != nullptr && !image->IsFree()) {
    out += " BACKGROUND=\"" + OutputFileName(*image, m_nameKind) + "\"";
    AddToFileList(image);
  }
  out += " TEXT=#" + HtmlColour(static_cast<std::uint32_t>(page.I32(kPageTextColour))) +
         " LINK=#" + HtmlColour(static_cast<std::uint32_t>(page.I32(kPageLinkColour))) +
         " VLINK=#" + HtmlColour(static_cast<std::uint32_t>(page.I32(kPageVisitedColour))) +
         " BGCOLOR=#" + HtmlColour(static_cast<std::uint32_t>(page.I32(kPageBgColour))) + " >\r\n";
  out += "<BASE TARGET=\"_top\">\r\n";
}

void THtmlBody::WriteBody(std::string& out, int mode, TAEHoggetto& page) {
  if (mode == kBodyAndText || mode == kBodyTagOnly) WriteBodyTag(out, page);
  if (mode == kBodyTagOnly) return;
  // The text stays valid while it is walked even if a page pulled in by a
  // reference replaces its own content meanwhile.
  const PageMarkup markup(page);
  const TAEHoggetto* outer = m_pageWritten;
  if (outer == nullptr) m_pageWritten = &page;
  HtmlText text(out);
  WalkText(text, markup.Text());
  m_pageWritten = outer;
}

void THtmlBody::WalkText(HtmlText& t, std::string_view markup) {
  using markup::TokenKind;
  std::string& out = t.out;
  markup::Tokenizer tokens(markup);
  for (markup::Token token = tokens.Next(); token.kind != TokenKind::kEnd; token = tokens.Next()) {
    switch (token.kind) {
      case TokenKind::kText: WriteCharacters(t, token.text); continue;
      case TokenKind::kEntity:
        WritePendingFormat(t);
        out.append(token.text);
        // A blank after a reference is an ordinary blank again.
        t.lastWasBlank = false;
        continue;
      case TokenKind::kControls:
        // Control bytes carry nothing (runs of them stand for neutralised
        // format tags) and leave the pending format pending.
        continue;
      case TokenKind::kCellEnd: WriteCellBoundary(t); continue;
      default: break;
    }
    if (!token.closed) break;  // a tag without its end ends the text
    switch (token.kind) {
      case TokenKind::kReference: WriteObjectTag(t, static_cast<ObjectId>(token.value)); break;
      case TokenKind::kLinkEnd:
        out += "</A>";
        t.linkOpen = false;
        break;
      case TokenKind::kFormatTag: CharacterFormat(t, tokens.Codes()); break;
      case TokenKind::kParagraphTag: ParagraphStart(t, tokens.Codes()); break;
      default: break;
    }
  }
  WritePendingFormat(t);
  CloseParagraph(t);
}

void THtmlBody::WriteCharacters(HtmlText& t, std::string_view text) {
  std::string& out = t.out;
  WritePendingFormat(t);
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const char c = text[i];
    if (c == ' ') {
      out += t.lastWasBlank ? "&nbsp;" : " ";
      t.lastWasBlank = true;
      ++i;
      continue;
    }
    // Plain characters are copied as one run.
    std::size_t j = i;
    while (j < n && text[j] > ' ' && text[j] < 127 && text[j] != '>') ++j;
    if (j > i) {
      out.append(text.substr(i, j - i));
      i = j;
    } else {
      AppendHtmlText(out, static_cast<unsigned char>(c));
      ++i;
    }
    t.lastWasBlank = false;
  }
}

void THtmlBody::CloseParagraph(HtmlText& t) {
  t.out += "&nbsp;";
  WriteClosingTags(t);
  if (IsList(t.emitted.listType)) t.out += "</LI>";
  t.out += "</DIV>\r\n";
  t.paragraphOpen = false;
}

void THtmlBody::ParagraphStart(HtmlText& t, const markup::TagCodes& codes) {
  using namespace document::field::style;
  using markup::Code;
  const std::int32_t number = codes.Has(Code::kStyle) ? std::max(codes.Number(Code::kStyle), 0) : 0;
  const TAEHset* set = LinkedAEHset();
  const TAEHoggetto* style = set != nullptr ? set->GetObject(stileParagrafo, number) : nullptr;
  if (style != nullptr && style->IsFree()) style = nullptr;
  if (t.paragraphOpen) CloseParagraph(t);

  t.styleNumber = number;
  t.styleFont = ToHtmlFont(richtext::StyleFont(style));
  EmittedState& e = t.emitted;
  if (style != nullptr) {
    t.styleLinkColour = static_cast<std::uint32_t>(style->I32(kLinkColour)) & kColourMask;
    t.styleLinkSize = style->I16(kLinkSize);
    t.styleLinkFlags = static_cast<std::uint8_t>(style->U8(kLinkStyle) & 0x0F);
    e.alignment = style->U8(kAlignment);
    e.listType = style->U8(kListKind);
    e.unit = style->U8(kUnit);
    e.lineHeight = style->I16(kLineHeight);
    e.indent = style->I16(kIndent);
    e.leftMargin = style->I16(kLeftMargin);
    e.rightMargin = style->I16(kRightMargin);
    e.topMargin = style->I16(kSpaceBefore);
    e.bottomMargin = style->I16(kSpaceAfter);
  } else {
    const EmittedState defaults;
    t.styleLinkColour = defaults.linkColour;
    t.styleLinkSize = defaults.linkSize;
    t.styleLinkFlags = defaults.linkFlags;
    const HtmlFont font = e.font;
    const bool fontOpen = e.fontOpen;
    e = defaults;
    e.font = font;
    e.fontOpen = fontOpen;
  }
  e.linkColour = t.styleLinkColour;
  e.linkSize = t.styleLinkSize;
  e.linkFlags = t.styleLinkFlags;

  t.current = t.styleFont;
  ApplyCharacterCodes(codes, t.current);

  // The paragraph attributes the tag states; only those appear in the
  // paragraph's own style attribute.
  const int ppi = PixelsPerInch();
  std::string declarations;
  bool stated = false;
  // "P" is read past: no HTML rule uses it.
  if (codes.Has(Code::kAlignment)) {
    const std::int32_t v = codes.Number(Code::kAlignment);
    e.alignment = v;
    declarations += "text-align: " + std::string(AlignmentWord(v)) + ";";
    stated = true;
  }
  if (codes.Has(Code::kListKind)) {
    const std::int32_t v = codes.Number(Code::kListKind);
    e.listType = v;
    if (v == 0) declarations += "list-style-type:none;";
    else if (v == style::kListNumbered) declarations += "list-style-type:decimal;";
    else if (v == style::kListBullet) declarations += "list-style-type:disc;";
    stated = true;
  }
  if (codes.Has(Code::kUnit)) e.unit = codes.Number(Code::kUnit);
  struct Length {
    Code code;
    int EmittedState::*field;
    std::string_view property;
  };
  static constexpr Length kLengths[] = {
      {Code::kLineHeight, &EmittedState::lineHeight, "line-height: "},
      {Code::kIndent, &EmittedState::indent, "text-indent: "},
      {Code::kLeftMargin, &EmittedState::leftMargin, "margin-left: "},
      {Code::kRightMargin, &EmittedState::rightMargin, "margin-right: "},
      {Code::kSpaceBefore, &EmittedState::topMargin, "margin-top: "},
      {Code::kSpaceAfter, &EmittedState::bottomMargin, "margin-bottom: "}};
  std::string lengths;
  for (const Length& length : kLengths) {
    if (!codes.Has(length.code)) continue;
    const std::int32_t v = codes.Number(length.code);
    e.*length.field = v;
    stated = true;
    // An automatic line height has no length: the browser's normal height.
    const std::string value = length.field == &EmittedState::lineHeight && v == richtext::kAutomaticLineHeight
                                  ? std::string("normal")
                                  : LengthInUnit(v, e.unit, ppi);
    lengths += std::string(length.property) + value + ";";
  }
  declarations += lengths;
  if (codes.Has(Code::kLinkColour)) e.linkColour = codes.Colour(Code::kLinkColour) & kColourMask;
  if (codes.Has(Code::kLinkSize)) e.linkSize = codes.Number(Code::kLinkSize);
  if (codes.Has(Code::kLinkStyle))
    e.linkFlags = static_cast<std::uint8_t>(codes.Number(Code::kLinkStyle) & 0x0F);
  e.font = t.current;

  std::string& out = t.out;
  out += "<DIV";
  if (AlignmentWord(e.alignment) != "left") out += " ALIGN=" + std::string(AlignmentWord(e.alignment));
  out += " class=s" + std::to_string(number) + " ";
  out += ExpCSS == TExpCSS::ecUseCSS && stated ? " style='" + declarations + "'>" : std::string(">");
  out += "\r\n";
  if (e.listType == style::kListNumbered) {
    out += "<!lisnum>" + std::to_string(t.listCounter) + ". <!/lisnum>";
    ++t.listCounter;
  } else {
    if (e.listType == style::kListBullet) out += "<LI>";
    t.listCounter = 1;
  }
  const std::string font = FontElement(t.current, t.styleFont);
  out += font;
  e.fontOpen = !font.empty();
  if (t.current.flags & style::kBold) out += "<B>";
  if (t.current.flags & style::kItalic) out += "<I>";
  if (t.current.position == 1) out += "<SUB>";
  if (t.current.position == 2) out += "<SUP>";
  t.paragraphOpen = true;
  t.formatPending = false;
  t.linkOpen = false;
  t.lastWasBlank = false;
}

void THtmlBody::CharacterFormat(HtmlText& t, const markup::TagCodes& codes) {
  // A format tag restates the font relative to the paragraph's style; two
  // tags with no character between them amend one another.
  if (!t.formatPending) t.current = t.styleFont;
  ApplyCharacterCodes(codes, t.current);
  t.formatPending = true;
}

void THtmlBody::WritePendingFormat(HtmlText& t) {
  if (!t.formatPending) return;
  std::string& out = t.out;
  HtmlFont& s = t.emitted.font;
  const HtmlFont& f = t.current;
  const bool changed = !SameFont(f, s);
  const std::string element = FontElement(f, t.styleFont);
  const bool differencesOnly = element.empty() && (!changed || !t.emitted.fontOpen);
  if (differencesOnly) {
    if ((s.flags & style::kItalic) && !(f.flags & style::kItalic)) out += "</I>";
    if ((s.flags & style::kBold) && !(f.flags & style::kBold)) out += "</B>";
    if (s.position == 1 && f.position != 1) out += "</SUB>";
    if (s.position == 2 && f.position != 2) out += "</SUP>";
  } else {
    if (s.flags & style::kItalic) out += "</I>";
    if (s.flags & style::kBold) out += "</B>";
    if (s.position == 1) out += "</SUB>";
    if (s.position == 2) out += "</SUP>";
  }
  if (changed) {
    if (t.emitted.fontOpen) out += "</FONT>";
    t.emitted.fontOpen = !element.empty();
    out += element;
  }
  if (differencesOnly) {
    if ((f.flags & style::kBold) && !(s.flags & style::kBold)) out += "<B>";
    if ((f.flags & style::kItalic) && !(s.flags & style::kItalic)) out += "<I>";
    if (f.position == 1 && s.position != 1) out += "<SUB>";
    if (f.position == 2 && s.position != 2) out += "<SUP>";
  } else {
    if (f.flags & style::kBold) out += "<B>";
    if (f.flags & style::kItalic) out += "<I>";
    if (f.position == 1) out += "<SUB>";
    if (f.position == 2) out += "<SUP>";
  }
  s = f;
  t.formatPending = false;
}

void THtmlBody::WriteClosingTags(HtmlText& t) {
  const HtmlFont& s = t.emitted.font;
  if (s.flags & style::kItalic) t.out += "</I>";
  if (s.flags & style::kBold) t.out += "</B>";
  if (s.position == 1) t.out += "</SUB>";
  if (s.position == 2) t.out += "</SUP>";
  if (t.emitted.fontOpen) t.out += "</FONT>";
  t.emitted.fontOpen = false;
}

std::string THtmlBody::FontElement(const HtmlFont& font, const HtmlFont& base) const {
  std::string declarations;
  if (font.colour != base.colour) declarations += "color:#" + HtmlColour(font.colour) + ";";
  if (font.face != base.face) declarations += "font-family:\"" + font.face + "\";";
  if (font.size != base.size) declarations += "font-size:" + std::to_string(font.size) + "pt;";
  if (font.flags != base.flags) {
    if ((base.flags & style::kBold) && !(font.flags & style::kBold)) declarations += "font-weight:normal;";
    if ((base.flags & style::kItalic) && !(font.flags & style::kItalic)) declarations += "font-style:normal;";
    if ((font.flags ^ base.flags) & (style::kUnderline | style::kStrikeout)) {
      declarations += (font.flags & style::kUnderline)   ? "text-decoration:underline;"
                      : (font.flags & style::kStrikeout) ? "text-decoration:line-through;"
                                                         : "text-decoration:normal;";
    }
  }
  std::string attributes;
  const bool browserDefault = font.size == 12 && font.colour == 0 && base::SameText(font.face, kDefaultFace);
  if (!browserDefault) {
    if (font.size != 12) attributes += " SIZE=" + std::string(FontSizeCode(font.size));
    if (font.colour != 0) attributes += " COLOR=#" + HtmlColour(font.colour);
    if (!base::SameText(font.face, kDefaultFace)) attributes += " FACE=\"" + font.face + "\"";
  }
  if (declarations.empty() && attributes.empty()) return {};
  return "<FONT" + (declarations.empty() ? std::string() : " style='" + declarations + "'") + attributes + ">";
}

// ---- Objects and links ----

void THtmlBody::WriteObjectTag(HtmlText& t, ObjectId id) {
  TAEHoggetto* record = Live(LinkedAEHset(), id);
  if (record == nullptr || record->Kind() != tabellaHtml) WritePendingFormat(t);
  if (record == nullptr) return;
  switch (record->Kind()) {
    case testoHtml:
    case internetLink:
    case zipLink:
    case genLink:
    case programma:
    case speclink: OpenLink(t, *record); break;
    case immagine:
    case mappaClic:
      // Images stand in texts only through placed images.
      LinkedAEHset()->Services().messages->Error("bug: ogg immagine non deve + esser presente qui");
      break;
    default: WriteEmbeddedObject(t, *record); break;
  }
}

std::string THtmlBody::LinkDeclarations(const HtmlText& t) const {
  const EmittedState& e = t.emitted;
  std::string d;
  if (e.linkColour != t.styleLinkColour) d += "color:#" + HtmlColour(e.linkColour) + ";";
  if (e.linkSize != t.styleLinkSize) {
    // A link size of -1 means the size of the link's text.
    d += e.linkSize > 0 ? "font-size:" + std::to_string(e.linkSize) + "pt;" : std::string("font-size:inherit;");
  }
  const int differ = e.linkFlags ^ t.styleLinkFlags;
  if (differ & style::kBold) d += (e.linkFlags & style::kBold) ? "font-weight:bold;" : "font-weight:normal;";
  if (differ & style::kItalic)
    d += (e.linkFlags & style::kItalic) ? "font-style:italic;" : "font-style:normal;";
  if (differ & style::kUnderline)
    d += (e.linkFlags & style::kUnderline) ? "text-decoration:underline;" : "text-decoration:normal;";
  return d;
}

void THtmlBody::OpenLink(HtmlText& t, TAEHoggetto& record) {
  if (t.linkOpen) t.out += "</A>";
  std::string tag = "<A class=s" + std::to_string(t.styleNumber) + " ";
  const std::string declarations = LinkDeclarations(t);
  if (!declarations.empty()) tag += "style='" + declarations + "' ";
  tag += LinkAttributes(record) + " >";
  t.out += tag;
  t.linkOpen = true;
  t.linkStart = std::move(tag);
}

std::string THtmlBody::LinkAttributes(TAEHoggetto& record) {
  // Only special links carry extra attributes of their own.
  std::string attributes = LinkTargetAttributes(record);
  if (record.Kind() == speclink) attributes += " " + ExpandObjectReferences(record);
  return attributes;
}

std::string THtmlBody::LinkedPageName(TAEHoggetto& page, bool withFrameSet) {
  if (withFrameSet || page.Kind() != testoHtml) return OutputFileName(page, kMainName);
  if (m_frameless != nullptr) m_frameless->Add(&page);
  return OutputFileName(page, kFramelessName);
}

std::string THtmlBody::LinkTargetAttributes(TAEHoggetto& record) {
  const TAEHset* set = LinkedAEHset();
  if (record.Kind() != speclink) {
    if (record.Kind() == zipLink || record.Kind() == genLink) AddToFileList(&record);
    return "HREF=\"" + OutputFileName(record, kMainName) + "\" ";
  }
  const int pageNumber = m_pageWritten != nullptr ? m_pageWritten->Index() : 0;
  const std::string window = WindowName(record);
  switch (record.Subtype()) {
    case kSpecialToObject: {
      const int action = record.U8(kSpecialAction);
      const std::int32_t anchor = record.I32(kSpecialAnchor);
      const std::string hash = anchor >= 0 ? "#" + AnchorHtmlName(anchor) : std::string();
      if (action == kAnchorInPage) return "HREF=\"" + hash + "\" TARGET=_self";
      TAEHoggetto* target = Live(set, record.I32(kSpecialTarget));
      if (target == nullptr) return {};
      if (target->Kind() == zipLink || target->Kind() == genLink) AddToFileList(target);
      const std::string file = LinkedPageName(*target, record.U8(kSpecialTargetKind) == 1);
      const std::string name = file + hash;
      switch (action) {
        case kReplaceWindow: return "TARGET=_self HREF=\"" + name + "\"";
        case kReplaceFrame: return "TARGET=\"" + window + "\" HREF=\"" + name + "\"";
        case kIndependentWindow:
        case kPopupWindow:
          m_scriptFlags |= kOpenWindowScript;
          return "HREF=\"javascript:TarnF_open('" + name + "','" + AttributeEscape(window) + "'" +
                 WindowFeatures(record) + ",'Pag" + std::to_string(pageNumber) + "');\"";
        case kNewBrowser:
          m_scriptFlags |= kOpenBrowserScript;
          return "HREF=\"javascript:TarnF_openB('" + file + "');\"";
        case kJumpTo: return "HREF=\"" + name + "\"";
        default: return {};
      }
    }
    case kSpecialCloseWindow:
      m_scriptFlags |= kCloseWindowScript;
      return "HREF=\"javascript:TarnF_close('" + AttributeEscape(window) + "');\" ";
    case kSpecialPrevious:
    case kSpecialNext: {
      if (set == nullptr || m_pageWritten == nullptr) return {};
      const int other = record.Subtype() == kSpecialPrevious ? set->PreviousInSequence(pageNumber)
                                                             : set->NextInSequence(pageNumber);
      const TAEHoggetto* page = set->GetObject(testoHtml, other);
      return page != nullptr ? "HREF=\"" + OutputFileName(*page, kMainName) + "\"" : std::string();
    }
    default:
      // The keywords window and automatic import have no web form.
      return {};
  }
}

std::string THtmlBody::WindowFeatures(const TAEHoggetto& link) const {
  const auto content = link.Content().Present() ? link.ReadContent() : std::nullopt;
  if (!content || content->size() < static_cast<std::size_t>(kWindowDescriptionSize)) return ",''";
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(content->data()), content->size());
  auto word = [&](int i) { return base::GetI16(bytes, static_cast<std::size_t>(2 * i)); };
  std::vector<std::string> items;
  if (word(2) != kPairNotGiven) {
    items.push_back("height=" + std::to_string(word(3)));
    items.push_back("width=" + std::to_string(word(2)));
  }
  if (word(4) != kPairNotGiven) {
    items.push_back("screenX=" + std::to_string(word(4)));
    items.push_back("screenY=" + std::to_string(word(5)));
  }
  if (word(0) != kPairNotGiven) {
    items.push_back("left=" + std::to_string(word(1)));
    items.push_back("top=" + std::to_string(word(0)));
  }
  static constexpr std::pair<std::string_view, std::size_t> kSwitches[] = {
      {"dependent", 13}, {"fullscreen", 15}, {"location", 16}, {"menubar", 17},
      {"resizable", 18}, {"scrollbars", 19}, {"status", 20},   {"toolbar", 21}};
  for (const auto& [name, at] : kSwitches) items.push_back(std::string(name) + "=" + (bytes[at] != 0 ? "1" : "0"));
  std::string out = ",'";
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
  return out + "'";
}

}  // namespace tarn::convert
