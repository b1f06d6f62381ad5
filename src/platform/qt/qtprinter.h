// The desktop's printers through Qt Print Support (CUPS), and printing into
// a PDF file as one more printer, always there: a machine without printers
// can still print.
#pragma once

#include <QPrinter>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/qt/qtpagedprinter.h"

namespace tarn::platform::qt {

class QtPrinter : public QtPagedPrinter {
 public:
  // The name the PDF printer goes by among the others.
  static constexpr const char* kPdfPrinter = "PDF file";

  // Starts on the desktop's default printer, or on the PDF printer when
  // there is none.
  QtPrinter();
  ~QtPrinter() override;

  std::vector<std::string> Printers() override;
  // The PDF printer is always there; the desktop's need not be asked.
  bool HasPrinter() override { return true; }
  PrinterName Current() override;
  bool Select(const PrinterName& name) override;
  DeviceMode Mode() override;
  void SetMode(const DeviceMode& mode) override;
  PaperMetrics Paper() override;

  bool PrintsToFile() const { return m_printer.outputFormat() == QPrinter::PdfFormat; }
  // Where the PDF printer writes the next job.
  void SetOutputFile(const std::filesystem::path& file);
  std::filesystem::path OutputFile() const;
  // The Qt printer, for Qt's own printer dialogs.
  QPrinter& Device() { return m_printer; }

 protected:
  QPagedPaintDevice* OpenDevice(std::string_view title) override;
  bool CloseDevice(bool completed) override;
  int Resolution() override { return m_printer.resolution(); }

 private:
  QPrinter m_printer{QPrinter::HighResolution};
};

}  // namespace tarn::platform::qt
