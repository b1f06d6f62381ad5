// The page order tree; see aehorderedtree.h.
#include "document/aehorderedtree.h"

#include <algorithm>
#include <climits>
#include <mutex>
#include <optional>

#include "base/winpath.h"
#include "document/aehoggetto.h"
#include "document/aehset.h"
#include "platform/messages.h"

namespace tarn::document {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr int kSlotSubtype = 1;  // a text slot is a fresh short object
constexpr std::int64_t kNotANumber = INT64_MIN;

// Decimal as the tree text writes it: an optional sign and digits.
std::optional<std::int64_t> ParseNumber(std::string_view text) {
  std::size_t i = text.starts_with('-') || text.starts_with('+') ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > 0xFFFFFFFFll) return std::nullopt;
  }
  return text.starts_with('-') ? -value : value;
}

// One line of the tree text, decoded.
struct TreeLine {
  int level = 0;
  std::int64_t number = kTreeEmptyNumber;
  std::string text;
};

// Splits the stored text into decoded lines. Lines that cannot be decoded
// are left out (and counted); blank lines carry nothing and are skipped.
std::vector<TreeLine> DecodeLines(std::string_view text, int& undecodable) {
  while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
  std::vector<TreeLine> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
    if (line.empty()) continue;
    if (line[0] != 'a') {
      ++undecodable;
      continue;
    }
    const std::string_view rest = line.substr(1);
    const std::size_t first = rest.find(',');
    const std::string_view levelText = rest.substr(0, first);
    const std::string_view after = first == std::string_view::npos ? std::string_view() : rest.substr(first + 1);
    const std::size_t second = after.find(',');
    const std::string_view numberText = after.substr(0, second);
    TreeLine decoded;
    // A level that is not a number reads as 1, as the old reader had it.
    decoded.level = static_cast<int>(std::clamp<std::int64_t>(ParseNumber(levelText).value_or(1), 0, 1 << 20));
    // A number that is not one binds nothing: reading it as 1 (page 1)
    // would move an unrelated page.
    decoded.number = ParseNumber(numberText).value_or(kNotANumber);
    if (second != std::string_view::npos) decoded.text = std::string(after.substr(second + 1));
    lines.push_back(std::move(decoded));
  }
  return lines;
}

// The object a line's number names when it is of the tree's kind.
std::optional<ObjectId> LineObject(std::int64_t number, int kind) {
  if (number < 0 || number > 0x7FFFFFFF) return std::nullopt;
  const auto id = static_cast<ObjectId>(number);
  if (KindOf(id) != kind) return std::nullopt;
  return id;
}

bool Live(const TAEHset& set, ObjectId id) {
  const TAEHoggetto* object = set.GetObjectById(id);
  return object != nullptr && object->Kind() == KindOf(id) && !object->IsFree();
}

// Node texts are single lines of the stored text.
std::string OneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return out;
}

// The ids named by a stored text, in line order; kept for the last text
// read, because browsing asks for a neighbour page at every step.
std::vector<ObjectId> StoredIds(std::string_view text, int kind) {
  static std::mutex mutex;
  static std::string cachedText;
  static int cachedKind = -1;
  static std::vector<ObjectId> cachedIds;
  std::lock_guard lock(mutex);
  if (kind == cachedKind && text == cachedText) return cachedIds;
  int undecodable = 0;
  std::vector<ObjectId> ids;
  for (const TreeLine& line : DecodeLines(text, undecodable)) {
    if (const auto id = LineObject(line.number, kind)) ids.push_back(*id);
  }
  cachedText = std::string(text);
  cachedKind = kind;
  cachedIds = ids;
  return ids;
}

}  // namespace

// ---- Nodes ----

int TreeNode::Level() const {
  int level = 0;
  for (const TreeNode* p = Parent(); p != nullptr; p = p->Parent()) ++level;
  return level;
}

bool TreeNode::Contains(const TreeNode& node) const {
  for (const TreeNode* p = &node; p != nullptr; p = p->m_parent) {
    if (p == this) return true;
  }
  return false;
}

// ---- Where the trees live ----

int TreeSlotOffset(int kind) {
  if (kind == testoHtml) return header::kFirstTextSlot;
  if (kind == custom) return header::kSecondTextSlot;
  return -1;
}

TAEHoggetto* TreeSlot(const TAEHset& set, int kind) {
  const int at = TreeSlotOffset(kind);
  if (at < 0) return nullptr;
  const ObjectId id = set.HeaderI32(at);
  if (id <= 0 || KindOf(id) != shortObj) return nullptr;
  TAEHoggetto* slot = set.GetObjectById(id);
  if (slot == nullptr || slot->Kind() != shortObj || slot->IsFree() || slot->Subtype() != kSlotSubtype) return nullptr;
  return slot;
}

namespace {

TAEHoggetto* EnsureTreeSlot(TAEHset& set, int kind) {
  if (TAEHoggetto* slot = TreeSlot(set, kind)) return slot;
  const int at = TreeSlotOffset(kind);
  if (at < 0) return nullptr;
  TAEHoggetto* slot = set.Register(set.NewObject(shortObj));
  if (slot != nullptr) set.SetHeaderI32(at, slot->GetId());
  return slot;
}

std::string SlotText(const TAEHoggetto& slot) {
  if (!slot.Content().Present()) return {};
  return slot.ReadContent().value_or(std::string());
}

}  // namespace

std::vector<ObjectId> DefaultOrder(const TAEHset& set, int kind) {
  const int count = set.CountOf(kind);
  std::vector<bool> seen(static_cast<std::size_t>(count), false);
  std::vector<ObjectId> order;
  if (const TAEHoggetto* slot = TreeSlot(set, kind); slot != nullptr && slot->ContentLength() > 0) {
    for (ObjectId id : StoredIds(SlotText(*slot), kind)) {
      const auto index = static_cast<std::size_t>(IndexOf(id));
      if (index >= seen.size() || seen[index] || !Live(set, id)) continue;
      seen[index] = true;
      order.push_back(id);
    }
  }
  for (int i = 0; i < count; ++i) {
    const ObjectId id = MakeObjectId(kind, i);
    if (!seen[static_cast<std::size_t>(i)] && Live(set, id)) order.push_back(id);
  }
  return order;
}

int NeighbourInPageOrder(const TAEHset& set, int page, int direction) {
  const std::vector<ObjectId> order = DefaultOrder(set, testoHtml);
  const auto at = std::find(order.begin(), order.end(), MakeObjectId(testoHtml, page));
  if (at == order.end()) return page;
  if (direction < 0) return at == order.begin() ? page : IndexOf(*(at - 1));
  return at + 1 == order.end() ? page : IndexOf(*(at + 1));
}

void MendStoredTrees(TAEHset& set) {
  for (int kind : {static_cast<int>(testoHtml), static_cast<int>(custom)}) {
    const TAEHoggetto* slot = TreeSlot(set, kind);
    if (slot == nullptr || slot->ContentLength() == 0) continue;
    TAEHorderedTree tree(kind);
    tree.Silent = true;
    tree.SetLinkedAEHset(&set);
    if (tree.Mended()) tree.Store();
  }
}

// ---- The tree ----

TAEHorderedTree::TAEHorderedTree(int kind) : m_kind(kind) { m_top.m_holder = true; }

void TAEHorderedTree::SetObjects(int kind) {
  m_kind = kind;
  Reload();
}

void TAEHorderedTree::SetLinkedAEHset(TAEHset* set) {
  m_set = set;
  Reload();
}

void TAEHorderedTree::Clear() {
  m_top.m_children.clear();
  m_mended = false;
}

void TAEHorderedTree::Reload() {
  Clear();
  if (m_set == nullptr || TreeSlotOffset(m_kind) < 0) return;
  const TAEHoggetto* slot = TreeSlot(*m_set, m_kind);
  if (slot != nullptr && slot->ContentLength() > 0) {
    Read(SlotText(*slot));
    Mend();
    return;
  }
  BuildDefault();
  // Showing the default tree is not an edit: the hypertext keeps its
  // modified state, and the tree is saved with the next save.
  StoreText(false);
}

void TAEHorderedTree::BuildDefault() {
  auto root = std::make_unique<TreeNode>();
  root->m_data = HypertextRoot{};
  const std::string file = base::ExtractFileName(m_set->AEHFileName().string());
  root->m_text = file.empty() ? m_set->Title() : file;
  TreeNode* top = Attach(m_top, std::move(root), 0);
  for (int i = 0; i < m_set->CountOf(m_kind); ++i) {
    const ObjectId id = MakeObjectId(m_kind, i);
    if (!LiveObject(id)) continue;
    auto node = std::make_unique<TreeNode>();
    node->m_data = id;
    node->m_text = CaptionOf(id);
    top->m_children.push_back(std::move(node));
  }
  Renumber(*top);
}

void TAEHorderedTree::Report(std::string_view problem, bool& shown) {
  m_mended = true;
  if (shown || Silent || m_set == nullptr) return;
  shown = true;
  m_set->Services().messages->Error(problem);
}

void TAEHorderedTree::Read(std::string_view text) {
  int undecodable = 0;
  const std::vector<TreeLine> lines = DecodeLines(text, undecodable);
  bool decodingShown = false;
  bool loadingShown = false;
  // Each problem is shown once per reading: a damaged text of a thousand
  // lines must not raise a thousand message boxes.
  if (undecodable > 0) Report(kTreeDecodingError, decodingShown);
  TreeNode* last = nullptr;
  for (const TreeLine& line : lines) {
    int level = line.level;
    if (level > kMaxTreeDepth) {
      Report(kTreeLoadingError, loadingShown);
      level = kMaxTreeDepth;
    }
    TreeNode* parent = &m_top;
    if (last != nullptr) {
      const int lastLevel = last->Level();
      if (level > lastLevel + 1) {
        // A jump of more than one level: the node goes under the last one,
        // which keeps every node the text names.
        Report(kTreeLoadingError, loadingShown);
        parent = last;
      } else if (level == lastLevel + 1) {
        parent = last;
      } else {
        TreeNode* sibling = last;
        while (sibling->Level() > level) sibling = sibling->m_parent;
        parent = sibling->m_parent;
      }
    }
    auto node = std::make_unique<TreeNode>();
    node->m_text = line.text;
    if (line.number == kTreeChapterNumber) {
      node->m_data = TAEHchapter{};
    } else if (line.number == kTreeRootNumber) {
      node->m_data = HypertextRoot{};
    } else if (const auto id = LineObject(line.number, m_kind)) {
      node->m_data = *id;
    } else if (line.number != kTreeEmptyNumber) {
      // Other numbers (another kind's objects) are ignored: the node is
      // kept without data, and written back as such.
      m_mended = true;
    }
    last = Attach(*parent, std::move(node), parent->m_children.size());
  }
}

void TAEHorderedTree::Mend() {
  const int count = m_set->CountOf(m_kind);
  std::vector<bool> seen(static_cast<std::size_t>(std::max(count, 0)), false);
  // Depth first, parents before children, with an explicit stack: a node
  // that goes hands its children to its own place, where they are visited
  // next.
  std::vector<std::pair<TreeNode*, std::size_t>> stack{{&m_top, 0}};
  while (!stack.empty()) {
    auto& [parent, i] = stack.back();
    if (i >= parent->m_children.size()) {
      stack.pop_back();
      continue;
    }
    TreeNode& node = *parent->m_children[i];
    if (node.HoldsObject()) {
      const ObjectId id = node.Object();
      const auto index = static_cast<std::size_t>(IndexOf(id));
      const bool keep = index < seen.size() && !seen[index] && LiveObject(id);
      if (!keep) {
        m_mended = true;
        std::vector<std::unique_ptr<TreeNode>> children = std::move(node.m_children);
        parent->m_children.erase(parent->m_children.begin() + static_cast<std::ptrdiff_t>(i));
        for (std::size_t c = 0; c < children.size(); ++c) children[c]->m_parent = parent;
        parent->m_children.insert(parent->m_children.begin() + static_cast<std::ptrdiff_t>(i),
                                  std::make_move_iterator(children.begin()), std::make_move_iterator(children.end()));
        continue;
      }
      seen[index] = true;
      node.m_text = CaptionOf(id);
    }
    ++i;
    stack.emplace_back(&node, 0);
  }
  Renumber(m_top);
  ForEach([this](TreeNode& node) { Renumber(node); });
  // Live objects the text does not name join at the end: under the root
  // when it closes the tree (as in every tree this program writes), else
  // after the last top-level node, so that they come last in the order.
  TreeNode* end = RootNode();
  if (end == nullptr || end != m_top.m_children.back().get()) end = &m_top;
  const std::size_t before = end->m_children.size();
  for (int i = 0; i < count; ++i) {
    const ObjectId id = MakeObjectId(m_kind, i);
    if (seen[static_cast<std::size_t>(i)] || !LiveObject(id)) continue;
    auto node = std::make_unique<TreeNode>();
    node->m_data = id;
    node->m_text = CaptionOf(id);
    node->m_parent = end;
    end->m_children.push_back(std::move(node));
  }
  if (end->m_children.size() != before) {
    m_mended = true;
    Renumber(*end, before);
  }
}

void TAEHorderedTree::Store() {
  if (m_set == nullptr) return;
  StoreText(true);
  if (OnChanged) OnChanged();
}

void TAEHorderedTree::StoreText(bool markModified) {
  const bool wasModified = m_set->IsModified();
  TAEHoggetto* slot = EnsureTreeSlot(*m_set, m_kind);
  if (slot == nullptr) return;
  slot->SetContent(TreeText());
  m_mended = false;
  m_set->SetModified(markModified || wasModified);
}

std::string TAEHorderedTree::TreeText() const {
  std::string out;
  std::vector<std::pair<const TreeNode*, int>> stack;
  for (auto it = m_top.m_children.rbegin(); it != m_top.m_children.rend(); ++it) stack.emplace_back(it->get(), 0);
  while (!stack.empty()) {
    const auto [node, level] = stack.back();
    stack.pop_back();
    out += 'a';
    out += std::to_string(level);
    out += ',';
    if (node->HoldsObject()) {
      out += std::to_string(node->Object());
      out += ",x";
    } else {
      const int number = node->IsRoot() ? kTreeRootNumber : node->IsChapter() ? kTreeChapterNumber : kTreeEmptyNumber;
      out += std::to_string(number);
      out += ',';
      out += node->m_text;
    }
    out += kLineEnd;
    for (auto it = node->m_children.rbegin(); it != node->m_children.rend(); ++it) {
      stack.emplace_back(it->get(), level + 1);
    }
  }
  return out;
}

void TAEHorderedTree::ForEach(const std::function<void(TreeNode&)>& visit) {
  std::vector<TreeNode*> stack;
  for (auto it = m_top.m_children.rbegin(); it != m_top.m_children.rend(); ++it) stack.push_back(it->get());
  while (!stack.empty()) {
    TreeNode* node = stack.back();
    stack.pop_back();
    visit(*node);
    for (auto it = node->m_children.rbegin(); it != node->m_children.rend(); ++it) stack.push_back(it->get());
  }
}

TreeNode* TAEHorderedTree::RootNode() const {
  for (const auto& node : m_top.m_children) {
    if (node->IsRoot()) return node.get();
  }
  return nullptr;
}

TreeNode* TAEHorderedTree::FindObject(ObjectId id) const {
  TreeNode* found = nullptr;
  const_cast<TAEHorderedTree*>(this)->ForEach([&](TreeNode& node) {
    if (found == nullptr && node.HoldsObject() && node.Object() == id) found = &node;
  });
  return found;
}

void TAEHorderedTree::OrderedObjects(std::vector<ObjectId>& list) const {
  const_cast<TAEHorderedTree*>(this)->ForEach([&](TreeNode& node) {
    if (node.HoldsObject()) list.push_back(node.Object());
  });
}

// ---- Editing ----

TreeNode* TAEHorderedTree::Attach(TreeNode& parent, std::unique_ptr<TreeNode> node, std::size_t at) {
  at = std::min(at, parent.m_children.size());
  node->m_parent = &parent;
  TreeNode* raw = node.get();
  parent.m_children.insert(parent.m_children.begin() + static_cast<std::ptrdiff_t>(at), std::move(node));
  Renumber(parent, at);
  return raw;
}

std::unique_ptr<TreeNode> TAEHorderedTree::Detach(TreeNode& node) {
  TreeNode& parent = *node.m_parent;
  const auto at = static_cast<std::size_t>(node.m_row);
  std::unique_ptr<TreeNode> owned = std::move(parent.m_children[at]);
  parent.m_children.erase(parent.m_children.begin() + static_cast<std::ptrdiff_t>(at));
  Renumber(parent, at);
  owned->m_parent = nullptr;
  return owned;
}

void TAEHorderedTree::Renumber(TreeNode& parent, std::size_t from) {
  for (std::size_t i = from; i < parent.m_children.size(); ++i) {
    parent.m_children[i]->m_row = static_cast<int>(i);
    parent.m_children[i]->m_parent = &parent;
  }
}

bool TAEHorderedTree::MoveUp(TreeNode& node) {
  if (!Editable || node.m_parent == nullptr || node.m_row == 0) return false;
  TreeNode& parent = *node.m_parent;
  const auto at = static_cast<std::size_t>(node.m_row);
  std::swap(parent.m_children[at - 1], parent.m_children[at]);
  Renumber(parent, at - 1);
  Store();
  return true;
}

bool TAEHorderedTree::MoveDown(TreeNode& node) {
  if (!Editable || node.m_parent == nullptr) return false;
  TreeNode& parent = *node.m_parent;
  const auto at = static_cast<std::size_t>(node.m_row);
  if (at + 1 >= parent.m_children.size()) return false;
  std::swap(parent.m_children[at], parent.m_children[at + 1]);
  Renumber(parent, at);
  Store();
  return true;
}

TreeNode* TAEHorderedTree::AddChapter(TreeNode& parent, std::string_view name) {
  if (!Editable || m_set == nullptr || !parent.IsContainer()) return nullptr;
  auto node = std::make_unique<TreeNode>();
  node->m_data = TAEHchapter{};
  node->m_text = OneLine(name);
  TreeNode* added = Attach(parent, std::move(node), parent.m_children.size());
  Store();
  return added;
}

TreeNode* TAEHorderedTree::AddObject(TreeNode& parent, ObjectId id) {
  if (!Editable || m_set == nullptr || !parent.IsContainer() || KindOf(id) != m_kind || !LiveObject(id)) {
    return nullptr;
  }
  if (TreeNode* existing = FindObject(id)) {
    if (existing->Contains(parent)) return nullptr;
    Attach(parent, Detach(*existing), parent.m_children.size());
    Store();
    return existing;
  }
  auto node = std::make_unique<TreeNode>();
  node->m_data = id;
  node->m_text = CaptionOf(id);
  TreeNode* added = Attach(parent, std::move(node), parent.m_children.size());
  Store();
  return added;
}

bool TAEHorderedTree::CanMove(const TreeNode& node, const TreeNode& target) const {
  return Editable && !node.IsRoot() && node.m_parent != nullptr && !target.HoldsObject() && !node.Contains(target);
}

bool TAEHorderedTree::MoveInto(TreeNode& node, TreeNode& target) {
  if (!CanMove(node, target)) return false;
  Attach(target, Detach(node), target.m_children.size());
  Store();
  return true;
}

bool TAEHorderedTree::CanRename(const TreeNode& node) const {
  return Editable && (!node.HoldsObject() || m_kind == custom);
}

bool TAEHorderedTree::Rename(TreeNode& node, std::string_view text) {
  if (!CanRename(node)) return false;
  if (node.HoldsObject()) {
    TAEHoggetto* object = m_set != nullptr ? m_set->GetObjectById(node.Object()) : nullptr;
    if (object == nullptr || !object->SetName(OneLine(text))) return false;
    m_set->SetModified(true);
    node.m_text = object->GetCaption();
    Store();
    if (OnRenameItem) OnRenameItem(node);
    return true;
  }
  node.m_text = OneLine(text);
  Store();
  return true;
}

bool TAEHorderedTree::RenamePage(TreeNode& node, std::string_view title) {
  if (!Editable || m_kind != testoHtml || !node.HoldsObject() || m_set == nullptr) return false;
  TAEHoggetto* page = m_set->GetObjectById(node.Object());
  if (page == nullptr || page->IsFree() || !page->SetName(OneLine(title))) return false;
  m_set->SetModified(true);
  node.m_text = page->GetCaption();
  if (OnChanged) OnChanged();
  return true;
}

bool TAEHorderedTree::CanDelete(const TreeNode& node) const {
  if (!Editable || node.IsRoot() || node.m_parent == nullptr) return false;
  return !node.HoldsObject() || !LiveObject(node.Object());
}

bool TAEHorderedTree::DeleteNode(TreeNode& node) {
  if (!CanDelete(node)) return false;
  TreeNode& parent = *node.m_parent;
  const auto at = static_cast<std::size_t>(node.m_row);
  // The chapter's marker goes with its node; what the chapter held stays,
  // in the chapter's place.
  std::unique_ptr<TreeNode> gone = Detach(node);
  for (std::size_t i = 0; i < gone->m_children.size(); ++i) {
    gone->m_children[i]->m_parent = &parent;
  }
  parent.m_children.insert(parent.m_children.begin() + static_cast<std::ptrdiff_t>(at),
                           std::make_move_iterator(gone->m_children.begin()),
                           std::make_move_iterator(gone->m_children.end()));
  Renumber(parent, at);
  Store();
  return true;
}

void TAEHorderedTree::RefreshCaptions() {
  ForEach([this](TreeNode& node) {
    if (node.HoldsObject()) node.m_text = CaptionOf(node.Object());
  });
}

std::string TAEHorderedTree::CaptionOf(ObjectId id) const {
  const TAEHoggetto* object = m_set != nullptr ? m_set->GetObjectById(id) : nullptr;
  return object != nullptr ? object->GetCaption() : std::string();
}

bool TAEHorderedTree::LiveObject(ObjectId id) const { return m_set != nullptr && Live(*m_set, id); }

}  // namespace tarn::document
