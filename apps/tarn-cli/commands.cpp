// The command table on the command line, and the help of each command.
#include "commands.h"

#include <cstdio>
#include <string_view>

#include "app/commandtable.h"
#include "json.h"

namespace tarn::cli {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
constexpr const char* kVersion = "tarn-cli (Tarn) 3.0";

struct Help {
  std::string_view command;
  std::string_view usage;
  std::string_view text;
};

constexpr Help kHelp[] = {
    {"info", "tarn-cli info [--json] FILE",
     "Prints a summary of a hypertext: title, format, pages, styles and object counts,\n"
     "and whether it is damaged (cut short: pages and objects not read whole).\n"
     "  --json   the same as one JSON object\n"
     "Exit 1 when the file cannot be opened."},
    {"resave", "tarn-cli resave [--yes] IN OUT",
     "Opens IN and saves it as OUT; OUT may be IN (the old file is kept as IN.bak).\n"
     "A damaged IN is saved over only with --yes.\n"
     "  --yes    answer Yes to questions (a retry of a file that cannot be created at most\n"
     "           three times)"},
    {"dump", "tarn-cli dump FILE --page N [--markup]",
     "Prints page N read into paragraphs as JSON (style, text, link runs, format runs,\n"
     "objects and table cells).\n"
     "  --markup the paragraphs written back as markup"},
    {"export",
     "tarn-cli export html FILE OUTDIR [--pages N,M,...] [--htm] [--images-folder] [--original-names] [--utf8]\n"
     "       tarn-cli export rtf|winhelp|text FILE OUT [--pages N,M,...] [--per-page] [--yes]",
     "html: writes the pages (all when no list is given) as a web site in OUTDIR.\n"
     "  --pages N,M,...    only these pages\n"
     "  --htm              pages end in .htm instead of .html\n"
     "  --images-folder    images and files go into the folder images/\n"
     "  --original-names   images and files keep their stored names\n"
     "  --utf8             pages in UTF-8, declaring it (for sites served as UTF-8)\n"
     "Exit 1 when a listed page does not exist or a folder or file cannot be written;\n"
     "links found in OUTDIR are replaced, never written through.\n"
     "rtf: the pages into the RTF file OUT; with --per-page OUT is a folder that gets\n"
     "one file per page (PREFIXindex.rtf for the cover page, PREFIX + six hexadecimal\n"
     "digits otherwise). Links to addresses and to exported pages become hyperlinks.\n"
     "winhelp: the pages as help compiler sources: OUT (topics with their footnotes,\n"
     "hot spots and macros), OUT with the extension .HPJ (the help project) and the\n"
     "pictures as .bmp files beside them.\n"
     "  --titles-as-keywords   (winhelp) each topic's title is one of its keywords\n"
     "  --yes              answer Yes when asked whether to go on past 5 MB\n"
     "text: the pages' plain text into OUT, one after another.\n"
     "rtf, winhelp, text: listed pages that do not exist are left out; exit 1 when a\n"
     "file cannot be written."},
    {"import",
     "tarn-cli import html OUT.aeh FILE... [--follow] [--max-pages N] [--depth N] [--any-folder] [--into EXISTING.aeh]\n"
     "       tarn-cli import rtf|text OUT.aeh FILE... [--cut heading|paragraphs:N] [--into EXISTING.aeh]",
     "Makes a new hypertext OUT.aeh (or, with --into, adds to a copy of EXISTING.aeh saved\n"
     "as OUT.aeh) with new pages read from the files.\n"
     "html: a page for each HTML file, the pictures they show copied in.\n"
     "  --follow           also import the pages the files link to, level by level\n"
     "  --depth N          follow links N levels deep (10 by default)\n"
     "  --max-pages N      import at most N pages (1000 by default)\n"
     "  --any-folder       follow links out of the start file's folder tree too\n"
     "  Prints what was imported and the references that could not be followed.\n"
     "rtf: every page break starts a page; styles, lists, tables, pictures, footnotes,\n"
     "comments and hyperlinks come along.\n"
     "  --cut heading          headings (levels up to --heading-level, 4 by default) cut\n"
     "                         the text into pages listed on an index page\n"
     "  --cut paragraphs:N     at most N paragraphs a page (100 by default for rtf),\n"
     "                         the pages linked by \"continue...\" links\n"
     "  --page-per-file        page breaks do not cut\n"
     "  --common-index         (with --cut heading) one index page for all the files\n"
     "  --gif                  every picture is stored as GIF\n"
     "  --winhelp              the files are help compiler sources: topics become pages,\n"
     "                         hot spots links, keywords keywords; a report is printed\n"
     "text: each line becomes a paragraph; UTF-8 and UTF-16 files are converted, and\n"
     "characters the code page lacks become \"?\" (their number is told).\n"
     "Exit 1 when a file cannot be read, nothing could be imported or OUT.aeh cannot\n"
     "be written."},
    {"render", "tarn-cli render FILE --page N --png OUT.png [--width PIXELS]",
     "Draws page N as the page view shows it into a PNG, without a display.\n"
     "  --width PIXELS     the width to lay the page out at (800 by default)"},
    {"print", "tarn-cli print FILE --pdf OUT.pdf [--pages N,M,...|--all] [--margins MM] [--no-background] [--image-scale N]",
     "Prints pages into a PDF file, each page from a new sheet, as the print dialog does:\n"
     "A4, the page's header and footer pages, lines never cut between sheets.\n"
     "  --pages N,M,...    these pages in this order (default: all, in the default page order)\n"
     "  --all              all pages in the default page order\n"
     "  --margins MM       the four margins in millimetres (25 by default)\n"
     "  --no-background    leave out the page and table backgrounds\n"
     "  --image-scale N    hundredths of a millimetre per 100 screen pixels of images\n"
     "                     (20 to 20000; 2500 by default: a pixel prints as 0.25 mm)\n"
     "Exit 1 when a listed page does not exist or the file cannot be written.\n"
     "Runs without a display."},
    {"tree", "tarn-cli tree FILE [--json]",
     "Prints the page order tree: the chapters (in brackets) and the pages with their\n"
     "indices and titles. A damaged stored tree is shown mended: every live page once.\n"
     "  --json   the tree and the default page order as one JSON object"},
    {"refs", "tarn-cli refs FILE --page N [--json]",
     "Prints what refers to page N (pages and prototypes, and how; the hypertext's\n"
     "cover, contents, header and footer page) and what page N refers to (pages,\n"
     "links and files).\n"
     "  --json   the same as one JSON object\n"
     "Exit 1 when page N does not exist."},
    {"delete", "tarn-cli delete FILE --page N [--yes] [--out OUT]",
     "Prints the references that deleting page N would break. With references and\n"
     "without --yes nothing is written and the exit status is 1. Otherwise every\n"
     "reference and the page go, and the hypertext is saved.\n"
     "  --yes       delete even when references break\n"
     "  --out OUT   save as OUT (default: over FILE, keeping FILE.bak)\n"
     "Page 0 is never deleted."},
    {"commands", "tarn-cli commands [--json]",
     "Prints the editor's menus, toolbars and popup menus: where each command is, its\n"
     "caption, its shortcut, its object name, and whether this version has built it.\n"
     "  --json   one JSON object per line"},
    {"publish", "tarn-cli publish ftp|aeh|get ... --host H [--port P] --user U --dir D",
     "Publishes by FTP. The password is taken from TARN_FTP_PASSWORD or asked on the\n"
     "terminal, never from the command line.\n"
     "  publish ftp FILE      exports FILE as a web site and uploads it to folder D, then\n"
     "                        the version page; the hypertext is saved with the revision\n"
     "                        stamps of what was sent\n"
     "    --changed-only      reads the version page back and sends only the files whose\n"
     "                        stamp is newer (the style sheet always)\n"
     "    --images-folder     images and files into D/images/; --htm: pages as .htm\n"
     "  publish aeh FILE      uploads the .AEH file itself to D\n"
     "  publish get NAME...   downloads files of D into --out FOLDER (plain names only)\n"
     "  --timeout S           seconds every wait may take (30)\n"
     "Exit 1 when the server refused, did not answer in time or a file could not be read."},
    {"server", "tarn-cli server list|publish|fetch|delete [FILE|NAME] --server H --user U [--section S]",
     "Works with a web server that runs the publishing extensions. The password is\n"
     "taken from TARN_SERVER_PASSWORD or asked on the terminal.\n"
     "  server list                    the user's sections; with --section, the hypertexts\n"
     "  server publish FILE --section S  publishes FILE (--title T; --yes replaces one that\n"
     "                                 is there already, or goes past the quota)\n"
     "  server fetch NAME --section S --out FOLDER\n"
     "  server delete NAME --section S\n"
     "  --port P (80), --proxy HOST[:PORT], --programs DIR, --template-dir DIR,\n"
     "  --upload-program NAME, --page-program NAME, --timeout S\n"
     "S is a section's base name or its number in the list."},
    {"find", "tarn-cli find FILE EXPR [--whole-word] [--case]",
     "Lists the pages whose text holds the words of EXPR, \"A and B or C and D\"\n"
     "(either part may be one word; tags, hidden blocks and entity names never\n"
     "match), with the word found.\n"
     "  --whole-word   the word found must stand as a whole word\n"
     "  --case         letter case counts"},
    {"replace", "tarn-cli replace FILE OLD NEW --out OUT [--whole-word] [--case]",
     "Replaces OLD by NEW in the text of every page, reports the count per page and\n"
     "in all, and saves the hypertext as OUT. An occurrence split by a format change\n"
     "is left as it is.\n"
     "  --whole-word   only whole words\n"
     "  --case         letter case counts"},
    {"spell", "tarn-cli spell FILE [--lang en_US]",
     "Lists the misspelled words of each page, checked with the installed Hunspell\n"
     "dictionary of the language (en_US by default) and the user dictionary.\n"
     "Exit 1 when no dictionary for the language is installed."},
};

const Help* FindHelp(std::string_view command) {
  for (const Help& help : kHelp) {
    if (help.command == command) return &help;
  }
  return nullptr;
}

void PrintHelp(const Help& help) { std::printf("usage: %s\n\n%s\n", help.usage.data(), help.text.data()); }

int PrintOverview() {
  std::printf("usage: tarn-cli COMMAND [OPTIONS]\n\nCommands:\n");
  for (const Help& help : kHelp) std::printf("  %s\n", help.usage.data());
  std::printf("\n  tarn-cli help COMMAND   (or COMMAND --help) tells more of a command\n"
              "  tarn-cli --version\n");
  return kExitOk;
}

std::string_view KindName(app::CommandKind kind) {
  switch (kind) {
    case app::CommandKind::Menu: return "menu";
    case app::CommandKind::Item: return "item";
    case app::CommandKind::Separator: return "separator";
    case app::CommandKind::Toolbar: return "toolbar";
    case app::CommandKind::Button: return "button";
    case app::CommandKind::Control: return "control";
    case app::CommandKind::Popup: return "popup";
  }
  return "";
}

// Entries an author can choose: items, buttons and controls that run an
// operation, and the anchors of the lists filled at run time.
bool Listed(const app::CommandEntry& entry) {
  if (entry.kind == app::CommandKind::Separator) return !entry.name.empty();
  return entry.kind == app::CommandKind::Item || entry.kind == app::CommandKind::Button ||
         entry.kind == app::CommandKind::Control;
}

}  // namespace

int GeneralOption(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return -1;
  const std::string& first = arguments[0];
  if (first == "--version") {
    std::printf("%s\n", kVersion);
    return kExitOk;
  }
  if (first == "--help" || first == "-h") return PrintOverview();
  if (first == "help") {
    if (arguments.size() < 2) return PrintOverview();
    const Help* help = FindHelp(arguments[1]);
    if (help == nullptr) return -1;
    PrintHelp(*help);
    return kExitOk;
  }
  if (arguments.size() >= 2 && (arguments[1] == "--help" || arguments[1] == "-h")) {
    if (const Help* help = FindHelp(first)) {
      PrintHelp(*help);
      return kExitOk;
    }
  }
  return -1;
}

int Commands(const std::vector<std::string>& args) {
  bool json = false;
  for (const std::string& a : args) {
    if (a == "--json") {
      json = true;
    } else {
      return kExitUsage;
    }
  }
  for (const app::CommandEntry& entry : app::CommandTable()) {
    if (!Listed(entry)) continue;
    const std::string path = app::CommandPath(entry);
    const std::string caption = app::PlainCaption(entry.caption);
    const std::string shortcut = app::ShortcutText(entry.shortcut);
    const std::string alternate = app::ShortcutText(entry.alternate);
    const bool bound = app::IsBuilt(entry.method);
    if (json) {
      std::printf("{\"path\":%s,\"kind\":\"%s\",\"caption\":%s,\"shortcut\":%s,\"alternate\":%s,\"stored\":%u,"
                  "\"name\":%s,\"operation\":%s,\"tag\":%d,\"hidden\":%s,\"bound\":%s}\n",
                  JsonString(path).c_str(), KindName(entry.kind).data(), JsonString(caption).c_str(),
                  JsonString(shortcut).c_str(), JsonString(alternate).c_str(), static_cast<unsigned>(entry.shortcut),
                  JsonString(entry.name).c_str(), JsonString(entry.method).c_str(), entry.tag,
                  entry.Has(app::kHidden) ? "true" : "false", bound ? "true" : "false");
    } else {
      std::string keys = shortcut;
      if (!alternate.empty()) keys += (keys.empty() ? "" : ", ") + alternate;
      std::printf("%-62s %-22s %-28s %s\n", path.c_str(), keys.c_str(), std::string(entry.name).c_str(),
                  entry.method.empty() ? "-" : (bound ? "bound" : "not yet"));
    }
  }
  return kExitOk;
}

}  // namespace tarn::cli
