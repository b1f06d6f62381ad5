// The printable page; see aehpagep.h.
#include "print/aehpagep.h"

#include <algorithm>

#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/recordfields.h"
#include "page/workingcopy.h"
#include "platform/messages.h"
#include "platform/printer.h"
#include "platform/system.h"
#include "print/offsetcanvas.h"
#include "print/pagesetupdialog.h"
#include "richtext/documenthost.h"

namespace tarn::print {
namespace {

using document::TAEHtesto;
using namespace document::field;

constexpr std::string_view kJobFailed = "The page could not be printed.";

// Paper left between the margins smaller than this (an inch over eight)
// means margins that do not fit the paper: the printer's own printable
// area is used instead.
constexpr int kLeastPrintableDivisor = 8;

}  // namespace

// ---- PrintJob ----

PrintJob::~PrintJob() {
  if (m_running) Abort();
}

bool PrintJob::Begin(std::string_view title) {
  if (m_running) return true;
  if (!m_printer.BeginDoc(title)) {
    std::string text(kJobFailed);
    if (const std::string reason = m_printer.LastError(); !reason.empty()) text += "\r" + reason;
    m_messages.Error(text);
    return false;
  }
  m_running = true;
  m_sheetFresh = true;
  m_sheets = 0;
  return true;
}

bool PrintJob::StartSheet() {
  if (!m_running) return false;
  if (m_sheetFresh) {
    m_sheetFresh = false;
  } else if (!m_printer.NewPage()) {
    Abort();
    m_messages.Error(kJobFailed);
    return false;
  }
  ++m_sheets;
  return true;
}

bool PrintJob::End() {
  if (!m_running) return false;
  m_running = false;
  if (!m_printer.EndDoc()) {
    std::string text(kJobFailed);
    if (const std::string reason = m_printer.LastError(); !reason.empty()) text += "\r" + reason;
    m_messages.Error(text);
    return false;
  }
  return true;
}

void PrintJob::Abort() {
  if (!m_running) return;
  m_running = false;
  m_printer.Abort();
}

// ---- Pagination ----

std::vector<Span> Paginate(std::vector<Span> lines, int height, int sheetHeight) {
  std::vector<Span> sheets;
  if (sheetHeight <= 0) {
    sheets.push_back({0, std::max(height, 1)});
    return sheets;
  }
  std::sort(lines.begin(), lines.end(), [](const Span& a, const Span& b) { return a.top < b.top; });
  int top = 0;
  while (top < height) {
    const int limit = top + sheetHeight;
    int cut = limit;
    // The sheet ends before the first line that crosses its end; moving the
    // end up may make another line cross it, so look again until none does.
    for (bool moved = true; moved;) {
      moved = false;
      auto it = std::upper_bound(lines.begin(), lines.end(), top,
                                 [](int value, const Span& span) { return value < span.top; });
      for (; it != lines.end() && it->top < cut; ++it) {
        if (it->bottom > cut) {
          cut = it->top;
          moved = true;
          break;
        }
      }
    }
    // A line taller than a sheet on its own is cut where the sheet ends.
    if (cut <= top) cut = limit;
    cut = std::min(cut, height);
    sheets.push_back({top, cut});
    top = cut;
  }
  if (sheets.empty()) sheets.push_back({0, sheetHeight});
  return sheets;
}

// ---- TAEHpageP ----

TAEHpageP::TAEHpageP(document::TAEHset& set) : m_set(set), m_messages(*set.Services().messages) {}

TAEHpageP::~TAEHpageP() { Release(); }

platform::Canvas& TAEHpageP::Measurer() { return m_printer->PrinterCanvas(); }

void TAEHpageP::Release() {
  m_body.reset();
  for (auto& section : m_placed) section.clear();
  m_host.reset();
  m_working.reset();
}

TAEHtesto* TAEHpageP::Riempi(TAEHtesto* page, TPageSetupDialog& setup) {
  if (page == nullptr) {
    m_messages.Information(kInvalidRiempi);
    return nullptr;
  }
  if (!setup.CheckPrinters()) return nullptr;
  PrintJob job(setup.PrinterObject(), m_messages);
  Prepare(setup);
  if (!BuildBody(*page)) return nullptr;
  if (!job.Begin(std::string(kJobTitlePrefix) + page->Title())) return nullptr;
  const bool printed = PrintBody(job) && job.End();
  Release();
  return printed ? page : nullptr;
}

bool TAEHpageP::PrintInto(TAEHtesto& page, TPageSetupDialog& setup, PrintJob& job) {
  Prepare(setup);
  const bool printed = BuildBody(page) && PrintBody(job);
  Release();
  return printed;
}

void TAEHpageP::Prepare(TPageSetupDialog& setup) {
  Release();
  m_printer = &setup.PrinterObject();
  setup.Refresh();
  const platform::PaperMetrics paper = m_printer->Paper();
  m_units = PrintUnits{};
  if (platform::SystemInfo* system = m_set.Services().system) m_units.screenPixelsPerInch = system->ScreenPixelsPerInch();
  m_units.horizontalScale = setup.HorizontalScale();
  m_units.verticalScale = setup.VerticalScale();
  m_units.SetImageScale(std::clamp(options.imageScale, kMinImageScale, kMaxImageScale));

  // Margins are measured from the edges of the paper and never reach into
  // what the printer cannot mark.
  int left = std::max(m_units.HundredthsX(setup.LeftHundredths()), paper.printable.left);
  int right = std::max(m_units.HundredthsX(setup.RightHundredths()), paper.width - paper.printable.right);
  int top = std::max(m_units.HundredthsY(setup.TopHundredths()), paper.printable.top);
  int bottom = std::max(m_units.HundredthsY(setup.BottomHundredths()), paper.height - paper.printable.bottom);
  if (paper.width - left - right < paper.dpiX / kLeastPrintableDivisor) {
    left = paper.printable.left;
    right = paper.width - paper.printable.right;
  }
  if (paper.height - top - bottom < paper.dpiY / kLeastPrintableDivisor) {
    top = paper.printable.top;
    bottom = paper.height - paper.printable.bottom;
  }
  m_marginLeft = left;
  m_marginTop = top;
  m_printableWidth = std::max(1, paper.width - left - right);
  m_printableHeight = std::max(1, paper.height - top - bottom);
}

bool TAEHpageP::BuildBody(TAEHtesto& page) {
  // A page of the hypertext is printed with its header and footer pages,
  // from copies, as the page view shows it; a page from elsewhere as it is.
  m_working = page::MakeWorkingCopy(m_set, page, page.IsRegistered());
  if (!m_working || !m_working->page) return false;
  m_body = std::make_unique<TAEHboxP>(*this, nullptr, false);
  if (m_working->page->U8(kPageGeneration) == 1) {
    m_messages.Error(kOlderTextInPrint);
    return false;
  }
  TAEHtesto& working = *m_working->page;
  m_body->backgroundColour = static_cast<std::uint32_t>(working.I32(kPageBgColour));
  if (const std::int32_t image = working.I32(kPageBgImage); image >= 0) {
    document::TAEHoggetto* picture = m_set.GetObject(document::immagine, image);
    if (picture != nullptr && !picture->IsFree()) m_body->backgroundImage = picture;
  }

  m_host = std::make_unique<richtext::DocumentHost>(m_set, &Measurer(), &m_messages);
  m_host->objectLookup = [this](std::int32_t id) -> richtext::EmbeddedObject* {
    const auto& placed = m_placed[m_section];
    if (id < 1 || static_cast<std::size_t>(id) > placed.size()) return nullptr;
    return placed[static_cast<std::size_t>(id - 1)].object;
  };
  if (m_working->header) ReadSection(*m_working->header, static_cast<int>(richtext::Origin::Header));
  ReadSection(*m_working, static_cast<int>(richtext::Origin::Text));
  if (m_working->footer) ReadSection(*m_working->footer, static_cast<int>(richtext::Origin::Footer));
  m_body->ToPrinterLengths();
  m_body->LayoutText(m_printableWidth);
  return true;
}

void TAEHpageP::ReadSection(page::WorkingCopy& section, int origin) {
  m_section = origin;
  auto& placed = m_placed[origin];
  placed.clear();
  int number = 0;
  for (const page::WorkingEntry& entry : section.objects) {
    ++number;
    Placed p;
    if (IsPrintedTable(entry.copy.get())) {
      auto table = std::make_unique<TMyyTableP>(*this, nullptr, number);
      table->Bind(entry.copy.get());
      p.object = table.get();
      p.printable = std::move(table);
    } else if (auto printable = MakePrintual(*this, entry.copy.get(), number)) {
      p.object = printable.get();
      p.printable = std::move(printable);
    }
    placed.push_back(std::move(p));
  }
  const std::string markup = section.Markup();
  richtext::MarkupStream stream(markup);
  richtext::ReadText(m_body->Text(), stream, *m_host, static_cast<richtext::Origin>(origin));
}

bool TAEHpageP::PrintBody(PrintJob& job) {
  std::vector<Span> lines;
  m_body->CollectSpans(lines, 0);
  m_sheets = Paginate(std::move(lines), std::max(m_body->ContentHeight(), 1), m_printableHeight);
  platform::Canvas& device = m_printer->PrinterCanvas();
  const platform::PaperMetrics paper = m_printer->Paper();
  for (const Span& sheet : m_sheets) {
    if (!job.StartSheet()) return false;
    OffsetCanvas canvas(device, m_marginLeft, m_marginTop - sheet.top);
    if (options.pageBackground) {
      const platform::Rect whole{m_marginLeft, m_marginTop, m_marginLeft + m_printableWidth,
                                 m_marginTop + m_printableHeight};
      m_printer->SetClip(&whole);
      m_body->PaintBackground(canvas, {0, sheet.top, m_printableWidth, sheet.top + m_printableHeight}, 0, 0);
    }
    // What belongs to the next sheet stays off this one, also where a line
    // taller than a sheet had to be cut.
    const platform::Rect clip{0, m_marginTop, paper.width, m_marginTop + (sheet.bottom - sheet.top)};
    m_printer->SetClip(&clip);
    SheetView view{canvas, {-paper.width, sheet.top, m_printableWidth + paper.width, sheet.bottom}};
    m_body->PrintLines(view);
    m_printer->SetClip(nullptr);
  }
  return true;
}

}  // namespace tarn::print
