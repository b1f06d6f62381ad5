// The frame model, its stored forms and its layout; see frames.h.
#include "objects/frames.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "base/hex.h"
#include "platform/messages.h"

namespace tarn::objects {
using namespace framefield;
namespace {

constexpr int kRefusedSize = 60;
constexpr int kSqueezedLast = 20;
constexpr int kRoomyEarlier = 50;
constexpr int kRoomTaken = 30;
constexpr int kSmallestFirst = 10;
constexpr int kOtherModeSize = 10;
constexpr std::size_t kHtmlNameLimit = 32;
// Sizes, percents and spacings come from stored files and may be absurd.
// Lengths are summed in 64 bits, a child's length is kept below a bound no
// screen reaches, and coordinates stay where the difference of any two
// still fits an int, so that nothing in the layout overflows.
constexpr std::int64_t kMaxLength = std::int64_t{1} << 24;
constexpr std::int64_t kMaxCoordinate = (std::int64_t{1} << 30) - 1;

int Length(std::int64_t length) { return static_cast<int>(std::clamp<std::int64_t>(length, 0, kMaxLength)); }
int Coordinate(std::int64_t at) { return static_cast<int>(std::clamp(at, -kMaxCoordinate, kMaxCoordinate)); }

std::span<std::uint8_t> Span(std::array<std::uint8_t, kFrameRecordSize>& r) { return r; }
std::span<const std::uint8_t> Span(const std::array<std::uint8_t, kFrameRecordSize>& r) { return r; }

void SetDefaults(TAEHFrame& frame) {
  frame.record.fill(0);
  frame.SetId(0);
  frame.SetParentId(-1);
  frame.SetScrolling(true);
  frame.SetResizable(true);
  frame.SetPage(-1);
  frame.SetPercent(100);
  frame.SetColour(kButtonFaceColour);
  frame.SetBorder(1);
  frame.SetPixels(20);
  frame.SetSpacing(3);
  frame.SetSizeMode(kSizePercent);
}

// One record from the stream at the cursor; short records get the defaults
// of the older layouts.
bool ReadRecord(std::string_view stream, std::size_t& at, std::int32_t recordSize, TAEHFrame& frame) {
  if (recordSize <= 0 || at + static_cast<std::size_t>(recordSize) > stream.size()) return false;
  SetDefaults(frame);
  const std::size_t used = std::min<std::size_t>(static_cast<std::size_t>(recordSize), kFrameRecordSize);
  std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(at), used, frame.record.begin());
  at += static_cast<std::size_t>(recordSize);
  if (recordSize < kFrameRecordSize) {
    if (frame.record[kLegacy1] == 0 && frame.record[kLegacy2] == 0) {
      frame.SetSpacing(0);
      frame.SetBorder(0);
    }
    frame.record[kLegacy1] = 0;
    frame.record[kLegacy2] = 0;
  }
  return true;
}

struct TreeReader {
  std::string_view stream;
  std::int32_t recordSize;
  std::size_t at = 0;
  int frames = 0;

  // Reads the children of frame from the records that follow, while they name
  // it as their parent.
  void Children(TAEHFrame& frame, std::int32_t identity, int depth) {
    while (frames < kMaxFrames) {
      std::size_t peek = at;
      auto child = std::make_unique<TAEHFrame>();
      if (!ReadRecord(stream, peek, recordSize, *child) || child->ParentId() != identity) return;
      at = peek;
      ++frames;
      const std::int32_t childIdentity = child->Id();
      child->parent = &frame;
      TAEHFrame& added = *frame.children.emplace_back(std::move(child));
      // A record that names itself, or its own ancestor, as a parent would
      // nest without end: such a frame gets no children, and deep nesting
      // stops where no author builds.
      bool ancestorId = false;
      for (const TAEHFrame* up = &frame; up != nullptr; up = up->parent) ancestorId |= up->Id() == childIdentity;
      if (!ancestorId && depth + 1 < kMaxFrameDepth) Children(added, childIdentity, depth + 1);
    }
  }
};

std::int32_t GetI32(const TAEHFrame& f, int at) { return base::GetI32(Span(f.record), static_cast<std::size_t>(at)); }
void PutI32(TAEHFrame& f, int at, std::int32_t v) { base::PutI32(Span(f.record), static_cast<std::size_t>(at), v); }

void WriteRecords(const TAEHFrame& frame, std::int32_t parentId, std::int32_t& nextId, std::string& out) {
  std::array<std::uint8_t, kFrameRecordSize> copy = frame.record;
  const std::int32_t id = nextId++;
  base::PutI32(copy, kId, id);
  base::PutI32(copy, kParent, parentId);
  copy[kHasChildren] = frame.HasChildren() ? 1 : 0;
  out.append(reinterpret_cast<const char*>(copy.data()), copy.size());
  for (const auto& child : frame.children) WriteRecords(*child, id, nextId, out);
}

bool PositionIsLast(int position) { return position == kLastRow || position == kLastColumn; }

}  // namespace

bool IsColumnPosition(int position) { return position == 1 || position == 4 || position == 5; }

// ---- The frame ----

TAEHFrame::TAEHFrame() { SetDefaults(*this); }

std::int32_t TAEHFrame::Id() const { return GetI32(*this, kId); }
void TAEHFrame::SetId(std::int32_t id) { PutI32(*this, kId, id); }
std::int32_t TAEHFrame::ParentId() const { return GetI32(*this, kParent); }
void TAEHFrame::SetParentId(std::int32_t id) { PutI32(*this, kParent, id); }
std::string TAEHFrame::Name() const { return base::GetShortString(Span(record), kName, kNameCapacity); }
void TAEHFrame::SetName(std::string_view name) { base::PutShortString(Span(record), kName, kNameCapacity, name); }
void TAEHFrame::SetPosition(int position) { record[kPosition] = static_cast<std::uint8_t>(position); }
void TAEHFrame::SetScrolling(bool on) { record[kScrolling] = on ? 1 : 0; }
void TAEHFrame::SetResizable(bool on) { record[kResizable] = on ? 1 : 0; }
std::int32_t TAEHFrame::Page() const { return GetI32(*this, kPage); }
void TAEHFrame::SetPage(std::int32_t page) { PutI32(*this, kPage, page); }
std::int32_t TAEHFrame::Percent() const { return GetI32(*this, kPercent); }
void TAEHFrame::SetPercent(std::int32_t percent) { PutI32(*this, kPercent, percent); }
std::uint32_t TAEHFrame::Colour() const { return static_cast<std::uint32_t>(GetI32(*this, kColour)); }
void TAEHFrame::SetColour(std::uint32_t colour) { PutI32(*this, kColour, static_cast<std::int32_t>(colour)); }
void TAEHFrame::SetBorder(int border) { record[kBorder] = static_cast<std::uint8_t>(border); }
std::int32_t TAEHFrame::Pixels() const { return GetI32(*this, kPixels); }
void TAEHFrame::SetPixels(std::int32_t pixels) { PutI32(*this, kPixels, pixels); }
void TAEHFrame::SetSpacing(int spacing) { record[kSpacing] = static_cast<std::uint8_t>(spacing); }
void TAEHFrame::SetSizeMode(int mode) { record[kSizeMode] = static_cast<std::uint8_t>(mode); }

bool TAEHFrame::ChildrenAreColumns() const {
  return !children.empty() && IsColumnPosition(children.front()->Position());
}

int TAEHFrame::IndexInParent() const {
  if (parent == nullptr) return -1;
  for (std::size_t i = 0; i < parent->children.size(); ++i) {
    if (parent->children[i].get() == this) return static_cast<int>(i);
  }
  return -1;
}

// ---- Stored forms ----

std::unique_ptr<TAEHFrame> ReadFrameTree(std::string_view stream, std::int32_t recordSize) {
  if (recordSize <= 0 || recordSize > kMaxFrameRecordSize) return nullptr;
  TreeReader reader{stream, recordSize};
  auto top = std::make_unique<TAEHFrame>();
  if (!ReadRecord(stream, reader.at, recordSize, *top)) return nullptr;
  reader.frames = 1;
  reader.Children(*top, top->Id(), 0);
  ApplyLoadedPositions(*top);
  return top;
}

std::string WriteFrameTree(const TAEHFrame& top) {
  std::string out;
  std::int32_t nextId = 1;
  WriteRecords(top, -1, nextId, out);
  return out;
}

std::optional<LayoutFile> ReadLayoutFile(std::string_view bytes) {
  base::ByteReader reader(bytes);
  std::int32_t magic = 0;
  std::int32_t size = 0;
  if (!reader.ReadI32(magic) || magic != kLayoutMagic || !reader.ReadI32(size)) return std::nullopt;
  LayoutFile file;
  file.recordSize = size;
  file.top = ReadFrameTree(bytes.substr(reader.Position()), size);
  if (file.top == nullptr) return std::nullopt;
  return file;
}

std::string WriteLayoutFile(const TAEHFrame& top) {
  std::string out;
  base::AppendI32(out, kLayoutMagic);
  base::AppendI32(out, kFrameRecordSize);
  out += WriteFrameTree(top);
  return out;
}

void ApplyLoadedPositions(TAEHFrame& frame) {
  for (auto& child : frame.children) {
    // A column member is sized by its width and can only be split into rows.
    child->splitMode = IsColumnPosition(child->Position()) ? kColumnMember : kRowMember;
    ApplyLoadedPositions(*child);
  }
  frame.record[kHasChildren] = frame.HasChildren() ? 1 : 0;
  if (frame.IsTop()) {
    frame.splitMode = kSplitFree;
    frame.SetPercent(100);
    frame.SetSizeMode(kSizePercent);
  }
}

// ---- Layout ----

std::int32_t RoundedRatio(std::int64_t numerator, std::int64_t denominator) {
  if (denominator == 0) return 0;
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  std::int64_t q = numerator / denominator;
  std::int64_t r = numerator % denominator;
  if (r < 0) {
    r += denominator;
    --q;
  }
  if (2 * r > denominator || (2 * r == denominator && (q & 1) != 0)) ++q;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(q, INT32_MIN, INT32_MAX));
}

int LengthAlong(const TAEHFrame& frame, bool columns) {
  const platform::Rect& b = frame.bounds;
  const std::int64_t length = columns ? std::int64_t{b.right} - b.left : std::int64_t{b.bottom} - b.top;
  return static_cast<int>(std::clamp<std::int64_t>(length, INT_MIN, INT_MAX));
}

int AvailableLength(const TAEHFrame& frame) {
  const auto gaps = static_cast<std::int64_t>(std::max<std::size_t>(frame.children.size(), 1) - 1);
  const std::int64_t available = LengthAlong(frame, frame.ChildrenAreColumns()) - gaps * frame.Spacing();
  return static_cast<int>(std::clamp<std::int64_t>(available, INT_MIN, INT_MAX));
}

void RecomputePercent(TAEHFrame& child, int size) {
  if (child.parent == nullptr) {
    child.SetPercent(100);
    return;
  }
  const int available = AvailableLength(*child.parent);
  if (available > 0) child.SetPercent(RoundedRatio(static_cast<std::int64_t>(size) * 100, available));
}

void RecomputeAllPercents(TAEHFrame& frame) {
  const bool columns = frame.ChildrenAreColumns();
  for (auto& child : frame.children) RecomputePercent(*child, LengthAlong(*child, columns));
}

void LayoutFrame(TAEHFrame& frame) {
  const std::size_t n = frame.children.size();
  if (n == 0) return;
  const bool columns = frame.ChildrenAreColumns();
  const int available = AvailableLength(frame);
  std::vector<int> sizes(n, 0);
  for (std::size_t i = 0; i + 1 < n; ++i) {
    TAEHFrame& child = *frame.children[i];
    switch (child.SizeMode()) {
      case kSizePercent:
        sizes[i] = Length(std::int64_t{available} * child.Percent() / 100);
        child.SetPixels(sizes[i]);
        break;
      case kSizePixels:
        sizes[i] = Length(child.Pixels());
        if (available > 0) child.SetPercent(RoundedRatio(std::int64_t{child.Pixels()} * 100, available));
        break;
      case kSizeRest:
        sizes[i] = Length(std::int64_t{available} * child.Percent() / 100);
        break;
      default: sizes[i] = kOtherModeSize; break;
    }
  }
  // The last child before the filler that takes "the rest" gets what the
  // others leave of the length.
  for (std::size_t k = n - 1; k-- > 0;) {
    if (frame.children[k]->SizeMode() != kSizeRest) continue;
    std::int64_t others = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
      if (i != k) others += sizes[i];
    }
    if (available - others > 0) {
      sizes[k] = Length(available - others);
      if (available > 0) {
        frame.children[k]->SetPercent(RoundedRatio(static_cast<std::int64_t>(sizes[k]) * 100, available));
      }
    }
    break;
  }
  std::int64_t used = 0;
  for (std::size_t i = 0; i + 1 < n; ++i) used += sizes[i];
  // The last child fills what is left, as alignment to the client area does.
  sizes[n - 1] = Length(available - used);

  std::int64_t offset = columns ? frame.bounds.left : frame.bounds.top;
  for (std::size_t i = 0; i < n; ++i) {
    TAEHFrame& child = *frame.children[i];
    const int from = Coordinate(offset);
    const int to = Coordinate(offset + sizes[i]);
    if (columns) {
      child.bounds = {from, frame.bounds.top, to, frame.bounds.bottom};
    } else {
      child.bounds = {frame.bounds.left, from, frame.bounds.right, to};
    }
    offset += std::int64_t{sizes[i]} + frame.Spacing();
    LayoutFrame(child);
  }
}

void LayoutTree(TAEHFrame& top, const platform::Rect& area) {
  top.bounds = area;
  top.SetPercent(100);
  top.SetSizeMode(kSizePercent);
  LayoutFrame(top);
}

void SetChildSize(TAEHFrame& child, int size) {
  TAEHFrame* parent = child.parent;
  if (parent == nullptr) return;
  const bool columns = parent->ChildrenAreColumns();
  size = Length(size);
  if (columns) {
    child.bounds.right = Coordinate(std::int64_t{child.bounds.left} + size);
  } else {
    child.bounds.bottom = Coordinate(std::int64_t{child.bounds.top} + size);
  }
  child.SetPixels(size);
  RecomputePercent(child, size);
  const bool anyPercent = std::any_of(parent->children.begin(), parent->children.end(),
                                      [](const auto& c) { return c->SizeMode() == kSizePercent; });
  // Without a percent-sized child something must take the rest when the
  // last one is fixed: the first child does.
  if (!anyPercent && &child == parent->children.back().get()) parent->children.front()->SetSizeMode(kSizeRest);
}

// ---- Editing ----

std::string FrameNamer::Next() {
  std::string name = "Frame";
  base::AppendHex(name, ++m_counter & 0xFFFFFF, 6);
  return name;
}

SplitResult SplitFrame(TAEHFrame& frame, SplitDirection direction, int dragged, int barWidth, FrameNamer& namer,
                       platform::Messages& messages) {
  SplitResult result;
  if (dragged <= 4 * barWidth || frame.splitMode == kNoBars) return result;
  bool columns = direction == SplitDirection::Columns;
  if ((frame.splitMode == kColumnMember && columns) || (frame.splitMode == kRowMember && !columns)) return result;
  if (frame.HasChildren() && frame.ChildrenAreColumns() != columns) {
    // The frame is already split the other way: the new frame joins the
    // existing arrangement rather than mixing rows and columns in one frame.
    messages.Error("?");
    columns = frame.ChildrenAreColumns();
  }
  if (frame.IsTop() && !frame.HasChildren()) frame.SetPosition(columns ? kFirstRow : kFirstColumn);

  auto created = std::make_unique<TAEHFrame>();
  created->SetName(namer.Next());
  created->SetPosition(columns ? kFirstColumn : kFirstRow);
  created->splitMode = columns ? kColumnMember : kRowMember;
  created->SetColour(frame.Colour());
  created->parent = &frame;
  result.created = created.get();
  if (!frame.HasChildren()) {
    auto heir = std::make_unique<TAEHFrame>();
    heir->SetName(namer.Next());
    heir->SetPosition(columns ? kLastColumn : kLastRow);
    heir->splitMode = created->splitMode;
    heir->SetColour(frame.Colour());
    heir->SetPage(frame.Page());
    // It fills what the new frame leaves: "*" in the frameset description.
    heir->SetSizeMode(kSizeRest);
    heir->parent = &frame;
    result.heir = heir.get();
    frame.SetPage(-1);
    frame.children.push_back(std::move(created));
    frame.children.push_back(std::move(heir));
  } else {
    frame.children.insert(frame.children.begin(), std::move(created));
  }
  frame.record[kHasChildren] = 1;
  // Lay out with the dragged size as the new first child's pixels, then let
  // every child's percent follow what it got.
  TAEHFrame& first = *frame.children.front();
  first.SetSizeMode(kSizePixels);
  first.SetPixels(dragged);
  LayoutFrame(frame);
  first.SetSizeMode(kSizePercent);
  RecomputeAllPercents(frame);
  result.split = true;
  return result;
}

void ResizeChild(TAEHFrame& child, int size) {
  TAEHFrame* parent = child.parent;
  if (parent == nullptr) return;
  // Works on the pixel sizes the splitter left, as the arrangement does;
  // the percents follow from them afterwards.
  const bool columns = parent->ChildrenAreColumns();
  auto& kids = parent->children;
  const std::size_t n = kids.size();
  const int available = AvailableLength(*parent);
  std::vector<int> sizes(n);
  for (std::size_t i = 0; i < n; ++i) sizes[i] = Length(LengthAlong(*kids[i], columns));
  sizes[static_cast<std::size_t>(child.IndexInParent())] = Length(size);
  auto fillLast = [&] {
    std::int64_t used = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) used += sizes[i];
    sizes[n - 1] = static_cast<int>(std::clamp<std::int64_t>(available - used, -kMaxLength, kMaxLength));
  };
  fillLast();
  if (n >= 2 && sizes[n - 1] < kSqueezedLast) {
    bool found = false;
    for (std::size_t k = n - 1; k-- > 0;) {
      if (sizes[k] > kRoomyEarlier) {
        sizes[k] -= kRoomTaken;
        found = true;
        break;
      }
    }
    if (!found) sizes[0] = kSmallestFirst;
    fillLast();
  }
  std::int64_t offset = columns ? parent->bounds.left : parent->bounds.top;
  for (std::size_t i = 0; i < n; ++i) {
    TAEHFrame& kid = *kids[i];
    const int length = std::max(0, sizes[i]);
    const int from = Coordinate(offset);
    const int to = Coordinate(offset + length);
    if (columns) {
      kid.bounds = {from, parent->bounds.top, to, parent->bounds.bottom};
    } else {
      kid.bounds = {parent->bounds.left, from, parent->bounds.right, to};
    }
    kid.SetPixels(length);
    offset += std::int64_t{length} + parent->Spacing();
    LayoutFrame(kid);
  }
  RecomputeAllPercents(*parent);
}

bool DeleteRefused(TAEHFrame& frame, platform::Messages* messages) {
  auto refuse = [&](std::string_view text) {
    if (messages != nullptr) messages->Information(text);
    frame.bounds.right = Coordinate(std::int64_t{frame.bounds.left} + kRefusedSize);
    frame.bounds.bottom = Coordinate(std::int64_t{frame.bounds.top} + kRefusedSize);
    return true;
  };
  if (frame.HasChildren()) return refuse("You should delete children before!");
  TAEHFrame* parent = frame.parent;
  if (parent != nullptr && parent->children.size() == 2) {
    const TAEHFrame& other = *parent->children[parent->children[0].get() == &frame ? 1 : 0];
    if (other.HasChildren()) return refuse("You should modify another frame before.");
  }
  return false;
}

DeleteResult DeleteFrame(TAEHFrame& frame, platform::Messages& messages) {
  DeleteResult result;
  TAEHFrame* parent = frame.parent;
  if (parent == nullptr || DeleteRefused(frame, &messages)) return result;
  result.parent = parent;
  auto& kids = parent->children;
  const int index = frame.IndexInParent();
  if (kids.size() == 2) {
    const TAEHFrame& other = *kids[index == 0 ? 1 : 0];
    parent->SetPage(other.Page());
    kids.clear();
    parent->record[kHasChildren] = 0;
    if (parent->IsTop()) parent->splitMode = kSplitFree;
    result.outcome = DeleteOutcome::Merged;
    return result;
  }
  const bool wasLast = index == static_cast<int>(kids.size()) - 1;
  const int position = frame.Position();
  kids.erase(kids.begin() + index);
  // The one that now stands last fills the rest, as the deleted one did.
  if (wasLast && PositionIsLast(position) && !kids.empty()) kids.back()->SetPosition(position);
  LayoutFrame(*parent);
  RecomputeAllPercents(*parent);
  result.outcome = DeleteOutcome::Removed;
  return result;
}

TAEHFrame* FindFrameByName(TAEHFrame& top, std::string_view name) {
  if (base::SameText(top.Name(), name)) return &top;
  for (auto& child : top.children) {
    if (TAEHFrame* found = FindFrameByName(*child, name)) return found;
  }
  return nullptr;
}

void CollectLeaves(TAEHFrame& top, std::vector<TAEHFrame*>& leaves) {
  if (!top.HasChildren()) {
    leaves.push_back(&top);
    return;
  }
  for (auto& child : top.children) CollectLeaves(*child, leaves);
}

void ReplacePageNumber(TAEHFrame& top, std::int32_t from, std::int32_t to) {
  if (top.Page() == from) top.SetPage(to);
  for (auto& child : top.children) ReplacePageNumber(*child, from, to);
}

// ---- Frameset HTML ----

TNonVisCornice TNonVisCornice::FromStream(std::string_view stream, std::int32_t recordSize) {
  TNonVisCornice cornice;
  cornice.m_top = ReadFrameTree(stream, recordSize);
  return cornice;
}

std::int32_t TNonVisCornice::Write(std::string& out, const SourceName& source) const {
  if (m_top == nullptr) return 0;
  const std::size_t before = out.size();
  WriteNode(*m_top, out, source);
  return static_cast<std::int32_t>(out.size() - before);
}

void TNonVisCornice::WriteNode(const TAEHFrame& frame, std::string& out, const SourceName& source) const {
  if (frame.HasChildren()) {
    out += "<FRAMESET ";
    out += IsColumnPosition(frame.Position()) ? "ROWS=" : "COLS=";
    for (std::size_t i = 0; i < frame.children.size(); ++i) {
      const TAEHFrame& child = *frame.children[i];
      if (i > 0) out += ',';
      switch (child.SizeMode()) {
        case kSizePercent: out += std::to_string(child.Percent()) + "%"; break;
        case kSizePixels: out += std::to_string(child.Pixels()); break;
        default: out += '*'; break;
      }
    }
    const std::string spacing = std::to_string(frame.Spacing());
    out += " BORDER=" + spacing + " FRAMESPACING=" + spacing + " >\r\n";
    for (const auto& child : frame.children) WriteNode(*child, out, source);
    out += "</FRAMESET>\r\n";
    return;
  }
  std::string name = frame.Name();
  if (name.size() > kHtmlNameLimit) name.resize(kHtmlNameLimit);
  out += "\r<FRAME NAME=\"" + name + "\" SRC=\"" + source(frame.Page()) + "\" SCROLLING=";
  out += frame.Scrolling() ? "auto " : "no ";
  if (frame.Border() == 0) out += "FRAMEBORDER=no ";
  out += frame.Resizable() ? ">\r\n" : "NORESIZE>\r\n";
}

std::string DocumentFrameSource(std::int32_t page) {
  std::string source = "$";
  base::AppendHex(source, static_cast<std::uint32_t>(page), 8);
  return source;
}

}  // namespace tarn::objects
