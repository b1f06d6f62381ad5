// Reading and writing the rich-text markup; see markup.h.
#include "richtext/markup.h"
#include "base/hex.h"

#include <algorithm>
#include <cstring>

#include "document/aehoggetto.h"
#include "markup/entities.h"

namespace tarn::richtext {
namespace {

constexpr std::size_t kValueWindow = 12;  // a value's closing blank must come this soon
constexpr std::size_t kParagraphFaceLimit = 20;
constexpr std::size_t kMaxTableDepth = 32;
constexpr std::int32_t kLinkKindLocal = 111;
constexpr int kDefaultLineHeight = 20;

// ---- Reading ----

class Reader {
 public:
  Reader(MarkupStream& s, TextHost& host, const ReadOptions& options)
      : m_s(s), m_text(s.Text()), m_host(host), m_options(options) {}

  ReadResult Paragraph(TAEHparag& p);

 private:
  std::size_t Pos() const { return m_s.Position(); }
  void SetPos(std::size_t pos) { m_s.SetPosition(pos); }
  bool At(std::string_view key) const { return m_text.substr(Pos()).starts_with(key); }
  // Moves past the next ">" from the current position; to the end when none.
  bool SkipThroughClose() {
    const std::size_t close = m_text.find('>', Pos());
    SetPos(close == std::string_view::npos ? m_text.size() : close + 1);
    return close != std::string_view::npos;
  }

  // A code at the read position; false when absent or truncated.
  bool ReadNumber(std::string_view key, std::int32_t& value);
  bool ReadColour(std::string_view key, std::uint32_t& value);
  bool ReadFace(std::string& value);
  std::size_t FindBlank() const;

  void ReadParagraphCodes(TAEHparag& p);
  void ReadFormatTag(TAEHparag& p);
  void ReadReference(TAEHparag& p);
  void ReadTableCells(EmbeddedObject& table);
  void TakeCharacter(TAEHparag& p, unsigned char c);
  void TakeRun(TAEHparag& p, std::string_view run);
  // Selecting a font clears the pair memory of the measurement.
  void SetMeasuringFont(const TMyFont& font) {
    m_measure = m_host.FontHandle(font);
    m_host.ResetMeasure();
  }
  TMyFont CurrentFormat(const TAEHparag& p) const {
    return m_format >= 0 ? p.formats[static_cast<std::size_t>(m_format)]->Font() : p.style.Font();
  }
  void MeasureLinkFont(const TAEHparag& p) { SetMeasuringFont(p.style.LinkFont(CurrentFormat(p))); }

  MarkupStream& m_s;
  std::string_view m_text;
  TextHost& m_host;
  const ReadOptions& m_options;
  int m_measure = 0;
  std::int32_t m_link = -1;
  std::int32_t m_format = -1;  // the current character format, -1 the paragraph font
};

std::size_t Reader::FindBlank() const {
  const std::size_t end = std::min(m_text.size(), Pos() + kValueWindow);
  for (std::size_t i = Pos(); i < end; ++i) {
    if (m_text[i] == ' ') return i;
  }
  return std::string_view::npos;
}

bool Reader::ReadNumber(std::string_view key, std::int32_t& value) {
  if (!At(key)) return false;
  SetPos(Pos() + key.size());
  const std::size_t blank = FindBlank();
  if (blank == std::string_view::npos) {
    m_host.TruncatedLine(false);
    return false;
  }
  std::size_t i = Pos();
  bool negative = false;
  if (i < blank && m_text[i] == '-') {
    negative = true;
    ++i;
  }
  std::int64_t v = 0;
  for (; i < blank && m_text[i] >= '0' && m_text[i] <= '9'; ++i) v = v * 10 + (m_text[i] - '0');
  value = static_cast<std::int32_t>(negative ? -v : v);
  SetPos(blank + 1);
  return true;
}

bool Reader::ReadColour(std::string_view key, std::uint32_t& value) {
  if (!At(key)) return false;
  SetPos(Pos() + key.size());
  std::uint32_t rgb = 0;
  for (std::size_t i = 0; i < 6; ++i) {
    const std::size_t at = Pos() + i;
    const int d = at < m_text.size() ? base::HexDigitValue(m_text[at]) : -1;
    rgb = (rgb << 4) | static_cast<std::uint32_t>(d < 0 ? 0 : d);
  }
  const std::size_t blank = FindBlank();
  if (blank == std::string_view::npos) {
    m_host.TruncatedLine(false);
    return false;
  }
  // Written red, green, blue; held with red in the lowest byte.
  value = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
  SetPos(blank + 1);
  return true;
}

bool Reader::ReadFace(std::string& value) {
  if (!At("F\"")) return false;
  SetPos(Pos() + 2);
  std::size_t quote = std::string_view::npos;
  if (m_s.noQuoteFrom == std::string_view::npos || Pos() < m_s.noQuoteFrom) {
    quote = m_text.find('"', Pos());
    if (quote == std::string_view::npos) m_s.noQuoteFrom = Pos();
  }
  if (quote == std::string_view::npos) {
    m_host.TruncatedLine(true);
    return false;
  }
  value.assign(m_text.substr(Pos(), quote - Pos()));
  SetPos(quote + 2);
  return true;
}

void Reader::ReadParagraphCodes(TAEHparag& p) {
  TAEHParaStyle& st = p.style;
  std::int32_t n = 0;
  std::uint32_t colour = 0;
  std::string face;
  if (ReadColour("c", colour)) st.SetColour(colour);
  if (ReadFace(face)) st.SetFace(face.substr(0, kParagraphFaceLimit));
  if (ReadNumber("s", n)) st.SetSize(n);
  if (ReadNumber("y", n)) st.SetStyle(static_cast<std::uint8_t>((st.Style() & ~0x0F) | (n & 0x0F)));
  if (ReadNumber("p", n)) st.SetPosition(static_cast<std::uint8_t>(n));
  if (ReadNumber("P", n)) st.SetPByte(static_cast<std::uint8_t>(n));
  if (ReadNumber("A", n)) st.SetAlignment(static_cast<std::uint8_t>(n));
  if (ReadNumber("N", n)) st.SetListKind(static_cast<std::uint8_t>(n));
  if (ReadNumber("M", n)) st.SetUnitOfMeasure(static_cast<std::uint8_t>(n));
  if (ReadNumber("L", n)) st.SetLineHeight(n);
  if (ReadNumber("I", n)) st.SetIndent(n);
  if (ReadNumber("l", n)) st.SetLeftMargin(n);
  if (ReadNumber("r", n)) st.SetRightMargin(n);
  if (ReadNumber("t", n)) st.SetSpaceBefore(n);
  if (ReadNumber("b", n)) st.SetSpaceAfter(n);
  if (ReadColour("C", colour)) st.SetLinkColour(colour);
  if (ReadNumber("S", n)) st.SetLinkSize(n);
  if (ReadNumber("Y", n)) st.SetLinkStyle(static_cast<std::uint8_t>((st.LinkStyle() & ~0x0F) | (n & 0x0F)));
}

void Reader::ReadFormatTag(TAEHparag& p) {
  SetPos(Pos() + 3);
  CharInfo& info = p.infos.back();
  TAEHFontStyle* format = nullptr;
  const bool amend = info.format >= 0;
  if (amend) {
    format = p.formats[static_cast<std::size_t>(info.format)].get();
  } else {
    auto fresh = std::make_unique<TAEHFontStyle>();
    // A format tag restates the font relative to the base style: a code it
    // leaves out means the base style's value, not the paragraph's.
    fresh->SetBase(p.style.Base());
    format = fresh.get();
    p.formats.push_back(std::move(fresh));
    info.format = static_cast<std::int32_t>(p.formats.size() - 1);
  }
  std::int32_t n = 0;
  std::uint32_t colour = 0;
  std::string face;
  if (ReadColour("c", colour)) format->SetColour(colour);
  if (ReadFace(face)) format->SetFace(face);
  if (ReadNumber("s", n)) format->SetSize(n);
  std::uint8_t style = format->Style();
  if (ReadNumber("i", n)) style = static_cast<std::uint8_t>(n == 1 ? style | 2 : style & ~2);
  if (ReadNumber("g", n)) style = static_cast<std::uint8_t>(n == 1 ? style | 1 : style & ~1);
  if (ReadNumber("y", n)) style = static_cast<std::uint8_t>((style & ~0x0F) | (n & 0x0F));
  format->SetStyle(style);
  if (ReadNumber("p", n)) format->SetPosition(static_cast<std::uint8_t>(n));
  m_format = info.format;
  if (m_link == -1) {
    SetMeasuringFont(format->Font());
  } else if (p.style.LinkSize() == -1) {
    MeasureLinkFont(p);
  }
  SkipThroughClose();
}

void Reader::ReadTableCells(EmbeddedObject& table) {
  const int rows = table.Rows();
  const int columns = table.Columns();
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      RichText* cell = table.Cell(r, c);
      if (cell == nullptr) continue;
      cell->paragraphs.clear();
      ReadText(*cell, m_s, m_host, Origin::Text, m_options);
    }
  }
}

void Reader::ReadReference(TAEHparag& p) {
  const std::size_t start = Pos();
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    const std::size_t at = start + 2 + i;
    const int d = at < m_text.size() ? base::HexDigitValue(m_text[at]) : -1;
    value = (value << 4) | static_cast<std::uint32_t>(d < 0 ? 0 : d);
  }
  const auto kind = static_cast<std::int32_t>(value >> 24);
  if (kind == 255) {
    std::int32_t id = static_cast<std::int32_t>(value & 0xFFFFFF);
    if (m_options.objectIdMap != nullptr) {
      if (auto it = m_options.objectIdMap->find(id); it != m_options.objectIdMap->end()) id = it->second & 0xFFFFFF;
    }
    SkipThroughClose();
    EmbeddedObject* object = m_host.FindObject(id);
    if (object == nullptr) {
      TakeCharacter(p, ' ');
      return;
    }
    if (object->IsTable() && !m_options.tablesByReference) {
      if (At("<@>")) {
        SetPos(Pos() + 3);
      } else {
        const bool nested = std::find(m_s.openTables.begin(), m_s.openTables.end(), object) != m_s.openTables.end();
        // A table inside its own cells, or nesting deeper than any author
        // builds, is damaged text: its cells are left as they are.
        if (!nested && m_s.openTables.size() < kMaxTableDepth) {
          m_s.openTables.push_back(object);
          ReadTableCells(*object);
          m_s.openTables.pop_back();
        }
      }
    }
    CharInfo& info = p.infos.back();
    info.width = object->Width();
    info.height = object->Height();
    info.ascent = object->Height();
    p.objects.push_back(object);
    info.object = static_cast<std::int32_t>(p.objects.size() - 1);
    p.text.push_back(' ');
    CharInfo next;
    next.link = m_link;
    p.infos.push_back(next);
    if (!p.lines.empty()) ++p.lines.front().charCount;
    return;
  }
  if (kind == kLinkKindLocal || kind == 0 || kind == 3) {
    auto link = static_cast<std::int32_t>(value);
    if (kind == kLinkKindLocal && m_options.typedIdMap != nullptr) {
      auto it = m_options.typedIdMap->find(link);
      link = it != m_options.typedIdMap->end() ? it->second : -1;
    }
    m_link = link;
    if (m_link == -1) {
      SetMeasuringFont(CurrentFormat(p));
    } else {
      MeasureLinkFont(p);
    }
  }
  SkipThroughClose();
  p.infos.back().link = m_link;
}

void Reader::TakeRun(TAEHparag& p, std::string_view run) {
  if (run.empty()) return;
  const int* widths = m_host.WidthTable(m_measure);
  if (widths == nullptr) {
    for (char c : run) TakeCharacter(p, static_cast<unsigned char>(c));
    return;
  }
  const CharMetrics m = m_host.Measure(m_measure, static_cast<unsigned char>(run[0]));
  // The current info takes the first character; every other character gets
  // a fresh info, and one more stands for the position after the run. Each
  // info is written once.
  CharInfo& current = p.infos.back();
  current.width = widths[static_cast<unsigned char>(run[0])];
  current.height = m.height;
  current.ascent = m.ascent;
  p.infos.reserve(p.infos.size() + run.size());
  for (std::size_t i = 1; i < run.size(); ++i) {
    p.infos.push_back({widths[static_cast<unsigned char>(run[i])], m.height, m.ascent, -1, -1, m_link, 0});
  }
  p.infos.push_back({0, 0, 0, -1, -1, m_link, 0});
  p.text.append(run);
  p.lines.front().charCount += static_cast<std::int32_t>(run.size());
}

void Reader::TakeCharacter(TAEHparag& p, unsigned char c) {
  if (c < 32) return;
  const CharMetrics m = m_host.Measure(m_measure, c);
  CharInfo& info = p.infos.back();
  info.width = m.width;
  info.height = m.height;
  info.ascent = m.ascent;
  p.text.push_back(static_cast<char>(c));
  CharInfo next;
  next.link = m_link;
  p.infos.push_back(next);
  ++p.lines.front().charCount;
}

ReadResult Reader::Paragraph(TAEHparag& p) {
  ReadResult result;
  const std::size_t open = m_text.find('<', Pos());
  if (open == std::string_view::npos) return result;
  SetPos(open + 3);
  std::int32_t styleIndex = -1;
  if (!ReadNumber("S", styleIndex) || styleIndex < 0) {
    SetPos(open);
    result.endOfText = !SkipThroughClose();
    return result;
  }
  if (m_options.typedIdMap != nullptr) {
    const std::int32_t typed = (17 << 24) | (styleIndex & 0xFFFFFF);
    if (auto it = m_options.typedIdMap->find(typed); it != m_options.typedIdMap->end()) {
      styleIndex = it->second & 0xFFFFFF;
    }
  }
  const TAEHoggetto* style = m_host.StyleRecord(styleIndex);
  if (style == nullptr) {
    styleIndex = 0;
    style = m_host.StyleRecord(0);
  }
  p.styleIndex = styleIndex;
  p.style.SetBase(style);
  p.style.ClearOverrides();
  ReadParagraphCodes(p);
  p.style.Scratch().Assign(p.style);
  SetMeasuringFont(p.style.Font());
  p.lines.assign(1, TAEHline{});
  p.infos.assign(1, CharInfo{});
  result.produced = true;
  if (!SkipThroughClose()) {
    result.endOfText = true;
  } else {
    // Bodies are mostly plain characters: room for everything up to the
    // next paragraph tag saves growing the lists character by character.
    const std::size_t next = m_text.find("<Z", Pos());
    const std::size_t body = (next == std::string_view::npos ? m_text.size() : next) - Pos();
    p.text.reserve(body);
    p.infos.reserve(body + 1);
    result.endOfText = true;
    bool done = false;
    while (!done && !m_s.AtEnd()) {
      const char c = m_text[Pos()];
      if (c == '<') {
        const char second = Pos() + 1 < m_text.size() ? m_text[Pos() + 1] : '\0';
        switch (second) {
          case '$': ReadReference(p); break;
          case '%':
            m_link = -1;
            p.infos.back().link = -1;
            SetMeasuringFont(CurrentFormat(p));
            SkipThroughClose();
            break;
          case 'D': case 'F': case 'R': {
            const char closing[4] = {'<', static_cast<char>(second + 32), '>', '\0'};
            const std::size_t end = m_text.find(std::string_view(closing, 3), Pos() + 2);
            SetPos(end == std::string_view::npos ? m_text.size() : end + 3);
            break;
          }
          case 'T':
            SkipThroughClose();
            done = true;
            break;
          case 'Y': ReadFormatTag(p); break;
          case 'Z':
            result.endOfText = false;
            done = true;
            break;
          default: SkipThroughClose(); break;
        }
      } else if (c == '&') {
        const markup::DecodedEntity e = markup::DecodeEntity(m_text, Pos());
        SetPos(Pos() + e.length);
        TakeCharacter(p, e.character);
      } else {
        // A run of plain characters, measured and copied at once.
        const std::size_t start = Pos();
        std::size_t end = start;
        bool controls = false;
        while (end < m_text.size() && m_text[end] != '<' && m_text[end] != '&') {
          controls |= static_cast<unsigned char>(m_text[end]) < 32;
          ++end;
        }
        if (controls) {
          for (std::size_t i = start; i < end; ++i) TakeCharacter(p, static_cast<unsigned char>(m_text[i]));
        } else {
          TakeRun(p, m_text.substr(start, end - start));
        }
        SetPos(end);
      }
    }
  }
  if (p.text.empty()) {
    const CharMetrics m = m_host.Measure(m_host.FontHandle(p.style.Font()), ' ');
    p.infos.front().height = m.height;
    p.infos.front().ascent = m.ascent;
  }
  const CharMetrics font = m_host.Measure(m_host.FontHandle(p.style.Font()), ' ');
  p.fontHeight = font.height;
  p.lines.front().height = font.height > 0 ? font.height : kDefaultLineHeight;
  return result;
}

// ---- Writing ----

void AppendEscapedRun(std::string& out, std::string_view run) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < run.size(); ++i) {
    const char c = run[i];
    if (c == '&' || c == '<' || c == '>') {
      out.append(run.substr(start, i - start));
      markup::AppendEscaped(out, static_cast<unsigned char>(c));
      start = i + 1;
    }
  }
  out.append(run.substr(start));
}

void AppendDecimal(std::string& out, std::int64_t v) { out += std::to_string(v); }

void AppendColour(std::string& out, std::uint32_t colour) {
  const std::uint32_t rgb = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
  base::AppendHex(out, rgb, 6, true);
}


struct FontCodes {
  bool colour, face, size, style, position;
};

void AppendFontCodes(std::string& out, const TMyFont& font, FontCodes which) {
  if (which.colour) {
    out += 'c';
    AppendColour(out, font.colour);
    out += ' ';
  }
  if (which.face) {
    out += "F\"";
    out += font.face;
    out += "\" ";
  }
  if (which.size) {
    out += 's';
    AppendDecimal(out, font.size);
    out += ' ';
  }
  if (which.style) {
    out += 'y';
    AppendDecimal(out, font.style & 0x0F);
    out += ' ';
  }
  if (which.position) {
    out += 'p';
    AppendDecimal(out, font.position & 0x7F);
    out += ' ';
  }
}

constexpr FontCodes kAllCodes{true, true, true, true, true};

void AppendParagraphOverrides(std::string& out, const TAEHParaStyle& st) {
  using F = TAEHParaStyle;
  auto code = [&](char key, F::Field f, std::int64_t v) {
    if (!st.IsSet(f)) return;
    out += key;
    AppendDecimal(out, v);
    out += ' ';
  };
  code('P', F::kPByte, st.PByte() & 0x7F);
  code('A', F::kAlignment, st.Alignment() & 0x7F);
  code('N', F::kListKind, st.ListKind() & 0x7F);
  code('M', F::kUnit, st.UnitOfMeasure() & 0x7F);
  code('L', F::kLineHeight, st.LineHeight());
  code('I', F::kIndent, st.Indent());
  code('l', F::kLeftMargin, st.LeftMargin());
  code('r', F::kRightMargin, st.RightMargin());
  code('t', F::kSpaceBefore, st.SpaceBefore());
  code('b', F::kSpaceAfter, st.SpaceAfter());
  if (st.IsSet(F::kLinkColour)) {
    out += 'C';
    AppendColour(out, st.LinkColour());
    out += ' ';
  }
  code('S', F::kLinkSize, st.LinkSize());
  code('Y', F::kLinkStyle, st.LinkStyle() & 0x0F);
}

}  // namespace

MarkupStream::MarkupStream(std::string_view text) {
  const auto* nul = static_cast<const char*>(std::memchr(text.data(), 0, text.size()));
  m_text = nul == nullptr ? text : text.substr(0, static_cast<std::size_t>(nul - text.data()));
}

TMyFont TAEHparag::FontAt(int i) const {
  for (int k = std::min(i, static_cast<int>(infos.size()) - 1); k >= 0; --k) {
    const std::int32_t f = infos[static_cast<std::size_t>(k)].format;
    if (f >= 0 && static_cast<std::size_t>(f) < formats.size()) return formats[static_cast<std::size_t>(f)]->Font();
  }
  return style.Font();
}

ReadResult ReadParagraph(TAEHparag& paragraph, MarkupStream& stream, TextHost& host, const ReadOptions& options) {
  Reader reader(stream, host, options);
  return reader.Paragraph(paragraph);
}

void ReadText(RichText& text, MarkupStream& stream, TextHost& host, Origin origin, const ReadOptions& options) {
  for (;;) {
    const std::size_t before = stream.Position();
    auto paragraph = std::make_unique<TAEHparag>();
    paragraph->origin = origin;
    const ReadResult r = ReadParagraph(*paragraph, stream, host, options);
    if (r.produced) text.paragraphs.push_back(std::move(paragraph));
    if (r.endOfText || stream.Position() == before || stream.AtEnd()) break;
  }
}

namespace {

void WriteParagraphImpl(const TAEHparag& p, std::string& out, WriteMode mode, int from, int to,
                        std::vector<const EmbeddedObject*>& openTables);

}  // namespace

void WriteParagraph(const TAEHparag& p, std::string& out, WriteMode mode, int from, int to) {
  std::vector<const EmbeddedObject*> openTables;
  WriteParagraphImpl(p, out, mode, from, to, openTables);
}

namespace {

void WriteParagraphImpl(const TAEHparag& p, std::string& out, WriteMode mode, int from, int to,
                        std::vector<const EmbeddedObject*>& openTables) {
  const int length = p.Length();
  const int callerFrom = from;
  const int callerTo = to < 0 || to > length ? length : to;
  if (to < 0 || to > length) to = length;
  if (from < 0) from = 0;
  if (mode == WriteMode::TableRange) {
    from = 0;
    to = length;
  }
  auto objectAt = [&](int i) -> EmbeddedObject* {
    const std::int32_t o = p.infos[static_cast<std::size_t>(i)].object;
    return o >= 0 && static_cast<std::size_t>(o) < p.objects.size() ? p.objects[static_cast<std::size_t>(o)] : nullptr;
  };
  const bool startsWithTable = length > 0 && p.text[0] == ' ' && objectAt(0) != nullptr && objectAt(0)->IsTable();
  const bool paragraphTag = startsWithTable || mode != WriteMode::Continuation;
  const TAEHParaStyle& st = p.style;
  const TMyFont paragraphFont = st.Font();
  if (paragraphTag) {
    out += "<Z S";
    AppendDecimal(out, p.styleIndex);
    out += ' ';
    AppendFontCodes(out, paragraphFont,
                    {st.IsSet(TAEHParaStyle::kColour), st.IsSet(TAEHParaStyle::kFace), st.IsSet(TAEHParaStyle::kSize),
                     st.IsSet(TAEHParaStyle::kStyle), st.IsSet(TAEHParaStyle::kPosition)});
    AppendParagraphOverrides(out, st);
  } else {
    out += "<Y ";
    AppendFontCodes(out, paragraphFont, kAllCodes);
  }
  out += '>';

  TMyFont running = paragraphFont;
  std::int32_t lastLink = -1;
  for (int i = 0; i < to; ++i) {
    const CharInfo& info = p.infos[static_cast<std::size_t>(i)];
    if (info.format >= 0 && static_cast<std::size_t>(info.format) < p.formats.size()) {
      const TAEHFontStyle& format = *p.formats[static_cast<std::size_t>(info.format)];
      running = format.Font();
      if (i >= from) {
        out += "<Y ";
        AppendFontCodes(out, running,
                        {format.ColourSet(), format.FaceSet(), format.SizeSet(), format.StyleSet(), format.PositionSet()});
        out += '>';
      }
    } else if (i == from && i > 0) {
      // A text cut out of the middle of a paragraph starts with its font.
      out += "<Y ";
      AppendFontCodes(out, running, kAllCodes);
      out += '>';
    }
    if (i >= from && info.link != lastLink) {
      if (info.link == -1) {
        out += "<%>";
      } else {
        out += "<$";
        base::AppendHex(out, static_cast<std::uint32_t>(info.link), 8);
        out += '>';
      }
      lastLink = info.link;
    }
    if (i < from) continue;
    if (info.object < 0) {
      // Plain characters up to the next position where anything starts.
      int j = i + 1;
      // Format and object indexes are -1 or an index, so both are -1
      // exactly when their bitwise and is negative: one test for two.
      const CharInfo* next = p.infos.data() + j;
      const CharInfo* const stop = p.infos.data() + to;
      while (next < stop && (next->format & next->object) < 0 && next->link == lastLink) ++next;
      j = static_cast<int>(next - p.infos.data());
      AppendEscapedRun(out, std::string_view(p.text).substr(static_cast<std::size_t>(i), static_cast<std::size_t>(j - i)));
      i = j - 1;
      continue;
    }
    if (EmbeddedObject* object = objectAt(i)) {
      out += "<$FF";
      base::AppendHex(out, static_cast<std::uint32_t>(object->Identifier()) & 0xFFFFFF, 6);
      out += '>';
      if (object->IsTable()) {
        const bool inRange = i >= callerFrom && i < callerTo;
        const bool nested = std::find(openTables.begin(), openTables.end(), object) != openTables.end();
        if (nested || openTables.size() >= kMaxTableDepth) {
          // A table inside its own cells comes only from damaged text; the
          // reader does not look for its cells either.
        } else if (mode == WriteMode::Store || (mode == WriteMode::TableRange && inRange)) {
          openTables.push_back(object);
          for (int r = 0; r < object->Rows(); ++r) {
            for (int c = 0; c < object->Columns(); ++c) {
              const RichText* cell = object->Cell(r, c);
              if (cell == nullptr || cell->paragraphs.empty()) {
                // A cell holds at least one paragraph; "<T>" alone would
                // not read back as a cell.
                out += "<Z S1 >";
              } else {
                for (const auto& cp : cell->paragraphs) {
                  WriteParagraphImpl(*cp, out, WriteMode::Store, 0, cp->Length(), openTables);
                }
              }
              out += "<T>";
            }
          }
          openTables.pop_back();
        } else if (mode == WriteMode::TableRange) {
          out += "<@>";
        }
      }
      continue;
    }
    markup::AppendEscaped(out, static_cast<unsigned char>(p.text[static_cast<std::size_t>(i)]));
  }
  if (lastLink != -1) out += "<%>";
}

}  // namespace

void WriteWholeParagraph(const TAEHparag& paragraph, std::string& out, WriteMode mode) {
  WriteParagraph(paragraph, out, mode, 0, paragraph.Length());
}

std::string WriteText(const RichText& text) {
  std::string out;
  std::size_t estimate = 16;
  for (const auto& p : text.paragraphs) estimate += p->text.size() + 32;
  out.reserve(estimate + estimate / 8);
  for (const auto& p : text.paragraphs) WriteWholeParagraph(*p, out, WriteMode::Store);
  out.push_back('\0');
  return out;
}

}  // namespace tarn::richtext
