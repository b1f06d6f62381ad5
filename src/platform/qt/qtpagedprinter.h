// Printing with Qt: a job paints sheets of a paged device (the desktop's
// printer or a PDF file) through one canvas sized for the device's
// resolution, with the paper set from the stored device settings. The PDF
// printer needs no display and serves the command line and the tests.
#pragma once

#include <QPageLayout>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/printer.h"

class QPagedPaintDevice;
class QPainter;
class QPdfWriter;

namespace tarn::platform::qt {

class QtCanvas;

// The paper of a device mode, and the device mode fields a layout gives.
QPageLayout LayoutOf(const DeviceMode& mode);
void ApplyLayout(const QPageLayout& layout, DeviceMode& mode);
// The sheet of a layout at a resolution; the minimum margins of the layout
// are what the device cannot mark.
PaperMetrics PaperOf(const QPageLayout& layout, int dpi);

class QtPagedPrinter : public Printer {
 public:
  QtPagedPrinter();
  ~QtPagedPrinter() override;

  Canvas& PrinterCanvas() override;
  bool BeginDoc(std::string_view title) override;
  bool NewPage() override;
  bool EndDoc() override;
  void Abort() override;
  bool Printing() const override { return m_device != nullptr; }
  void SetClip(const Rect* clip) override;
  std::string LastError() const override { return m_error; }

 protected:
  // The device for a job, or nothing with m_error set.
  virtual QPagedPaintDevice* OpenDevice(std::string_view title) = 0;
  // After the job: completed is false when it was given up.
  virtual bool CloseDevice(bool completed) = 0;
  virtual int Resolution() = 0;

  std::string m_error;

 private:
  QPagedPaintDevice* m_device = nullptr;
  std::unique_ptr<QPainter> m_painter;
  std::unique_ptr<QtCanvas> m_canvas;
};

// Prints into one PDF file; "PDF" is its only printer.
class QtPdfPrinter : public QtPagedPrinter {
 public:
  static constexpr int kResolution = 1200;
  explicit QtPdfPrinter(std::filesystem::path file, int resolution = kResolution);
  ~QtPdfPrinter() override;

  std::vector<std::string> Printers() override { return {"PDF"}; }
  PrinterName Current() override { return {"PDF", "PDF", m_file.string()}; }
  bool Select(const PrinterName& name) override { return name.device == "PDF"; }
  DeviceMode Mode() override { return m_mode; }
  void SetMode(const DeviceMode& mode) override { m_mode = mode; }
  PaperMetrics Paper() override { return PaperOf(LayoutOf(m_mode), m_resolution); }

 protected:
  QPagedPaintDevice* OpenDevice(std::string_view title) override;
  bool CloseDevice(bool completed) override;
  int Resolution() override { return m_resolution; }

 private:
  std::filesystem::path m_file;
  int m_resolution;
  DeviceMode m_mode;
  std::unique_ptr<QPdfWriter> m_writer;
};

}  // namespace tarn::platform::qt
