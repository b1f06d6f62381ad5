// The reader of one HTML file: characters, paragraphs, character formats,
// lists, preformatted text, links and the head. Objects are in
// ht2objects.cpp, tables in ht2tables.cpp.
#include "convert/ht2reader.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <utility>

#include "base/cp1252.h"
#include "base/hex.h"
#include "convert/htmlcss.h"
#include "document/aehset.h"
#include "markup/entities.h"

namespace tarn::convert {
namespace fs = std::filesystem;
namespace sf = richtext::stylefield;
namespace {

// A paragraph is cut at the next blank once it holds this many characters,
// and anywhere once it holds kHardSplit.
constexpr int kParagraphSplit = 1800;
constexpr int kHardSplit = 2000;
constexpr int kTabWidth = 8;
constexpr int kListIndent = 24;  // pixels per level of nested lists
constexpr std::string_view kPreFace = "Courier New";
// Sizes of FONT SIZE=1..7 and of the headings.
constexpr int kFontSizes[] = {8, 10, 12, 14, 19, 27, 34};
constexpr int kHeadingSizes[] = {27, 19, 14, 12, 10, 8, 12};

struct ElementName {
  std::string_view name;
  Ht2Element element;
};

constexpr ElementName kElements[] = {
    {"A", kElA},           {"ADDRESS", kElBlock},   {"AREA", kElArea},        {"ARTICLE", kElBlock},
    {"ASIDE", kElBlock},   {"B", kElB},             {"BASE", kElBase},        {"BIG", kElBig},
    {"BLOCKQUOTE", kElBlock}, {"BODY", kElBody},    {"BR", kElBr},            {"CAPTION", kElBlock},
    {"CENTER", kElCenter}, {"CITE", kElI},          {"CODE", kElCode},        {"DD", kElDd},
    {"DEL", kElStrike},    {"DETAILS", kElBlock},   {"DFN", kElI},            {"DIR", kElBlock},
    {"DIV", kElDiv},       {"DL", kElDl},           {"DT", kElDt},            {"EM", kElEm},
    {"EMBED", kElEmbed},   {"FIELDSET", kElBlock},  {"FIGCAPTION", kElBlock}, {"FIGURE", kElBlock},
    {"FONT", kElFont},     {"FOOTER", kElBlock},    {"FORM", kElForm},        {"H1", kElH1},
    {"H2", kElH2},         {"H3", kElH3},           {"H4", kElH4},            {"H5", kElH5},
    {"H6", kElH6},         {"H7", kElH7},           {"HEAD", kElHead},        {"HEADER", kElBlock},
    {"HR", kElHr},         {"HTML", kElHtml},       {"I", kElI},              {"IMG", kElImg},
    {"INPUT", kElInput},   {"INS", kElU},           {"KBD", kElCode},         {"LEGEND", kElBlock},
    {"LI", kElLi},         {"LINK", kElLink},       {"LISTING", kElListing},  {"MAIN", kElBlock},
    {"MAP", kElMap},       {"MENU", kElBlock},      {"META", kElMeta},        {"NAV", kElBlock},
    {"OL", kElOl},         {"OPTION", kElOption},   {"P", kElP},              {"PRE", kElPre},
    {"S", kElStrike},      {"SAMP", kElCode},       {"SCRIPT", kElScript},    {"SECTION", kElBlock},
    {"SELECT", kElSelect}, {"SMALL", kElSmall},     {"SPAN", kElSpan},        {"STRIKE", kElStrike},
    {"STRONG", kElStrong}, {"STYLE", kElStyle},     {"SUB", kElSub},          {"SUMMARY", kElBlock},
    {"SUP", kElSup},       {"TABLE", kElTable},     {"TD", kElTd},            {"TEXTAREA", kElTextarea},
    {"TH", kElTh},         {"TITLE", kElTitle},     {"TR", kElTr},            {"TT", kElCode},
    {"U", kElU},           {"UL", kElUl},           {"VAR", kElI},            {"XMP", kElXmp},
};

static_assert(std::is_sorted(std::begin(kElements), std::end(kElements),
                             [](const ElementName& a, const ElementName& b) { return a.name < b.name; }));

Ht2Element ElementOf(std::string_view name) {
  const auto* end = std::end(kElements);
  const auto* it = std::lower_bound(std::begin(kElements), end, name,
                                    [](const ElementName& e, std::string_view n) { return e.name < n; });
  return it != end && it->name == name ? it->element : kElUnknown;
}

bool IsBlankByte(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string Hex6Upper(std::uint32_t colour) {
  // Held with red in the lowest byte; written red, green, blue.
  const std::uint32_t rgb = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
  return base::ToHex(rgb, 6, true);
}

}  // namespace

THt2Reader::THt2Reader(HtmlImportRun& run, std::string source, fs::path file, bool preview)
    : m_run(run),
      m_set(run.Set()),
      m_source(std::move(source)),
      m_tags(m_source),
      m_file(std::move(file)),
      m_folder(m_file.parent_path()),
      m_preview(preview),
      m_states(kElCount) {
  m_decode = [this](std::string_view raw) { return m_run.Characters().DecodeAll(raw); };
  m_emitted = m_run.Style(1).font;
}

// ---- Tokenizer ----

void THt2Reader::Read() {
  const std::size_t n = m_source.size();
  while (m_pos < n && !Stopped()) {
    const auto c = static_cast<unsigned char>(m_source[m_pos]);
    if (c == '<') {
      ReadTagAt();
    } else if (c == '&') {
      const HtmlCharacters::Decoded d = m_run.Characters().Decode(m_source, m_pos);
      m_pos += d.length;
      // A no-break space the exporter wrote for a second blank is that blank
      // again.
      if (d.character == 0xA0 && (m_extended || m_pageMarker)) {
        if (m_lastBlank && m_count > 0) {
          m_lastBlank = false;
          WriteVisible(' ');
          continue;
        }
        // The exporter ends every paragraph with a no-break space, before
        // the end tags of the paragraph's formats.
        if (m_pageMarker && EndsExportedParagraph(m_pos)) continue;
      }
      Character(d.character);
    } else {
      Character(c);
      ++m_pos;
    }
  }
}

bool THt2Reader::EndsExportedParagraph(std::size_t at) const {
  while (at + 2 < m_source.size() && m_source[at] == '<' && m_source[at + 1] == '/') {
    if (m_tags.FindNoCase("</DIV", at) == at) return true;
    const std::size_t gt = m_tags.FindClose(at);
    if (gt == std::string_view::npos) return false;
    at = gt + 1;
  }
  return false;
}

void THt2Reader::ReadTagAt() {
  const char next = m_pos + 1 < m_source.size() ? m_source[m_pos + 1] : '\0';
  if (next == '!') return ReadDeclaration();
  if (next == '?') return ReadProcessingInstruction();
  HtmlTag tag;
  if (!m_tags.Read(m_pos, tag, m_decode)) {
    Character('<');
    ++m_pos;
    return;
  }
  m_pos = tag.end;
  const Ht2Element element = ElementOf(tag.name);
  if (tag.closing) EndTag(tag, element);
  else StartTag(tag, element);
}

void THt2Reader::ReadDeclaration() {
  const std::string_view rest = std::string_view(m_source).substr(m_pos);
  if (rest.starts_with("<!--")) {
    std::size_t end = m_tags.FindNoCase("-->", m_pos + 4);
    std::size_t after = end + 3;
    if (end == std::string_view::npos) {
      // An unclosed comment ends at the next ">", not with the page.
      end = m_tags.FindClose(m_pos + 4);
      if (end == std::string_view::npos) end = m_source.size();
      after = std::min(end + 1, m_source.size());
    }
    const std::string_view text = std::string_view(m_source).substr(m_pos + 4, end - m_pos - 4);
    const std::string_view whole = std::string_view(m_source).substr(m_pos, after - m_pos);
    m_pos = after;
    if (text.starts_with("pageTarn=")) {
      m_pageMarker = true;
      return;
    }
    if (m_inHead) {
      m_headHtml.append(whole);
      m_headHtml += "\r\n";
      return;
    }
    Comment(text);
    return;
  }
  std::size_t end = m_tags.FindClose(m_pos + 2);
  if (end == std::string_view::npos) end = m_source.size();
  const std::string_view text = std::string_view(m_source).substr(m_pos + 2, end - m_pos - 2);
  const std::string_view whole = std::string_view(m_source).substr(m_pos, std::min(end + 1, m_source.size()) - m_pos);
  m_pos = std::min(end + 1, m_source.size());
  const std::string upper = base::UpperCase(text.substr(0, 8));
  // The document type is no comment of the author's.
  if (upper.starts_with("DOCTYPE")) return;
  if (upper.starts_with("TARN")) {
    m_extended = true;
    return;
  }
  if (upper.starts_with("LISNUM")) {
    // A list number the exporter generated.
    const std::size_t close = m_tags.FindNoCase("<!/LISNUM", m_pos);
    if (close != std::string_view::npos) {
      const std::size_t gt = m_tags.FindClose(close);
      m_pos = gt == std::string_view::npos ? m_source.size() : gt + 1;
    }
    return;
  }
  if (upper.starts_with("/LISNUM")) return;
  if (m_extended && upper.starts_with("TN_")) return Extended(text);
  if (m_inHead) {
    m_headHtml.append(whole);
    m_headHtml += "\r\n";
    return;
  }
  Comment(text);
}

void THt2Reader::ReadProcessingInstruction() {
  std::size_t end = m_tags.FindClose(m_pos + 2);
  if (end == std::string_view::npos) end = m_source.size();
  // "<?ORDER=n>" style markers: read the attributes as those of a tag.
  std::string as = "<X " + m_source.substr(m_pos + 2, end - m_pos - 2) + ">";
  m_pos = std::min(end + 1, m_source.size());
  HtmlTagReader reader(as);
  HtmlTag tag;
  if (!reader.Read(0, tag) || !tag.Has("ORDER")) return;
  auto object = m_set.NewObject(document::shortObj);
  object->SetSubtype(document::field::kShortMarker);
  object->SetI32(document::field::kShortValue, HtmlNumber(tag.Value("ORDER"), 0));
  WriteObject(AddObject(std::move(object)));
}

void THt2Reader::Character(unsigned char c) {
  if (m_inHead) {
    if (IsBlankByte(c) || c < 32) return;
    // Text in the head means the head has ended without saying so.
    EndHead();
  }
  if (m_pre > 0) {
    if (c == '\n') {
      if (m_preStart) {
        m_preStart = false;
        return;
      }
      PreLineBreak();
      return;
    }
    m_preStart = false;
    if (c == '\r') return;
    if (c == '\t') {
      const int column = m_pending ? 0 : m_count;
      const int spaces = kTabWidth - column % kTabWidth;
      for (int i = 0; i < spaces; ++i) WriteVisible(' ');
      return;
    }
    if (c == ' ') {
      WriteVisible(' ');
      return;
    }
  } else if (IsBlankByte(c)) {
    WriteBlank();
    return;
  }
  if (c < 32) return;
  WriteVisible(c);
}

// ---- Writing markup ----

void THt2Reader::NewParagraph() {
  m_pending = true;
  m_lastBlank = true;
}

void THt2Reader::EnsureParagraph() {
  if (m_pending) WriteParagraphTag();
}

void THt2Reader::WriteParagraphTag() {
  const THt2State& s = std::as_const(m_states).Top();
  const int style = m_run.StyleExists(s.style) ? s.style : 0;
  const Ht2StyleInfo& base = m_run.Style(style);
  m_markup += "<Z S";
  m_markup += std::to_string(style);
  m_markup += ' ';
  auto code = [&](char key, std::int32_t value, std::int32_t baseValue) {
    if (value == baseValue) return;
    m_markup += key;
    m_markup += std::to_string(value);
    m_markup += ' ';
  };
  code('A', s.alignment, base.alignment);
  int list = s.listType;
  if (m_listItem) list = !m_lists.empty() && m_lists.back() ? sf::kListNumbered : sf::kListBullet;
  code('N', list, base.listType);
  code('M', s.unit, base.unit);
  const Ht2ParagraphOverrides& m = s.measures;
  code('L', m.lineHeight.set ? m.lineHeight.value : base.lineHeight, base.lineHeight);
  code('I', m.indent.set ? m.indent.value : base.indent, base.indent);
  std::int32_t left = m.leftMargin.set ? m.leftMargin.value : base.leftMargin;
  if (m_lists.size() > 1) left += kListIndent * static_cast<std::int32_t>(m_lists.size() - 1);
  code('l', left, base.leftMargin);
  code('r', m.rightMargin.set ? m.rightMargin.value : base.rightMargin, base.rightMargin);
  code('t', m.topMargin.set ? m.topMargin.value : base.topMargin, base.topMargin);
  code('b', m.bottomMargin.set ? m.bottomMargin.value : base.bottomMargin, base.bottomMargin);
  m_markup += '>';
  m_paragraphStyle = style;
  m_emitted = base.font;
  m_formatVersion = kNoVersion;
  m_pending = false;
  m_count = 0;
  m_lastBlank = true;
  m_listItem = false;
  m_linkWritten = false;
}

richtext::TMyFont THt2Reader::EffectiveFont() const {
  const THt2State& s = std::as_const(m_states).Top();
  richtext::TMyFont f;
  f.face = s.face.empty() ? m_run.Style(m_paragraphStyle).font.face : s.face;
  f.colour = s.colour & 0xFFFFFF;
  f.size = std::clamp(s.size, 1, 400);
  f.style = s.StyleBits();
  f.position = s.position;
  return f;
}

void THt2Reader::WriteFormat() {
  // Most characters follow one another in an unchanged state.
  if (m_formatVersion == m_states.Version()) return;
  m_formatVersion = m_states.Version();
  const richtext::TMyFont f = EffectiveFont();
  if (f == m_emitted) return;
  // Format tags state what differs from the paragraph's style, not from
  // the paragraph's own settings.
  const richtext::TMyFont& base = m_run.Style(m_paragraphStyle).font;
  m_markup += "<Y ";
  if (f.colour != (base.colour & 0xFFFFFF)) m_markup += "c" + Hex6Upper(f.colour) + " ";
  if (f.face != base.face) m_markup += "F\"" + f.face + "\" ";
  if (f.size != base.size) m_markup += "s" + std::to_string(f.size) + " ";
  if (f.style != base.style) m_markup += "y" + std::to_string(f.style) + " ";
  if (f.position != base.position) m_markup += "p" + std::to_string(f.position) + " ";
  m_markup += '>';
  m_emitted = f;
}

void THt2Reader::WriteVisible(unsigned char c) {
  if (m_inHead) EndHead();
  if (!m_pending && m_count >= kHardSplit) NewParagraph();
  EnsureParagraph();
  WriteFormat();
  if (!m_pendingAnchors.empty()) WritePendingAnchors();
  if (m_link != -1 && !m_linkWritten) {
    AppendObjectTag(m_link);
    m_linkWritten = true;
  }
  markup::AppendEscaped(m_markup, c);
  ++m_count;
  m_lastBlank = c == ' ';
}

void THt2Reader::WriteBlank() {
  // No blank starts a paragraph, follows another, or stands between the
  // cells of a table.
  if (m_pending || m_count == 0 || m_lastBlank) return;
  if (!m_tables.empty() && !m_tables.back().cellOpen && m_ignoredTables == 0) return;
  if (m_count >= kParagraphSplit) {
    NewParagraph();
    return;
  }
  WriteVisible(' ');
}

void THt2Reader::WriteText(std::string_view text) {
  for (char c : text) {
    if (c == ' ') WriteBlank();
    else WriteVisible(static_cast<unsigned char>(c));
  }
}

void THt2Reader::WriteObject(ObjectId id) {
  if (id == -1) return;
  if (m_inHead) EndHead();
  EnsureParagraph();
  if (!m_pendingAnchors.empty()) WritePendingAnchors();
  if (m_link != -1 && !m_linkWritten) {
    AppendObjectTag(m_link);
    m_linkWritten = true;
  }
  AppendObjectTag(id);
  ++m_count;
  m_lastBlank = false;
}

void THt2Reader::AppendObjectTag(ObjectId id) {
  m_markup += "<$";
  base::AppendHex(m_markup, static_cast<std::uint32_t>(id), 8);
  m_markup += '>';
}

// ---- Anchors ----

void THt2Reader::NameAnchor(const std::string& name) {
  if (name.empty() || m_anchors.contains(name)) return;
  int number = m_nextAnchor;
  // The exporter names its anchors "an" + number: they keep their numbers.
  int exported = -1;
  if (name.starts_with("an") && name.size() > 2 &&
      std::from_chars(name.data() + 2, name.data() + name.size(), exported).ptr == name.data() + name.size() &&
      exported >= 0 && exported < std::numeric_limits<int>::max() && !m_anchorNumbers.contains(exported)) {
    number = exported;
  }
  auto anchor = m_set.NewObject(document::shortObj);
  anchor->SetSubtype(document::field::kShortAnchor);
  anchor->SetI32(document::field::kShortValue, number);
  const ObjectId id = AddObject(std::move(anchor));
  if (id == -1) return;
  m_anchors.emplace(name, number);
  m_anchorNumbers.insert(number);
  m_nextAnchor = std::max(m_nextAnchor, number + 1);
  m_pendingAnchors.push_back(id);
}

void THt2Reader::WritePendingAnchors() {
  for (ObjectId id : m_pendingAnchors) AppendObjectTag(id);
  m_count += static_cast<int>(m_pendingAnchors.size());
  m_lastBlank = false;
  m_pendingAnchors.clear();
}

void THt2Reader::PreLineBreak() {
  // An empty line of preformatted text is an empty paragraph.
  EnsureParagraph();
  NewParagraph();
}

// ---- States ----

void THt2Reader::PushCharacter(int element) { m_states.Push(element, Ht2Opened::Character); }

void THt2Reader::PopElement(int element) { m_states.PopTo(element); }

void THt2Reader::Align(const HtmlTag& tag, THt2State& state) {
  const std::string align = base::LowerCase(tag.Value("ALIGN"));
  if (align == "left") state.alignment = 0;
  else if (align == "right") state.alignment = 1;
  else if (align == "center" || align == "middle") state.alignment = 2;
}

// ---- Tags ----

void THt2Reader::EndHead() {
  m_inHead = false;
  m_bodySeen = true;
}

bool THt2Reader::HeadTag(const HtmlTag& tag, Ht2Element element) {
  switch (element) {
    case kElTitle: TitleElement(tag); return true;
    case kElMeta: Meta(tag); return true;
    case kElLink: LinkElement(tag); return true;
    case kElBase: {
      std::string href = tag.Value("HREF");
      // A web address as base says nothing about local files.
      if (base::LowerCase(href).find(':') != std::string::npos) href.clear();
      m_base = href;
      return true;
    }
    case kElStyle: SkipElement(tag, "</STYLE", &m_headHtml); return true;
    case kElScript: {
      if (!m_inHead) return false;
      std::string script;
      SkipElement(tag, "</SCRIPT", &script);
      // The functions the exporter generates are generated again.
      if (!m_pageMarker || script.find("TarnF_") == std::string::npos) m_headHtml += script;
      return true;
    }
    case kElHead:
      m_inHead = !m_bodySeen;
      return true;
    case kElHtml: return true;
    default: break;
  }
  if (!m_inHead) return false;
  if (element != kElUnknown && element != kElBody) {
    // A body element: the head has ended without saying so.
    EndHead();
    return false;
  }
  if (element == kElUnknown) {
    m_headHtml.append(std::string_view(m_source).substr(tag.at, tag.end - tag.at));
    m_headHtml += "\r\n";
    return true;
  }
  return false;
}

void THt2Reader::StartTag(const HtmlTag& tag, Ht2Element element) {
  if (HeadTag(tag, element)) return;
  // The names that links reach with a fragment.
  if (element == kElA) NameAnchor(tag.Value("NAME"));
  NameAnchor(tag.Value("ID"));
  THt2State* s = nullptr;
  // The elements that switch one style bit on.
  static constexpr std::pair<Ht2Element, bool THt2State::*> kStyleBits[] = {
      {kElB, &THt2State::bold},      {kElStrong, &THt2State::bold},      {kElEm, &THt2State::bold},
      {kElI, &THt2State::italic},    {kElU, &THt2State::underline},      {kElStrike, &THt2State::strike}};
  for (const auto& [which, bit] : kStyleBits) {
    if (which != element) continue;
    PushCharacter(element);
    m_states.Top().*bit = true;
    return;
  }
  switch (element) {
    case kElCode:
      PushCharacter(element);
      m_states.Top().face = std::string(kPreFace);
      break;
    case kElSmall:
    case kElBig: {
      PushCharacter(element);
      s = &m_states.Top();
      int size = s->size;
      if (element == kElSmall) {
        for (int v : kFontSizes) {
          if (v < s->size) size = v;
        }
      } else {
        for (auto it = std::rbegin(kFontSizes); it != std::rend(kFontSizes); ++it) {
          if (*it > s->size) size = *it;
        }
      }
      s->size = size;
      break;
    }
    case kElSub:
    case kElSup:
      m_states.Push(element, Ht2Opened::Position);
      m_states.Top().position = element == kElSub ? 1 : 2;
      break;
    case kElFont: Font(tag); break;
    case kElSpan:
      PushCharacter(element);
      if (tag.Has("STYLE")) ParseCssDeclarations(tag.Value("STYLE"), m_run.PixelsPerInch()).ApplyFont(m_states.Top());
      break;
    case kElH1: case kElH2: case kElH3: case kElH4: case kElH5: case kElH6: case kElH7: Heading(tag, element); break;
    case kElP:
      m_states.Push(element, Ht2Opened::Paragraph);
      Align(tag, m_states.Top());
      NewParagraph();
      break;
    case kElCenter:
      m_states.Push(element, Ht2Opened::Paragraph);
      m_states.Top().alignment = 2;
      NewParagraph();
      break;
    case kElDiv: Div(tag); break;
    case kElBlock:
    case kElBr:
    case kElHr:
    case kElDl:
    case kElDt:
    case kElDd: NewParagraph(); break;
    case kElOl:
    case kElUl:
      NewParagraph();
      if (!m_extended) m_lists.push_back(element == kElOl);
      break;
    case kElLi: ListItem(); break;
    case kElPre:
    case kElListing:
    case kElXmp:
      PushCharacter(element);
      m_states.Top().face = std::string(kPreFace);
      ++m_pre;
      m_preStart = true;
      NewParagraph();
      break;
    case kElBody: Body(tag); break;
    case kElA: Anchor(tag); break;
    case kElImg: Image(tag); break;
    case kElMap: Map(tag); break;
    case kElEmbed: Embed(tag); break;
    case kElForm: Form(tag); break;
    case kElInput: Input(tag); break;
    case kElSelect: Select(tag); break;
    case kElTextarea: TextArea(tag); break;
    case kElScript: BodyScript(tag); break;
    case kElTable: OpenTable(tag); break;
    case kElTr: StartRow(&tag); break;
    case kElTd:
    case kElTh: StartCell(tag, element == kElTh); break;
    default: break;
  }
}

void THt2Reader::EndTag(const HtmlTag& /*tag*/, Ht2Element element) {
  switch (element) {
    case kElHead:
      if (m_inHead) EndHead();
      break;
    case kElH1: case kElH2: case kElH3: case kElH4: case kElH5: case kElH6: case kElH7:
    case kElP:
    case kElCenter:
    case kElDiv:
      PopElement(element);
      NewParagraph();
      break;
    case kElPre:
    case kElListing:
    case kElXmp:
      if (m_states.PopTo(element)) {
        m_pre = std::max(0, m_pre - 1);
        m_preStart = false;
      }
      NewParagraph();
      break;
    case kElBlock:
    case kElLi:
    case kElDt:
    case kElDd:
    case kElDl: NewParagraph(); break;
    case kElOl:
    case kElUl:
      NewParagraph();
      if (!m_extended && !m_lists.empty()) m_lists.pop_back();
      break;
    case kElA: CloseLink(); break;
    case kElTable: CloseTable(); break;
    case kElTr:
      if (!m_extended && m_ignoredTables == 0 && !m_tables.empty()) {
        THt2TabAEHoggetto& t = m_tables.back();
        CloseCell(t);
        FinishRow(t, "<Z S0 ><patchtr><T>");
      }
      break;
    case kElTd:
    case kElTh: EndCell(); break;
    case kElUnknown:
    case kElBody:
    case kElHtml:
    case kElForm:
    case kElMap:
    case kElBr: break;
    default: PopElement(element); break;
  }
}

void THt2Reader::Font(const HtmlTag& tag) {
  PushCharacter(kElFont);
  THt2State& s = m_states.Top();
  if (!s.cssClass) {
    std::uint32_t colour = 0;
    if (tag.Has("COLOR") && ParseHtmlColour(tag.Value("COLOR"), colour)) s.colour = colour;
    if (tag.Has("FACE")) {
      std::string face = tag.Value("FACE");
      face = face.substr(0, face.find_first_of(",;"));
      face = MarkupFaceName(face);
      if (!face.empty()) s.face = face;
    }
    if (tag.Has("SIZE")) {
      const std::string v = tag.Value("SIZE");
      int code = HtmlNumber(v, 0);
      if (!v.empty() && (v[0] == '+' || v[0] == '-')) code = 3 + code;
      s.size = code >= 1 && code <= 7 ? kFontSizes[code - 1] : 12;
    }
  }
  if (tag.Has("STYLE")) ParseCssDeclarations(tag.Value("STYLE"), m_run.PixelsPerInch()).ApplyFont(s);
}

void THt2Reader::Heading(const HtmlTag& tag, Ht2Element element) {
  PushCharacter(element);
  THt2State& s = m_states.Top();
  Align(tag, s);
  s.size = kHeadingSizes[element - kElH1];
  // Headings are bold in every browser; without it a fourth-level heading
  // could not be told from the text.
  s.bold = true;
  NewParagraph();
}

void THt2Reader::Div(const HtmlTag& tag) {
  m_states.Push(kElDiv, Ht2Opened::Paragraph);
  if (m_extended) return;
  THt2State& s = m_states.Top();
  if (m_classes == nullptr) {
    Align(tag, s);
    NewParagraph();
    return;
  }
  const auto found = m_classes->find(base::LowerCase(tag.Value("CLASS")));
  TakeStyle(found != m_classes->end() ? found->second : 0);
  s.cssClass = true;
  if (tag.Has("STYLE")) {
    const CssDeclarations d = ParseCssDeclarations(tag.Value("STYLE"), m_run.PixelsPerInch());
    if (d.alignment >= 0) s.alignment = d.alignment;
    if (d.listType >= 0) s.listType = d.listType;
    s.measures = d.measures;
    if (d.automaticLineHeight) s.measures.lineHeight = {true, richtext::kAutomaticLineHeight};
  }
  // The class gives the paragraph at once, even an empty one.
  NewParagraph();
  WriteParagraphTag();
}

void THt2Reader::TakeStyle(int style) {
  THt2State& s = m_states.Top();
  const Ht2StyleInfo& info = m_run.Style(style);
  s.style = style;
  s.colour = info.font.colour;
  s.face = info.font.face;
  s.size = info.font.size;
  s.SetStyleBits(info.font.style);
  s.position = info.font.position;
  s.alignment = info.alignment;
  s.listType = info.listType;
  s.unit = info.unit;
  s.measures = {};
}

void THt2Reader::ListItem() {
  if (m_extended || m_classes != nullptr) return;
  NewParagraph();
  m_listItem = true;
}

void THt2Reader::Body(const HtmlTag& tag) {
  EndHead();
  auto colour = [&](std::string_view attribute, std::uint32_t otherwise, std::optional<std::uint32_t>& into) {
    if (!tag.Has(attribute)) return;
    std::uint32_t c = 0;
    into = ParseHtmlColour(tag.Value(attribute), c) ? c : otherwise;
  };
  colour("BGCOLOR", 0xFFFFFF, m_settings.background);
  colour("TEXT", 0x000000, m_settings.textColour);
  colour("LINK", 0x0000FF, m_settings.linkColour);
  colour("VLINK", 0x0000FF, m_settings.visitedColour);
  if (tag.Has("BACKGROUND")) {
    const auto path = m_run.LocalFile(m_folder / m_base, tag.Value("BACKGROUND"));
    TAEHoggetto* image = path ? m_run.Image(*path) : nullptr;
    if (image != nullptr) m_settings.backgroundImage = image->Index();
    else m_run.Skipped(HtmlImportRun::Missing("background image", tag.Value("BACKGROUND"), path), m_file);
  }
}

THt2Reader::TextEnd THt2Reader::TextElementEnd(std::string_view closing, std::size_t from) const {
  const std::size_t close = m_tags.FindNoCase(closing, from);
  if (close == std::string_view::npos) {
    const std::size_t next = std::min(m_source.find('<', from), m_source.size());
    return {next, next};
  }
  const std::size_t gt = m_tags.FindClose(close);
  return {close, gt == std::string_view::npos ? m_source.size() : gt + 1};
}

void THt2Reader::TitleElement(const HtmlTag& tag) {
  const TextEnd end = TextElementEnd("</TITLE", tag.end);
  m_pos = end.after;
  if (m_hasTitle) return;
  const std::string decoded =
      m_run.Characters().DecodeAll(std::string_view(m_source).substr(tag.end, end.close - tag.end));
  std::string title;
  for (char c : decoded) {
    if (IsBlankByte(static_cast<unsigned char>(c))) {
      if (!title.empty() && title.back() != ' ') title.push_back(' ');
    } else if (static_cast<unsigned char>(c) >= 32) {
      title.push_back(c);
    }
  }
  while (!title.empty() && title.back() == ' ') title.pop_back();
  m_title = title;
  m_hasTitle = true;
}

void THt2Reader::Meta(const HtmlTag& tag) {
  const std::string name = base::LowerCase(tag.Value("NAME"));
  if (name == "keywords") {
    const std::string content = tag.Value("CONTENT");
    std::size_t start = 0;
    while (start <= content.size()) {
      std::size_t end = content.find_first_of(",;", start);
      if (end == std::string::npos) end = content.size();
      std::string word = content.substr(start, end - start);
      word.erase(0, word.find_first_not_of(" \t\r\n"));
      while (!word.empty() && IsBlankByte(static_cast<unsigned char>(word.back()))) word.pop_back();
      if (!word.empty()) m_keywords.push_back(word);
      start = end + 1;
    }
    return;
  }
  if (name == "generator") return;
  // The exporter writes the author and the copyright from the hypertext.
  if (m_pageMarker && (name == "author" || name == "copyright")) return;
  // The page is stored in the document's code page: a character set
  // declaration copied into the head would make browsers misread it.
  if (tag.Has("CHARSET") || base::LowerCase(tag.Value("HTTP-EQUIV")) == "content-type") return;
  m_headHtml.append(std::string_view(m_source).substr(tag.at, tag.end - tag.at));
  m_headHtml += "\r\n";
}

void THt2Reader::LinkElement(const HtmlTag& tag) {
  if (base::LowerCase(tag.Value("REL")) != "stylesheet") {
    if (m_inHead) {
      m_headHtml.append(std::string_view(m_source).substr(tag.at, tag.end - tag.at));
      m_headHtml += "\r\n";
    }
    return;
  }
  const auto path = m_run.LocalFile(m_folder, tag.Value("HREF"));
  if (!path) return;
  const auto* classes = m_run.StyleSheet(*path);
  if (classes == nullptr) {
    m_run.Skipped("style sheet " + tag.Value("HREF") + " (not found)", m_file);
    return;
  }
  // A sheet without paragraph classes leaves the page to its tags.
  if (!classes->empty()) m_classes = classes;
}

// ---- Links ----

ObjectId THt2Reader::LinkFor(std::string_view href) {
  const std::size_t hash = href.find('#');
  const std::string fragment(hash == std::string_view::npos ? std::string_view() : href.substr(hash + 1));
  // A fragment alone names an anchor of this page.
  if (hash == 0) return m_run.ImportLink(m_file, m_file, fragment);
  const std::string lower = base::LowerCase(href);
  const std::string path(href.substr(0, href.find_first_of("#?")));
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.find_last_of("/\\");
  const std::string ext =
      dot == std::string::npos || (slash != std::string::npos && dot < slash) ? std::string() : base::LowerCase(path.substr(dot));
  // Any scheme ("http:", "https:", "mailto:", "javascript:") or a network
  // path makes a web address, and so does a query alone. A colon second is
  // a drive letter, not a scheme.
  bool web = lower.starts_with("//") || path.empty();
  const std::size_t colon = lower.find(':');
  if (colon != std::string::npos && colon > 1) {
    const std::size_t firstSlash = lower.find('/');
    web = web || firstSlash == std::string::npos || colon < firstSlash;
  }
  const bool page = ext == ".htm" || ext == ".html" || ext == ".txt";
  if (web || !page) return m_run.ExternalLink(href);
  const auto file = m_run.LocalFile(m_folder / m_base, href);
  if (!file) return m_run.ExternalLink(href);
  return m_run.ImportLink(*file, m_file, fragment);
}

void THt2Reader::Anchor(const HtmlTag& tag) {
  if (!tag.Has("HREF")) return;
  CloseLink();
  const std::string href = tag.Value("HREF");
  if (href.empty()) return;
  m_link = LinkFor(href);
  m_linkWritten = false;
}

void THt2Reader::CloseLink() {
  if (m_link != -1 && m_linkWritten && !m_pending) m_markup += "<%>";
  m_link = -1;
  m_linkWritten = false;
}

// ---- The finished markup ----

std::string THt2Reader::FinishMarkup() {
  // Anchors at the very end of the file end the page.
  if (!m_pendingAnchors.empty()) {
    EnsureParagraph();
    WritePendingAnchors();
  }
  CloseLink();
  // Open tables get their missing cells.
  while (!m_tables.empty()) {
    THt2TabAEHoggetto& t = m_tables.back();
    CloseCell(t);
    FinishRow(t, "<Z S0 ><T>");
    StoreTable(t);
    m_tables.pop_back();
  }
  ResolveMaps();
  std::string markup = std::move(m_markup);
  if (!markup.starts_with("<Z S")) markup.insert(0, "<Z S0 >");
  return RepairTables(std::move(markup));
}

}  // namespace tarn::convert
