// tarn-cli: the batch jobs of Tarn without a display.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/compose.h"
#include "base/cp1252.h"
#include "climessages.h"
#include "commands.h"
#include "dump.h"
#include "export.h"
#include "import.h"
#ifdef TARN_WITH_QT
#include "print.h"
#include "render.h"
#endif
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "json.h"
#include "pages.h"
#include "publish.h"
#include "search.h"

namespace {

using namespace tarn;
using document::TAEHset;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int Usage() {
  std::fputs(
      "usage: tarn-cli info [--json] FILE\n"
      "       tarn-cli resave [--yes] IN OUT\n"
      "       tarn-cli dump FILE --page N [--markup]\n"
      "       tarn-cli export html FILE OUTDIR [--pages N,M,...] [--htm] [--images-folder] [--original-names]\n"
      "                       [--utf8]\n"
      "       tarn-cli export rtf|winhelp|text FILE OUT [--pages N,M,...] [--per-page] [--yes]\n"
      "       tarn-cli export doc FILE OUT.doc [--pages N,M,...] [--word-processor CMD] [--timeout SECONDS]\n"
      "       tarn-cli import doc OUT.aeh FILE... [--page-per-file] [--into EXISTING.aeh] [--word-processor CMD]\n"
      "       tarn-cli import rtf|text OUT.aeh FILE... [--cut heading|paragraphs:N] [--into EXISTING.aeh]\n"
      "       tarn-cli import html OUT.aeh FILE... [--follow] [--max-pages N] [--depth N] [--any-folder]\n"
      "                            [--into EXISTING.aeh]\n"
      "       tarn-cli render FILE --page N --png OUT.png [--width PIXELS]\n"
      "       tarn-cli print FILE --pdf OUT.pdf [--pages N,M,...|--all] [--margins MM] [--no-background]\n"
      "                      [--image-scale N]\n"
      "       tarn-cli tree FILE [--json]\n"
      "       tarn-cli refs FILE --page N [--json]\n"
      "       tarn-cli delete FILE --page N [--yes] [--out OUT]\n"
      "       tarn-cli commands [--json]\n"
      "       tarn-cli publish ftp FILE --host H [--port P] --user U --dir D [--changed-only] [--images-folder]\n"
      "       tarn-cli publish aeh FILE --host H --user U --dir D\n"
      "       tarn-cli publish get NAME... --host H --user U --dir D --out FOLDER\n"
      "       tarn-cli server list|publish|fetch|delete [FILE|NAME] --server H [--port P] --user U\n"
      "                       [--section N|BASE] [--out FOLDER] [--yes]\n"
      "       tarn-cli find FILE EXPR [--whole-word] [--case]\n"
      "       tarn-cli replace FILE OLD NEW --out OUT [--whole-word] [--case]\n"
      "       tarn-cli spell FILE [--lang en_US]\n"
      "       tarn-cli --version | --help | help COMMAND\n",
      stderr);
  return kExitUsage;
}

std::string Utf8(std::string_view cp1252) { return base::Cp1252ToUtf8(cp1252); }

void PrintJson(const TAEHset& set) {
  std::string out = "{";
  out += "\"title\":" + cli::JsonString(set.Title());
  out += ",\"version\":" + std::to_string(set.Version());
  out += ",\"K\":" + std::to_string(set.Header()[document::header::kHighestKind]);
  out += ",\"revision\":" + std::to_string(set.Revision());
  out += ",\"exp_prefix\":" + cli::JsonString(set.ExpPrefix());
  out += ",\"cover_page\":" + std::to_string(set.HeaderI32(document::header::kCoverPage));
  out += ",\"contents_page\":" + std::to_string(set.HeaderI32(document::header::kContentsPage));
  out += ",\"damaged\":[";
  for (std::size_t i = 0; i < set.DamagedObjects().size(); ++i) {
    const document::ObjectId id = set.DamagedObjects()[i];
    out += (i > 0 ? ",{\"kind\":" : "{\"kind\":") + std::to_string(document::KindOf(id)) +
           ",\"index\":" + std::to_string(document::IndexOf(id)) + "}";
  }
  out += "]";
  std::string counts;
  std::string free;
  for (int k = 0; k < document::kKindCount; ++k) {
    const int n = set.CountOf(k);
    if (n == 0) continue;
    counts += (counts.empty() ? "" : ",") + std::string("\"") + std::to_string(k) + "\":" + std::to_string(n);
    int freeCount = 0;
    for (int i = 0; i < n; ++i) {
      const auto* object = set.GetObject(k, i);
      if (object == nullptr || object->IsFree()) ++freeCount;
    }
    if (freeCount > 0) {
      free += (free.empty() ? "" : ",") + std::string("\"") + std::to_string(k) + "\":" + std::to_string(freeCount);
    }
  }
  out += ",\"counts\":{" + counts + "}";
  out += ",\"free\":{" + free + "}";
  out += ",\"pages\":[";
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    const auto* page = set.GetObject(document::testoHtml, i);
    if (i > 0) out += ",";
    const bool isFree = page == nullptr || page->IsFree();
    const std::int64_t bytes = page != nullptr ? page->ContentLength() : 0;
    out += "{\"index\":" + std::to_string(i) + ",\"title\":" + cli::JsonString(page ? page->GetCaption() : "") +
           ",\"free\":" + (isFree ? "true" : "false") + ",\"bytes\":" + std::to_string(bytes) + "}";
  }
  out += "],\"styles\":[";
  bool first = true;
  for (int i = 0; i < set.CountOf(document::stileParagrafo); ++i) {
    const auto* style = set.GetObject(document::stileParagrafo, i);
    if (style == nullptr || style->IsFree()) continue;
    out += std::string(first ? "" : ",") + "{\"index\":" + std::to_string(i) +
           ",\"name\":" + cli::JsonString(style->GetCaption()) + "}";
    first = false;
  }
  out += "]}\n";
  std::fputs(out.c_str(), stdout);
}

void PrintText(const TAEHset& set) {
  std::printf("Title:         %s\n", Utf8(set.Title()).c_str());
  std::printf("File:          %s\n", set.AEHFileName().c_str());
  std::printf("Format:        version %d, revision %d\n", set.Version(), set.Revision());
  std::printf("Export prefix: %s\n", Utf8(set.ExpPrefix()).c_str());
  std::printf("Authors:       %s\n",
              Utf8(set.HeaderString(document::header::kAuthors, document::header::kTextCapacity)).c_str());
  std::printf("Cover page:    %d   Contents page: %d\n", set.HeaderI32(document::header::kCoverPage),
              set.HeaderI32(document::header::kContentsPage));
  if (set.IsDamaged()) {
    std::printf("Damaged:       yes, %zu pages and objects could not be read whole\n",
                set.DamagedObjects().size());
  } else {
    std::printf("Damaged:       no\n");
  }
  std::printf("Pages:\n");
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    const auto* page = set.GetObject(document::testoHtml, i);
    if (page == nullptr) continue;
    std::printf("  %3d  %-40s %8lld bytes%s\n", i, Utf8(page->GetCaption()).c_str(),
                static_cast<long long>(page->ContentLength()), page->IsFree() ? "  (free)" : "");
  }
  std::printf("Styles:\n");
  for (int i = 0; i < set.CountOf(document::stileParagrafo); ++i) {
    const auto* style = set.GetObject(document::stileParagrafo, i);
    if (style != nullptr && !style->IsFree()) std::printf("  %3d  %s\n", i, Utf8(style->GetCaption()).c_str());
  }
  std::printf("Objects:");
  for (int k = 1; k < document::kKindCount; ++k) {
    if (set.CountOf(k) > 0) std::printf(" kind %d: %d;", k, set.CountOf(k));
  }
  std::printf("\n");
}

int Info(const std::vector<std::string>& args) {
  bool json = false;
  std::string file;
  for (const auto& a : args) {
    if (a == "--json") json = true;
    else if (a.starts_with("--") || !file.empty()) return Usage();
    else file = a;
  }
  if (file.empty()) return Usage();
  cli::CliMessages messages;
  platform::HostSystemInfo system;
  TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  if (!set.LoadFromFile(file)) return kExitFailed;
  if (json) PrintJson(set);
  else PrintText(set);
  return kExitOk;
}

int Resave(const std::vector<std::string>& args) {
  cli::CliMessages messages;
  std::vector<std::string> files;
  for (const auto& a : args) {
    if (a == "--yes") messages.answer = platform::Answer::Yes;
    else if (a.starts_with("--")) return Usage();
    else files.push_back(a);
  }
  if (files.size() != 2) return Usage();
  platform::HostSystemInfo system;
  TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  if (!set.LoadFromFile(files[0])) return kExitFailed;
  if (!set.SaveToFile(files[1], 2)) {
    for (const auto& e : set.SaveErrors()) messages.Error(e);
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (const int rc = cli::GeneralOption(std::vector<std::string>(argv + 1, argv + argc)); rc >= 0) return rc;
  if (command == "commands") {
    const int rc = cli::Commands(args);
    return rc == kExitUsage ? Usage() : rc;
  }
  if (command == "info") return Info(args);
  if (command == "resave") return Resave(args);
#ifdef TARN_WITH_QT
  if (command == "render") {
    const int rc = cli::Render(args);
    return rc == kExitUsage ? Usage() : rc;
  }
  if (command == "print") {
    const int rc = cli::Print(args);
    return rc == kExitUsage ? Usage() : rc;
  }
#endif
  // The commands that answer 2 for bad usage, which shows the usage.
  using Command = int (*)(const std::vector<std::string>&);
  constexpr std::pair<std::string_view, Command> kCommands[] = {
      {"export", &cli::Export}, {"import", &cli::Import}, {"tree", &cli::Tree},
      {"refs", &cli::Refs},     {"delete", &cli::Delete}, {"dump", &cli::Dump},
      {"publish", &cli::Publish}, {"server", &cli::Server},
      {"find", &cli::Find},     {"replace", &cli::Replace}, {"spell", &cli::Spell},
  };
  for (const auto& [name, run] : kCommands) {
    if (command == name) {
      const int rc = run(args);
      return rc == kExitUsage ? Usage() : rc;
    }
  }
  return Usage();
}
