// tarn-cli print: the print dialog's run without a display. The pages listed
// (all pages in the default order when none are) print into one PDF file,
// each page starting on a new sheet, with the main window's page setup
// (A4, 25 mm margins unless told).
#include "print.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "export.h"
#include "platform/memorysettings.h"
#include "platform/qt/qtpagedprinter.h"
#include "print/pagesetupdialog.h"
#include "print/printlist.h"
#include "render.h"
#include "richtext/pagetext.h"

namespace tarn::cli {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// Margins beyond a metre are a typing mistake, not a page setup.
constexpr double kLargestMargin = 1000.0;

bool ParseNumber(const std::string& text, double& out) {
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return !text.empty() && end != text.c_str() && *end == '\0' && std::isfinite(out);
}

}  // namespace

int Print(const std::vector<std::string>& args) {
  std::string file;
  std::string pdf;
  std::vector<int> pages;
  bool all = false;
  double margins = print::kDefaultMargin / 100.0;
  double imageScale = print::kDefaultImageScale;
  bool background = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--pdf" && hasValue) {
      pdf = args[++i];
    } else if (a == "--pages" && hasValue) {
      if (!ParsePages(args[++i], pages)) return kExitUsage;
    } else if (a == "--all") {
      all = true;
    } else if (a == "--margins" && hasValue) {
      if (!ParseNumber(args[++i], margins) || margins < 0 || margins > kLargestMargin) return kExitUsage;
    } else if (a == "--image-scale" && hasValue) {
      if (!ParseNumber(args[++i], imageScale) || imageScale < print::kMinImageScale ||
          imageScale > print::kMaxImageScale) {
        return kExitUsage;
      }
    } else if (a == "--no-background") {
      background = false;
    } else if (a.starts_with("--") || !file.empty()) {
      return kExitUsage;
    } else {
      file = a;
    }
  }
  if (file.empty() || pdf.empty() || (all && !pages.empty())) return kExitUsage;

  DrawingSession session;
  document::TAEHset& set = session.set;
  CliMessages& messages = session.messages;
  if (!set.LoadFromFile(file)) return kExitFailed;

  print::PrintList list(set);
  if (pages.empty()) {
    list.AllInDefaultOrder();
  } else {
    for (int page : pages) {
      if (richtext::LivePage(set, page, messages) == nullptr) return kExitFailed;
      list.Add(document::MakeObjectId(document::testoHtml, page));
    }
  }
  if (list.Empty()) {
    messages.Error("The hypertext has no pages to print.");
    return kExitFailed;
  }

  platform::qt::QtPdfPrinter printer(pdf);
  platform::MemorySettings settings;
  print::TPageSetupDialog setup(printer, settings, messages);
  setup.SetOptions(print::poDefaultMinMargins | print::poMargins | print::poHundredthsOfMillimeters);
  const int hundredths = static_cast<int>(std::lround(margins * 100));
  // The left margin must lie above its minimum of 0: none at all is a
  // hundredth of a millimetre.
  setup.TakeMargins(std::max(hundredths, 1), hundredths, hundredths, hundredths);

  print::PrintOptions options;
  options.pageBackground = background;
  options.tableBackground = background;
  options.imageScale = static_cast<int>(std::lround(imageScale));
  const bool terminal = isatty(STDERR_FILENO) != 0;
  const int printed = list.Print(document::IndexOf(list.Entries().front()), setup, options,
                                 [terminal](int step, int total) {
                                   if (terminal) {
                                     std::fprintf(stderr, "\rPrinting: %d%%", total > 0 ? step * 100 / total : 100);
                                     if (step == total) std::fputc('\n', stderr);
                                   }
                                   return true;
                                 });
  if (printed < 0) return kExitFailed;
  std::printf("Printed %d page%s on %d sheet%s into %s\n", printed, printed == 1 ? "" : "s", list.Sheets(),
              list.Sheets() == 1 ? "" : "s", pdf.c_str());
  return printed > 0 ? kExitOk : kExitFailed;
}

}  // namespace tarn::cli
