// What an HTML import reports, and the limits of the link crawler.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tarn::convert {

struct HtmlImportReport {
  int pages = 0;
  int images = 0;  // image records added (an equal image already there is not counted)
  int styles = 0;  // paragraph styles added
  // Characters the document's code page lacks, each replaced by "?".
  int replacedCharacters = 0;
  // References that could not be followed: images and style sheets that
  // could not be read, linked files that are missing; one line each.
  std::vector<std::string> skipped;
  // Files that could not be read, with the reason.
  std::vector<std::string> unreadable;
  // The pages made, in the order of the files.
  std::vector<int> pageIndexes;
};

struct CrawlLimits {
  int depth = 10;         // levels of links followed from the start file
  int maxPages = 1000;    // files listed at most, the start file included
  bool allowOutside = false;  // follow links out of the start file's folder tree
};

struct CrawlResult {
  // The start file first, then the files reached, level by level.
  std::vector<std::filesystem::path> files;
  // Linked files that do not exist or cannot be read.
  std::vector<std::filesystem::path> missing;
  // Links not followed: out of the folder tree, or past the page limit.
  int outside = 0;
  int overLimit = 0;
};

}  // namespace tarn::convert
