// The RTF group stack; see rtfimpstate.h.
#include "convert/rtfimpstate.h"

#include <algorithm>
#include <cmath>

#include "convert/rtfimplexer.h"
#include "document/recordfields.h"

namespace tarn::convert {

void TRtfStateList::Push() {
  ++m_depth;
  if (m_saved.size() < kMaxSaved) m_saved.push_back(m_current);
}

bool TRtfStateList::Pop() {
  if (m_depth == 0) return false;
  // Only the groups that saved a state give it back; the ones beyond the
  // bound keep the state they share.
  if (m_depth <= m_saved.size()) {
    m_current = std::move(m_saved.back());
    m_saved.pop_back();
  }
  --m_depth;
  return true;
}

void TRtfStateList::Reset(const TRtfState& state) {
  m_current = state;
  m_saved.clear();
  m_depth = 0;
}

namespace {

using rtf::Word;

using document::field::style::kBold;
using document::field::style::kItalic;
using document::field::style::kUnderline;
constexpr std::uint8_t kStrike = document::field::style::kStrikeout;
constexpr int kTwipsPerInch = 1440;
constexpr double kDefaultMarginMm = 3.0;
constexpr int kNarrowRightMargin = 3;

// "\b" and its kind: on without a number or with one above 0.
bool FlagValue(const rtf::Token& token) { return !token.hasParameter || token.parameter > 0; }

void SetBit(std::uint8_t& bits, std::uint8_t bit, bool on) {
  bits = static_cast<std::uint8_t>(on ? bits | bit : bits & ~bit);
}

int DefaultMargin(int pixelsPerInch) {
  return static_cast<int>(std::lround(kDefaultMarginMm / 25.4 * pixelsPerInch));
}

void Underline(TRtfState& state, bool on, bool winHelpSource) {
  if (winHelpSource) state.hotSpot = on;
  else SetBit(state.character.styleBits, kUnderline, on);
}

}  // namespace

int TwipsToPixels(std::int64_t twips, int pixelsPerInch) {
  const double pixels = static_cast<double>(twips) * pixelsPerInch / kTwipsPerInch;
  // Hostile numbers stay inside what a record field can hold.
  if (pixels > 32000) return 32000;
  if (pixels < -32000) return -32000;
  return static_cast<int>(std::lround(pixels));
}

bool ApplyFormatWord(TRtfState& state, const rtf::Token& token, const RtfTables& tables, int pixelsPerInch,
                     bool winHelpSource) {
  RtfCharFormat& c = state.character;
  RtfParaFormat& p = state.paragraph;
  const std::int32_t n = token.parameter;
  switch (token.id) {
    case Word::kF:
      state.font = n;
      c.face = tables.FontName(n);
      return true;
    case Word::kFs:
      // Half points; the markup keeps whole points.
      if (token.hasParameter && n > 0) c.size = std::min(n / 2 + n % 2, 1638);
      return true;
    case Word::kCf:
      c.colour = tables.ColourAt(n);
      return true;
    case Word::kB:
      SetBit(c.styleBits, kBold, FlagValue(token));
      return true;
    case Word::kI:
      SetBit(c.styleBits, kItalic, FlagValue(token));
      return true;
    case Word::kUl:
    case Word::kUld:
    case Word::kUldb:
    case Word::kUldash:
    case Word::kUldashd:
    case Word::kUldashdd:
    case Word::kUlhwave:
    case Word::kUlldash:
    case Word::kUlth:
    case Word::kUlthd:
    case Word::kUlthdash:
    case Word::kUlthdashd:
    case Word::kUlthdashdd:
    case Word::kUlthldash:
    case Word::kUluldbwave:
    case Word::kUlw:
    case Word::kUlwave:
      Underline(state, FlagValue(token), winHelpSource);
      return true;
    case Word::kUlnone:
      Underline(state, false, winHelpSource);
      return true;
    case Word::kStrike:
    case Word::kStriked:
      SetBit(c.styleBits, kStrike, FlagValue(token));
      return true;
    case Word::kUp:
      c.position = static_cast<std::uint8_t>(!token.hasParameter || n > 0 ? 2 : (n < 0 ? 1 : 0));
      return true;
    case Word::kSuper:
      c.position = 2;
      return true;
    case Word::kDn:
      c.position = token.hasParameter && n == 0 ? 0 : 1;
      return true;
    case Word::kSub:
      c.position = 1;
      return true;
    case Word::kNosupersub:
      c.position = 0;
      return true;
    case Word::kPlain:
      // Every character property returns to the document's defaults, the
      // font included, as word processors rely on.
      c = RtfCharFormat{};
      state.font = tables.DefaultFont();
      c.face = tables.FontName(state.font);
      state.hidden = false;
      state.hotSpot = false;
      return true;
    case Word::kV:
      state.hidden = FlagValue(token);
      return true;
    case Word::kUc:
      state.unicodeSkip = std::clamp(n, 0, 16);
      return true;
    case Word::kQl:
    case Word::kQj:
    case Word::kQd:
      p.alignment = 0;
      return true;
    case Word::kQr:
      p.alignment = 1;
      return true;
    case Word::kQc:
      p.alignment = 2;
      return true;
    case Word::kSl:
      p.lineHeight = token.hasParameter && n < 0 ? TwipsToPixels(-static_cast<std::int64_t>(n), pixelsPerInch)
                                                 : -32000;
      return true;
    case Word::kFi:
      p.indent = TwipsToPixels(n, pixelsPerInch);
      return true;
    case Word::kLi:
    case Word::kLin:
      state.givenLeft = TwipsToPixels(n, pixelsPerInch);
      state.leftGiven = true;
      p.leftMargin = state.givenLeft;
      return true;
    case Word::kRi:
    case Word::kRin:
      state.givenRight = TwipsToPixels(n, pixelsPerInch);
      state.rightGiven = true;
      p.rightMargin = state.givenRight;
      return true;
    case Word::kSb:
      p.spaceBefore = TwipsToPixels(n, pixelsPerInch);
      return true;
    case Word::kSa:
      p.spaceAfter = TwipsToPixels(n, pixelsPerInch);
      return true;
    case Word::kIntbl:
      state.inTable = true;
      return true;
    case Word::kLs:
      state.listOverride = n;
      return true;
    case Word::kIlvl:
      state.listLevel = std::clamp(n, 0, 8);
      return true;
    default:
      return false;
  }
}

RtfParaFormat FinishMargins(const TRtfState& state, int pixelsPerInch) {
  RtfParaFormat p = state.paragraph;
  // A table cell keeps its text off the edges with its padding.
  if (state.inTable) return p;
  if (state.leftGiven && (p.leftMargin == 0 || p.leftMargin == -p.indent)) p.leftMargin += DefaultMargin(pixelsPerInch);
  if (state.rightGiven && p.rightMargin < kNarrowRightMargin) p.rightMargin += DefaultMargin(pixelsPerInch);
  return p;
}

}  // namespace tarn::convert
