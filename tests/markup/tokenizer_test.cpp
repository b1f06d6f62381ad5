// The markup tokenizer: where each token ends, what references and codes
// say, and the damaged forms every scanner must read alike.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup/tokenizer.h"

namespace tarn::markup {
namespace {

std::string Name(TokenKind kind) {
  switch (kind) {
    case TokenKind::kEnd: return "End";
    case TokenKind::kText: return "Text";
    case TokenKind::kControls: return "Controls";
    case TokenKind::kEntity: return "Entity";
    case TokenKind::kParagraphTag: return "Paragraph";
    case TokenKind::kFormatTag: return "Format";
    case TokenKind::kReference: return "Reference";
    case TokenKind::kLinkEnd: return "LinkEnd";
    case TokenKind::kCellEnd: return "CellEnd";
    case TokenKind::kCellsOmitted: return "CellsOmitted";
    case TokenKind::kSkippedBlock: return "Skipped";
    case TokenKind::kOtherTag: return "Other";
  }
  return "?";
}

// Every token as Kind[bytes], with what references and entities say and a
// "+" for a tag left open; PeekKind must agree with each token read.
std::string Tokens(std::string_view text) {
  std::string out;
  Tokenizer tokens(text);
  while (true) {
    const TokenKind peeked = tokens.PeekKind();
    const Token t = tokens.Next();
    EXPECT_EQ(peeked, t.kind) << text;
    if (t.kind == TokenKind::kEnd) break;
    if (!out.empty()) out += ' ';
    out += Name(t.kind) + "[" + std::string(t.text) + "]";
    if (t.kind == TokenKind::kEntity) out += "=" + std::to_string(t.character);
    if (t.kind == TokenKind::kReference) {
      char value[16];
      std::snprintf(value, sizeof value, "=%08x", t.value);
      out += value;
      out += t.wellFormed ? "" : "?";
    }
    if (!t.closed) out += "+";
  }
  return out;
}

TEST(Tokenizer, WhereTokensEnd) {
  struct Case {
    std::string text;
    std::string tokens;
  };
  const std::vector<Case> cases = {
      {"<Z S0 >Tom &amp; Jerry", "Paragraph[<Z S0 >] Text[Tom ] Entity[&amp;]=38 Text[ Jerry]"},
      {std::string("a\r\n\x03\x03") + "b>c", "Text[a] Controls[\r\n\x03\x03] Text[b>c]"},
      // A numeric reference takes up to three bytes whatever they are, a "<"
      // among them; an unknown name is a lone "&".
      {"&#<Z1&zz", "Entity[&#<Z1]=65 Entity[&]=32 Text[zz]"},
      {"<$00000001>x<%><$FF00000a><@><T>",
       "Reference[<$00000001>]=00000001 Text[x] LinkEnd[<%>] Reference[<$FF00000a>]=ff00000a "
       "CellsOmitted[<@>] "
       "CellEnd[<T>]"},
      // The value is read from the eight bytes after "<$", whatever they are.
      {"<$12>abcdef", "Reference[<$12>]=120abcde? Text[abcdef]"},
      {"<$0000000g>", "Reference[<$0000000g>]=00000000?"},
      // Reserved blocks hide everything up to their closing tag.
      {"<Dx<$00000001>y<d>z<Rq", "Skipped[<Dx<$00000001>y<d>] Text[z] Skipped[<Rq]+"},
      {"<Q anything>.<Y s12", "Other[<Q anything>] Text[.] Format[<Y s12]+"},
      // A font name may hold a ">": the tag ends after its codes.
      {"<Z S0 F\"a>b\" >x", "Paragraph[<Z S0 F\"a>b\" >] Text[x]"},
      // Without a style index a paragraph tag states nothing and ends at
      // its first ">".
      {"<Z F\"a>b\" >x", "Paragraph[<Z F\"a>] Text[b\" >x]"},
      {"<", "Other[<]+"},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokens(c.text), c.tokens) << c.text;
}

TEST(Tokenizer, ParagraphCodesInTheirOrder) {
  Tokenizer tokens("<Z S3 c0A0B0C F\"Arial\" s12 y5 p1 P2 A2 N6 M1 L-32000 I-20 l10 r11 t4 b6 C00FF00 S-1 Y12 >");
  ASSERT_EQ(tokens.Next().kind, TokenKind::kParagraphTag);
  const TagCodes& codes = tokens.Codes();
  struct Expected {
    Code code;
    std::int32_t value;
  };
  const std::vector<Expected> numbers = {
      {Code::kStyle, 3},        {Code::kColour, 0x0C0B0A}, {Code::kSize, 12},       {Code::kStyleBits, 5},
      {Code::kPosition, 1},     {Code::kPByte, 2},         {Code::kAlignment, 2},   {Code::kListKind, 6},
      {Code::kUnit, 1},         {Code::kLineHeight, -32000}, {Code::kIndent, -20},  {Code::kLeftMargin, 10},
      {Code::kRightMargin, 11}, {Code::kSpaceBefore, 4},   {Code::kSpaceAfter, 6},  {Code::kLinkColour, 0x00FF00},
      {Code::kLinkSize, -1},    {Code::kLinkStyle, 12}};
  for (const Expected& e : numbers) {
    EXPECT_TRUE(codes.Has(e.code)) << static_cast<int>(e.code);
    EXPECT_EQ(codes.Number(e.code), e.value) << static_cast<int>(e.code);
  }
  EXPECT_EQ(codes.Face(), "Arial");
  EXPECT_FALSE(codes.Has(Code::kItalic));
  EXPECT_TRUE(tokens.AtEnd());
}

TEST(Tokenizer, CodesOutOfOrderTruncatedAndInFormatTags) {
  // "t" before "l": only codes met in the fixed order are read.
  Tokenizer outOfOrder("<Z S0 t4 l10 >");
  outOfOrder.Next();
  EXPECT_TRUE(outOfOrder.Codes().Has(Code::kSpaceBefore));
  EXPECT_FALSE(outOfOrder.Codes().Has(Code::kLeftMargin));

  // A value without its blank within twelve bytes is truncated; its key is
  // consumed and reading goes on after it.
  Tokenizer truncated("<Y s1234567890123>x");
  const Token tag = truncated.Next();
  EXPECT_EQ(truncated.Codes().State(Code::kSize), CodeState::kTruncated);
  EXPECT_EQ(tag.text, "<Y s1234567890123>");
  std::vector<bool> reported;
  truncated.Codes().ForEachTruncated([&](bool face) { reported.push_back(face); });
  EXPECT_EQ(reported, std::vector<bool>{false});

  Tokenizer format("<Y c000000 F\"Courier New\" s9 i1 g0 y4 p2 >");
  format.Next();
  const TagCodes& codes = format.Codes();
  EXPECT_EQ(codes.Face(), "Courier New");
  EXPECT_EQ(codes.Number(Code::kItalic), 1);
  EXPECT_EQ(codes.Number(Code::kBold), 0);
  EXPECT_EQ(codes.Number(Code::kStyleBits), 4);
  EXPECT_EQ(codes.Number(Code::kPosition), 2);
  EXPECT_FALSE(codes.Has(Code::kStyle));

  // A name without its closing quote: reported as a name, and the tag ends
  // at the first ">" after the key.
  Tokenizer face("<Y F\"Arial >x");
  EXPECT_EQ(face.Next().text, "<Y F\"Arial >");
  EXPECT_EQ(face.Codes().State(Code::kFace), CodeState::kTruncated);
  reported.clear();
  face.Codes().ForEachTruncated([&](bool isFace) { reported.push_back(isFace); });
  EXPECT_EQ(reported, std::vector<bool>{true});
}

TEST(Tokenizer, AParagraphTagWhereAParagraphIsExpected) {
  // Text before the tag is skipped and the tag is read whatever its letter.
  Tokenizer tokens("junk<Y S2 A1 >body");
  const Token tag = tokens.NextAsParagraphTag();
  EXPECT_EQ(tag.kind, TokenKind::kParagraphTag);
  EXPECT_EQ(tag.at, 4u);
  EXPECT_EQ(tokens.Codes().Number(Code::kStyle), 2);
  EXPECT_EQ(tokens.Codes().Number(Code::kAlignment), 1);
  EXPECT_EQ(tokens.Next().text, "body");

  // Read again from its "<" (a reader that met it in a body), it is the same.
  Tokenizer again("<Z S1 >a<Z S2 l5 >b");
  again.NextAsParagraphTag();
  again.Next();
  const Token next = again.Next();
  ASSERT_EQ(next.kind, TokenKind::kParagraphTag);
  again.SetPosition(next.at);
  const Token reread = again.NextAsParagraphTag();
  EXPECT_EQ(reread.text, "<Z S2 l5 >");
  EXPECT_EQ(again.Codes().Number(Code::kLeftMargin), 5);
  EXPECT_EQ(again.Next().text, "b");

  Tokenizer none("no tags");
  EXPECT_EQ(none.NextAsParagraphTag().kind, TokenKind::kEnd);
  EXPECT_EQ(none.Position(), 0u);
}

TEST(Tokenizer, TextPartEndsAtTheFirstByteZero) {
  EXPECT_EQ(TextPart(std::string_view("<Z S0 >a\0<Z S1 >", 16)), "<Z S0 >a");
  EXPECT_EQ(TextPart("plain"), "plain");
}

}  // namespace
}  // namespace tarn::markup
