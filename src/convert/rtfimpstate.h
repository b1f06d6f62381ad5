// The format of one RTF group while a document is read (TRtfState), and the
// group stack (TRtfStateList) that saves it at "{" and gives it back at "}".
// The stack is bounded: groups nested deeper than any real document shares
// the deepest saved state, so hostile nesting costs no memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::convert {

namespace rtf {
struct Token;
}

inline constexpr std::string_view kRtfDefaultFace = "Times New Roman";
inline constexpr int kRtfFaceCapacity = 32;

// Character format in the markup's terms.
struct RtfCharFormat {
  std::string face{kRtfDefaultFace};
  int size = 12;               // points
  std::uint32_t colour = 0;    // lowest byte red
  std::uint8_t styleBits = 0;  // 1 bold, 2 italic, 4 underline, 8 strike-through
  std::uint8_t position = 0;   // 0 normal, 1 subscript, 2 superscript

  bool operator==(const RtfCharFormat&) const = default;
};

// Paragraph format in the markup's terms (lengths in pixels).
struct RtfParaFormat {
  int style = 0;  // the hypertext's style number
  std::uint8_t alignment = 0;
  std::uint8_t listKind = 0;  // 0 none, 6 numbered, 10 bulleted
  std::uint8_t unit = 1;      // millimetres
  int lineHeight = -32000;    // automatic
  int indent = 0;
  int leftMargin = 10;
  int rightMargin = 10;
  int spaceBefore = 0;
  int spaceAfter = 0;
  std::uint32_t linkColour = 0xFF0000;
  int linkSize = -1;
  std::uint8_t linkStyle = 4;

  bool operator==(const RtfParaFormat&) const = default;
};

struct TRtfState {
  RtfCharFormat character;
  RtfParaFormat paragraph;
  // The RTF font number in effect (its character set decides the code page).
  int font = -1;
  // The paragraph's style in the document's numbering ("\sN").
  int rtfStyle = 0;
  // "\ucN": how many fallback characters follow a "\uN".
  int unicodeSkip = 1;
  bool inTable = false;
  // WinHelp sources: an underlined group is a hot spot; hidden text holds
  // the jump's context name.
  bool hotSpot = false;
  bool hidden = false;
  // "\lsN" and "\ilvlN" of the paragraph (the newer list form).
  int listOverride = 0;
  int listLevel = 0;
  // Whether the paragraph's margins were given by the document (see
  // FinishMargins).
  int givenLeft = 0;
  int givenRight = 0;
  bool leftGiven = false;
  bool rightGiven = false;
};

// What format words need of the document's tables.
class RtfTables {
 public:
  virtual ~RtfTables() = default;
  // "Times New Roman" for a number the font table does not have.
  virtual std::string FontName(int number) const = 0;
  virtual std::uint32_t ColourAt(int index) const = 0;
  virtual int DefaultFont() const = 0;
};

// Lengths in twips as pixels of the screen.
int TwipsToPixels(std::int64_t twips, int pixelsPerInch);

// Applies a character or paragraph format word (everything but "\pard",
// "\s" and the list and table words, which need the style sheet); false
// when the token is no such word. In WinHelp sources underlining marks a
// hot spot instead of underlining.
bool ApplyFormatWord(TRtfState& state, const rtf::Token& token, const RtfTables& tables, int pixelsPerInch,
                     bool winHelpSource);

// The paragraph format to write: text the document sets flush with the edge
// (or hanging from it) keeps a default margin of 3 millimetres.
RtfParaFormat FinishMargins(const TRtfState& state, int pixelsPerInch);

class TRtfStateList {
 public:
  // Deeper groups than this share the deepest saved state.
  static constexpr std::size_t kMaxSaved = 1024;

  TRtfState& Current() { return m_current; }
  const TRtfState& Current() const { return m_current; }
  void Push();
  // False when there was no group to close.
  bool Pop();
  std::size_t Depth() const { return m_depth; }
  void Reset(const TRtfState& state);

 private:
  TRtfState m_current;
  std::vector<TRtfState> m_saved;
  std::size_t m_depth = 0;
};

}  // namespace tarn::convert
