// The RTF file read as tokens: group braces, control words with their
// parameters, control symbols, runs of text, "\'hh" bytes and the raw data of
// "\binN". The lexer trusts nothing in the input: every length is bounded by
// the bytes that are left, parameters are clamped to 32 bits, and tokens are
// views into the text, so reading allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarn::convert::rtf {

// The control words the reader knows; every other word is kUnknown and is
// skipped by the RTF rules.
enum class Word : std::uint8_t {
  kUnknown,
  kRtf,
  kAnsi,
  kMac,
  kPc,
  kPca,
  kAnsicpg,
  kDeff,
  kFonttbl,
  kColortbl,
  kStylesheet,
  kInfo,
  kRevtbl,
  kListtable,
  kListoverridetable,
  kList,
  kListid,
  kListlevel,
  kLevelnfc,
  kLevelnfcn,
  kListoverride,
  kLs,
  kIlvl,
  kFcharset,
  kRed,
  kGreen,
  kBlue,
  kS,
  kCs,
  kDs,
  kTs,
  kSbasedon,
  kF,
  kFs,
  kCf,
  kB,
  kI,
  kUl,
  kUld,
  kUldb,
  kUldash,
  kUldashd,
  kUldashdd,
  kUlhwave,
  kUlldash,
  kUlth,
  kUlthd,
  kUlthdash,
  kUlthdashd,
  kUlthdashdd,
  kUlthldash,
  kUluldbwave,
  kUlw,
  kUlwave,
  kUlnone,
  kStrike,
  kStriked,
  kUp,
  kDn,
  kSuper,
  kSub,
  kNosupersub,
  kPlain,
  kV,
  kUc,
  kU,
  kPard,
  kQl,
  kQr,
  kQc,
  kQj,
  kQd,
  kSl,
  kFi,
  kLi,
  kRi,
  kLin,
  kRin,
  kSb,
  kSa,
  kIntbl,
  kPar,
  kLine,
  kSect,
  kSectd,
  kPage,
  kTrowd,
  kCellx,
  kCell,
  kRow,
  kClcfpat,
  kClcbpat,
  kClshdng,
  kTrgaph,
  kBrdrw,
  kTrbrdrt,
  kTrbrdrl,
  kTrbrdrb,
  kTrbrdrr,
  kNestcell,
  kNestrow,
  kItap,
  kTab,
  kBullet,
  kEmdash,
  kEndash,
  kEmspace,
  kEnspace,
  kQmspace,
  kLdblquote,
  kLquote,
  kRdblquote,
  kRquote,
  kChftn,
  kChatn,
  kFootnote,
  kHeader,
  kHeaderl,
  kHeaderr,
  kHeaderf,
  kFooter,
  kFooterl,
  kFooterr,
  kFooterf,
  kField,
  kFldinst,
  kFldrslt,
  kPict,
  kPn,
  kPntext,
  kListtext,
  kAnnotation,
  kAtnauthor,
  kAtnid,
  kBkmkstart,
  kBkmkend,
  kNonshppict,
  kShppict,
  kObject,
  kDo,
  kXe,
  kTc,
  kAftnsep,
  kAftnsepc,
  kAftncn,
  kFtnsep,
  kFtnsepc,
  kFtncn,
  kPnseclvl,
  kPnlvlbody,
  kPnlvlblt,
  kPnlvlcont,
  kPicw,
  kPich,
  kPicwgoal,
  kPichgoal,
  kPicscalex,
  kPicscaley,
  kWmetafile,
  kEmfblip,
  kPngblip,
  kJpegblip,
  kDibitmap,
  kWbitmap,
  kMacpict,
  kPicbmp,
};

// The word for a control word's letters (kUnknown when it is none of ours).
Word LookupWord(std::string_view letters);

enum class TokenKind : std::uint8_t {
  kEnd,
  kGroupStart,     // "{"
  kGroupEnd,       // "}"
  kControlWord,    // "\word" with an optional signed number
  kControlSymbol,  // "\" and one character that is not a letter ("\*", "\~", "\-" ...)
  kText,           // bytes as they are (no braces, backslashes, line breaks or NUL bytes)
  kHexByte,        // "\'hh"
  kBinary,         // the bytes after "\binN"
};

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string_view word;  // kControlWord: the letters; kText, kBinary: the bytes
  Word id = Word::kUnknown;  // kControlWord
  bool hasParameter = false;
  std::int32_t parameter = 0;
  char symbol = 0;         // kControlSymbol
  unsigned char byte = 0;  // kHexByte
};

class Lexer {
 public:
  explicit Lexer(std::string_view text) : m_text(text) {}

  Token Next();
  std::size_t Position() const { return m_pos; }
  std::size_t Size() const { return m_text.size(); }
  bool AtEnd() const { return m_pos >= m_text.size(); }
  std::string_view Text() const { return m_text; }

  // Skips the rest of the group whose "{" was read last: reads through its
  // matching "}" (binary data and nested groups included). Answers false at
  // the end of the text.
  bool SkipGroup();

 private:
  Token ControlAt();
  Token TextRun();

  std::string_view m_text;
  std::size_t m_pos = 0;
};

inline bool Is(const Token& token, Word word) { return token.kind == TokenKind::kControlWord && token.id == word; }

}  // namespace tarn::convert::rtf
