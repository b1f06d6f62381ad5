// The link crawler of HTML import: the HTML files reachable by links from a
// start file, level by level, each file read once, within limits of depth,
// count and folder.
#include <unordered_set>

#include "base/cp1252.h"
#include "base/filestream.h"
#include "convert/aehtohtml.h"
#include "convert/ht2reader.h"
#include "convert/htmltags.h"

namespace tarn::convert {
namespace fs = std::filesystem;
namespace {

std::string Key(const fs::path& path) {
  std::error_code ec;
  fs::path key = fs::weakly_canonical(path, ec);
  if (ec) key = fs::absolute(path, ec).lexically_normal();
  return key.string();
}

bool IsPageReference(std::string_view value) {
  const std::string path = base::LowerCase(value.substr(0, value.find_first_of("#?")));
  return path.ends_with(".htm") || path.ends_with(".html") || path.ends_with(".txt");
}

bool Inside(const std::string& key, const std::string& folder) {
  if (folder.empty() || folder == "/") return true;
  return key.size() > folder.size() && key.compare(0, folder.size(), folder) == 0 && key[folder.size()] == '/';
}

// The files one page links to: every tag's HREF, or its SRC without one,
// that names a page; a BASE tag's local HREF is the folder they are taken
// from.
std::vector<fs::path> LinksOf(std::string_view text, const fs::path& folder) {
  std::vector<fs::path> links;
  HtmlTagReader tags(text);
  std::string base;
  HtmlTag tag;
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    if (text.substr(at).starts_with("<!--")) {
      const std::size_t end = tags.FindNoCase("-->", at + 4);
      if (end == std::string_view::npos) break;
      at = end;
      continue;
    }
    if (!tags.Read(at, tag) || tag.closing) continue;
    at = tag.end - 1;
    const std::string* value = tag.Find("HREF");
    if (tag.name == "BASE") {
      base = value != nullptr && value->find(':') == std::string::npos ? *value : std::string();
      continue;
    }
    if (value == nullptr) value = tag.Find("SRC");
    if (value == nullptr || !IsPageReference(*value)) continue;
    if (auto file = LocalReference(folder / base, *value)) links.push_back(std::move(*file));
  }
  return links;
}

}  // namespace

CrawlResult TAEHtoHtml::CollectLinkedFiles(const fs::path& start, const CrawlLimits& limits) {
  CrawlResult result;
  const HtmlImportRun::FileReader read = ImportFileReader ? ImportFileReader : [](const fs::path& path, std::string& out) {
    std::error_code ec;
    return fs::is_regular_file(path, ec) && base::ReadWholeFile(path, out);
  };
  const std::string startKey = Key(start);
  const std::string folder = fs::path(startKey).parent_path().string();
  std::unordered_set<std::string> seen{startKey};
  std::vector<fs::path> level{start};
  std::string text;
  for (int depth = 0; depth <= limits.depth && !level.empty(); ++depth) {
    std::vector<fs::path> next;
    for (const fs::path& file : level) {
      if (static_cast<int>(result.files.size()) >= limits.maxPages) {
        ++result.overLimit;
        continue;
      }
      text.clear();
      if (!read(file, text)) {
        result.missing.push_back(file);
        continue;
      }
      result.files.push_back(file);
      if (depth == limits.depth) continue;
      for (fs::path& link : LinksOf(text, file.parent_path())) {
        const std::string key = Key(link);
        if (!limits.allowOutside && !Inside(key, folder)) {
          ++result.outside;
          continue;
        }
        if (seen.insert(key).second) next.push_back(std::move(link));
      }
    }
    level = std::move(next);
  }
  return result;
}

void TAEHtoHtml::CollectLinkedFiles(const fs::path& start, std::vector<fs::path>& list, int depth) {
  // Depth counts the levels listed, the start file's included; the start
  // file itself is not listed.
  CrawlLimits limits;
  limits.depth = depth - 1;
  limits.maxPages = 1 << 20;
  limits.allowOutside = true;
  const CrawlResult result = CollectLinkedFiles(start, limits);
  for (std::size_t i = 1; i < result.files.size(); ++i) list.push_back(result.files[i]);
  for (const fs::path& file : result.missing) {
    if (file != start) list.push_back(file);
  }
}

}  // namespace tarn::convert
