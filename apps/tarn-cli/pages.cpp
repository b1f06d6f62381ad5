// tarn-cli tree, refs and delete: the page order tree, what refers to a page
// and what it refers to, and deleting a page after reporting the references
// that would break.
#include "pages.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/compose.h"
#include "base/cp1252.h"
#include "climessages.h"
#include "document/aehorderedtree.h"
#include "document/aehset.h"
#include "document/links.h"
#include "json.h"
#include "search/linkexplorer.h"
#include "search/referencereport.h"

namespace tarn::cli {
namespace {

using namespace document;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

std::string Utf8(std::string_view cp1252) { return base::Cp1252ToUtf8(cp1252); }

std::string Hex8(ObjectId id) {
  char buf[12];
  std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(id));
  return buf;
}

// The arguments every command here takes: the file, --page N, flags.
struct Arguments {
  std::string file;
  int page = -1;
  bool json = false;
  bool yes = false;
  std::string out;
};

bool Parse(const std::vector<std::string>& args, bool wantsPage, bool deleting, Arguments& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--json" && !deleting) {
      parsed.json = true;
    } else if (a == "--page" && wantsPage && i + 1 < args.size()) {
      const std::string& n = args[++i];
      if (n.empty() || n.find_first_not_of("0123456789") != std::string::npos || n.size() > 8) return false;
      parsed.page = std::stoi(n);
    } else if (a == "--yes" && deleting) {
      parsed.yes = true;
    } else if (a == "--out" && deleting && i + 1 < args.size()) {
      parsed.out = args[++i];
    } else if (a.starts_with("--") || !parsed.file.empty()) {
      return false;
    } else {
      parsed.file = a;
    }
  }
  return !parsed.file.empty() && (!wantsPage || parsed.page >= 0);
}

// ---- tree ----

const char* NodeType(const TreeNode& node) {
  if (node.IsRoot()) return "root";
  if (node.IsChapter()) return "chapter";
  if (node.HoldsObject()) return "page";
  return "node";
}

std::string NodeJson(const TreeNode& node) {
  std::string out = std::string("{\"type\":\"") + NodeType(node) + "\"";
  if (node.HoldsObject()) {
    out += ",\"index\":" + std::to_string(IndexOf(node.Object())) + ",\"title\":" + JsonString(node.Text());
  } else {
    out += ",\"text\":" + JsonString(node.Text());
  }
  if (node.ChildCount() > 0) {
    out += ",\"children\":[";
    for (std::size_t i = 0; i < node.ChildCount(); ++i) out += (i > 0 ? "," : "") + NodeJson(*node.Child(i));
    out += "]";
  }
  return out + "}";
}

void PrintNode(const TreeNode& node, int depth) {
  const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
  if (node.HoldsObject()) {
    std::printf("%s%d  %s\n", indent.c_str(), IndexOf(node.Object()), Utf8(node.Text()).c_str());
  } else if (node.IsChapter()) {
    std::printf("%s[%s]\n", indent.c_str(), Utf8(node.Text()).c_str());
  } else {
    std::printf("%s%s\n", indent.c_str(), Utf8(node.Text()).c_str());
  }
  for (std::size_t i = 0; i < node.ChildCount(); ++i) PrintNode(*node.Child(i), depth + 1);
}

// ---- refs ----

// The header fields that name the page.
std::vector<std::string> HeaderUses(const TAEHset& set, int page) {
  std::vector<std::string> uses;
  const std::pair<int, const char*> fields[] = {{header::kCoverPage, "cover page"},
                                                {header::kContentsPage, "contents page"},
                                                {header::kHeaderPage, "header page"},
                                                {header::kFooterPage, "footer page"}};
  for (const auto& [at, name] : fields) {
    if (set.HeaderI32(at) == page) uses.emplace_back(name);
  }
  return uses;
}

std::string ObjectJson(const TAEHset& set, ObjectId id) {
  const TAEHoggetto* object = set.GetObjectById(id);
  return "{\"id\":\"" + Hex8(id) + "\",\"kind\":" + std::to_string(KindOf(id)) +
         ",\"index\":" + std::to_string(IndexOf(id)) +
         ",\"caption\":" + JsonString(object != nullptr ? LinkCaption(*object) : std::string());
}

const char* KindWord(int kind) {
  switch (kind) {
    case testoHtml: return "page";
    case internetLink: return "link";
    case genLink: return "file";
    case custom: return "prototype";
    default: return "object";
  }
}

// The hypertext a command works on, with the tool's messages; questions
// are answered Yes with --yes.
struct Opened {
  Opened(const std::string& file, bool yes) {
    if (yes) messages.answer = platform::Answer::Yes;
    app::Compose(set);
    ok = set.LoadFromFile(file);
  }
  CliMessages messages;
  platform::HostSystemInfo system;
  TAEHset set{{&messages, &system, nullptr, nullptr}};
  bool ok = false;
};

TAEHoggetto* LivePage(TAEHset& set, int page) {
  TAEHoggetto* object = set.GetObject(testoHtml, page);
  if (object == nullptr || object->IsFree()) {
    std::fprintf(stderr, "Page %d does not exist.\n", page);
    return nullptr;
  }
  return object;
}

}  // namespace

int Tree(const std::vector<std::string>& args) {
  Arguments a;
  if (!Parse(args, false, false, a)) return kExitUsage;
  Opened opened(a.file, false);
  if (!opened.ok) return kExitFailed;
  TAEHorderedTree tree;
  tree.SetLinkedAEHset(&opened.set);
  std::vector<ObjectId> order;
  tree.OrderedObjects(order);
  if (a.json) {
    std::string out = "{\"mended\":" + std::string(tree.Mended() ? "true" : "false") + ",\"nodes\":[";
    for (std::size_t i = 0; i < tree.Top().ChildCount(); ++i) out += (i > 0 ? "," : "") + NodeJson(*tree.Top().Child(i));
    out += "],\"order\":[";
    for (std::size_t i = 0; i < order.size(); ++i) out += (i > 0 ? "," : "") + std::to_string(IndexOf(order[i]));
    out += "]}\n";
    std::fputs(out.c_str(), stdout);
  } else {
    for (std::size_t i = 0; i < tree.Top().ChildCount(); ++i) PrintNode(*tree.Top().Child(i), 0);
  }
  return kExitOk;
}

int Refs(const std::vector<std::string>& args) {
  Arguments a;
  if (!Parse(args, true, false, a)) return kExitUsage;
  Opened opened(a.file, false);
  if (!opened.ok) return kExitFailed;
  TAEHset& set = opened.set;
  TAEHoggetto* page = LivePage(set, a.page);
  if (page == nullptr) return kExitFailed;
  const ObjectId id = page->GetId();
  const std::vector<search::Referrer> from = search::ReferrersOf(set, id);
  const std::vector<std::string> header = HeaderUses(set, a.page);
  const std::vector<ObjectId> to = search::ReferencesOf(set, id);
  if (a.json) {
    std::string out = "{\"page\":" + std::to_string(a.page) + ",\"title\":" + JsonString(page->GetCaption());
    out += ",\"referred_by\":[";
    for (std::size_t i = 0; i < from.size(); ++i) {
      out += (i > 0 ? "," : "") + ObjectJson(set, from[i].object) +
             ",\"how\":" + JsonString(ContainmentText(from[i].how)) + "}";
    }
    out += "],\"header\":[";
    for (std::size_t i = 0; i < header.size(); ++i) out += (i > 0 ? "," : "") + JsonString(header[i]);
    out += "],\"refers_to\":[";
    for (std::size_t i = 0; i < to.size(); ++i) out += (i > 0 ? "," : "") + ObjectJson(set, to[i]) + "}";
    out += "]}\n";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
  }
  std::printf("Page %d \"%s\"\n", a.page, Utf8(page->GetCaption()).c_str());
  std::printf("Referred to by:%s\n", from.empty() && header.empty() ? " nothing" : "");
  for (const search::Referrer& r : from) {
    const TAEHoggetto* object = set.GetObjectById(r.object);
    std::printf("  %s %d  %s   {%s}\n", KindWord(KindOf(r.object)), IndexOf(r.object),
                Utf8(object != nullptr ? LinkCaption(*object) : std::string()).c_str(),
                std::string(ContainmentText(r.how)).c_str());
  }
  for (const std::string& use : header) std::printf("  the hypertext, as its %s\n", use.c_str());
  std::printf("Refers to:%s\n", to.empty() ? " nothing" : "");
  for (ObjectId ref : to) {
    const TAEHoggetto* object = set.GetObjectById(ref);
    std::printf("  %s %d  %s\n", KindWord(KindOf(ref)), IndexOf(ref),
                Utf8(object != nullptr ? LinkCaption(*object) : std::string()).c_str());
  }
  return kExitOk;
}

int Delete(const std::vector<std::string>& args) {
  Arguments a;
  if (!Parse(args, true, true, a)) return kExitUsage;
  Opened opened(a.file, a.yes);
  if (!opened.ok) return kExitFailed;
  TAEHset& set = opened.set;
  TAEHoggetto* page = LivePage(set, a.page);
  if (page == nullptr) return kExitFailed;
  if (a.page == 0) {
    std::fputs("Page 0 is never deleted.\n", stderr);
    return kExitFailed;
  }
  const ObjectId id = page->GetId();
  const std::vector<search::ReportLine> report = search::ReferenceReport(set, id);
  for (const search::ReportLine& line : report) std::printf("%s\n", Utf8(line.text).c_str());
  const std::vector<std::string> header = HeaderUses(set, a.page);
  for (const std::string& use : header) std::printf("    - the hypertext, as its %s\n", use.c_str());
  const std::size_t broken = report.size() - 1 + header.size();
  if (broken > 0 && !a.yes) {
    std::fprintf(stderr, "%zu reference%s would break; nothing was written (--yes deletes anyway).\n", broken,
                 broken == 1 ? "" : "s");
    return kExitFailed;
  }
  search::DeleteObjects(set, {id}, -1);
  const std::string target = a.out.empty() ? a.file : a.out;
  if (!set.SaveToFile(target, 2)) {
    for (const auto& e : set.SaveErrors()) opened.messages.Error(e);
    return kExitFailed;
  }
  std::printf("Deleted page %d; %zu reference%s removed.\n", a.page, broken, broken == 1 ? "" : "s");
  return kExitOk;
}

}  // namespace tarn::cli
