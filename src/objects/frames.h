// Frames of a frame set without any widget: the 58-byte frame record, the
// tree of frames a page's layout makes, its stored forms (the record stream
// of a frame map and the ".frm" layout file), the arithmetic that turns sizes
// into rectangles, and the rules for creating, resizing and deleting frames.
// The frame widgets are a thin shell over this model.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"

namespace tarn::platform {
class Messages;
}

namespace tarn::objects {

inline constexpr int kFrameRecordSize = 58;
inline constexpr std::int32_t kLayoutMagic = 0x1234;
// The button-face colour of the desktop scheme, as a system colour value.
inline constexpr std::uint32_t kButtonFaceColour = 0x8000000F;
// Frames of one tree: more only come from damaged data.
inline constexpr int kMaxFrames = 4096;
inline constexpr int kMaxFrameDepth = 64;
// The longest record an older or newer writer is believed to use.
inline constexpr std::int32_t kMaxFrameRecordSize = 4096;

namespace framefield {
inline constexpr int kId = 0;
inline constexpr int kParent = 4;
inline constexpr int kName = 8;  // string[19]
inline constexpr int kNameCapacity = 19;
inline constexpr int kPosition = 28;
inline constexpr int kLegacy1 = 29;
inline constexpr int kLegacy2 = 30;
inline constexpr int kScrolling = 31;
inline constexpr int kHasChildren = 32;
inline constexpr int kResizable = 33;
inline constexpr int kPage = 34;
inline constexpr int kPercent = 38;
inline constexpr int kReserved = 42;
inline constexpr int kColour = 46;
inline constexpr int kZero50 = 50;
inline constexpr int kBorder = 51;
inline constexpr int kPixels = 52;
inline constexpr int kSpacing = 56;
inline constexpr int kSizeMode = 57;
}  // namespace framefield

// Where a frame stands among its siblings. 2 and 4 are read as top and left.
enum FramePosition : std::uint8_t { kFirstRow = 0, kFirstColumn = 1, kLastRow = 3, kLastColumn = 5 };
enum FrameSizeMode : std::uint8_t { kSizePercent = 0, kSizePixels = 1, kSizeRest = 2 };
// Which bars a frame offers: a member of a column arrangement can only be
// split into rows, a member of a row arrangement only into columns.
enum SplitMode : std::uint8_t { kColumnMember = 0, kRowMember = 1, kSplitFree = 2, kNoBars = 3 };
enum class SplitDirection { Rows, Columns };

// A position read from a record: true when the frame is a column member.
bool IsColumnPosition(int position);

class TAEHFrame {
 public:
  TAEHFrame();
  TAEHFrame(const TAEHFrame&) = delete;
  TAEHFrame& operator=(const TAEHFrame&) = delete;

  // The record; it is both the stored form and the frame's state.
  std::array<std::uint8_t, kFrameRecordSize> record{};

  std::int32_t Id() const;
  void SetId(std::int32_t id);
  std::int32_t ParentId() const;
  void SetParentId(std::int32_t id);
  std::string Name() const;
  void SetName(std::string_view name);
  int Position() const { return record[framefield::kPosition]; }
  void SetPosition(int position);
  bool Scrolling() const { return record[framefield::kScrolling] == 1; }
  void SetScrolling(bool on);
  bool Resizable() const { return record[framefield::kResizable] == 1; }
  void SetResizable(bool on);
  std::int32_t Page() const;
  void SetPage(std::int32_t page);
  std::int32_t Percent() const;
  void SetPercent(std::int32_t percent);
  std::uint32_t Colour() const;
  void SetColour(std::uint32_t colour);
  int Border() const { return record[framefield::kBorder]; }
  void SetBorder(int border);
  std::int32_t Pixels() const;
  void SetPixels(std::int32_t pixels);
  int Spacing() const { return record[framefield::kSpacing]; }
  void SetSpacing(int spacing);
  int SizeMode() const { return record[framefield::kSizeMode]; }
  void SetSizeMode(int mode);

  // Children are rows when they are row members, columns otherwise.
  bool HasChildren() const { return !children.empty(); }
  bool ChildrenAreColumns() const;
  TAEHFrame* Parent() const { return parent; }
  bool IsTop() const { return parent == nullptr; }
  int IndexInParent() const;

  TAEHFrame* parent = nullptr;
  std::vector<std::unique_ptr<TAEHFrame>> children;
  SplitMode splitMode = kSplitFree;
  // Where the frame stands, relative to the frame set's client area.
  platform::Rect bounds;
};

// ---- Stored forms ----

// Reads a record stream (a frame map's content, or a layout file after its
// two header values) into a tree: the first record is the top frame, every
// following record whose parent identity is a frame's identity becomes that
// frame's child. Records shorter than 58 bytes are completed with the
// defaults. Nothing when the stream holds no whole record.
std::unique_ptr<TAEHFrame> ReadFrameTree(std::string_view stream, std::int32_t recordSize);
// The records of a depth-first walk, with identities made unique.
std::string WriteFrameTree(const TAEHFrame& top);

struct LayoutFile {
  std::unique_ptr<TAEHFrame> top;
  std::int32_t recordSize = kFrameRecordSize;
};
// A ".frm" file: 0x1234, the record size, then the record stream. Nothing
// when the magic is wrong or the size unusable.
std::optional<LayoutFile> ReadLayoutFile(std::string_view bytes);
std::string WriteLayoutFile(const TAEHFrame& top);

// Applies the alignment that a loaded position means to every frame below
// the top one, and the split modes that follow from it.
void ApplyLoadedPositions(TAEHFrame& top);

// ---- Layout arithmetic ----

// Round to the nearest integer, ties to even, of numerator / denominator.
std::int32_t RoundedRatio(std::int64_t numerator, std::int64_t denominator);
// Sizes and places the children of the frame inside its bounds, then theirs.
void LayoutFrame(TAEHFrame& frame);
// Lays out the whole tree in the area.
void LayoutTree(TAEHFrame& top, const platform::Rect& area);
// The length the children of the frame share: its height (or width) less
// the spacing between them.
int AvailableLength(const TAEHFrame& frame);
// A child's percent from its pixel size.
void RecomputePercent(TAEHFrame& child, int size);
void RecomputeAllPercents(TAEHFrame& frame);
// Sets a child's size in its own size mode (see the rule for the first child).
void SetChildSize(TAEHFrame& child, int size);
int LengthAlong(const TAEHFrame& frame, bool columns);

// ---- Editing the tree ----

// Names of new frames: "Frame" and six hexadecimal digits.
class FrameNamer {
 public:
  std::string Next();

 private:
  std::uint32_t m_counter = 0;
};

// What a drag of a bar out of a frame did.
struct SplitResult {
  bool split = false;
  TAEHFrame* created = nullptr;
  // The child that took over the frame's page (first split only).
  TAEHFrame* heir = nullptr;
};
// Splits the frame at the dragged length: rows for the top bar, columns for
// the left bar. Drags of no more than four bar widths do nothing.
SplitResult SplitFrame(TAEHFrame& frame, SplitDirection direction, int dragged, int barWidth, FrameNamer& namer,
                       platform::Messages& messages);

// After a splitter drag: the child takes its new size, a last child squeezed
// below 20 pixels takes room from an earlier one, percents are recomputed.
void ResizeChild(TAEHFrame& child, int size);

enum class DeleteOutcome { Refused, Removed, Merged };
struct DeleteResult {
  DeleteOutcome outcome = DeleteOutcome::Refused;
  // Merged: the parent took the remaining child's page.
  TAEHFrame* parent = nullptr;
};
// Deletes a child frame dragged shut. A frame with children, or one whose
// only sibling has children, is refused with its message and set to 60 x 60.
// The caller has written the frame's page back before.
DeleteResult DeleteFrame(TAEHFrame& frame, platform::Messages& messages);
// True when DeleteFrame would refuse (and says why through messages when asked).
bool DeleteRefused(TAEHFrame& frame, platform::Messages* messages);

// Depth-first search by name, without case.
TAEHFrame* FindFrameByName(TAEHFrame& top, std::string_view name);
// Every leaf, depth first.
void CollectLeaves(TAEHFrame& top, std::vector<TAEHFrame*>& leaves);
// Replaces the page number in every frame record.
void ReplacePageNumber(TAEHFrame& top, std::int32_t from, std::int32_t to);

// ---- Frameset HTML ----

// The non-visual copy of a frame tree that writes the frameset description
// of a page, for the HTML export and for the document file.
class TNonVisCornice {
 public:
  // The file a leaf shows, given its page number.
  using SourceName = std::function<std::string(std::int32_t page)>;
  // From a frame map's record stream; empty when it holds no tree.
  static TNonVisCornice FromStream(std::string_view stream, std::int32_t recordSize);
  bool Empty() const { return m_top == nullptr; }
  // Appends the description and answers the number of characters written.
  std::int32_t Write(std::string& out, const SourceName& source) const;

 private:
  void WriteNode(const TAEHFrame& frame, std::string& out, const SourceName& source) const;
  std::unique_ptr<TAEHFrame> m_top;
};

// The source the document file writes for a page: "$" and eight digits.
std::string DocumentFrameSource(std::int32_t page);

}  // namespace tarn::objects
