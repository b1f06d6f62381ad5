// Reading and writing the rich-text markup; see markup.h.
#include "richtext/markup.h"
#include "base/hex.h"

#include <algorithm>
#include <cstring>

#include "document/aehoggetto.h"
#include "document/recordfields.h"
#include "markup/entities.h"
#include "richtext/localform.h"

namespace tarn::richtext {
namespace {

constexpr std::size_t kParagraphFaceLimit = 20;
constexpr std::size_t kMaxTableDepth = 32;
constexpr int kDefaultLineHeight = 20;

// ---- Reading ----

using markup::Code;
using markup::Token;
using markup::TokenKind;

class Reader {
 public:
  Reader(MarkupStream& s, TextHost& host, const ReadOptions& options)
      : m_s(s), m_tokens(s.tokens), m_host(host), m_options(options) {}

  ReadResult Paragraph(TAEHparag& p);

 private:
  void ReportTruncated(const markup::TagCodes& codes) {
    codes.ForEachTruncated([this](bool fontName) { m_host.TruncatedLine(fontName); });
  }
  void ApplyParagraphCodes(TAEHparag& p, const markup::TagCodes& codes);
  void ReadFormatTag(TAEHparag& p, const markup::TagCodes& codes);
  void ReadReference(TAEHparag& p, const Token& tag);
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
  markup::Tokenizer& m_tokens;
  TextHost& m_host;
  const ReadOptions& m_options;
  int m_measure = 0;
  std::int32_t m_link = -1;
  std::int32_t m_format = -1;  // the current character format, -1 the paragraph font
};

// "y" and "Y" replace the four low style bits and keep the others.
std::uint8_t WithStyleBits(std::uint8_t style, std::int32_t bits) {
  return static_cast<std::uint8_t>((style & ~0x0F) | (bits & 0x0F));
}

void Reader::ApplyParagraphCodes(TAEHparag& p, const markup::TagCodes& codes) {
  TAEHParaStyle& st = p.style;
  auto number = [&codes](Code code, auto set) {
    if (codes.Has(code)) set(codes.Number(code));
  };
  if (codes.Has(Code::kColour)) st.SetColour(codes.Colour(Code::kColour));
  if (codes.Has(Code::kFace)) st.SetFace(std::string(codes.Face().substr(0, kParagraphFaceLimit)));
  number(Code::kSize, [&](std::int32_t n) { st.SetSize(n); });
  number(Code::kStyleBits, [&](std::int32_t n) { st.SetStyle(WithStyleBits(st.Style(), n)); });
  number(Code::kPosition, [&](std::int32_t n) { st.SetPosition(static_cast<std::uint8_t>(n)); });
  number(Code::kPByte, [&](std::int32_t n) { st.SetPByte(static_cast<std::uint8_t>(n)); });
  number(Code::kAlignment, [&](std::int32_t n) { st.SetAlignment(static_cast<std::uint8_t>(n)); });
  number(Code::kListKind, [&](std::int32_t n) { st.SetListKind(static_cast<std::uint8_t>(n)); });
  number(Code::kUnit, [&](std::int32_t n) { st.SetUnitOfMeasure(static_cast<std::uint8_t>(n)); });
  number(Code::kLineHeight, [&](std::int32_t n) { st.SetLineHeight(n); });
  number(Code::kIndent, [&](std::int32_t n) { st.SetIndent(n); });
  number(Code::kLeftMargin, [&](std::int32_t n) { st.SetLeftMargin(n); });
  number(Code::kRightMargin, [&](std::int32_t n) { st.SetRightMargin(n); });
  number(Code::kSpaceBefore, [&](std::int32_t n) { st.SetSpaceBefore(n); });
  number(Code::kSpaceAfter, [&](std::int32_t n) { st.SetSpaceAfter(n); });
  if (codes.Has(Code::kLinkColour)) st.SetLinkColour(codes.Colour(Code::kLinkColour));
  number(Code::kLinkSize, [&](std::int32_t n) { st.SetLinkSize(n); });
  number(Code::kLinkStyle, [&](std::int32_t n) { st.SetLinkStyle(WithStyleBits(st.LinkStyle(), n)); });
}

void Reader::ReadFormatTag(TAEHparag& p, const markup::TagCodes& codes) {
  ReportTruncated(codes);
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
  if (codes.Has(Code::kColour)) format->SetColour(codes.Colour(Code::kColour));
  if (codes.Has(Code::kFace)) format->SetFace(std::string(codes.Face()));
  if (codes.Has(Code::kSize)) format->SetSize(codes.Number(Code::kSize));
  constexpr int kItalicBit = document::field::style::kItalic;
  constexpr int kBoldBit = document::field::style::kBold;
  std::uint8_t style = format->Style();
  if (codes.Has(Code::kItalic)) {
    style = static_cast<std::uint8_t>(codes.Number(Code::kItalic) == 1 ? style | kItalicBit
                                                                       : style & ~kItalicBit);
  }
  if (codes.Has(Code::kBold)) {
    style = static_cast<std::uint8_t>(codes.Number(Code::kBold) == 1 ? style | kBoldBit : style & ~kBoldBit);
  }
  if (codes.Has(Code::kStyleBits)) style = WithStyleBits(style, codes.Number(Code::kStyleBits));
  format->SetStyle(style);
  if (codes.Has(Code::kPosition))
    format->SetPosition(static_cast<std::uint8_t>(codes.Number(Code::kPosition)));
  m_format = info.format;
  if (m_link == -1) {
    SetMeasuringFont(format->Font());
  } else if (p.style.LinkSize() == -1) {
    MeasureLinkFont(p);
  }
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

// The tag has been read; for an object the read continues after it, with
// the table's cells when it is a table.
void Reader::ReadReference(TAEHparag& p, const Token& tag) {
  const std::uint32_t value = tag.value;
  const auto kind = static_cast<std::int32_t>(value >> 24);
  constexpr auto kLocalKind = static_cast<std::int32_t>(kLocalLinkKind);
  if (tag.IsObject()) {
    std::int32_t id = static_cast<std::int32_t>(value & 0xFFFFFF);
    if (m_options.objectIdMap != nullptr) {
      if (auto it = m_options.objectIdMap->find(id); it != m_options.objectIdMap->end()) id = it->second & 0xFFFFFF;
    }
    EmbeddedObject* object = m_host.FindObject(id);
    if (object == nullptr) {
      TakeCharacter(p, ' ');
      return;
    }
    if (object->IsTable() && !m_options.tablesByReference) {
      const std::size_t after = m_tokens.Position();
      if (const Token next = m_tokens.Next(); next.kind == TokenKind::kCellsOmitted && next.text == "<@>") {
        // The cells are not in this text: the table keeps the ones it has.
      } else {
        m_tokens.SetPosition(after);
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
  if (kind == kLocalKind || kind == document::testoHtml || kind == document::genLink) {
    auto link = static_cast<std::int32_t>(value);
    if (kind == kLocalKind && m_options.typedIdMap != nullptr) {
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
  // Whatever stands before the next tag is skipped, and that tag is taken
  // for a paragraph tag whatever its letter.
  const Token tag = m_tokens.NextAsParagraphTag();
  if (tag.kind == TokenKind::kEnd) return result;
  const markup::TagCodes& codes = m_tokens.Codes();
  ReportTruncated(codes);
  if (!codes.Has(Code::kStyle) || codes.Number(Code::kStyle) < 0) {
    result.endOfText = !tag.closed;
    return result;
  }
  std::int32_t styleIndex = codes.Number(Code::kStyle);
  if (m_options.typedIdMap != nullptr) {
    const std::int32_t typed = (document::stileParagrafo << 24) | (styleIndex & 0xFFFFFF);
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
  ApplyParagraphCodes(p, codes);
  p.style.Scratch().Assign(p.style);
  SetMeasuringFont(p.style.Font());
  p.lines.assign(1, TAEHline{});
  p.infos.assign(1, CharInfo{});
  result.produced = true;
  if (tag.closed) {
    // Bodies are mostly plain characters: room for everything up to the
    // next paragraph tag saves growing the lists character by character.
    const std::string_view text = m_tokens.Text();
    const std::size_t next = text.find("<Z", m_tokens.Position());
    const std::size_t body = (next == std::string_view::npos ? text.size() : next) - m_tokens.Position();
    p.text.reserve(body);
    p.infos.reserve(body + 1);
    for (bool done = false; !done;) {
      const Token token = m_tokens.Next();
      switch (token.kind) {
        case TokenKind::kText: TakeRun(p, token.text); break;
        case TokenKind::kEntity: TakeCharacter(p, token.character); break;
        case TokenKind::kReference: ReadReference(p, token); break;
        case TokenKind::kLinkEnd:
          m_link = -1;
          p.infos.back().link = -1;
          SetMeasuringFont(CurrentFormat(p));
          break;
        case TokenKind::kFormatTag: ReadFormatTag(p, m_tokens.Codes()); break;
        case TokenKind::kParagraphTag:
          // The next paragraph starts here and is read from its "<" (the
          // tokenizer keeps what it read of the tag).
          m_tokens.SetPosition(token.at);
          result.endOfText = false;
          done = true;
          break;
        case TokenKind::kCellEnd:
          // Outside any cell, a cell end with text after it is left over
          // from a table whose record names fewer cells than its markup
          // holds: the text after it goes on as paragraphs, never lost.
          if (m_s.openTables.empty() && !m_s.AtEnd()) result.endOfText = false;
          done = true;
          break;
        case TokenKind::kEnd: done = true; break;
        default: break;  // control bytes, skipped blocks and unknown tags carry nothing
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
      markup::AppendEscaped(
          out, std::string_view(p.text).substr(static_cast<std::size_t>(i), static_cast<std::size_t>(j - i)));
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
