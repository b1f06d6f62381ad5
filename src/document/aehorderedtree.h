// The page order tree: the pages of a hypertext (or its custom object
// prototypes) grouped into chapters and kept as a small text inside the
// hypertext. For pages it is the default order in which the hypertext is
// read and printed. This is the model; document/ui/ shows it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "document/objectkinds.h"

namespace tarn::document {

class TAEHset;
class TAEHoggetto;

// A tree node that carries one is a chapter; the marker holds nothing else.
struct TAEHchapter {};
// The node that stands for the hypertext itself.
struct HypertextRoot {};

inline constexpr std::string_view kTreeDecodingError = "error decoding nodes";
inline constexpr std::string_view kTreeLoadingError = "error loading nodes";
// Numbers the tree text gives the nodes that hold no object.
inline constexpr int kTreeEmptyNumber = -1;
inline constexpr int kTreeRootNumber = -2;
inline constexpr int kTreeChapterNumber = -3;
// Deeper nesting than this in a stored text is flattened: nobody writes
// such a tree by hand, and a chain of a million levels must not exhaust
// the stack of whatever walks it.
inline constexpr int kMaxTreeDepth = 64;

class TreeNode {
 public:
  using Data = std::variant<std::monostate, HypertextRoot, TAEHchapter, ObjectId>;

  const std::string& Text() const { return m_text; }
  const Data& GetData() const { return m_data; }
  bool IsRoot() const { return std::holds_alternative<HypertextRoot>(m_data); }
  bool IsChapter() const { return std::holds_alternative<TAEHchapter>(m_data); }
  bool HoldsObject() const { return std::holds_alternative<ObjectId>(m_data); }
  // The object the node stands for; -1 when it holds none.
  ObjectId Object() const { return HoldsObject() ? std::get<ObjectId>(m_data) : -1; }
  // Chapters and the root gather other nodes; nodes holding an object and
  // empty nodes do not take new children from the author.
  bool IsContainer() const { return IsRoot() || IsChapter(); }

  // Nothing for a top-level node.
  TreeNode* Parent() const { return m_parent != nullptr && !m_parent->m_holder ? m_parent : nullptr; }
  // Position among its siblings (top-level nodes among each other).
  int Row() const { return m_row; }
  int Level() const;
  std::size_t ChildCount() const { return m_children.size(); }
  TreeNode* Child(std::size_t i) const { return i < m_children.size() ? m_children[i].get() : nullptr; }
  // Whether node is this node or lies inside it.
  bool Contains(const TreeNode& node) const;

 private:
  friend class TAEHorderedTree;
  std::string m_text;
  Data m_data;
  TreeNode* m_parent = nullptr;
  int m_row = 0;
  bool m_holder = false;
  std::vector<std::unique_ptr<TreeNode>> m_children;
};

// The header offset that keeps the id of the text-slot object holding the
// tree of a kind (pages and prototypes); -1 for other kinds.
int TreeSlotOffset(int kind);
// The slot object of the tree, or nothing when the hypertext has none yet.
// A header value that names anything but a live text slot counts as none,
// so that a damaged header never makes the tree overwrite another object.
TAEHoggetto* TreeSlot(const TAEHset& set, int kind);

// The objects of the kind in the default order, without building a tree:
// the stored order mended the way Reload mends it, or index order when
// nothing is stored. Only live objects, each once.
std::vector<ObjectId> DefaultOrder(const TAEHset& set, int kind = testoHtml);
// The page before (direction -1) or after (+1) page in the default order;
// the page itself when there is none.
int NeighbourInPageOrder(const TAEHset& set, int page, int direction);
// Rewrites the stored trees that name objects no longer live (after a
// deletion), so that a new object taking a freed index does not inherit
// the old one's place.
void MendStoredTrees(TAEHset& set);

class TAEHorderedTree {
 public:
  explicit TAEHorderedTree(int kind = testoHtml);
  TAEHorderedTree(const TAEHorderedTree&) = delete;
  TAEHorderedTree& operator=(const TAEHorderedTree&) = delete;

  int Objects() const { return m_kind; }
  // Changing the kind or the hypertext rebuilds the tree.
  void SetObjects(int kind);
  TAEHset* LinkedAEHset() const { return m_set; }
  void SetLinkedAEHset(TAEHset* set);

  bool Editable = false;
  // Reading problems are shown through the hypertext's messages unless set.
  bool Silent = false;
  // After the author gave an object node (a prototype) a new name.
  std::function<void(TreeNode&)> OnRenameItem;
  // After a change the author made was stored (the hypertext is modified).
  std::function<void()> OnChanged;

  // Builds the tree from the stored text, or the default tree (which is
  // then stored) when there is none.
  void Reload();
  // Writes the tree text into the slot object, creating it when missing.
  void Store();
  // The stored text had to be mended; the next Store writes the mended tree.
  bool Mended() const { return m_mended; }

  // The invisible holder of the top-level nodes.
  TreeNode& Top() { return m_top; }
  const TreeNode& Top() const { return m_top; }
  // The first node standing for the hypertext, or nothing.
  TreeNode* RootNode() const;
  TreeNode* FindObject(ObjectId id) const;
  // The objects of all nodes in tree order.
  void OrderedObjects(std::vector<ObjectId>& list) const;
  std::string TreeText() const;
  // Every node once, parents before children.
  void ForEach(const std::function<void(TreeNode&)>& visit);

  // Editing. Nothing changes unless the tree is editable; every change is
  // stored at once.
  bool MoveUp(TreeNode& node);
  bool MoveDown(TreeNode& node);
  // A chapter (or a node for the object) as the last child of a chapter or
  // the root. An object already in the tree moves there instead.
  TreeNode* AddChapter(TreeNode& parent, std::string_view name);
  TreeNode* AddObject(TreeNode& parent, ObjectId id);
  // Whether node may be dropped onto target: it becomes target's last child.
  bool CanMove(const TreeNode& node, const TreeNode& target) const;
  bool MoveInto(TreeNode& node, TreeNode& target);
  bool CanRename(const TreeNode& node) const;
  // Chapters, the root and empty nodes take the text; a prototype node
  // renames its prototype. Pages are renamed by RenamePage.
  bool Rename(TreeNode& node, std::string_view text);
  // Gives a page node's page a new title (the caller writes the page shown
  // in the editor back first).
  bool RenamePage(TreeNode& node, std::string_view title);
  // Removes a chapter or an empty node (its children take its place) or a
  // node whose object is no longer live. A live object keeps its node: it
  // leaves the tree only by being deleted from the hypertext.
  bool CanDelete(const TreeNode& node) const;
  bool DeleteNode(TreeNode& node);
  // Object nodes take their objects' current display names.
  void RefreshCaptions();

 private:
  void Clear();
  void BuildDefault();
  void Read(std::string_view text);
  void Mend();
  TreeNode* Attach(TreeNode& parent, std::unique_ptr<TreeNode> node, std::size_t at);
  std::unique_ptr<TreeNode> Detach(TreeNode& node);
  void Renumber(TreeNode& parent, std::size_t from = 0);
  void Report(std::string_view problem, bool& shown);
  std::string CaptionOf(ObjectId id) const;
  bool LiveObject(ObjectId id) const;
  void StoreText(bool markModified);

  int m_kind;
  TAEHset* m_set = nullptr;
  TreeNode m_top;
  bool m_mended = false;
};

}  // namespace tarn::document
