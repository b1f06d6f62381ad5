// The RTF lexer; see rtfimplexer.h.
#include "convert/rtfimplexer.h"

#include <limits>
#include <unordered_map>

#include "base/hex.h"

namespace tarn::convert::rtf {
namespace {

constexpr std::int64_t kParameterLimit = std::numeric_limits<std::int32_t>::max();

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// Line breaks and NUL bytes in the file carry nothing.
bool IsIgnored(char c) { return c == '\r' || c == '\n' || c == '\0'; }

Token Make(TokenKind kind) {
  Token token;
  token.kind = kind;
  return token;
}

}  // namespace

Word LookupWord(std::string_view letters) {
  static const std::unordered_map<std::string_view, Word> kWords = {
      {"rtf", Word::kRtf},
      {"ansi", Word::kAnsi},
      {"mac", Word::kMac},
      {"pc", Word::kPc},
      {"pca", Word::kPca},
      {"ansicpg", Word::kAnsicpg},
      {"deff", Word::kDeff},
      {"fonttbl", Word::kFonttbl},
      {"colortbl", Word::kColortbl},
      {"stylesheet", Word::kStylesheet},
      {"info", Word::kInfo},
      {"revtbl", Word::kRevtbl},
      {"listtable", Word::kListtable},
      {"listoverridetable", Word::kListoverridetable},
      {"list", Word::kList},
      {"listid", Word::kListid},
      {"listlevel", Word::kListlevel},
      {"levelnfc", Word::kLevelnfc},
      {"levelnfcn", Word::kLevelnfcn},
      {"listoverride", Word::kListoverride},
      {"ls", Word::kLs},
      {"ilvl", Word::kIlvl},
      {"fcharset", Word::kFcharset},
      {"red", Word::kRed},
      {"green", Word::kGreen},
      {"blue", Word::kBlue},
      {"s", Word::kS},
      {"cs", Word::kCs},
      {"ds", Word::kDs},
      {"ts", Word::kTs},
      {"sbasedon", Word::kSbasedon},
      {"f", Word::kF},
      {"fs", Word::kFs},
      {"cf", Word::kCf},
      {"b", Word::kB},
      {"i", Word::kI},
      {"ul", Word::kUl},
      {"uld", Word::kUld},
      {"uldb", Word::kUldb},
      {"uldash", Word::kUldash},
      {"uldashd", Word::kUldashd},
      {"uldashdd", Word::kUldashdd},
      {"ulhwave", Word::kUlhwave},
      {"ulldash", Word::kUlldash},
      {"ulth", Word::kUlth},
      {"ulthd", Word::kUlthd},
      {"ulthdash", Word::kUlthdash},
      {"ulthdashd", Word::kUlthdashd},
      {"ulthdashdd", Word::kUlthdashdd},
      {"ulthldash", Word::kUlthldash},
      {"ululdbwave", Word::kUluldbwave},
      {"ulw", Word::kUlw},
      {"ulwave", Word::kUlwave},
      {"ulnone", Word::kUlnone},
      {"strike", Word::kStrike},
      {"striked", Word::kStriked},
      {"up", Word::kUp},
      {"dn", Word::kDn},
      {"super", Word::kSuper},
      {"sub", Word::kSub},
      {"nosupersub", Word::kNosupersub},
      {"plain", Word::kPlain},
      {"v", Word::kV},
      {"uc", Word::kUc},
      {"u", Word::kU},
      {"pard", Word::kPard},
      {"ql", Word::kQl},
      {"qr", Word::kQr},
      {"qc", Word::kQc},
      {"qj", Word::kQj},
      {"qd", Word::kQd},
      {"sl", Word::kSl},
      {"fi", Word::kFi},
      {"li", Word::kLi},
      {"ri", Word::kRi},
      {"lin", Word::kLin},
      {"rin", Word::kRin},
      {"sb", Word::kSb},
      {"sa", Word::kSa},
      {"intbl", Word::kIntbl},
      {"par", Word::kPar},
      {"line", Word::kLine},
      {"sect", Word::kSect},
      {"sectd", Word::kSectd},
      {"page", Word::kPage},
      {"trowd", Word::kTrowd},
      {"cellx", Word::kCellx},
      {"cell", Word::kCell},
      {"row", Word::kRow},
      {"clcfpat", Word::kClcfpat},
      {"clcbpat", Word::kClcbpat},
      {"clshdng", Word::kClshdng},
      {"trgaph", Word::kTrgaph},
      {"brdrw", Word::kBrdrw},
      {"trbrdrt", Word::kTrbrdrt},
      {"trbrdrl", Word::kTrbrdrl},
      {"trbrdrb", Word::kTrbrdrb},
      {"trbrdrr", Word::kTrbrdrr},
      {"nestcell", Word::kNestcell},
      {"nestrow", Word::kNestrow},
      {"itap", Word::kItap},
      {"tab", Word::kTab},
      {"bullet", Word::kBullet},
      {"emdash", Word::kEmdash},
      {"endash", Word::kEndash},
      {"emspace", Word::kEmspace},
      {"enspace", Word::kEnspace},
      {"qmspace", Word::kQmspace},
      {"ldblquote", Word::kLdblquote},
      {"lquote", Word::kLquote},
      {"rdblquote", Word::kRdblquote},
      {"rquote", Word::kRquote},
      {"chftn", Word::kChftn},
      {"chatn", Word::kChatn},
      {"footnote", Word::kFootnote},
      {"header", Word::kHeader},
      {"headerl", Word::kHeaderl},
      {"headerr", Word::kHeaderr},
      {"headerf", Word::kHeaderf},
      {"footer", Word::kFooter},
      {"footerl", Word::kFooterl},
      {"footerr", Word::kFooterr},
      {"footerf", Word::kFooterf},
      {"field", Word::kField},
      {"fldinst", Word::kFldinst},
      {"fldrslt", Word::kFldrslt},
      {"pict", Word::kPict},
      {"pn", Word::kPn},
      {"pntext", Word::kPntext},
      {"listtext", Word::kListtext},
      {"annotation", Word::kAnnotation},
      {"atnauthor", Word::kAtnauthor},
      {"atnid", Word::kAtnid},
      {"bkmkstart", Word::kBkmkstart},
      {"bkmkend", Word::kBkmkend},
      {"nonshppict", Word::kNonshppict},
      {"shppict", Word::kShppict},
      {"object", Word::kObject},
      {"do", Word::kDo},
      {"xe", Word::kXe},
      {"tc", Word::kTc},
      {"aftnsep", Word::kAftnsep},
      {"aftnsepc", Word::kAftnsepc},
      {"aftncn", Word::kAftncn},
      {"ftnsep", Word::kFtnsep},
      {"ftnsepc", Word::kFtnsepc},
      {"ftncn", Word::kFtncn},
      {"pnseclvl", Word::kPnseclvl},
      {"pnlvlbody", Word::kPnlvlbody},
      {"pnlvlblt", Word::kPnlvlblt},
      {"pnlvlcont", Word::kPnlvlcont},
      {"picw", Word::kPicw},
      {"pich", Word::kPich},
      {"picwgoal", Word::kPicwgoal},
      {"pichgoal", Word::kPichgoal},
      {"picscalex", Word::kPicscalex},
      {"picscaley", Word::kPicscaley},
      {"wmetafile", Word::kWmetafile},
      {"emfblip", Word::kEmfblip},
      {"pngblip", Word::kPngblip},
      {"jpegblip", Word::kJpegblip},
      {"dibitmap", Word::kDibitmap},
      {"wbitmap", Word::kWbitmap},
      {"macpict", Word::kMacpict},
      {"picbmp", Word::kPicbmp},
  };
  const auto found = kWords.find(letters);
  return found == kWords.end() ? Word::kUnknown : found->second;
}

Token Lexer::Next() {
  const std::size_t size = m_text.size();
  while (m_pos < size && IsIgnored(m_text[m_pos])) ++m_pos;
  if (m_pos >= size) return {};
  const char c = m_text[m_pos];
  if (c == '{') {
    ++m_pos;
    return Make(TokenKind::kGroupStart);
  }
  if (c == '}') {
    ++m_pos;
    return Make(TokenKind::kGroupEnd);
  }
  if (c == '\\') return ControlAt();
  return TextRun();
}

Token Lexer::TextRun() {
  const std::size_t size = m_text.size();
  const std::size_t start = m_pos;
  while (m_pos < size) {
    const char c = m_text[m_pos];
    if (c == '\\' || c == '{' || c == '}' || IsIgnored(c)) break;
    ++m_pos;
  }
  Token token = Make(TokenKind::kText);
  token.word = m_text.substr(start, m_pos - start);
  return token;
}

Token Lexer::ControlAt() {
  const std::size_t size = m_text.size();
  ++m_pos;  // the backslash
  if (m_pos >= size) return {};
  const char c = m_text[m_pos];
  if (IsLetter(c)) {
    const std::size_t start = m_pos;
    while (m_pos < size && IsLetter(m_text[m_pos])) ++m_pos;
    Token token = Make(TokenKind::kControlWord);
    token.word = m_text.substr(start, m_pos - start);
    const bool negative = m_pos + 1 < size && m_text[m_pos] == '-' && IsDigit(m_text[m_pos + 1]);
    if (negative) ++m_pos;
    if (m_pos < size && IsDigit(m_text[m_pos])) {
      std::int64_t value = 0;
      // Digits beyond 32 bits are read and dropped: the value stays at the limit.
      while (m_pos < size && IsDigit(m_text[m_pos])) {
        if (value <= kParameterLimit) value = value * 10 + (m_text[m_pos] - '0');
        ++m_pos;
      }
      if (value > kParameterLimit) value = kParameterLimit;
      token.hasParameter = true;
      token.parameter = static_cast<std::int32_t>(negative ? -value : value);
    }
    if (m_pos < size && m_text[m_pos] == ' ') ++m_pos;
    token.id = LookupWord(token.word);
    if (token.word == "bin" && token.hasParameter) {
      // The data is taken as it stands; a length beyond the file takes what is there.
      const std::size_t want = token.parameter > 0 ? static_cast<std::size_t>(token.parameter) : 0;
      const std::size_t take = want < size - m_pos ? want : size - m_pos;
      Token data = Make(TokenKind::kBinary);
      data.word = m_text.substr(m_pos, take);
      m_pos += take;
      return data;
    }
    return token;
  }
  if (c == '\'') {
    const int high = m_pos + 1 < size ? base::HexDigitValue(m_text[m_pos + 1]) : -1;
    const int low = m_pos + 2 < size ? base::HexDigitValue(m_text[m_pos + 2]) : -1;
    if (high >= 0 && low >= 0) {
      m_pos += 3;
      Token token = Make(TokenKind::kHexByte);
      token.byte = static_cast<unsigned char>(high * 16 + low);
      return token;
    }
    // A damaged "\'": the quote alone is a symbol that nothing uses.
    ++m_pos;
    Token token = Make(TokenKind::kControlSymbol);
    token.symbol = '\'';
    return token;
  }
  if (c == '\r' || c == '\n') {
    // A backslash before a line break is a paragraph mark.
    ++m_pos;
    Token token = Make(TokenKind::kControlWord);
    token.word = "par";
    token.id = Word::kPar;
    return token;
  }
  ++m_pos;
  Token token = Make(TokenKind::kControlSymbol);
  token.symbol = c;
  return token;
}

bool Lexer::SkipGroup() {
  std::size_t depth = 1;
  const std::size_t size = m_text.size();
  while (m_pos < size) {
    const char c = m_text[m_pos];
    if (c == '{') {
      ++depth;
      ++m_pos;
    } else if (c == '}') {
      ++m_pos;
      if (--depth == 0) return true;
    } else if (c == '\\') {
      // Through the lexer, so that "\{", "\}" and binary data are not counted.
      ControlAt();
    } else {
      ++m_pos;
    }
  }
  return false;
}

}  // namespace tarn::convert::rtf
