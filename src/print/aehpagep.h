// The printable page: one page of a hypertext printed from its records (with
// its header and footer pages), laid out again in printer pixels and broken
// into sheets. A print job may hold one page or many; a sheet never cuts a
// line of text in two unless the line alone is taller than a sheet.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "print/printables.h"
#include "print/printunits.h"

namespace tarn::document {
class TAEHset;
class TAEHtesto;
}  // namespace tarn::document
namespace tarn::page {
class WorkingCopy;
}
namespace tarn::platform {
class Messages;
class Printer;
}  // namespace tarn::platform
namespace tarn::richtext {
class DocumentHost;
}

namespace tarn::print {

class TPageSetupDialog;

inline constexpr int kDefaultImageScale = 2500;
inline constexpr int kMinImageScale = 20;
inline constexpr int kMaxImageScale = 20000;
inline constexpr std::string_view kInvalidRiempi = "Invalid use of TAEHpageP.Riempi";
inline constexpr std::string_view kOlderTextInPrint = "baco; testo ver 1 ancora pres in aehBox P!";
inline constexpr std::string_view kJobTitlePrefix = "Tarn, pag: ";

// What the print dialog asks besides the pages.
struct PrintOptions {
  bool pageBackground = false;   // "sfondo"
  bool tableBackground = true;   // "sfondo tabelle"
  int imageScale = kDefaultImageScale;  // hundredths of a millimetre per 100 screen pixels
};

// A print job over the printer: its first sheet comes with the start, the
// others each with a new page. A job that cannot start or end is reported
// once, with the printer's reason.
class PrintJob {
 public:
  PrintJob(platform::Printer& printer, platform::Messages& messages) : m_printer(printer), m_messages(messages) {}
  ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  bool Begin(std::string_view title);
  // Moves to a fresh sheet (the first one is there already).
  bool StartSheet();
  bool End();
  void Abort();
  bool Running() const { return m_running; }
  int Sheets() const { return m_sheets; }
  platform::Printer& PrinterObject() { return m_printer; }

 private:
  platform::Printer& m_printer;
  platform::Messages& m_messages;
  bool m_running = false;
  bool m_sheetFresh = false;
  int m_sheets = 0;
};

class TAEHpageP {
 public:
  explicit TAEHpageP(document::TAEHset& set);
  ~TAEHpageP();
  TAEHpageP(const TAEHpageP&) = delete;
  TAEHpageP& operator=(const TAEHpageP&) = delete;

  PrintOptions options;

  // Prints the page as one print job titled "Tarn, pag: " and its name;
  // answers the page, or nothing when nothing was printed.
  document::TAEHtesto* Riempi(document::TAEHtesto* page, TPageSetupDialog& setup);
  // Prints the page on the next sheets of a job that runs already.
  bool PrintInto(document::TAEHtesto& page, TPageSetupDialog& setup, PrintJob& job);

  // Set up for the page being printed.
  const PrintUnits& Units() const { return m_units; }
  int PrintableWidth() const { return m_printableWidth; }
  int PrintableHeight() const { return m_printableHeight; }
  int MarginLeftPixels() const { return m_marginLeft; }
  int MarginTopPixels() const { return m_marginTop; }
  document::TAEHset& Hypertext() { return m_set; }
  platform::Canvas& Measurer();
  TAEHboxP* Body() const { return m_body.get(); }
  // The sheets of the last page printed, in body coordinates.
  const std::vector<Span>& Sheets() const { return m_sheets; }

 private:
  void Prepare(TPageSetupDialog& setup);
  bool BuildBody(document::TAEHtesto& page);
  void ReadSection(page::WorkingCopy& section, int origin);
  bool PrintBody(PrintJob& job);
  void Release();

  document::TAEHset& m_set;
  platform::Messages& m_messages;
  platform::Printer* m_printer = nullptr;
  PrintUnits m_units;
  int m_printableWidth = 0;
  int m_printableHeight = 0;
  int m_marginLeft = 0;
  int m_marginTop = 0;
  std::unique_ptr<page::WorkingCopy> m_working;
  std::unique_ptr<richtext::DocumentHost> m_host;
  // The printables of the objects placed in each section (header, page,
  // footer), by their numbers in it.
  struct Placed {
    std::unique_ptr<TPrintual> printable;
    richtext::EmbeddedObject* object = nullptr;
  };
  std::vector<Placed> m_placed[3];
  int m_section = 0;
  std::unique_ptr<TAEHboxP> m_body;
  std::vector<Span> m_sheets;
};

// Breaks a body of the given height into sheets at most sheetHeight high:
// each sheet ends at the top of the first line that would not fit whole, a
// line taller than a sheet alone being cut where the sheet ends.
std::vector<Span> Paginate(std::vector<Span> lines, int height, int sheetHeight);

}  // namespace tarn::print
