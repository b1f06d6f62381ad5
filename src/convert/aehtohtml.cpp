// The HTML converter: export runs, output file names, the style sheet, the
// page document and its head, redirect files and the page marker. The walk
// over a page's text is in htmlbody.cpp.
#include "convert/aehtohtml.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "base/filestream.h"
#include "base/hex.h"
#include "base/winpath.h"
#include "convert/htmlwords.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "richtext/styles.h"

namespace tarn::convert {
namespace fs = std::filesystem;
using namespace document;
using namespace document::field;
namespace {

constexpr std::string_view kStyleSheetHead = "/* Lanternfield Tarn automatic CSS */\r\n\r\n";
constexpr std::string_view kGenerator = "Lanternfield Tarn 3.0";
constexpr std::string_view kPageMarker = "<!--pageTarn=\"";
constexpr std::string_view kUtf8Declaration = "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">\r\n";
constexpr std::string_view kImagesFolder = "images/";
constexpr int kMarkerLines = 100;
constexpr std::int64_t kCopyChunk = 1 << 20;

// A failure that ends an export run: a folder or file that cannot be made.
class ExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string SystemError(int error) { return std::strerror(error); }

TAEHoggetto* LivePage(const TAEHset& set, std::int64_t index) {
  TAEHoggetto* page = set.GetObject(testoHtml, index);
  return page != nullptr && !page->IsFree() ? page : nullptr;
}

TAEHoggetto* Live(const TAEHset& set, ObjectId id) {
  TAEHoggetto* object = set.GetObjectById(id);
  return object != nullptr && !object->IsFree() ? object : nullptr;
}

bool HasData(const TAEHoggetto& record) {
  const int kind = record.Kind();
  return kind == zipLink || kind == genLink || kind == immagine || kind == mappaClic;
}

// The stored file name without any folder; stored names come from other
// machines and must never lead out of the output folder.
std::string StoredName(const TAEHoggetto& record) {
  std::string name = base::ExtractFileName(record.FileName());
  if (name == "." || name == "..") name.clear();
  return name;
}

void ConvertOlderPage(TAEHoggetto& page) {
  if (page.Kind() != testoHtml || page.U8(kPageGeneration) != 1) return;
  if (TAEHset* set = page.Owner(); set != nullptr && set->OlderTextConverter) set->OlderTextConverter(page);
}

std::string ScriptBlock(int flags) {
  std::string s = "<SCRIPT>\r\n<!--//\r\n";
  if (flags & kBrowserDetection) {
    s += "\r\nTarnC_bname = navigator.appName;\r\nTarnC_bver = parseFloat(navigator.appVersion);\r\n";
  }
  if (flags & kRollOverSupport) {
    s += "\r\nTarnC_SensOk ='false';\r\nif (TarnC_bver >= 3.0) { TarnC_SensOk = 'true' } \r\n\r\n"
         "function TarnF_over(img,ref)\r\n{\r\n  if (TarnC_SensOk=='true') { document.images[img].src = ref }\r\n}\r\n";
  }
  if (flags & kOpenWindowScript) {
    s += "\r\nfunction TarnF_open(newURL, newName, newFeatures, orgName) \r\n{\r\n"
         "  var remote = open(newURL, newName, newFeatures);\r\n"
         "  if (remote.opener == null) remote.opener = window;\r\n"
         "  remote.opener.name = orgName;\r\n}\r\n";
  }
  if (flags & kOpenBrowserScript) {
    s += "\r\nfunction TarnF_openB(newURL) \r\n{\r\n  var remote = open(newURL);\r\n}\r\n";
  }
  if (flags & kCloseWindowScript) {
    s += "\r\nfunction TarnF_close(finName)\r\n{\r\n  TarnC_tmp=open('', finName);\r\n  TarnC_tmp.close( );\r\n}\r\n";
  }
  s += "\r\n//-->\r\n</SCRIPT>\r\n";
  return s;
}

// The additional HTML name of a page, or nothing. A length beyond the field
// is an unset field (records start filled with 0xFF), not a name; a name of
// blanks is no name; and only the last part of a name is used, since a
// folder in it could lead out of the export folder.
std::string RedirectName(const TAEHoggetto& page) {
  if (page.U8(kPageHtmlName) > kPageHtmlNameCapacity) return {};
  std::string name = base::ExtractFileName(page.Str(kPageHtmlName, kPageHtmlNameCapacity));
  if (name.find_first_not_of(' ') == std::string::npos || name == "." || name == "..") return {};
  return name;
}

// A style name inside a CSS comment: "*/" would end the comment early.
std::string CommentSafe(std::string text) {
  for (std::size_t at = text.find("*/"); at != std::string::npos; at = text.find("*/", at)) text[at] = '_';
  return text;
}

}  // namespace

// ---- The base operations ----

void TAEHtoHtml::ConvertText(std::string_view /*markup*/, std::string& /*out*/) {}

void TAEHtoHtml::ConvertPaste(std::string_view /*source*/, std::string& /*container*/, int /*codeMode*/,
                              int /*styleNumber*/) {}

// ---- Runs ----

template <typename Steps>
bool TAEHtoHtml::Run(Steps steps) {
  SetErrorText({});
  m_readyFolder.clear();
  try {
    if (LinkedAEHset() == nullptr) throw ExportError("No hypertext to export.");
    steps();
  } catch (const std::exception& e) {
    SetErrorText(e.what());
  }
  m_files = nullptr;
  m_frameless = nullptr;
  m_pageWritten = nullptr;
  return ErrorText().empty();
}

void TAEHtoHtml::PrepareRun() {
  std::error_code ec;
  fs::create_directories(ExportPath, ec);
  if (ec || !fs::is_directory(ExportPath)) {
    throw ExportError("Error creating directory: \"" + ExportPath.string() + "\" " +
                      (ec ? ec.message() : std::string("not a folder")));
  }
  if (!WriteStyleSheet()) throw ExportError(ErrorText());
}

fs::path TAEHtoHtml::OutputPath(const std::string& relativeName) const {
  const fs::path relative = fs::path(relativeName).lexically_normal();
  bool inside = !relativeName.empty() && relative.is_relative() && !relative.has_root_name();
  for (const auto& part : relative) inside = inside && part != "..";
  if (!inside) throw ExportError("Refused to write outside the export folder: " + relativeName);
  return ExportPath / relative;
}

void TAEHtoHtml::EnsureFolder(const std::string& relativeName) {
  const fs::path relativeFolder = fs::path(relativeName).lexically_normal().parent_path();
  const fs::path key = relativeFolder.empty() ? fs::path(".") : relativeFolder;
  // Most files of a run go into one or two folders: each is checked once.
  if (key == m_readyFolder) return;
  std::error_code ec;
  if (!fs::is_directory(ExportPath, ec)) {
    fs::create_directories(ExportPath, ec);
    if (ec) throw ExportError("Error creating directory: \"" + ExportPath.string() + "\" " + ec.message());
  }
  fs::path folder = ExportPath;
  for (const auto& part : relativeFolder) {
    folder /= part;
    struct stat st {};
    bool exists = ::lstat(folder.c_str(), &st) == 0;
    // A folder of the output that is a link would send what is written into
    // it somewhere else: the link goes, and a folder takes its place.
    if (exists && S_ISLNK(st.st_mode)) {
      if (::unlink(folder.c_str()) != 0) {
        throw ExportError("Error creating directory: \"" + folder.string() + "\" " + SystemError(errno));
      }
      exists = false;
    }
    if (exists && !S_ISDIR(st.st_mode)) {
      throw ExportError("Error creating directory: \"" + folder.string() + "\" " + SystemError(EEXIST));
    }
    if (!exists && ::mkdir(folder.c_str(), 0777) != 0) {
      throw ExportError("Error creating directory: \"" + folder.string() + "\" " + SystemError(errno));
    }
  }
  m_readyFolder = key;
}

void TAEHtoHtml::WriteOutput(const std::string& relativeName, std::string_view bytes) {
  const fs::path path = OutputPath(relativeName);
  EnsureFolder(relativeName);
  base::WriteFile out;
  // Never through a link: a file of the output that is a link to something
  // elsewhere is replaced, not what it points at.
  if (!out.CreateReplacingLinks(path)) {
    throw ExportError("Cannot create " + path.string() + ": " + SystemError(out.Error()));
  }
  if (!out.Write(bytes)) throw ExportError("Cannot write " + path.string() + ": " + SystemError(out.Error()));
  if (!out.Close()) throw ExportError("Cannot write " + path.string() + ": " + SystemError(out.Error()));
}

void TAEHtoHtml::ExportMainPages(const std::vector<int>& pages, RecordList& frameless, RecordList& files,
                                 bool redirects, RecordList* exported) {
  std::string document;
  const int total = static_cast<int>(pages.size());
  for (int i = 0; i < total; ++i) {
    TAEHoggetto* page = LivePage(*LinkedAEHset(), pages[static_cast<std::size_t>(i)]);
    if (page == nullptr) continue;
    ReportProgress(i, total, kPhasePages);
    document.clear();
    ExportPage(*page, document, &frameless, files, kMainName);
    WriteOutput(OutputFileName(*page, kMainName), document);
    if (exported != nullptr) exported->Add(page);
    if (redirects) WriteRedirectFile(*page, ExportPath);
    ProcessPendingEvents();
    if (Cancelled()) throw ExportError(kExportCancelled);
  }
}

void TAEHtoHtml::ExportFramelessPages(RecordList& frameless, RecordList& files, RecordList* exported) {
  std::string document;
  const int total = static_cast<int>(frameless.Size());
  for (int i = 0; i < total; ++i) {
    TAEHoggetto* page = frameless[static_cast<std::size_t>(i)];
    ReportProgress(i, total, kPhaseFrameless);
    document.clear();
    // A frameless page adds nothing further to the frameless list.
    ExportPage(*page, document, nullptr, files, kFramelessName);
    WriteOutput(OutputFileName(*page, kFramelessName), document);
    if (exported != nullptr) exported->Add(page);
    ProcessPendingEvents();
    if (Cancelled()) throw ExportError(kExportCancelled);
  }
}

void TAEHtoHtml::CopyFileRecords(const RecordList& files) {
  const int total = static_cast<int>(files.Size());
  for (int i = 0; i < total; ++i) {
    const TAEHoggetto& record = *files[static_cast<std::size_t>(i)];
    ReportProgress(i, total, kPhaseFiles);
    if (CopyFileFilter && !CopyFileFilter(record)) continue;
    const std::string name = OutputFileName(record, kFileObjectName);
    const fs::path path = OutputPath(name);
    EnsureFolder(name);
    const DataBlock& content = record.Content();
    if (content.source == DataBlock::Source::Document && record.Owner() != nullptr) {
      // Large payloads are copied in pieces straight from the document.
      base::WriteFile out;
      if (!out.CreateReplacingLinks(path)) {
        throw ExportError("Cannot create " + path.string() + ": " + SystemError(out.Error()));
      }
      const base::ReadFile& doc = record.Owner()->DocumentFile();
      std::string chunk;
      for (std::int64_t at = 0; at < content.length; at += kCopyChunk) {
        const std::int64_t n = std::min(kCopyChunk, content.length - at);
        if (!doc.ReadAt(content.offset + at, n, chunk)) {
          throw ExportError("Cannot read the data of " + name + " from " + record.Owner()->AEHFileName().string());
        }
        if (!out.Write(chunk)) {
          throw ExportError("Cannot write " + path.string() + ": " + SystemError(out.Error()));
        }
      }
      if (!out.Close()) throw ExportError("Cannot write " + path.string() + ": " + SystemError(out.Error()));
    } else if (content.Present() || !record.FilePath().empty()) {
      const auto bytes = record.ReadContent();
      if (!bytes) throw ExportError("Cannot read the data of " + name + " from " + record.FilePath().string());
      WriteOutput(name, *bytes);
    } else {
      // A record that holds no data gives an empty file, so links to it
      // still find a file.
      WriteOutput(name, {});
    }
    ProcessPendingEvents();
    if (Cancelled()) throw ExportError(kExportCancelled);
  }
}

bool TAEHtoHtml::ExportPageList(const std::vector<int>& pages) {
  return Run([&] {
    PrepareRun();
    RecordList frameless;
    RecordList files;
    ExportMainPages(pages, frameless, files, false, nullptr);
    ExportFramelessPages(frameless, files, nullptr);
    CopyFileRecords(files);
  });
}

bool TAEHtoHtml::ExportSite(const std::vector<int>& pages) {
  return Run([&] {
    PrepareRun();
    RecordList frameless;
    RecordList files;
    ExportMainPages(pages, frameless, files, true, nullptr);
    ExportFramelessPages(frameless, files, nullptr);
    CopyFileRecords(files);
  });
}

bool TAEHtoHtml::ExportAllPages(RecordList& files) {
  return Run([&] {
    PrepareRun();
    std::vector<int> pages;
    for (int i = 0; i < LinkedAEHset()->CountOf(testoHtml); ++i) pages.push_back(i);
    RecordList frameless;
    ExportMainPages(pages, frameless, files, false, nullptr);
    ExportFramelessPages(frameless, files, nullptr);
  });
}

bool TAEHtoHtml::ExportSinglePage(int page, RecordList& files, RecordList& exportedPages) {
  return Run([&] {
    PrepareRun();
    TAEHoggetto* record = LivePage(*LinkedAEHset(), page);
    if (record == nullptr) return;
    ReportProgress(1, 1, kPhasePages);
    RecordList frameless;
    std::string document;
    ExportPage(*record, document, &frameless, files, kMainName);
    WriteOutput(OutputFileName(*record, kMainName), document);
    exportedPages.Add(record);
    ExportFramelessPages(frameless, files, &exportedPages);
  });
}

bool TAEHtoHtml::CopyFiles(const RecordList& files) {
  return Run([&] { CopyFileRecords(files); });
}

// ---- Names ----

std::string TAEHtoHtml::PageExtension() const { return ExpTipoExt == 0 ? ".htm" : ".html"; }

std::string TAEHtoHtml::StyleSheetName() const { return ExportPrefix() + "_style.css"; }

std::string TAEHtoHtml::OutputFileName(const TAEHoggetto& record, int nameKind) const {
  const TAEHset* set = LinkedAEHset();
  const std::string prefix = ExportPrefix();
  const std::string folder = ExpSepImage ? std::string(kImagesFolder) : std::string();
  switch (record.Kind()) {
    case testoHtml: {
      static constexpr std::string_view kSeparators[] = {"_", "-", "="};
      const std::string_view separator = kSeparators[nameKind >= 0 && nameKind <= 2 ? nameKind : 0];
      const bool start = set != nullptr && record.Index() == set->HeaderI32(header::kCoverPage);
      return prefix + std::string(separator) + (start ? std::string("index") : Hex6(record.Index())) +
             PageExtension();
    }
    case immagine:
    case mappaClic: {
      const std::string stored = StoredName(record);
      if (ExpOrigName && !stored.empty()) return folder + stored;
      return folder + prefix + "_i" + Hex6(record.Index()) + base::ExtractFileExt(stored);
    }
    case zipLink:
    case genLink: {
      const std::string stored = StoredName(record);
      const std::string ext = base::LowerCase(base::ExtractFileExt(stored));
      // Java classes and QuickTime movies are found by their names.
      const bool keep = ExpOrigName || ext.find(".cla") != std::string::npos || ext.find(".mov") != std::string::npos;
      if (keep && !stored.empty()) return folder + stored;
      return folder + prefix + "_g" + Hex6(record.Index()) + base::ExtractFileExt(stored);
    }
    case immagineNew: {
      const TAEHoggetto* image = set != nullptr ? set->GetObject(immagine, IndexOf(record.I32(kPlacedImage))) : nullptr;
      return image != nullptr && record.I32(kPlacedImage) >= 0 ? OutputFileName(*image, nameKind) : std::string();
    }
    case internetLink: return ExternalLinkName(record);
    default: return {};
  }
}

std::string TAEHtoHtml::ExternalLinkName(const TAEHoggetto& link) const {
  const std::string url = link.Str(kLinkUrl, kLinkUrlCapacity);
  const TAEHset* set = LinkedAEHset();
  if (set == nullptr || !url.starts_with(kInternalScheme)) return url;
  const InternalUrl target = ParseInternalUrl(*set, url);
  if (target.sameFile) {
    // A link into this very hypertext names the page as this run writes it.
    const int page = target.page == kNoPageGiven ? set->HeaderI32(header::kCoverPage) : target.page;
    const TAEHoggetto* record = LivePage(*set, page);
    return record != nullptr ? OutputFileName(*record, kMainName) : std::string();
  }
  // The folder of the other hypertext relative to this one. Drive letters
  // only matter for names written on Windows: on different drives the other
  // folder stays absolute.
  std::string folder;
  const std::string own = set->AEHFileName().string();
  const fs::path otherFolder = base::ToLocalPath(target.file).parent_path();
  const bool ownDrive = own.size() >= 2 && own[1] == ':';
  const bool otherDrive = target.file.size() >= 2 && target.file[1] == ':';
  if (ownDrive && otherDrive && base::Cp1252Upper(own[0]) != base::Cp1252Upper(target.file[0])) {
    folder = otherFolder.generic_string();
  } else {
    const fs::path relative = otherFolder.lexically_relative(set->AEHFileName().parent_path());
    folder = relative.empty() ? otherFolder.generic_string() : relative.generic_string();
    if (folder == ".") folder.clear();
  }
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder + ExportedPageName(target.file, target.page, PageExtension());
}

// ---- Style sheet ----

int TAEHtoHtml::PixelsPerInch() const {
  TAEHset* set = LinkedAEHset();
  return set != nullptr && set->Services().system != nullptr ? set->Services().system->ScreenPixelsPerInch() : 96;
}

std::string TAEHtoHtml::StyleRules(const TAEHoggetto& style, int number) const {
  using namespace richtext::stylefield;
  const richtext::TMyFont font = richtext::StyleFont(&style);
  const int unit = style.U8(kUnit);
  const int ppi = PixelsPerInch();
  auto length = [&](int at) { return LengthInUnit(style.I16(at), unit, ppi); };
  std::string s = "/* " + CommentSafe(style.Str(kName, kFaceCapacity)) + " */\r\n";
  s += "DIV.s" + std::to_string(number) + " {\r\n";
  s += "\tfont-family:\"" + font.face + "\";\r\n";
  s += "\tfont-size:" + std::to_string(font.size) + "pt;\r\n";
  s += "\tcolor:#" + HtmlColour(font.colour) + ";\r\n";
  if (font.style & 2) s += "\tfont-style:italic;\r\n";
  if (font.style & 1) s += "\tfont-weight:bold;\r\n";
  if (font.style & 4) s += "\ttext-decoration:underline;\r\n";
  else if (font.style & 8) s += "\ttext-decoration:line-through;\r\n";
  if (style.I16(kLineHeight) != richtext::kAutomaticLineHeight) s += "\tline-height:" + length(kLineHeight) + ";\r\n";
  s += "\tmargin-left:" + length(kLeftMargin) + ";\r\n";
  s += "\tmargin-right:" + length(kRightMargin) + ";\r\n";
  s += "\tmargin-top:" + length(kSpaceBefore) + ";\r\n";
  s += "\tmargin-bottom:" + length(kSpaceAfter) + ";\r\n";
  s += "\ttext-indent:" + length(kIndent) + ";\r\n";
  s += "\ttext-align:" + std::string(AlignmentWord(style.U8(kAlignment))) + ";\r\n";
  const int list = style.U8(kListKind);
  s += list == 6 ? "\tlist-style-type:decimal;" : list == 10 ? "\tlist-style-type:disc;" : "\tlist-style-type:none;";
  s += "\t}\r\n";

  const int linkFlags = style.U8(kLinkStyle);
  s += "A.s" + std::to_string(number) + " {\r\n";
  s += "\tcolor:#" + HtmlColour(static_cast<std::uint32_t>(style.I32(kLinkColour))) + ";\r\n";
  if (style.I16(kLinkSize) > 0) s += "\tfont-size:" + std::to_string(style.I16(kLinkSize)) + "pt;\r\n";
  if (linkFlags & 2) s += "\tfont-style:italic;\r\n";
  if (linkFlags & 1) s += "\tfont-weight:bold;\r\n";
  if (!(linkFlags & 4)) s += "\ttext-decoration:none;\r\n";
  else if (linkFlags & 8) s += "\ttext-decoration:line-through;\r\n";
  s += "\t}\r\n";
  return s;
}

bool TAEHtoHtml::WriteStyleSheet() {
  const TAEHset* set = LinkedAEHset();
  if (set == nullptr) {
    SetErrorText("No hypertext to export.");
    return false;
  }
  m_readyFolder.clear();
  // Metrics of the style fonts are not needed: nothing written depends on them.
  std::string css(kStyleSheetHead);
  for (int n = 0; n < set->CountOf(stileParagrafo); ++n) {
    const TAEHoggetto* style = set->GetObject(stileParagrafo, n);
    if (style != nullptr && !style->IsFree()) css += StyleRules(*style, n);
  }
  try {
    std::error_code ec;
    fs::create_directories(ExportPath, ec);
    if (ec) throw ExportError("Error creating directory: \"" + ExportPath.string() + "\" " + ec.message());
    WriteOutput(StyleSheetName(), Encoded(css, {}));
  } catch (const std::exception& e) {
    SetErrorText(e.what());
    return false;
  }
  return true;
}

// ---- The page document ----

const TAEHoggetto* TAEHtoHtml::HeaderOrFooter(const TAEHoggetto& page, bool footer) const {
  const TAEHset& set = *LinkedAEHset();
  std::int32_t choice = page.I32(footer ? kPageFooterChoice : kPageHeaderChoice);
  if (choice == -1) choice = set.HeaderI32(footer ? header::kFooterPage : header::kHeaderPage);
  if (choice < 0) return nullptr;
  const TAEHoggetto* other = LivePage(set, IndexOf(choice));
  // A page is never its own header or footer (the header page itself would
  // otherwise repeat its text).
  return other != &page ? other : nullptr;
}

std::string TAEHtoHtml::HeadPart(TAEHoggetto& page) {
  const TAEHset& set = *LinkedAEHset();
  std::string head = DocumentStart(page);
  std::string keywords;
  for (int i = 0; i < kPageKeywordSlots; ++i) {
    const std::int32_t slot = page.I32(kPageKeywords + 4 * i);
    const TAEHoggetto* word = slot >= 0 ? set.GetObject(keyword, slot) : nullptr;
    if (word != nullptr && !word->IsFree()) keywords += word->Str(kKeywordText, kKeywordCapacity) + ",";
  }
  if (!keywords.empty()) head += "<META NAME=\"keywords\" CONTENT=\"" + keywords + "\">\r\n";
  const std::int32_t slide = page.I32(kPageSlideTarget);
  if (const TAEHoggetto* target = slide != -1 ? Live(set, slide) : nullptr; target != nullptr) {
    head += "<META HTTP-EQUIV=\"refresh\" CONTENT=\"" + std::to_string(page.I16(kPageSlideDelay)) +
            ";URL=" + OutputFileName(*target, kMainName) + "\">\r\n";
  }
  head += ExpandObjectReferences(page);
  head += MarkerLine(page);
  const std::string authors = set.HeaderString(header::kAuthors, header::kTextCapacity);
  if (!authors.empty()) head += "<META NAME=\"author\" CONTENT=\"" + authors + "\">\r\n";
  const std::string copyright = set.HeaderString(header::kCopyright, header::kTextCapacity);
  if (!copyright.empty()) head += "<META NAME=\"copyright\" CONTENT=\"" + copyright + "\">\r\n";
  head += "<META NAME=\"generator\" CONTENT=\"" + std::string(kGenerator) + "\">\r\n";
  head += "<LINK REL=STYLESHEET HREF=\"" + StyleSheetName() + "\" TYPE=\"text/css\">\r\n";
  return head;
}

void TAEHtoHtml::ExportPage(TAEHoggetto& page, std::string& out, RecordList* frameless, RecordList& files,
                            int nameKind) {
  if (LinkedAEHset() == nullptr) return;
  const TAEHset& set = *LinkedAEHset();
  m_files = &files;
  m_frameless = frameless;
  m_nameKind = nameKind;
  m_scriptFlags = 0;
  m_rollOver.Clear();
  m_pageWritten = &page;
  ConvertOlderPage(page);

  const std::string head = HeadPart(page);

  // The body goes first into memory: the head's script block depends on
  // what the body needs.
  std::string body;
  bool frameSet = false;
  if (nameKind == kMainName && FrameSetWriter) {
    const std::int32_t map = page.I32(kPageFrameMap);
    const TAEHoggetto* frameMap = map >= 0 ? set.GetObject(mappaFrame, map) : nullptr;
    if (frameMap != nullptr && !frameMap->IsFree()) {
      frameSet = FrameSetWriter(*this, page, *frameMap, body, frameless);
      if (frameSet) body += "\r\n<NOFRAMES>\r\n";
    }
  }
  const TAEHoggetto* header = HeaderOrFooter(page, false);
  const TAEHoggetto* footer = HeaderOrFooter(page, true);
  if (header != nullptr) {
    WriteBody(body, kBodyTagOnly, page);
    WriteBody(body, kTextOnly, const_cast<TAEHoggetto&>(*header));
    WriteBody(body, kTextOnly, page);
  } else {
    WriteBody(body, kBodyAndText, page);
  }
  if (footer != nullptr) WriteBody(body, kFooterText, const_cast<TAEHoggetto&>(*footer));

  std::string document = head;
  if (m_scriptFlags != 0) document += ScriptBlock(m_scriptFlags);
  document += "</HEAD>\r\n";
  document += body;
  if (!m_rollOver.Empty()) {
    document += "\r\n<SCRIPT>\r\n<!--//\r\n  if (TarnC_SensOk == 'true')\r\n  {";
    for (std::size_t i = 0; i < m_rollOver.Size(); ++i) {
      const std::string n = std::to_string(i);
      document += "\r\n  TarnP_" + n + "= new Image();";
      document += "\r\n  TarnP_" + n + ".src=\"" + OutputFileName(*m_rollOver[i], nameKind) + "\";";
    }
    document += "\r\n  }\r\n//-->\r\n</SCRIPT>\r\n";
  }
  if (frameSet) document += "</NOFRAMES>";
  document += "\r\n</BODY></HTML>\r\n";
  out += Encoded(document, MarkerLine(page));
}

std::string TAEHtoHtml::DocumentStart(const TAEHoggetto& page) const {
  // The declaration comes first, so that a browser reads the title in the
  // right code already.
  return "<HTML><HEAD>\r\n" + std::string(ExpUtf8 ? kUtf8Declaration : std::string_view()) + "<TITLE>" +
         page.Str(kPageTitle, kPageTitleCapacity) + "\r\n</TITLE>\r\n";
}

std::string TAEHtoHtml::MarkerLine(const TAEHoggetto& page) const {
  return std::string(kPageMarker) + std::to_string(page.Index()) + ";" + LinkedAEHset()->AEHFileName().string() +
         "\"-->\r\n";
}

std::string TAEHtoHtml::Encoded(std::string_view document, std::string_view kept) const {
  if (!ExpUtf8) return std::string(document);
  // The hypertext's file name in the marker is a name of this file system,
  // already in its own encoding: it stays byte for byte, so that the marker
  // names the file that exists.
  const std::size_t at = kept.empty() ? std::string_view::npos : document.find(kept);
  if (at == std::string_view::npos) return base::Cp1252ToUtf8(document);
  return base::Cp1252ToUtf8(document.substr(0, at)) + std::string(kept) +
         base::Cp1252ToUtf8(document.substr(at + kept.size()));
}

// ---- Redirect files and the page marker ----

std::string TAEHtoHtml::WriteRedirectPage(const TAEHoggetto& page, const fs::path& folder) {
  try {
    return WriteRedirectFile(page, folder);
  } catch (const std::exception& e) {
    SetErrorText(e.what());
    return {};
  }
}

std::string TAEHtoHtml::WriteRedirectFile(const TAEHoggetto& page, const fs::path& folder) {
  const TAEHset* set = LinkedAEHset();
  const std::string name = RedirectName(page);
  if (set == nullptr || name.empty()) return {};
  const std::string target = OutputFileName(page, kMainName);
  std::string html = DocumentStart(page) + MarkerLine(page);
  html += "<META HTTP-EQUIV=\"refresh\" CONTENT=\"0;URL=" + target + "\">\r\n";
  html += "</HEAD>\r\n<BODY";
  const std::int32_t background = page.I32(kPageBgImage);
  if (const TAEHoggetto* image = background >= 0 ? set->GetObject(immagine, IndexOf(background)) : nullptr;
      image != nullptr && !image->IsFree()) {
    html += " BACKGROUND=\"" + OutputFileName(*image, kMainName) + "\"";
  }
  html += " TEXT=#" + HtmlColour(static_cast<std::uint32_t>(page.I32(kPageTextColour))) +
          " LINK=#" + HtmlColour(static_cast<std::uint32_t>(page.I32(kPageLinkColour))) +
          " VLINK=#" + HtmlColour(static_cast<std::uint32_t>(page.I32(kPageVisitedColour))) +
          " BGCOLOR=#" + HtmlColour(static_cast<std::uint32_t>(page.I32(kPageBgColour))) + ">\r\n";
  html += "<A HREF=\"" + target + "\">Loading...</A>\r\n</BODY></HTML>\r\n";
  const fs::path path = folder / name;
  base::WriteFile out;
  if (!out.CreateReplacingLinks(path) || !out.Write(Encoded(html, MarkerLine(page))) || !out.Close()) {
    throw ExportError("Cannot write " + path.string() + ": " + SystemError(out.Error()));
  }
  return path.string();
}

PageMarker TAEHtoHtml::ReadPageMarker(const fs::path& file) {
  PageMarker marker;
  std::ifstream in(file, std::ios::binary);
  if (!in) return marker;
  std::string line;
  for (int n = 0; n < kMarkerLines && std::getline(in, line); ++n) {
    if (line.find(kPageMarker) == std::string::npos) continue;
    marker.found = true;
    // The marker is taken to start the line.
    const std::string rest = line.size() > kPageMarker.size() ? line.substr(kPageMarker.size()) : std::string();
    const std::size_t semicolon = rest.find(';');
    const std::string number = rest.substr(0, semicolon);
    marker.page = 0;
    if (!number.empty() && number.find_first_not_of("0123456789") == std::string::npos && number.size() <= 9) {
      marker.page = std::stoi(number);
    }
    if (semicolon != std::string::npos) {
      const std::size_t quote = rest.find('"', semicolon + 1);
      const std::string name = rest.substr(semicolon + 1, quote == std::string::npos ? std::string::npos
                                                                                     : quote - semicolon - 1);
      if (base::UpperCase(base::ExtractFileExt(name)) == ".AEH") marker.hypertext = name;
    }
    break;
  }
  return marker;
}

// ---- Object references in extra HTML ----

std::string TAEHtoHtml::ExpandObjectReferences(const TAEHoggetto& record) {
  const std::string_view extra = record.Extra().View();
  if (extra.size() < 4) return {};
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(extra.data()), extra.size());
  const std::int32_t skip = base::GetI32(bytes, 0);
  if (skip < 0 || static_cast<std::size_t>(skip) > extra.size() - 4) return {};
  return ExpandObjectReferences(record, extra.substr(4 + static_cast<std::size_t>(skip)));
}

std::string TAEHtoHtml::ExpandObjectReferences(const TAEHoggetto& record, std::string_view text) {
  constexpr std::size_t kPlaceholder = 14;
  std::string out;
  const TAEHset* set = LinkedAEHset();
  std::size_t pos = 0;
  for (std::size_t at = text.find("!Ref"); at != std::string_view::npos; at = text.find("!Ref", pos)) {
    out.append(text.substr(pos, at - pos));
    const char letter = at + kPlaceholder <= text.size() ? text[at + 4] : '\0';
    bool hex = at + kPlaceholder <= text.size() && text[at + 5] == ':';
    std::uint32_t value = 0;
    for (std::size_t i = 0; hex && i < 8; ++i) {
      const char c = text[at + 6 + i];
      const int d = base::HexDigitValue(c);
      hex = d >= 0;
      value = (value << 4) | static_cast<std::uint32_t>(d < 0 ? 0 : d);
    }
    if (!hex || std::string_view("ILFPXY").find(letter) == std::string_view::npos) {
      out += "!Ref";
      pos = at + 4;
      continue;
    }
    pos = at + kPlaceholder;
    const auto id = static_cast<ObjectId>(value);
    TAEHoggetto* target = set != nullptr ? Live(*set, id) : nullptr;
    switch (letter) {
      case 'I':
      case 'L':
      case 'F':
        if (target != nullptr) {
          out += OutputFileName(*target, kMainName);
          if (target->Kind() != testoHtml) AddToFileList(target);
        }
        break;
      case 'P':
        if (target != nullptr && target->Kind() == testoHtml &&
            std::find(m_pulledPages.begin(), m_pulledPages.end(), target) == m_pulledPages.end()) {
          m_pulledPages.push_back(target);
          WriteBody(out, kTextOnly, *target);
          m_pulledPages.pop_back();
        }
        break;
      case 'X':
      case 'Y':
        if (record.Kind() == multiMedia) {
          out += std::to_string(record.I16(letter == 'X' ? kMediaWidth : kMediaHeight));
          if (record.U8(kMediaPercent) != 0) out += '%';
        }
        break;
      default: break;
    }
  }
  out.append(text.substr(pos));
  return out;
}

void TAEHtoHtml::AddToFileList(TAEHoggetto* record) {
  if (record == nullptr || m_files == nullptr) return;
  // A placed image is copied as the image it shows; records without data
  // (links, pages) have nothing to copy.
  if (record->Kind() == immagineNew && record->Owner() != nullptr) {
    const std::int32_t image = record->I32(kPlacedImage);
    record = image >= 0 ? record->Owner()->GetObject(immagine, IndexOf(image)) : nullptr;
  }
  if (record != nullptr && !record->IsFree() && HasData(*record)) m_files->Add(record);
}

}  // namespace tarn::convert
