// The RTF converter's runs, header, help project and import operations; the
// walk over a page's markup is in rtfexportbody.cpp. See aehtortf.h.
#include "convert/aehtortf.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "base/bytes.h"
#include "base/filestream.h"
#include "base/winpath.h"
#include "convert/htmlwords.h"
#include "convert/rtfexportwords.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "platform/messages.h"
#include "richtext/styles.h"

namespace tarn::convert {

using namespace document;
using namespace document::field;

namespace {

constexpr std::int64_t kLargeBody = 5'000'000;
constexpr std::string_view kLargeQuestion =
    "File greater than 5Mb: maybe slow to read with common wordprocessors. It may be better to export 2-3 page "
    "groups, insteadall-in-one. Continue anyway?";
constexpr std::string_view kBodyFile = "rtfBody.tmp";
constexpr int kContextLength = 20;
constexpr int kWindowContextLength = 8;
constexpr int kHelpTitleLength = 85;
constexpr std::string_view kOutOfMemory =
    "Out of memory reading file. To read file, try to divide text in 2 or 3 chapter, then save it separately.";
constexpr std::string_view kReadProblems =
    "Problems reading files to import. Be sure they aren't in use by another application.";

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

bool ContextCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_';
}

}  // namespace

std::string HelpContext(std::string_view title, int n) {
  const std::string number = std::to_string(n);
  const std::size_t room = kContextLength - 1 - std::min<std::size_t>(number.size(), kContextLength - 1);
  std::string out;
  for (char c : title) {
    if (out.size() >= room) break;
    if (ContextCharacter(c)) out.push_back(c);
  }
  return out + "_" + number;
}

std::string WindowContext(std::string_view window) { return HelpContext(window, 0).substr(0, kWindowContextLength); }

std::string PageBookmark(int page) { return "tarn_" + Hex6(page); }

TAEHtortf::TAEHtortf() : Now(LocalNow) {}
TAEHtortf::~TAEHtortf() = default;

int TAEHtortf::PixelsPerInch() const {
  const TAEHset* set = LinkedAEHset();
  if (set == nullptr) return 96;
  auto* system = const_cast<TAEHset*>(set)->Services().system;
  return system != nullptr ? system->ScreenPixelsPerInch() : 96;
}

int TAEHtortf::Twips(int pixels) const {
  return static_cast<int>(std::lround(static_cast<double>(pixels) * 1440.0 / PixelsPerInch()));
}

void TAEHtortf::StartRun() {
  m_fonts.clear();
  m_fontIndex.clear();
  m_colours.assign(1, 0);  // black comes first
  m_colourIndex.clear();
  m_colourIndex[0] = 1;
  m_styles.clear();
  m_styleIndex.clear();
  m_windows.clear();
  m_bitmapFiles.clear();
  m_bitmapNamesTaken.clear();
  SetErrorText({});
}

// ---- Tables of the header ----

int TAEHtortf::FontNumber(std::string_view face) {
  const std::string key(face);
  const auto found = m_fontIndex.find(key);
  if (found != m_fontIndex.end()) return found->second;
  const int number = static_cast<int>(m_fonts.size());
  m_fonts.push_back(key);
  m_fontIndex.emplace(key, number);
  return number;
}

int TAEHtortf::ColourNumber(std::uint32_t colour) {
  colour &= 0xFFFFFF;
  const auto found = m_colourIndex.find(colour);
  if (found != m_colourIndex.end()) return found->second;
  m_colours.push_back(colour);
  const int number = static_cast<int>(m_colours.size());
  m_colourIndex.emplace(colour, number);
  return number;
}

int TAEHtortf::StyleNumber(int style) {
  const auto found = m_styleIndex.find(style);
  if (found != m_styleIndex.end()) return found->second;
  m_styles.push_back(style);
  const int number = static_cast<int>(m_styles.size());
  m_styleIndex.emplace(style, number);
  return number;
}

const TAEHoggetto* TAEHtortf::StyleRecord(int style) const {
  const TAEHset* set = LinkedAEHset();
  if (set == nullptr) return nullptr;
  const TAEHoggetto* record = set->GetObject(stileParagrafo, style);
  if (record == nullptr || record->IsFree()) record = set->GetObject(stileParagrafo, 0);
  return record;
}

std::string TAEHtortf::WriteHeader() {
  // The style sheet first: its fonts and colours join the tables.
  std::string styles = "{\\stylesheet";
  for (std::size_t i = 0; i < m_styles.size(); ++i) {
    const TAEHoggetto* record = StyleRecord(m_styles[i]);
    styles += "{\\s" + std::to_string(i + 1) + " \\widctlpar " + StyleFormat(m_styles[i]);
    AppendRtfText(styles, record != nullptr ? record->GetCaption() : std::string("Normal"));
    styles += ";}";
  }
  styles += "}";

  std::string out = "{\\rtf1\\ansi\\deff0{\\fonttbl";
  for (std::size_t i = 0; i < m_fonts.size(); ++i) {
    out += "{\\f" + std::to_string(i) + std::string(FontFamily(m_fonts[i])) + " ";
    AppendRtfText(out, m_fonts[i]);
    out += ";}";
  }
  out += "}{\\colortbl;";
  for (std::uint32_t c : m_colours) {
    out += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) + "\\blue" +
           std::to_string((c >> 16) & 0xFF) + ";";
  }
  out += "}" + styles;
  if (!TextMode && LinkedAEHset() != nullptr) {
    TAEHset& set = *LinkedAEHset();
    const std::tm now = Now();
    auto item = [this](std::string_view word, std::string_view value) {
      std::string text = "{" + std::string(word) + " ";
      AppendRtfText(text, value);
      return text + "}";
    };
    std::string user = set.Services().system != nullptr ? set.Services().system->UserName() : std::string();
    out += "{\\info" + item("\\title", set.Title()) + item("\\author", set.HeaderString(header::kAuthors, 79)) +
           item("\\operator", user) + item("\\*\\copyright", set.HeaderString(header::kCopyright, 79)) +
           item("\\company", set.HeaderString(header::kCompany, 79)) + "{\\version" +
           std::to_string(set.Version()) + "}{\\revtim\\yr" + std::to_string(now.tm_year + 1900) + "\\mo" +
           std::to_string(now.tm_mon + 1) + "\\dy" + std::to_string(now.tm_mday) + "\\hr" +
           std::to_string(now.tm_hour) + "\\min" + std::to_string(now.tm_min) + "}}\\widowctrl";
  }
  out += "\\paperw" + std::to_string(PaperWidth) + "\\paperh" + std::to_string(PaperHeight) + "\\margt" +
         std::to_string(TopMargin) + "\\margb" + std::to_string(BottomMargin) + "\\margl" +
         std::to_string(LeftMargin) + "\\margr" + std::to_string(RightMargin) + " ";
  // The tables serve one document.
  m_fonts.clear();
  m_fontIndex.clear();
  m_colours.assign(1, 0);
  m_colourIndex.clear();
  m_colourIndex[0] = 1;
  m_styles.clear();
  m_styleIndex.clear();
  return out;
}

// ---- Runs ----

bool TAEHtortf::WriteFile(const std::filesystem::path& path, std::string_view header, std::string_view body,
                          const std::filesystem::path* bodyFile) {
  base::WriteFile file;
  bool ok = file.Create(path) && file.Write(header);
  if (ok && bodyFile != nullptr) {
    // The body is copied in pieces: it may be large.
    base::ReadFile source;
    ok = source.Open(*bodyFile);
    constexpr std::int64_t kPiece = 1 << 20;
    std::string piece;
    for (std::int64_t at = 0; ok && at < source.Size(); at += kPiece) {
      ok = source.ReadAt(at, std::min(kPiece, source.Size() - at), piece) && file.Write(piece);
    }
  }
  ok = ok && file.Write(body) && file.Write("}") && file.Close();
  if (!ok) {
    const std::string text = "Error writing file " + path.string();
    SetErrorText(text);
    if (LinkedAEHset() != nullptr) LinkedAEHset()->Services().messages->Error(text);
  }
  return ok;
}

bool TAEHtortf::ExportPageList(const std::vector<int>& pages) {
  TAEHset* set = LinkedAEHset();
  if (set == nullptr) return false;
  StartRun();
  m_perPage = false;
  m_exportedPages.clear();
  for (int page : pages) m_exportedPages.insert(page);
  const std::filesystem::path bodyPath = set->TempFileName(kBodyFile);
  base::WriteFile body;
  if (!body.Create(bodyPath)) {
    const std::string text = "Error writing file " + bodyPath.string();
    SetErrorText(text);
    set->Services().messages->Error(text);
    return false;
  }
  std::int64_t written = 0;
  bool asked = false;
  bool ok = true;
  std::int32_t headerChoice = 0;
  std::int32_t footerChoice = 0;
  bool first = true;
  for (std::size_t i = 0; i < pages.size() && ok; ++i) {
    TAEHoggetto* page = set->GetObject(testoHtml, pages[i]);
    if (page == nullptr || page->IsFree()) continue;
    ReportProgress(static_cast<int>(i), static_cast<int>(pages.size()), kPhasePages);
    ProcessPendingEvents();
    if (Cancelled()) {
      ok = false;
      SetErrorText(kExportCancelled);
      break;
    }
    std::string out;
    if (!first) out += WinHelp ? "\\page" : "\\sect\\sectd ";
    if (!WinHelp && (first || page->I32(kPageHeaderChoice) != headerChoice ||
                     page->I32(kPageFooterChoice) != footerChoice)) {
      headerChoice = page->I32(kPageHeaderChoice);
      footerChoice = page->I32(kPageFooterChoice);
      WriteHeaderFooter(out, *page, false);
      WriteHeaderFooter(out, *page, true);
    }
    first = false;
    WriteBody(out, *page, false);
    written += static_cast<std::int64_t>(out.size());
    ok = body.Write(out);
    if (ok && written > kLargeBody && !asked) {
      asked = true;
      if (set->Services().messages->Ask(kLargeQuestion) != platform::Answer::Yes) break;
    }
  }
  ok = body.Close() && ok;
  if (ok) ok = WriteFile(ExportFileName, WriteHeader(), {}, &bodyPath);
  else WriteFile(ExportFileName, WriteHeader(), {}, nullptr);
  std::error_code ec;
  std::filesystem::remove(bodyPath, ec);
  return ok;
}

bool TAEHtortf::ExportSinglePage(int number, RecordList& /*files*/, RecordList& /*exportedPages*/) {
  TAEHset* set = LinkedAEHset();
  if (set == nullptr) return false;
  TAEHoggetto* page = set->GetObject(testoHtml, number);
  if (page == nullptr || page->IsFree()) return true;
  StartRun();
  if (!m_perPage) {
    m_exportedPages.clear();
    m_exportedPages.insert(number);
  }
  std::string body = "{";
  if (!WinHelp) {
    WriteHeaderFooter(body, *page, false, true);
    WriteHeaderFooter(body, *page, true, true);
  }
  WriteBody(body, *page, false);
  body += "}";
  return WriteFile(ExportFileName, WriteHeader(), body, nullptr);
}

bool TAEHtortf::ExportPagesPerFile(const std::vector<int>& pages, std::vector<std::string>* written) {
  TAEHset* set = LinkedAEHset();
  if (set == nullptr) return false;
  m_perPage = true;
  m_exportedPages.clear();
  for (int page : pages) m_exportedPages.insert(page);
  bool ok = true;
  RecordList files;
  RecordList exported;
  for (std::size_t i = 0; i < pages.size() && ok; ++i) {
    const TAEHoggetto* page = set->GetObject(testoHtml, pages[i]);
    if (page == nullptr || page->IsFree()) continue;
    ReportProgress(static_cast<int>(i), static_cast<int>(pages.size()), kPhasePages);
    ProcessPendingEvents();
    if (Cancelled()) {
      SetErrorText(kExportCancelled);
      ok = false;
      break;
    }
    const std::string name = PageFileName(pages[i]);
    ExportFileName = ExportPath / name;
    ok = ExportSinglePage(pages[i], files, exported);
    if (ok && written != nullptr) written->push_back(name);
  }
  m_perPage = false;
  return ok;
}

std::string TAEHtortf::PageFileName(int page) const {
  const TAEHset* set = LinkedAEHset();
  if (set != nullptr && set->HeaderI32(header::kCoverPage) == page) return ExportPrefix() + "index.rtf";
  return ExportPrefix() + Hex6(page) + ".rtf";
}

void TAEHtortf::ConvertText(std::string_view markup, std::string& out) {
  TAEHset* set = LinkedAEHset();
  const bool textMode = TextMode;
  TextMode = true;
  StartRun();
  std::string body;
  if (set != nullptr) WriteMarkup(body, markup);
  out += WriteHeader();
  out += body;
  out += "}";
  out.push_back('\0');
  TextMode = textMode;
}

// ---- The help project ----

bool TAEHtortf::WriteHelpProject(const std::filesystem::path& project, const std::vector<int>& pages) {
  TAEHset* set = LinkedAEHset();
  if (set == nullptr) return false;
  std::string out = "[OPTIONS]\r\n";
  out += "TITLE=" + set->Title().substr(0, kHelpTitleLength) + "\r\n";
  const int cover = set->HeaderI32(header::kCoverPage);
  const TAEHoggetto* coverPage = set->GetObject(testoHtml, cover);
  if (coverPage != nullptr && !coverPage->IsFree()) {
    out += "CONTENTS=" + HelpContext(coverPage->GetCaption(), cover) + "\r\n";
    out += "CITATION=Made with Tarn\r\n";
  }
  out += "[WINDOWS]\r\n";
  for (const std::string& window : m_windows) out += window + "=\"\", auto-size height\r\n";
  out += "[MAP]\r\n";
  for (int page : pages) {
    const TAEHoggetto* record = set->GetObject(testoHtml, page);
    if (record == nullptr || record->IsFree()) continue;
    out += HelpContext(record->GetCaption(), page) + " " + std::to_string(page) + "\r\n";
  }
  out += "\r\n[FILES]\r\n" + ExportFileName.filename().string() + "\r\n";
  out += "[CONFIG]\r\nBROWSEBUTTONS()\r\n";
  if (!base::WriteWholeFile(project, out)) {
    const std::string text = "Error writing file " + project.string();
    SetErrorText(text);
    set->Services().messages->Error(text);
    return false;
  }
  return true;
}

// ---- Import ----

int TAEHtortf::ImportFiles(const std::vector<std::filesystem::path>& files, bool manyPages) {
  TAEHset* set = LinkedAEHset();
  if (set == nullptr) return -1;
  RtfImportOptions options = ImportOptions;
  options.manyPages = manyPages;
  options.clipboard = false;
  TRtfImp run(*set, options, OnExpProgress, this);
  std::string failed;
  SetErrorText({});
  for (std::size_t i = 0; i < files.size(); ++i) {
    ReportProgress(static_cast<int>(i), static_cast<int>(files.size()), kPhasePages);
    ProcessPendingEvents();
    if (Cancelled()) break;
    const std::filesystem::path& file = files[i];
    try {
      std::string bytes;
      if (!base::ReadWholeFile(file, bytes)) {
        failed += "\n" + file.string();
        continue;
      }
      if (!run.ReadDocument(bytes, file.parent_path(), file.stem().string())) {
        // A file that is not RTF ends the import; what was made stays.
        SetErrorText("Not an RTF file: " + file.string());
        break;
      }
    } catch (const std::bad_alloc&) {
      set->Services().messages->Error(kOutOfMemory);
    }
  }
  run.Finish();
  if (!failed.empty()) set->Services().messages->Error(std::string(kReadProblems) + failed);
  m_report = run.Report();
  m_replaced = run.ReplacedCharacters();
  return run.FirstPage();
}

void TAEHtortf::ConvertPaste(std::string_view source, std::string& container, int /*codeMode*/,
                             int /*styleNumber*/) {
  TAEHset* set = LinkedAEHset();
  RtfImportOptions options = ImportOptions;
  options.clipboard = true;
  options.manyPages = false;
  options.headingsCut = false;
  options.paragraphsPerPage = 0;
  if (set != nullptr) {
    TRtfImp run(*set, options);
    if (run.ReadDocument(source, {}, {})) {
      run.Finish();
      m_replaced = run.ReplacedCharacters();
      container += run.Container(!PasteTextOnly);
      return;
    }
  }
  // Not RTF: an empty text.
  for (std::int32_t v : {1, 0, 0, 0, 1}) base::AppendI32(container, v);
  container += "<Z S0 >";
  container.push_back('\0');
}

}  // namespace tarn::convert
