// File-name decisions of the main window.
#include "app/documentfiles.h"

#include <array>

#include "base/cp1252.h"

namespace tarn::app {
namespace {

std::string Extension(const std::filesystem::path& file) { return base::LowerCase(file.extension().string()); }

template <std::size_t N>
bool OneOf(const std::string& extension, const std::array<std::string_view, N>& list) {
  for (std::string_view item : list) {
    if (extension == item) return true;
  }
  return false;
}

}  // namespace

OpenKind OpenKindOf(const std::filesystem::path& file) {
  const std::string extension = Extension(file);
  if (extension == ".aeh") return OpenKind::Hypertext;
  if (extension == ".wzz") return OpenKind::CdProject;
  if (extension == ".cus") return OpenKind::CustomLibrary;
  if (OneOf(extension, std::array<std::string_view, 5>{".gif", ".jpg", ".wmf", ".jpeg", ".bmp"})) {
    return OpenKind::Image;
  }
  if (OneOf(extension,
            std::array<std::string_view, 9>{".txt", ".ini", ".asc", ".rtf", ".pas", ".c", ".cpp", ".doc", ".wri"})) {
    return OpenKind::Import;
  }
  if (extension == ".htm" || extension == ".html") return OpenKind::Html;
  return OpenKind::Other;
}

HtmlOpenChoice EffectiveHtmlOpenChoice(HtmlOpenChoice chosen, bool nativeExists) {
  if (nativeExists) return chosen;
  switch (chosen) {
    case HtmlOpenChoice::EditNative:
    case HtmlOpenChoice::CopyOfNative: return HtmlOpenChoice::EditPageSet;
    case HtmlOpenChoice::NewWithNativePage: return HtmlOpenChoice::NewWithPage;
    case HtmlOpenChoice::InsertNativePage: return HtmlOpenChoice::InsertPage;
    default: return chosen;
  }
}

DroppedFiles ClassifyDroppedFiles(const std::vector<std::string>& dropped) {
  DroppedFiles result;
  if (dropped.empty()) return result;
  result.kind = OpenKindOf(dropped.front());
  result.files.push_back(dropped.front());
  if (result.kind == OpenKind::Import || result.kind == OpenKind::Html) {
    for (std::size_t i = 1; i < dropped.size(); ++i) {
      const OpenKind kind = OpenKindOf(dropped[i]);
      if (kind == OpenKind::Import || kind == OpenKind::Html) result.files.push_back(dropped[i]);
    }
  }
  return result;
}

int SaveKind(const std::filesystem::path& file, int chosen) {
  const std::string extension = Extension(file);
  if (extension == ".aeh") return 1;
  if (OneOf(extension, std::array<std::string_view, 5>{".txt", ".c", ".pas", ".asc", ".ini"})) return 5;
  return chosen;
}

bool InFolder(const std::filesystem::path& file, const std::filesystem::path& folder) {
  const std::filesystem::path parent = file.parent_path().lexically_normal();
  const std::filesystem::path wanted = folder.lexically_normal();
  auto trimmed = [](std::string text) {
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
  };
  return base::SameText(trimmed(parent.string()), trimmed(wanted.string()));
}

std::filesystem::path FindExamplesFolder(const std::filesystem::path& programFolder) {
  const std::filesystem::path beside = programFolder / "es_aeh";
  const std::filesystem::path installed = programFolder.parent_path() / "share" / "tarn" / "es_aeh";
  std::error_code error;
  if (std::filesystem::is_directory(beside, error)) return beside;
  if (std::filesystem::is_directory(installed, error)) return installed;
  return beside;
}

std::string DocumentCaption(const std::string& fileName, const std::filesystem::path& examplesFolder,
                            std::string_view title) {
  const std::filesystem::path path(fileName);
  std::string caption = path.filename().string();
  if (caption.empty()) caption = fileName;
  if (!examplesFolder.empty() && InFolder(path, examplesFolder)) caption += " [example]";
  return caption + " - " + std::string(title);
}

}  // namespace tarn::app
