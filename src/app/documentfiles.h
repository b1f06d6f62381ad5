// Decisions the main window takes from file names: what opening a file
// does, what kind of save a name asks for, the window caption, and the
// folders beside the program.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::app {

enum class OpenKind {
  Hypertext,      // ".aeh"
  CdProject,      // ".wzz"
  CustomLibrary,  // ".cus"
  Image,          // nothing to do
  Import,         // text, RTF and word-processor files: imported into a new hypertext
  Html,           // asks what to do
  Other,          // nothing to do
};
OpenKind OpenKindOf(const std::filesystem::path& file);

// What files dropped on the window do; only the first file's extension
// decides. For an import, the files are the first and every further one
// the import takes (text, RTF, word-processor and HTML files).
struct DroppedFiles {
  OpenKind kind = OpenKind::Other;
  std::vector<std::string> files;
};
DroppedFiles ClassifyDroppedFiles(const std::vector<std::string>& dropped);

// What opening an HTML file does, as the author chooses it. A page
// written by a hypertext export offers the native choices.
enum class HtmlOpenChoice {
  InsertPage,        // import the file into the open hypertext
  NewWithPage,       // a new hypertext made from the file
  EditPageSet,       // a new hypertext from the pages its links reach
  EditNative,        // open the page's own hypertext at that page
  CopyOfNative,      // a new hypertext with the page's hypertext as template
  NewWithNativePage, // a new hypertext with a copy of the page
  InsertNativePage,  // a copy of the page added to the open hypertext
};
// The choice that runs: a native choice whose hypertext is gone falls back
// to the foreign choice that comes nearest.
HtmlOpenChoice EffectiveHtmlOpenChoice(HtmlOpenChoice chosen, bool nativeExists);

// The save kind: 1 hypertext, 3 page as HTML, 4 page as RTF, 5 page as
// text, 2/6/-1/-2 the export dialog, 0 nothing. ".aeh" is always 1 and the
// text extensions always 5; any other name keeps the kind chosen.
int SaveKind(const std::filesystem::path& file, int chosen);

// "name.aeh - Tarn", with " [example]" after the name for files of the
// examples folder.
std::string DocumentCaption(const std::string& fileName, const std::filesystem::path& examplesFolder,
                            std::string_view title);

// True when the file lies directly in the folder; folders compare without
// case, as they did on Windows.
bool InFolder(const std::filesystem::path& file, const std::filesystem::path& folder);

// The name a new hypertext has until it is saved.
inline constexpr std::string_view kUntitled = "Untitled";

// Folders beside the program: the examples are shipped with it; the others
// are written by the author, so they live in the user's data folder when
// the program's own folder cannot be written.
struct ProgramFolders {
  std::filesystem::path program;  // the folder of the executable
  std::filesystem::path data;     // writable: the program folder or the user's data folder
  // The shipped examples; beside the program unless set.
  std::filesystem::path examples = {};

  std::filesystem::path Examples() const { return examples.empty() ? program / "es_aeh" : examples; }
  std::filesystem::path Custom() const { return data / "Custom"; }
  std::filesystem::path FrameTemplates() const { return data / "FrameTemplates"; }
  std::filesystem::path HypTemplates() const { return data / "HypTemplates"; }
  std::filesystem::path Templates() const { return data / "Templates"; }
};

// Where the examples of a program in this folder are: "es_aeh" beside it
// (a build, or a program unpacked in one folder) or, installed under a
// prefix, PREFIX/share/tarn/es_aeh for PREFIX/bin/tarn. The folder beside
// the program when neither exists, so that the message names it.
std::filesystem::path FindExamplesFolder(const std::filesystem::path& programFolder);

}  // namespace tarn::app
