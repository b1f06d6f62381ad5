// Printing with Qt; see qtpagedprinter.h.
#include "platform/qt/qtpagedprinter.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <system_error>

#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtstrings.h"

namespace tarn::platform::qt {
namespace {

constexpr double kTenthsPerMillimetre = 10.0;

}  // namespace

QPageLayout LayoutOf(const DeviceMode& mode) {
  QPageSize size;
  if (mode.paperSize == 0 && mode.paperWidth > 0 && mode.paperLength > 0) {
    size = QPageSize(QSizeF(mode.paperWidth / kTenthsPerMillimetre, mode.paperLength / kTenthsPerMillimetre),
                     QPageSize::Millimeter);
  } else {
    const QPageSize::PageSizeId id = QPageSize::id(mode.paperSize);
    size = QPageSize(id == QPageSize::Custom ? QPageSize::A4 : id);
  }
  const auto orientation =
      mode.orientation == DeviceMode::kLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
  return QPageLayout(size, orientation, QMarginsF());
}

void ApplyLayout(const QPageLayout& layout, DeviceMode& mode) {
  const QPageSize size = layout.pageSize();
  const int windowsId = size.windowsId();
  const QSizeF millimetres = size.size(QPageSize::Millimeter);
  mode.paperSize = size.id() == QPageSize::Custom ? 0 : windowsId;
  mode.paperWidth = static_cast<int>(std::lround(millimetres.width() * kTenthsPerMillimetre));
  mode.paperLength = static_cast<int>(std::lround(millimetres.height() * kTenthsPerMillimetre));
  mode.orientation = layout.orientation() == QPageLayout::Landscape ? DeviceMode::kLandscape : DeviceMode::kPortrait;
}

PaperMetrics PaperOf(const QPageLayout& layout, int dpi) {
  PaperMetrics paper;
  paper.dpiX = paper.dpiY = dpi;
  const QRect full = layout.fullRectPixels(dpi);
  paper.width = full.width();
  paper.height = full.height();
  const QMarginsF least = layout.minimumMargins();
  const double perPoint = dpi / 72.0;
  const int left = static_cast<int>(std::ceil(least.left() * perPoint));
  const int top = static_cast<int>(std::ceil(least.top() * perPoint));
  const int right = static_cast<int>(std::ceil(least.right() * perPoint));
  const int bottom = static_cast<int>(std::ceil(least.bottom() * perPoint));
  paper.printable = {left, top, paper.width - right, paper.height - bottom};
  return paper;
}

// ---- QtPagedPrinter ----

QtPagedPrinter::QtPagedPrinter() = default;

QtPagedPrinter::~QtPagedPrinter() = default;

Canvas& QtPagedPrinter::PrinterCanvas() {
  const int dpi = Resolution();
  // The resolution changes with the printer; the canvas follows it between
  // jobs.
  if (!m_canvas || (m_canvas->PixelsPerInch() != dpi && m_device == nullptr)) {
    m_canvas = std::make_unique<QtCanvas>(nullptr, dpi);
  }
  return *m_canvas;
}

bool QtPagedPrinter::BeginDoc(std::string_view title) {
  if (m_device != nullptr) return false;
  m_error.clear();
  QPagedPaintDevice* device = OpenDevice(title);
  if (device == nullptr) return false;
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(device)) {
    if (m_error.empty()) m_error = "The printer cannot be started.";
    CloseDevice(false);
    return false;
  }
  painter->setRenderHint(QPainter::TextAntialiasing);
  painter->setRenderHint(QPainter::SmoothPixmapTransform);
  m_error.clear();
  m_device = device;
  m_painter = std::move(painter);
  static_cast<QtCanvas&>(PrinterCanvas()).SetPainter(m_painter.get());
  return true;
}

bool QtPagedPrinter::NewPage() {
  if (m_device == nullptr) return false;
  m_painter->setClipping(false);
  return m_device->newPage();
}

bool QtPagedPrinter::EndDoc() {
  if (m_device == nullptr) return false;
  if (m_canvas) m_canvas->SetPainter(nullptr);
  const bool ended = m_painter->end();
  m_painter.reset();
  m_device = nullptr;
  const bool closed = CloseDevice(ended);
  if (!ended && m_error.empty()) m_error = "The printer did not take the job.";
  return ended && closed;
}

void QtPagedPrinter::Abort() {
  if (m_device == nullptr) return;
  if (m_canvas) m_canvas->SetPainter(nullptr);
  m_painter->end();
  m_painter.reset();
  m_device = nullptr;
  CloseDevice(false);
}

void QtPagedPrinter::SetClip(const Rect* clip) {
  if (!m_painter) return;
  if (clip == nullptr) {
    m_painter->setClipping(false);
  } else {
    m_painter->setClipRect(QRect(clip->left, clip->top, clip->Width(), clip->Height()));
  }
}

// ---- QtPdfPrinter ----

QtPdfPrinter::QtPdfPrinter(std::filesystem::path file, int resolution)
    : m_file(std::move(file)), m_resolution(resolution > 0 ? resolution : kResolution) {}

QtPdfPrinter::~QtPdfPrinter() { Abort(); }

QPagedPaintDevice* QtPdfPrinter::OpenDevice(std::string_view title) {
  m_writer = std::make_unique<QPdfWriter>(PathToQString(m_file.string()));
  m_writer->setResolution(m_resolution);
  m_writer->setPageLayout(LayoutOf(m_mode));
  m_writer->setTitle(ToQString(title));
  m_writer->setCreator(QStringLiteral("Tarn"));
  m_error = "Cannot write " + m_file.string() + ".";
  return m_writer.get();
}

bool QtPdfPrinter::CloseDevice(bool completed) {
  m_writer.reset();
  if (!completed) {
    // A job given up leaves no half-written file behind.
    std::error_code ignored;
    std::filesystem::remove(m_file, ignored);
    return false;
  }
  if (!QFileInfo::exists(PathToQString(m_file.string()))) {
    m_error = "Cannot write " + m_file.string() + ".";
    return false;
  }
  m_error.clear();
  return true;
}

}  // namespace tarn::platform::qt
