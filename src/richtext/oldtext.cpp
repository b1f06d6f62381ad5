// Older text conversion; see oldtext.h.
#include "richtext/oldtext.h"
#include "base/hex.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <vector>

#include "base/bytes.h"
#include "document/aehoggetto.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "markup/entities.h"
#include "markup/tokenizer.h"

namespace tarn::richtext {
namespace {

using document::ObjectId;

constexpr std::string_view kTextFace = "Times New Roman";
constexpr std::string_view kFixedFace = "Courier New";
constexpr int kDefaultSize = 12;
constexpr int kBold = 1;
constexpr int kItalic = 2;

// One indent step, and the deepest indent: left margins are 16-bit in a
// style record, so the steps stop at the last one that still fits.
constexpr int kIndentStep = 40;
constexpr int kMaxIndent = 32760;

// Point sizes of the font-size digits 1 to 7.
constexpr std::array<int, 7> kFontSizes = {8, 10, 12, 14, 19, 27, 34};

// Bytes at fixed places of the older tags, counted from 1 at the "<":
// "<FONT SIZE=n", "<FONT COLOR=#rrggbb" and "<DIV ALIGN=R".
constexpr std::size_t kFontSizeByte = 12;
constexpr std::size_t kFontColourByte = 14;
constexpr std::size_t kDivisionAlignByte = 12;

// Rows and columns are single bytes of the table record.
constexpr int kMaxTableSide = 255;

// Form fields of these subtypes were short objects in early releases.
constexpr int kFirstShortSubtype = 10;
constexpr int kLastShortSubtype = 14;

// The markup writes colours red first; in memory the lowest byte is red.
void AppendColour(std::string& out, std::uint32_t colour) {
  base::AppendHex(out, colour & 0xFF, 2, true);
  base::AppendHex(out, (colour >> 8) & 0xFF, 2, true);
  base::AppendHex(out, (colour >> 16) & 0xFF, 2, true);
}

void AppendReference(std::string& out, ObjectId id) {
  out += "<$";
  base::AppendHex(out, static_cast<std::uint32_t>(id), 8);
  out += '>';
}

bool IsLinkKind(int kind) {
  return kind == document::internetLink || kind == document::genLink || kind == document::programma ||
         kind == document::speclink;
}

// Objects that sit in a paragraph like a character.
bool IsInlineObjectKind(int kind) {
  return kind == document::shortObj || kind == document::immagineNew ||
         (kind >= document::inputStat && kind <= document::multiMedia);
}

// An unknown tag is passed on for the markup reader to skip. A few second
// bytes mean something to that reader, though: paragraph and format tags,
// cell ends, and blocks skipped up to a closing tag that an older text never
// has, which would swallow the rest of the page. Such tags are dropped.
bool ReaderWouldMisread(std::string_view tag) {
  constexpr std::string_view kReaderBytes = "ZYT@DFR";
  char second = tag[1];
  if (second >= 'a' && second <= 'z') second = static_cast<char>(second - 'a' + 'A');
  return kReaderBytes.find(second) != std::string_view::npos;
}

struct Font {
  std::string_view face = kTextFace;
  int size = kDefaultSize;
  std::uint32_t colour = 0;
  int style = 0;
};

class Converter {
 public:
  explicit Converter(OlderTextContext& context) : m_context(context), m_linkColour(context.LinkColour()) {
    m_initialFont.colour = context.TextColour();
    m_font = m_initialFont;
  }

  std::string Run(std::string_view older) {
    // A text ends at its first byte 0; whatever follows is not text.
    const std::string_view text = older.substr(0, older.find('\0'));
    m_out.reserve(text.size() + 32);
    m_out += "<Z S0 C";
    AppendColour(m_out, m_linkColour);
    m_out += " >";
    // The ">" that closes a tag is searched once for a stretch of text: when
    // there is none, no later "<" can be closed either.
    std::size_t close = 0;
    bool closeKnown = false;
    std::size_t at = 0;
    while (at < text.size()) {
      const auto c = static_cast<unsigned char>(text[at]);
      if (c < 32) {
        ++at;
      } else if (c == '<') {
        if (!closeKnown || (close != std::string_view::npos && close <= at)) {
          close = text.find('>', at + 1);
          closeKnown = true;
        }
        if (close == std::string_view::npos) {
          // A "<" that no ">" closes is a character, kept visible.
          Character("&lt;");
          ++at;
        } else {
          Tag(text.substr(at, close - at + 1));
          at = close + 1;
        }
      } else if (c == '&') {
        const std::size_t length = markup::DecodeEntity(text, at).length;
        Character(text.substr(at, length));
        at += length;
      } else {
        Character(text.substr(at, 1));
        ++at;
      }
    }
    return std::move(m_out);
  }

 private:
  // The byte at a 1-based place of the tag, or 0 when that place is the
  // closing ">" or beyond it.
  static char TagByte(std::string_view tag, std::size_t place) {
    return place < tag.size() ? tag[place - 1] : '\0';
  }

  void Character(std::string_view bytes) {
    m_paragraphPending = true;
    if (m_fontPending) WriteFont();
    m_out += bytes;
  }

  void WriteFont() {
    // A format tag with nothing after it would have no effect: the new one
    // takes its place rather than standing beside it.
    if (m_out.size() == m_fontTagEnd) m_out.resize(m_fontTagStart);
    m_fontTagStart = m_out.size();
    m_out += "<Y c";
    AppendColour(m_out, m_font.colour);
    m_out += " F\"";
    m_out += m_font.face;
    m_out += "\" s";
    m_out += std::to_string(m_font.size);
    m_out += " y";
    m_out += std::to_string(m_font.style & (kBold | kItalic));
    m_out += " p0 >";
    m_fontTagEnd = m_out.size();
    m_fontPending = false;
  }

  void WriteParagraph() {
    m_out += m_cellsLeft > 0 ? "<Z S1 A" : "<Z S0 A";
    m_out += std::to_string(m_alignment);
    m_out += ' ';
    if (m_indent > 0) {
      m_out += 'l';
      m_out += std::to_string(m_indent);
      m_out += ' ';
    }
    m_out += 'C';
    AppendColour(m_out, m_linkColour);
    m_out += " >";
    WriteFont();
    m_paragraphPending = false;
  }

  void SetStyle(int bit, bool on) {
    m_font.style = on ? (m_font.style | bit) : (m_font.style & ~bit);
    m_fontPending = true;
  }

  void SetFace(std::string_view face) {
    m_font.face = face;
    m_fontPending = true;
  }

  void Indent(int step) {
    m_indent = std::clamp(m_indent + step, 0, kMaxIndent);
    WriteParagraph();
  }

  void CellEnd(bool lastCell) {
    // A cell end with no cell open closes nothing: it only breaks the line.
    const bool cellOpen = m_cellsLeft > 0;
    if (cellOpen) --m_cellsLeft;
    if (!lastCell) {
      m_alignment = m_tableAlignment;
    } else if (!m_alignments.empty()) {
      m_alignment = m_alignments.back();
      m_alignments.pop_back();
    }
    if (cellOpen) m_out += "<T>";
    WriteParagraph();
    m_font = m_initialFont;
    m_indent = 0;
  }

  // The actions of the known tags; each gets the whole tag, "<" to ">".
  void BoldOn(std::string_view) { SetStyle(kBold, true); }
  void BoldOff(std::string_view) { SetStyle(kBold, false); }
  void ItalicOn(std::string_view) { SetStyle(kItalic, true); }
  void ItalicOff(std::string_view) { SetStyle(kItalic, false); }
  void FixedFace(std::string_view) { SetFace(kFixedFace); }
  void TextFace(std::string_view) { SetFace(kTextFace); }
  void Paragraph(std::string_view) { WriteParagraph(); }
  void IndentIn(std::string_view) { Indent(kIndentStep); }
  void IndentOut(std::string_view) { Indent(-kIndentStep); }
  void NextCell(std::string_view) { CellEnd(false); }
  void LastCell(std::string_view) { CellEnd(true); }
  void LinkEnd(std::string_view) { m_out += "<%>"; }

  void FontSize(std::string_view tag) {
    const char digit = TagByte(tag, kFontSizeByte);
    if (digit < '1' || digit > '7') return;
    m_font.size = kFontSizes[static_cast<std::size_t>(digit - '1')];
    m_fontPending = true;
  }

  void FontColour(std::string_view tag) {
    std::uint32_t rgb = 0;
    for (std::size_t place = kFontColourByte; place < kFontColourByte + 6; ++place) {
      const int digit = base::HexDigitValue(TagByte(tag, place));
      if (digit < 0) return;
      rgb = (rgb << 4) | static_cast<std::uint32_t>(digit);
    }
    m_font.colour = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    m_fontPending = true;
  }

  void Centre(std::string_view) {
    m_alignment = 2;
    WriteParagraph();
  }

  void Division(std::string_view tag) {
    m_alignment = TagByte(tag, kDivisionAlignByte) == 'R' ? 1 : 0;
    WriteParagraph();
  }

  struct TagRule {
    std::string_view start;
    void (Converter::*action)(std::string_view tag);
  };

  static std::optional<ObjectId> ParseReference(std::string_view tag) {
    if (tag.size() != markup::kReferenceTagLength) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 2; i < 10; ++i) {
      const int digit = base::HexDigitValue(tag[i]);
      if (digit < 0) return std::nullopt;
      value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return static_cast<ObjectId>(value);
  }

  void Reference(std::string_view tag) {
    // A reference that does not read as eight digits names nothing; kept, it
    // would be read as some other reference, so it goes.
    const std::optional<ObjectId> id = ParseReference(tag);
    if (!id) return;
    const int kind = document::KindOf(*id);
    const std::optional<ObjectId> resolved = m_context.Resolve(*id);

    std::string written(tag);
    if (kind == document::zipLink) {
      written.clear();
      AppendReference(written, resolved.value_or(0));
    } else if (kind == document::immagine || kind == document::mappaClic) {
      if (auto copy = m_context.CopyImage(*id)) {
        written.clear();
        AppendReference(written, *copy);
      }
    } else if (kind == document::inputStat) {
      if (auto shortObject = m_context.ConvertFormField(document::IndexOf(*id))) {
        written.clear();
        AppendReference(written, *shortObject);
      }
    }

    const bool placed = resolved && !IsLinkKind(document::KindOf(*resolved));
    if (placed && m_fontPending) WriteFont();
    const bool table = resolved && document::KindOf(*resolved) == document::tabellaHtml;
    if (table) {
      m_alignments.push_back(m_alignment);
      if (m_paragraphPending) WriteParagraph();
      const OlderTable shape = m_context.Table(*resolved);
      m_tableAlignment = shape.alignment >= 0 && shape.alignment <= 2 ? shape.alignment : 0;
      m_alignment = m_tableAlignment;
      m_cellsLeft += static_cast<std::int64_t>(std::clamp(shape.rows, 0, kMaxTableSide)) *
                     std::clamp(shape.columns, 0, kMaxTableSide);
    }
    m_out += written;
    if (table) {
      m_font = m_initialFont;
      m_fontPending = false;
      WriteParagraph();
    }
    if (IsInlineObjectKind(kind)) m_paragraphPending = true;
  }

  void Tag(std::string_view tag) {
    // The first rule whose start begins the tag applies. A tag holds one ">",
    // its last byte, so the start "<B>" matches that tag alone.
    static constexpr TagRule kTagRules[] = {
        {"<B>", &Converter::BoldOn},         {"</B", &Converter::BoldOff},
        {"</I", &Converter::ItalicOff},      {"</P", &Converter::TextFace},
        {"</TT", &Converter::TextFace},      {"</U", &Converter::IndentOut},
        {"<B", &Converter::Paragraph},       {"<I", &Converter::ItalicOn},
        {"<P", &Converter::FixedFace},       {"<TT", &Converter::FixedFace},
        {"<FONT C", &Converter::FontColour}, {"<FONT S", &Converter::FontSize},
        {"<C", &Converter::Centre},          {"<DI", &Converter::Division},
        {"<L", &Converter::Paragraph},       {"<U", &Converter::IndentIn},
        {"<TF", &Converter::NextCell},       {"<TE", &Converter::LastCell},
        {"<%", &Converter::LinkEnd},         {"<$", &Converter::Reference},
    };
    for (const TagRule& rule : kTagRules) {
      if (tag.starts_with(rule.start)) {
        (this->*rule.action)(tag);
        return;
      }
    }
    if (!ReaderWouldMisread(tag)) m_out += tag;
  }

  OlderTextContext& m_context;
  const std::uint32_t m_linkColour;
  Font m_initialFont;
  Font m_font;
  bool m_fontPending = false;
  bool m_paragraphPending = false;
  int m_alignment = 0;
  int m_indent = 0;
  // Wide enough for any number of tables of 255 x 255 cells.
  std::int64_t m_cellsLeft = 0;
  std::vector<int> m_alignments;
  int m_tableAlignment = 0;
  std::string m_out;
  std::size_t m_fontTagStart = 0;
  std::size_t m_fontTagEnd = std::string::npos;
};

// The conversion against a real container. Copies are made through the
// object transfer stream, as the clipboard does, so that every part of the
// record and its data travels with it.
class ContainerContext final : public OlderTextContext {
 public:
  ContainerContext(const document::TAEHoggetto& page, document::TAEHset* set) : m_page(page), m_set(set) {}

  std::uint32_t TextColour() const override {
    return static_cast<std::uint32_t>(m_page.I32(document::field::kPageTextColour));
  }
  std::uint32_t LinkColour() const override {
    return static_cast<std::uint32_t>(m_page.I32(document::field::kPageLinkColour));
  }

  std::optional<ObjectId> Resolve(ObjectId id) override {
    const document::TAEHoggetto* object = Find(id);
    if (object == nullptr) return std::nullopt;
    return object->GetId();
  }

  std::optional<ObjectId> CopyImage(ObjectId id) override {
    document::TAEHoggetto* image = Find(id);
    if (image == nullptr || image->IsFree() ||
        (image->Kind() != document::immagine && image->Kind() != document::mappaClic)) {
      return std::nullopt;
    }
    // A page that shows one image many times gets one copy: a copy per
    // reference would let a short text multiply a large image without end.
    if (auto done = m_imageCopies.find(image->GetId()); done != m_imageCopies.end()) return done->second;
    std::unique_ptr<document::TAEHoggetto> copy = TransferCopy(*image, document::immagine);
    if (!copy) return std::nullopt;
    // Image data that could not be read is not copied as an empty image.
    if (image->ContentLength() > 0 && !copy->Content().Present() && copy->FilePath().empty()) {
      return std::nullopt;
    }
    document::TAEHoggetto* registered = m_set->Register(std::move(copy));
    if (registered == nullptr) return std::nullopt;
    m_imageCopies.emplace(image->GetId(), registered->GetId());
    return registered->GetId();
  }

  std::optional<ObjectId> ConvertFormField(int index) override {
    if (auto done = m_shortObjects.find(index); done != m_shortObjects.end()) return done->second;
    if (m_set == nullptr) return std::nullopt;
    document::TAEHoggetto* field = m_set->GetObject(document::inputStat, index);
    if (field == nullptr || field->Kind() != document::inputStat || field->Subtype() < kFirstShortSubtype ||
        field->Subtype() > kLastShortSubtype) {
      return std::nullopt;
    }
    std::unique_ptr<document::TAEHoggetto> copy = TransferCopy(*field, document::shortObj);
    if (!copy) return std::nullopt;
    document::TAEHoggetto* registered = m_set->Register(std::move(copy));
    if (registered == nullptr) return std::nullopt;
    field->Clear();
    // A second reference to the same field finds it cleared; it must name the
    // short object too.
    m_shortObjects.emplace(index, registered->GetId());
    return registered->GetId();
  }

  OlderTable Table(ObjectId resolved) override {
    const document::TAEHoggetto* table = Find(resolved);
    if (table == nullptr) return {};
    return {table->U8(document::field::kTableRows), table->U8(document::field::kTableColumns),
            table->U8(document::field::kTableAlignment)};
  }

 private:
  document::TAEHoggetto* Find(ObjectId id) const {
    return m_set == nullptr ? nullptr : m_set->GetObjectById(id);
  }

  std::unique_ptr<document::TAEHoggetto> TransferCopy(const document::TAEHoggetto& source, int kind) const {
    std::string stream;
    source.SaveToStream(stream);
    auto copy = std::make_unique<document::TAEHoggetto>();
    copy->SetOwner(m_set);
    base::ByteReader reader(stream);
    if (!copy->LoadFromStream(reader) || !copy->SetType(kind)) return nullptr;
    return copy;
  }

  const document::TAEHoggetto& m_page;
  document::TAEHset* m_set;
  std::map<ObjectId, ObjectId> m_imageCopies;
  std::map<int, ObjectId> m_shortObjects;
};

}  // namespace

std::string ConvertOlderMarkup(std::string_view older, OlderTextContext& context) {
  return Converter(context).Run(older);
}

bool ConvertOlderText(document::TAEHoggetto& page) {
  if (page.Kind() != document::testoHtml || page.U8(document::field::kPageGeneration) != 1) return false;
  // Without its hypertext no reference could be resolved, and the archive
  // references would all be rewritten as naming nothing.
  if (page.Owner() == nullptr) return false;
  std::string older;
  if (page.Content().Present() || !page.FilePath().empty()) {
    // A text that cannot be read is left alone rather than replaced by an
    // empty page.
    std::optional<std::string> read = page.ReadContent();
    if (!read) return false;
    older = std::move(*read);
  }
  ContainerContext context(page, page.Owner());
  std::string markup = ConvertOlderMarkup(older, context);
  markup.push_back('\0');
  page.SetContent(std::move(markup));
  page.SetU8(document::field::kPageGeneration, 2);
  return true;
}

}  // namespace tarn::richtext
