// The desktop's printers; see qtprinter.h.
#include "platform/qt/qtprinter.h"

#include <QFileInfo>
#include <QPrinterInfo>

#include "platform/qt/qtstrings.h"

namespace tarn::platform::qt {
namespace {

// Paper sources keep the numbers of the old device modes: Qt's list is
// theirs less one, up to the large-capacity tray.
constexpr int kLastMappedSource = QPrinter::LargeCapacity;

}  // namespace

QtPrinter::QtPrinter() {
  m_printer.setFullPage(true);
  const QPrinterInfo preferred = QPrinterInfo::defaultPrinter();
  if (preferred.isNull() && QPrinterInfo::availablePrinterNames().isEmpty()) {
    m_printer.setOutputFormat(QPrinter::PdfFormat);
  } else if (!preferred.isNull()) {
    m_printer.setPrinterName(preferred.printerName());
  }
}

QtPrinter::~QtPrinter() { Abort(); }

std::vector<std::string> QtPrinter::Printers() {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
  names.emplace_back(kPdfPrinter);
  return names;
}

PrinterName QtPrinter::Current() {
  if (PrintsToFile()) return {kPdfPrinter, "PDF", OutputFile().string()};
  const QPrinterInfo info = QPrinterInfo::printerInfo(m_printer.printerName());
  return {m_printer.printerName().toStdString(), info.makeAndModel().toStdString(), ""};
}

bool QtPrinter::Select(const PrinterName& name) {
  if (Printing()) return false;
  if (name.device == kPdfPrinter) {
    m_printer.setOutputFormat(QPrinter::PdfFormat);
    return true;
  }
  // Printer names are the system's, kept as UTF-8 like paths.
  const QString device = QString::fromStdString(name.device);
  if (!QPrinterInfo::availablePrinterNames().contains(device)) return false;
  m_printer.setOutputFormat(QPrinter::NativeFormat);
  m_printer.setPrinterName(device);
  m_printer.setFullPage(true);
  return true;
}

DeviceMode QtPrinter::Mode() {
  DeviceMode mode;
  ApplyLayout(m_printer.pageLayout(), mode);
  mode.copies = m_printer.copyCount();
  mode.color = m_printer.colorMode() == QPrinter::GrayScale ? DeviceMode::kMonochrome : DeviceMode::kColour;
  switch (m_printer.duplex()) {
    case QPrinter::DuplexLongSide: mode.duplex = DeviceMode::kDuplexLongEdge; break;
    case QPrinter::DuplexShortSide: mode.duplex = DeviceMode::kDuplexShortEdge; break;
    default: mode.duplex = DeviceMode::kSimplex; break;
  }
  const int source = m_printer.paperSource();
  mode.defaultSource = source <= kLastMappedSource ? source + 1 : 7;
  mode.printQuality = m_printer.resolution();
  return mode;
}

void QtPrinter::SetMode(const DeviceMode& mode) {
  if (Printing()) return;
  QPageLayout layout = LayoutOf(mode);
  layout.setMinimumMargins(m_printer.pageLayout().minimumMargins());
  m_printer.setPageLayout(layout);
  m_printer.setCopyCount(std::max(1, mode.copies));
  m_printer.setColorMode(mode.color == DeviceMode::kMonochrome ? QPrinter::GrayScale : QPrinter::Color);
  switch (mode.duplex) {
    case DeviceMode::kDuplexLongEdge: m_printer.setDuplex(QPrinter::DuplexLongSide); break;
    case DeviceMode::kDuplexShortEdge: m_printer.setDuplex(QPrinter::DuplexShortSide); break;
    default: m_printer.setDuplex(QPrinter::DuplexNone); break;
  }
  if (mode.defaultSource >= 1 && mode.defaultSource - 1 <= kLastMappedSource) {
    m_printer.setPaperSource(static_cast<QPrinter::PaperSource>(mode.defaultSource - 1));
  }
}

PaperMetrics QtPrinter::Paper() {
  PaperMetrics paper = PaperOf(m_printer.pageLayout(), m_printer.resolution());
  if (PrintsToFile()) paper.printable = {0, 0, paper.width, paper.height};
  return paper;
}

void QtPrinter::SetOutputFile(const std::filesystem::path& file) {
  m_printer.setOutputFileName(PathToQString(file.string()));
}

std::filesystem::path QtPrinter::OutputFile() const {
  return std::filesystem::path(m_printer.outputFileName().toStdString());
}

QPagedPaintDevice* QtPrinter::OpenDevice(std::string_view title) {
  if (PrintsToFile() && m_printer.outputFileName().isEmpty()) {
    m_error = "No file was given to print into.";
    return nullptr;
  }
  m_printer.setDocName(ToQString(title));
  m_printer.setFullPage(true);
  m_error = PrintsToFile() ? "Cannot write " + OutputFile().string() + "." : "The printer cannot be started.";
  return &m_printer;
}

bool QtPrinter::CloseDevice(bool completed) {
  if (!completed) {
    m_printer.abort();
    return false;
  }
  if (PrintsToFile() && !QFileInfo::exists(m_printer.outputFileName())) {
    m_error = "Cannot write " + OutputFile().string() + ".";
    return false;
  }
  return true;
}

}  // namespace tarn::platform::qt
