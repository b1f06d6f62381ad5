// Reading an RTF body: tokens, groups and destinations; see rtfimppage.h.
// The writing of the markup, tables, pictures and pages is in
// rtfimpwrite.cpp.
#include "convert/rtfimppage.h"

#include <algorithm>

#include "base/cp1252.h"
#include "convert/rtfimp.h"
#include "convert/rtfimpheader.h"
#include "convert/textcodec.h"
#include "document/aehset.h"

namespace tarn::convert {

using rtf::Token;
using rtf::TokenKind;
using rtf::Word;

namespace {

constexpr std::size_t kMaxCollected = 4096;
constexpr std::size_t kProgressTokens = 1 << 14;
constexpr int kTabBlanks = 6;

}  // namespace

TRtfPage::TRtfPage(TRtfImp& run, TRtfHeader& header, rtf::Lexer& lexer, std::string_view documentName)
    : m_run(run), m_header(header), m_lexer(lexer), m_documentName(documentName), m_ppi(run.PixelsPerInch()) {
  m_states.Reset(header.InitialState());
  m_texts.emplace_back();
  ApplyPard();
}

TRtfPage::~TRtfPage() = default;

bool TRtfPage::ReadPage() {
  std::size_t tokens = 0;
  for (;;) {
    if (++tokens % kProgressTokens == 0) m_run.Progress();
    const Token t = m_lexer.Next();
    switch (t.kind) {
      case TokenKind::kEnd:
        return false;
      case TokenKind::kGroupStart:
        GroupStart();
        break;
      case TokenKind::kGroupEnd:
        // The brace that closes "{\rtf1" ends the document; what follows it
        // is not part of it.
        if (m_states.Depth() == 0) return false;
        GroupEnd();
        break;
      case TokenKind::kControlWord:
        if ((Is(t, Word::kPage) || Is(t, Word::kSect)) && m_run.Options().manyPages && m_run.CanMakePages(2) &&
            m_texts.size() == 1 && m_dests.empty()) {
          return true;
        }
        ControlWord(t);
        break;
      case TokenKind::kControlSymbol:
        ControlSymbol(t.symbol);
        break;
      case TokenKind::kText:
        TextBytes(t.word);
        break;
      case TokenKind::kHexByte:
        HexByte(t.byte);
        break;
      case TokenKind::kBinary:
        if (!m_dests.empty() && m_dests.back().kind == Dest::kPicture) m_picture.data += t.word;
        break;
    }
  }
}

// ---- Groups and destinations ----

void TRtfPage::GroupStart() {
  m_states.Push();
  m_skipFallback = 0;
  rtf::Lexer peek = m_lexer;
  Token word = peek.Next();
  bool starred = false;
  if (word.kind == TokenKind::kControlSymbol && word.symbol == '*') {
    starred = true;
    word = peek.Next();
  }
  if (word.kind != TokenKind::kControlWord) {
    if (starred) {
      // "{\*" followed by anything but a word: nothing a reader knows.
      m_lexer = peek;
      m_lexer.SkipGroup();
      m_states.Pop();
    }
    return;
  }
  if (StartDestination(word, starred)) m_lexer = peek;
}

bool TRtfPage::StartDestination(const Token& word, bool starred) {
  // Moves the lexer past the group's first word (and its "\*").
  auto consumeWord = [this, starred] {
    m_lexer.Next();
    if (starred) m_lexer.Next();
  };
  const RtfImportOptions& options = m_run.Options();
  const std::size_t depth = m_states.Depth();
  auto push = [&](Dest kind) { m_dests.push_back({kind, depth, {}}); };
  // Destinations nest only as deep as groups are saved; deeper ones are
  // skipped whole.
  const bool room = m_dests.size() < TRtfStateList::kMaxSaved;
  switch (word.id) {
    case Word::kFootnote:
      if (!room) break;
      push(Dest::kFootnote);
      ++m_footnotes;
      if (!options.winHelp) {
        FinishHotSpot();
        m_texts.emplace_back();
        ApplyPard();
      }
      return true;
    case Word::kHeader:
    case Word::kHeaderl:
    case Word::kHeaderr:
    case Word::kHeaderf:
    case Word::kFooter:
    case Word::kFooterl:
    case Word::kFooterr:
    case Word::kFooterf:
      if (!room) break;
      FinishHotSpot();
      push(Dest::kHeaderFooter);
      m_dests.back().collected = word.word.starts_with("header") ? "Header" : "Footer";
      m_texts.emplace_back();
      ApplyPard();
      return true;
    case Word::kAnnotation:
      if (!room) break;
      push(Dest::kAnnotation);
      return true;
    case Word::kAtnauthor:
      if (!room) break;
      push(Dest::kAuthor);
      return true;
    case Word::kField:
      if (!room) break;
      push(Dest::kField);
      m_fieldLink.clear();
      m_fieldBookmark = false;
      return true;
    case Word::kFldinst:
      if (!room) break;
      push(Dest::kFieldInstruction);
      return true;
    case Word::kFldrslt:
      if (!room) break;
      push(Dest::kFieldResult);
      if (!m_fieldLink.empty()) {
        if (m_fieldBookmark) Out().bookmarkTarget = m_fieldLink;
        OpenLink(m_fieldBookmark ? std::string("<$00000000>") : m_run.UrlLinkTag(m_fieldLink));
      }
      return true;
    case Word::kPict:
      if (!room) break;
      push(Dest::kPicture);
      m_picture = Picture{};
      return true;
    case Word::kBkmkstart:
      if (!room) break;
      push(Dest::kBookmark);
      return true;
    case Word::kPn: {
      // The older list form: the list kind of the paragraph around it.
      consumeWord();
      const std::optional<std::uint8_t> kind = ReadPnGroup(m_lexer);
      m_states.Pop();
      if (kind) m_states.Current().paragraph.listKind = *kind;
      return false;
    }
    case Word::kShppict:
      // The newer form of a picture (PNG, JPEG): read when it gives a
      // bitmap, and then the older form after it is not.
      if (!room) break;
      push(Dest::kShapePicture);
      m_shapeGaveBitmap = false;
      return true;
    case Word::kNonshppict:
      if (m_shapeGaveBitmap) break;
      return true;
    case Word::kAftnsep:
    case Word::kAftnsepc:
    case Word::kAftncn:
    case Word::kFtnsep:
    case Word::kFtnsepc:
    case Word::kFtncn:
    case Word::kBkmkend:
    case Word::kDo:
    case Word::kPnseclvl:
    case Word::kPntext:
    case Word::kListtext:
    case Word::kTc:
    case Word::kXe:
    case Word::kObject:
    case Word::kFonttbl:
    case Word::kColortbl:
    case Word::kStylesheet:
    case Word::kInfo:
    case Word::kRevtbl:
    case Word::kListtable:
    case Word::kListoverridetable:
    case Word::kAtnid:
      break;
    default:
      if (!starred) return false;
      break;
  }
  // Skipped: the word goes with the rest of the group.
  consumeWord();
  m_lexer.SkipGroup();
  m_states.Pop();
  return false;
}

void TRtfPage::GroupEnd() {
  m_skipFallback = 0;
  const std::size_t depth = m_states.Depth();
  m_states.Pop();
  while (!m_dests.empty() && m_dests.back().depth >= depth) {
    Destination dest = std::move(m_dests.back());
    m_dests.pop_back();
    EndDestination(dest);
  }
}

void TRtfPage::EndDestination(Destination& dest) {
  switch (dest.kind) {
    case Dest::kFootnote:
      if (m_run.Options().winHelp) {
        WinHelpFootnote(dest.collected);
      } else {
        if (Out().table.open) CloseTable();
        CloseLink();
        Text text = std::move(m_texts.back());
        m_texts.pop_back();
        FinishFootnote(std::move(text));
      }
      break;
    case Dest::kHeaderFooter: {
      if (Out().table.open) CloseTable();
      CloseLink();
      Text text = std::move(m_texts.back());
      m_texts.pop_back();
      if (text.visible && !m_run.Options().clipboard) {
        // Shared headers and footers become pages of their own.
        if (document::TAEHoggetto* page = m_run.NewPage()) {
          StoreInto(text, page);
          page->SetName(dest.collected);
        }
      }
      break;
    }
    case Dest::kAnnotation:
      FinishAnnotation(m_annotationAuthor + "\r\n" + dest.collected);
      break;
    case Dest::kAuthor: {
      std::string author = dest.collected;
      while (!author.empty() && author.back() == ' ') author.pop_back();
      if (!author.empty()) m_annotationAuthor = author;
      break;
    }
    case Dest::kFieldInstruction:
      FieldInstruction(dest.collected);
      break;
    case Dest::kFieldResult:
      CloseLink();
      break;
    case Dest::kField:
      CloseLink();
      m_fieldLink.clear();
      break;
    case Dest::kPicture:
      FinishPicture();
      break;
    case Dest::kShapePicture:
      break;
    case Dest::kBookmark: {
      std::string name = dest.collected;
      while (!name.empty() && name.back() == ' ') name.pop_back();
      if (!name.empty()) m_bookmarks.push_back(name);
      break;
    }
  }
}

TRtfPage::Destination* TRtfPage::Collector() {
  // Fields and shapes pass their text on to the destination around them.
  for (auto it = m_dests.rbegin(); it != m_dests.rend(); ++it) {
    switch (it->kind) {
      case Dest::kField:
      case Dest::kFieldResult:
      case Dest::kShapePicture:
        continue;
      case Dest::kAnnotation:
      case Dest::kAuthor:
      case Dest::kFieldInstruction:
      case Dest::kBookmark:
      case Dest::kPicture:
        return &*it;
      case Dest::kFootnote:
        return m_run.Options().winHelp ? &*it : nullptr;
      case Dest::kHeaderFooter:
        return nullptr;
    }
  }
  return nullptr;
}

bool TRtfPage::Collecting() const { return const_cast<TRtfPage*>(this)->Collector() != nullptr; }

void TRtfPage::Collect(std::string_view text) {
  Destination* collector = Collector();
  if (collector == nullptr) return;
  Destination& dest = *collector;
  if (dest.kind == Dest::kPicture) {
    // Hexadecimal digits, two to a byte; anything else between them is
    // ignored and a last lone digit is dropped.
    for (char c : text) {
      int v = -1;
      if (c >= '0' && c <= '9') v = c - '0';
      else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
      if (v < 0) continue;
      if (m_picture.pendingNibble < 0) {
        m_picture.pendingNibble = v;
      } else {
        m_picture.data.push_back(static_cast<char>(m_picture.pendingNibble * 16 + v));
        m_picture.pendingNibble = -1;
      }
    }
    return;
  }
  const std::size_t room = kMaxCollected > dest.collected.size() ? kMaxCollected - dest.collected.size() : 0;
  dest.collected.append(text.substr(0, room));
}

// ---- Control words ----

void TRtfPage::ControlWord(const Token& token) {
  TRtfState& state = m_states.Current();
  if (!m_dests.empty() && m_dests.back().kind == Dest::kPicture) {
    const int n = token.parameter;
    switch (token.id) {
      case Word::kPicw: m_picture.width = n; return;
      case Word::kPich: m_picture.height = n; return;
      case Word::kPicwgoal: m_picture.goalWidth = n; return;
      case Word::kPichgoal: m_picture.goalHeight = n; return;
      case Word::kPicscalex: m_picture.scaleX = n; return;
      case Word::kPicscaley: m_picture.scaleY = n; return;
      case Word::kWmetafile: m_picture.type = 1; return;
      case Word::kEmfblip: m_picture.type = 2; return;
      case Word::kPngblip: m_picture.type = 3; return;
      case Word::kJpegblip: m_picture.type = 4; return;
      case Word::kDibitmap: m_picture.type = 5; return;
      case Word::kWbitmap:
      case Word::kMacpict: m_picture.type = 0; return;
      case Word::kPicbmp: m_picture.bitmap = true; return;
      default: return;
    }
  }
  if (ApplyFormatWord(state, token, m_header, m_ppi, m_run.Options().winHelp)) {
    if (token.id == Word::kLs || token.id == Word::kIlvl) {
      if (state.listOverride > 0) state.paragraph.listKind = m_header.ListKind(state.listOverride, state.listLevel);
    }
    return;
  }
  switch (token.id) {
    case Word::kPard:
      ApplyPard();
      return;
    case Word::kS:
      ApplyStyle(token.parameter);
      return;
    case Word::kSectd: {
      // Section defaults: the paragraph of the default style, table kept.
      const bool inTable = state.inTable;
      ApplyPard();
      m_states.Current().inTable = inTable;
      return;
    }
    case Word::kPage:
    case Word::kSect:
      // A page break that does not cut ends the paragraph, if one is open.
      if (!Collecting() && !Out().paragraphPending) EndParagraph();
      return;
    case Word::kPar:
    case Word::kLine:
    case Word::kNestcell:
    case Word::kNestrow:
      if (const Destination* collector = Collector()) {
        if (collector->kind != Dest::kPicture) Collect("\r\n");
      } else {
        EndParagraph();
      }
      return;
    case Word::kTab:
      for (int i = 0; i < kTabBlanks; ++i) PutChar(' ');
      return;
    case Word::kBullet: PutChar(149); return;
    case Word::kEmdash: PutChar(151); return;
    case Word::kEndash: PutChar(150); return;
    case Word::kEmspace:
    case Word::kEnspace:
    case Word::kQmspace: PutChar(' '); return;
    case Word::kLdblquote: PutChar(147); return;
    case Word::kLquote: PutChar(145); return;
    case Word::kRdblquote: PutChar(148); return;
    case Word::kRquote: PutChar(146); return;
    case Word::kChftn: {
      // The mark in the text is the next footnote's number, inside a
      // footnote its own.
      const bool inFootnote = std::any_of(m_dests.begin(), m_dests.end(),
                                          [](const Destination& d) { return d.kind == Dest::kFootnote; });
      PutText(std::to_string(inFootnote ? m_footnotes : m_footnotes + 1));
      return;
    }
    case Word::kU: {
      if (!token.hasParameter) return;
      // Negative values are the upper half of the 16-bit range.
      std::int64_t n = token.parameter;
      if (n < 0) n += 65536;
      if (n < 0 || n > 0x10FFFF) return;  // out of range: the fallback stands
      const auto character = static_cast<char32_t>(n);
      const bool surrogate = character >= 0xD800 && character <= 0xDFFF;
      std::size_t replaced = 0;
      std::string bytes;
      if (!surrogate) AppendAsCp1252(bytes, character, replaced);
      if (surrogate || (bytes.empty() && character >= 32)) {
        bytes = std::string(1, kReplacementChar);
        replaced = 1;
      }
      m_run.CountReplaced(replaced);
      PutText(bytes);
      m_skipFallback = m_states.Current().unicodeSkip;
      return;
    }
    case Word::kTrowd:
      if (!Out().table.open) m_tableHolderStyle = state.inTable ? -1 : state.paragraph.style;
      m_rowEdges.clear();
      m_rowCellBackgrounds.clear();
      m_cellPattern = m_cellBackground = -1;
      m_cellShading = 0;
      m_rowBorder = 0;
      m_rowGap = -1;
      m_inRowBorder = false;
      return;
    case Word::kCellx:
      CellEdge(token.parameter);
      return;
    case Word::kClcfpat:
      m_cellPattern = static_cast<std::int32_t>(m_header.ColourAt(token.parameter));
      m_inRowBorder = false;
      return;
    case Word::kClcbpat:
      m_cellBackground = static_cast<std::int32_t>(m_header.ColourAt(token.parameter));
      m_inRowBorder = false;
      return;
    case Word::kClshdng:
      m_cellShading = token.parameter;
      return;
    case Word::kTrgaph:
      m_rowGap = token.parameter;
      return;
    case Word::kTrbrdrt:
    case Word::kTrbrdrl:
    case Word::kTrbrdrb:
    case Word::kTrbrdrr:
      m_inRowBorder = true;
      return;
    case Word::kBrdrw:
      if (m_inRowBorder && token.parameter > 0) m_rowBorder = std::max(1, TwipsToPixels(token.parameter, m_ppi));
      return;
    case Word::kCell:
      if (!Collecting()) EndCell();
      return;
    case Word::kRow:
      if (!Collecting()) EndRow();
      return;
    default:
      return;
  }
}

void TRtfPage::ControlSymbol(char symbol) {
  switch (symbol) {
    case '\\':
    case '{':
    case '}':
      PutChar(static_cast<unsigned char>(symbol));
      return;
    case '~':
      PutChar(' ');
      return;
    case '_':
      // A hyphen that does not break the line.
      PutChar('-');
      return;
    default:
      // "\-" (a hyphen shown only at a line break), "\|", "\:" and a lone
      // "\*" put nothing in the text.
      return;
  }
}

void TRtfPage::TextBytes(std::string_view bytes) {
  if (m_skipFallback > 0) {
    const std::size_t skip = std::min<std::size_t>(static_cast<std::size_t>(m_skipFallback), bytes.size());
    m_skipFallback -= static_cast<int>(skip);
    bytes.remove_prefix(skip);
  }
  if (bytes.empty()) return;
  if (Collecting()) {
    Collect(bytes);
    return;
  }
  const TRtfState& state = m_states.Current();
  const int codePage = m_header.FontCodePage(state.font);
  const bool direct = codePage == kCodePage1252 || codePage == 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == '\t' || (b >= 0x80 && !direct)) {
      PutText(bytes.substr(start, i - start));
      if (b == '\t') {
        for (int k = 0; k < kTabBlanks; ++k) PutChar(' ');
      } else {
        HexByte(b);
      }
      start = i + 1;
    }
  }
  PutText(bytes.substr(start));
}

void TRtfPage::HexByte(unsigned char byte) {
  if (m_skipFallback > 0) {
    --m_skipFallback;
    return;
  }
  if (Collecting()) {
    const char c = static_cast<char>(byte);
    Collect(std::string_view(&c, 1));
    return;
  }
  const int number = m_header.FontCodePage(m_states.Current().font);
  const CodePage* page = number == kCodePage1252 || number == 0 ? nullptr : CodePage::Find(number);
  if (page == nullptr) {
    m_pendingLead = -1;
    PutChar(byte);
    return;
  }
  std::size_t replaced = 0;
  std::string bytes;
  if (m_pendingLead >= 0) {
    const char32_t c = page->Pair(static_cast<unsigned char>(m_pendingLead), byte);
    m_pendingLead = -1;
    if (c == 0) {
      bytes.push_back(kReplacementChar);
      replaced = 1;
    } else {
      AppendAsCp1252(bytes, c, replaced);
    }
  } else if (page->IsLeadByte(byte)) {
    m_pendingLead = byte;
    return;
  } else if (byte < 0x80) {
    bytes.push_back(static_cast<char>(byte));
  } else {
    const char32_t c = page->Character(byte);
    if (c == 0) {
      bytes.push_back(kReplacementChar);
      replaced = 1;
    } else {
      AppendAsCp1252(bytes, c, replaced);
    }
  }
  m_run.CountReplaced(replaced);
  PutText(bytes);
}

// ---- Fields ----

void TRtfPage::FieldInstruction(std::string_view instruction) {
  // HYPERLINK "address" or HYPERLINK \l "bookmark"; other fields keep
  // only their result text.
  std::size_t i = instruction.find_first_not_of(' ');
  if (i == std::string_view::npos) return;
  std::string_view rest = instruction.substr(i);
  if (rest.size() < 9 || !base::SameText(rest.substr(0, 9), "HYPERLINK")) return;
  rest.remove_prefix(9);
  bool bookmark = false;
  std::string target;
  while (!rest.empty()) {
    const char c = rest.front();
    if (c == ' ') {
      rest.remove_prefix(1);
    } else if (c == '\\') {
      // A switch: "\l" names a bookmark; the others ("\o", "\t") take an
      // argument that is not the target.
      const char s = rest.size() > 1 ? rest[1] : '\0';
      rest.remove_prefix(std::min<std::size_t>(2, rest.size()));
      if (s == 'l') {
        bookmark = true;
      } else {
        rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(' ')));
        if (!rest.empty() && rest.front() == '"') {
          const std::size_t end = rest.find('"', 1);
          rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        } else {
          rest.remove_prefix(std::min(rest.size(), rest.find(' ')));
        }
      }
    } else if (c == '"') {
      const std::size_t end = rest.find('"', 1);
      target = rest.substr(1, end == std::string_view::npos ? std::string_view::npos : end - 1);
      break;
    } else {
      const std::size_t end = rest.find(' ');
      target = rest.substr(0, end);
      break;
    }
  }
  // Word doubles the backslashes of paths inside the quotes.
  std::string clean;
  for (std::size_t k = 0; k < target.size(); ++k) {
    if (target[k] == '\\' && k + 1 < target.size() && target[k + 1] == '\\') ++k;
    clean.push_back(target[k]);
  }
  if (clean.empty()) return;
  m_fieldLink = clean;
  m_fieldBookmark = bookmark;
  // A bookmark link of the clipboard has no page to go to.
  if (bookmark && m_run.Options().clipboard) m_fieldLink.clear();
}

}  // namespace tarn::convert
