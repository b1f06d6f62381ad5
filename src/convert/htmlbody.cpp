// The HTML converter's walk over a page's markup: paragraphs with their
// styles, character formats as B, I, SUB, SUP and FONT elements, blanks,
// entities, links with all their target forms, and the place where the
// objects placed in the text are converted.
#include <algorithm>
#include <memory>

#include "base/bytes.h"
#include "base/hex.h"
#include "base/cp1252.h"
#include "convert/aehtohtml.h"
#include "convert/htmlwords.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "platform/messages.h"
#include "richtext/entities.h"
#include "richtext/styles.h"

namespace tarn::convert {
using namespace document;
using namespace document::field;
namespace {

constexpr std::size_t kValueWindow = 12;  // a value's closing blank must come this soon
constexpr std::string_view kDefaultFace = "Times New Roman";
constexpr std::uint32_t kColourMask = 0xFFFFFF;
constexpr std::int16_t kPairNotGiven = -20000;
constexpr std::uint8_t kBold = 1;
constexpr std::uint8_t kItalic = 2;
constexpr std::uint8_t kUnderline = 4;
constexpr std::uint8_t kStrike = 8;
constexpr int kNumbered = 6;
constexpr int kBulleted = 10;

bool IsList(int listType) { return listType == kNumbered || listType == kBulleted; }

// The letter codes of one tag, read by the same rules as the markup reader:
// each code only at the read position, in the order asked for.
class TagCodes {
 public:
  TagCodes(std::string_view tag, std::size_t start) : m_tag(tag), m_pos(std::min(start, tag.size())) {}

  bool Number(std::string_view key, std::int32_t& value) {
    if (!At(key)) return false;
    m_pos += key.size();
    const std::size_t blank = FindBlank();
    if (blank == std::string_view::npos) return false;
    std::size_t i = m_pos;
    const bool negative = i < blank && m_tag[i] == '-';
    if (negative) ++i;
    std::int64_t v = 0;
    for (; i < blank && m_tag[i] >= '0' && m_tag[i] <= '9' && v < 0x7FFFFFFF; ++i) v = v * 10 + (m_tag[i] - '0');
    value = static_cast<std::int32_t>(negative ? -v : v);
    m_pos = blank + 1;
    return true;
  }

  bool Colour(std::string_view key, std::uint32_t& value) {
    if (!At(key)) return false;
    m_pos += key.size();
    std::uint32_t rgb = 0;
    for (std::size_t i = 0; i < 6; ++i) {
      const int d = m_pos + i < m_tag.size() ? base::HexDigitValue(m_tag[m_pos + i]) : -1;
      rgb = (rgb << 4) | static_cast<std::uint32_t>(d < 0 ? 0 : d);
    }
    const std::size_t blank = FindBlank();
    if (blank == std::string_view::npos) return false;
    // Written red, green, blue; held with red in the lowest byte.
    value = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    m_pos = blank + 1;
    return true;
  }

  bool Face(std::string& value) {
    if (!At("F\"")) return false;
    m_pos += 2;
    const std::size_t quote = m_tag.find('"', m_pos);
    if (quote == std::string_view::npos) return false;
    value.assign(m_tag.substr(m_pos, quote - m_pos));
    m_pos = std::min(quote + 2, m_tag.size());
    return true;
  }

 private:
  bool At(std::string_view key) const { return m_tag.substr(m_pos).starts_with(key); }
  std::size_t FindBlank() const {
    const std::size_t end = std::min(m_tag.size(), m_pos + kValueWindow);
    for (std::size_t i = m_pos; i < end; ++i) {
      if (m_tag[i] == ' ') return i;
    }
    return std::string_view::npos;
  }

  std::string_view m_tag;
  std::size_t m_pos;
};

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
void ApplyCharacterCodes(TagCodes& codes, HtmlFont& font, bool formatTag) {
  std::uint32_t colour = 0;
  std::int32_t n = 0;
  std::string face;
  if (codes.Colour("c", colour)) font.colour = colour & kColourMask;
  if (codes.Face(face)) font.face = face;
  if (codes.Number("s", n)) font.size = n;
  if (formatTag && codes.Number("i", n)) SetBit(font.flags, kItalic, n == 1);
  if (formatTag && codes.Number("g", n)) SetBit(font.flags, kBold, n == 1);
  // All four style bits follow "y": underline and strike-through must reach
  // the FONT element as much as bold and italic.
  if (codes.Number("y", n)) font.flags = static_cast<std::uint8_t>(n & 0x0F);
  if (codes.Number("p", n)) font.position = static_cast<std::uint8_t>(n);
}

TAEHoggetto* Live(const TAEHset* set, ObjectId id) {
  if (set == nullptr) return nullptr;
  TAEHoggetto* object = set->GetObjectById(id);
  return object != nullptr && !object->IsFree() ? object : nullptr;
}

}  // namespace

// ---- Body ----

void TAEHtoHtml::WriteBodyTag(std::string& out, const TAEHoggetto& page) {
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

void TAEHtoHtml::WriteBody(std::string& out, int mode, TAEHoggetto& page) {
  if (mode == kBodyAndText || mode == kBodyTagOnly) WriteBodyTag(out, page);
  if (mode == kBodyTagOnly) return;
  if (page.Kind() == testoHtml && page.U8(kPageGeneration) == 1 && page.Owner() != nullptr &&
      page.Owner()->OlderTextConverter) {
    page.Owner()->OlderTextConverter(page);
  }
  // The text stays valid while it is walked even if a page pulled in by a
  // reference replaces its own content meanwhile.
  std::shared_ptr<const std::string> keep;
  std::string copy;
  std::string_view markup;
  const DataBlock& content = page.Content();
  if (content.source == DataBlock::Source::Memory) {
    keep = content.buffer;
    markup = content.View();
  } else if (content.Present()) {
    copy = page.ReadContent().value_or(std::string());
    markup = copy;
  }
  markup = markup.substr(0, markup.find('\0'));
  const TAEHoggetto* outer = m_pageWritten;
  if (outer == nullptr) m_pageWritten = &page;
  HtmlText text(out);
  WalkText(text, markup);
  m_pageWritten = outer;
}

void TAEHtoHtml::WalkText(HtmlText& t, std::string_view markup) {
  std::string& out = t.out;
  const std::size_t n = markup.size();
  std::size_t i = 0;
  while (i < n) {
    const char c = markup[i];
    if (c == '<') {
      const char k = i + 1 < n ? markup[i + 1] : '\0';
      if (k == 'D' || k == 'F' || k == 'R') {
        const char closing[] = {'<', static_cast<char>(k + ('a' - 'A')), '>', '\0'};
        const std::size_t end = markup.find(closing, i + 2);
        if (end == std::string_view::npos) break;
        i = end + 3;
        continue;
      }
      if (k == 'T') {
        WriteCellBoundary(t);
        i += 3;
        continue;
      }
      const std::size_t close = markup.find('>', i);
      if (close == std::string_view::npos) break;  // a tag without its end ends the text
      const std::string_view tag = markup.substr(i, close - i);
      switch (k) {
        case '$': {
          std::uint32_t value = 0;
          for (std::size_t d = 2; d < 10; ++d) {
            const int h = d < tag.size() ? base::HexDigitValue(tag[d]) : -1;
            value = (value << 4) | static_cast<std::uint32_t>(h < 0 ? 0 : h);
          }
          WriteObjectTag(t, static_cast<ObjectId>(value));
          break;
        }
        case '%':
          out += "</A>";
          t.linkOpen = false;
          break;
        case 'Y': CharacterFormat(t, tag); break;
        case 'Z': ParagraphStart(t, tag); break;
        default: break;
      }
      i = close + 1;
      continue;
    }
    if (c == '&') {
      WritePendingFormat(t);
      const std::size_t length = richtext::DecodeEntity(markup, i).length;
      out.append(markup.substr(i, length));
      i += length;
      // A blank after a reference is an ordinary blank again.
      t.lastWasBlank = false;
      continue;
    }
    const auto uc = static_cast<unsigned char>(c);
    if (uc < 32) {
      // Control bytes carry nothing (runs of them stand for neutralised
      // format tags) and leave the pending format pending.
      ++i;
      continue;
    }
    WritePendingFormat(t);
    if (c == ' ') {
      out += t.lastWasBlank ? "&nbsp;" : " ";
      t.lastWasBlank = true;
      ++i;
      continue;
    }
    // Plain characters are copied as one run.
    std::size_t j = i;
    while (j < n && markup[j] > ' ' && markup[j] < 127 && markup[j] != '<' && markup[j] != '>' && markup[j] != '&') ++j;
    if (j > i) {
      out.append(markup.substr(i, j - i));
      i = j;
    } else {
      AppendHtmlText(out, uc);
      ++i;
    }
    t.lastWasBlank = false;
  }
  WritePendingFormat(t);
  CloseParagraph(t);
}

void TAEHtoHtml::CloseParagraph(HtmlText& t) {
  t.out += "&nbsp;";
  WriteClosingTags(t);
  if (IsList(t.emitted.listType)) t.out += "</LI>";
  t.out += "</DIV>\r\n";
  t.paragraphOpen = false;
}

void TAEHtoHtml::ParagraphStart(HtmlText& t, std::string_view tag) {
  using namespace richtext::stylefield;
  TagCodes codes(tag, 3);
  std::int32_t number = 0;
  codes.Number("S", number);
  number = std::max(number, 0);
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
  ApplyCharacterCodes(codes, t.current, false);

  // The paragraph attributes the tag states; only those appear in the
  // paragraph's own style attribute.
  const int ppi = PixelsPerInch();
  std::int32_t v = 0;
  std::uint32_t colour = 0;
  std::string declarations;
  bool stated = false;
  codes.Number("P", v);  // read past; no HTML rule uses it
  if (codes.Number("A", v)) {
    e.alignment = v;
    declarations += "text-align: " + std::string(AlignmentWord(v)) + ";";
    stated = true;
  }
  if (codes.Number("N", v)) {
    e.listType = v;
    if (v == 0) declarations += "list-style-type:none;";
    else if (v == kNumbered) declarations += "list-style-type:decimal;";
    else if (v == kBulleted) declarations += "list-style-type:disc;";
    stated = true;
  }
  if (codes.Number("M", v)) e.unit = v;
  struct Length {
    std::string_view key;
    int EmittedState::*field;
    std::string_view property;
  };
  static constexpr Length kLengths[] = {
      {"L", &EmittedState::lineHeight, "line-height: "},  {"I", &EmittedState::indent, "text-indent: "},
      {"l", &EmittedState::leftMargin, "margin-left: "},  {"r", &EmittedState::rightMargin, "margin-right: "},
      {"t", &EmittedState::topMargin, "margin-top: "},    {"b", &EmittedState::bottomMargin, "margin-bottom: "}};
  std::string lengths;
  for (const Length& length : kLengths) {
    if (!codes.Number(length.key, v)) continue;
    e.*length.field = v;
    stated = true;
    // An automatic line height has no length: the browser's normal height.
    const std::string value = length.field == &EmittedState::lineHeight && v == richtext::kAutomaticLineHeight
                                  ? std::string("normal")
                                  : LengthInUnit(v, e.unit, ppi);
    lengths += std::string(length.property) + value + ";";
  }
  declarations += lengths;
  if (codes.Colour("C", colour)) e.linkColour = colour & kColourMask;
  if (codes.Number("S", v)) e.linkSize = v;
  if (codes.Number("Y", v)) e.linkFlags = static_cast<std::uint8_t>(v & 0x0F);
  e.font = t.current;

  std::string& out = t.out;
  out += "<DIV";
  if (AlignmentWord(e.alignment) != "left") out += " ALIGN=" + std::string(AlignmentWord(e.alignment));
  out += " class=s" + std::to_string(number) + " ";
  out += ExpCSS == TExpCSS::ecUseCSS && stated ? " style='" + declarations + "'>" : std::string(">");
  out += "\r\n";
  if (e.listType == kNumbered) {
    out += "<!lisnum>" + std::to_string(t.listCounter) + ". <!/lisnum>";
    ++t.listCounter;
  } else {
    if (e.listType == kBulleted) out += "<LI>";
    t.listCounter = 1;
  }
  const std::string font = FontElement(t.current, t.styleFont);
  out += font;
  e.fontOpen = !font.empty();
  if (t.current.flags & kBold) out += "<B>";
  if (t.current.flags & kItalic) out += "<I>";
  if (t.current.position == 1) out += "<SUB>";
  if (t.current.position == 2) out += "<SUP>";
  t.paragraphOpen = true;
  t.formatPending = false;
  t.linkOpen = false;
  t.lastWasBlank = false;
}

void TAEHtoHtml::CharacterFormat(HtmlText& t, std::string_view tag) {
  // A format tag restates the font relative to the paragraph's style; two
  // tags with no character between them amend one another.
  if (!t.formatPending) t.current = t.styleFont;
  TagCodes codes(tag, 3);
  ApplyCharacterCodes(codes, t.current, true);
  t.formatPending = true;
}

void TAEHtoHtml::WritePendingFormat(HtmlText& t) {
  if (!t.formatPending) return;
  std::string& out = t.out;
  HtmlFont& s = t.emitted.font;
  const HtmlFont& f = t.current;
  const bool changed = !SameFont(f, s);
  const std::string element = FontElement(f, t.styleFont);
  const bool differencesOnly = element.empty() && (!changed || !t.emitted.fontOpen);
  if (differencesOnly) {
    if ((s.flags & kItalic) && !(f.flags & kItalic)) out += "</I>";
    if ((s.flags & kBold) && !(f.flags & kBold)) out += "</B>";
    if (s.position == 1 && f.position != 1) out += "</SUB>";
    if (s.position == 2 && f.position != 2) out += "</SUP>";
  } else {
    if (s.flags & kItalic) out += "</I>";
    if (s.flags & kBold) out += "</B>";
    if (s.position == 1) out += "</SUB>";
    if (s.position == 2) out += "</SUP>";
  }
  if (changed) {
    if (t.emitted.fontOpen) out += "</FONT>";
    t.emitted.fontOpen = !element.empty();
    out += element;
  }
  if (differencesOnly) {
    if ((f.flags & kBold) && !(s.flags & kBold)) out += "<B>";
    if ((f.flags & kItalic) && !(s.flags & kItalic)) out += "<I>";
    if (f.position == 1 && s.position != 1) out += "<SUB>";
    if (f.position == 2 && s.position != 2) out += "<SUP>";
  } else {
    if (f.flags & kBold) out += "<B>";
    if (f.flags & kItalic) out += "<I>";
    if (f.position == 1) out += "<SUB>";
    if (f.position == 2) out += "<SUP>";
  }
  s = f;
  t.formatPending = false;
}

void TAEHtoHtml::WriteClosingTags(HtmlText& t) {
  const HtmlFont& s = t.emitted.font;
  if (s.flags & kItalic) t.out += "</I>";
  if (s.flags & kBold) t.out += "</B>";
  if (s.position == 1) t.out += "</SUB>";
  if (s.position == 2) t.out += "</SUP>";
  if (t.emitted.fontOpen) t.out += "</FONT>";
  t.emitted.fontOpen = false;
}

std::string TAEHtoHtml::FontElement(const HtmlFont& font, const HtmlFont& base) const {
  std::string declarations;
  if (font.colour != base.colour) declarations += "color:#" + HtmlColour(font.colour) + ";";
  if (font.face != base.face) declarations += "font-family:\"" + font.face + "\";";
  if (font.size != base.size) declarations += "font-size:" + std::to_string(font.size) + "pt;";
  if (font.flags != base.flags) {
    if ((base.flags & kBold) && !(font.flags & kBold)) declarations += "font-weight:normal;";
    if ((base.flags & kItalic) && !(font.flags & kItalic)) declarations += "font-style:normal;";
    if ((font.flags ^ base.flags) & (kUnderline | kStrike)) {
      declarations += (font.flags & kUnderline) ? "text-decoration:underline;"
                      : (font.flags & kStrike)  ? "text-decoration:line-through;"
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

void TAEHtoHtml::WriteObjectTag(HtmlText& t, ObjectId id) {
  WritePendingFormat(t);
  TAEHoggetto* record = Live(LinkedAEHset(), id);
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

void TAEHtoHtml::WriteEmbeddedObject(HtmlText& t, TAEHoggetto& record) {
  if (record.Kind() == shortObj && record.Subtype() == 14) {
    // An anchor inside an open link must not take the link's text with it.
    if (t.linkOpen) t.out += "</A>";
    t.out += "<A NAME=\"" + AnchorHtmlName(record.I32(kShortValue)) + "\"></A>";
    if (t.linkOpen) t.out += t.linkStart;
    return;
  }
  // FIXME: tables, placed images with their maps and roll-overs, form
  // controls, buttons, form starts, floating frames, multimedia, custom
  // objects, comments, raw HTML and window scripts are converted here; until
  // then they write nothing.
}

void TAEHtoHtml::WriteCellBoundary(HtmlText& /*text*/) {
  // FIXME: table cells (TD and TR elements) are written here together with
  // the tables themselves; until then a cell's paragraphs follow one another.
}

std::string TAEHtoHtml::LinkDeclarations(const HtmlText& t) const {
  const EmittedState& e = t.emitted;
  std::string d;
  if (e.linkColour != t.styleLinkColour) d += "color:#" + HtmlColour(e.linkColour) + ";";
  if (e.linkSize != t.styleLinkSize) {
    // A link size of -1 means the size of the link's text.
    d += e.linkSize > 0 ? "font-size:" + std::to_string(e.linkSize) + "pt;" : std::string("font-size:inherit;");
  }
  const int differ = e.linkFlags ^ t.styleLinkFlags;
  if (differ & kBold) d += (e.linkFlags & kBold) ? "font-weight:bold;" : "font-weight:normal;";
  if (differ & kItalic) d += (e.linkFlags & kItalic) ? "font-style:italic;" : "font-style:normal;";
  if (differ & kUnderline) d += (e.linkFlags & kUnderline) ? "text-decoration:underline;" : "text-decoration:normal;";
  return d;
}

void TAEHtoHtml::OpenLink(HtmlText& t, TAEHoggetto& record) {
  if (t.linkOpen) t.out += "</A>";
  std::string tag = "<A class=s" + std::to_string(t.styleNumber) + " ";
  const std::string declarations = LinkDeclarations(t);
  if (!declarations.empty()) tag += "style='" + declarations + "' ";
  tag += LinkTargetAttributes(record);
  // Only special links carry extra attributes of their own.
  if (record.Kind() == speclink) tag += " " + ExpandObjectReferences(record);
  tag += " >";
  t.out += tag;
  t.linkOpen = true;
  t.linkStart = std::move(tag);
}

std::string TAEHtoHtml::LinkedPageName(TAEHoggetto& page, bool withFrameSet) {
  if (withFrameSet || page.Kind() != testoHtml) return OutputFileName(page, kMainName);
  if (m_frameless != nullptr) m_frameless->Add(&page);
  return OutputFileName(page, kFramelessName);
}

std::string TAEHtoHtml::LinkTargetAttributes(TAEHoggetto& record) {
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

std::string TAEHtoHtml::WindowFeatures(const TAEHoggetto& link) const {
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
