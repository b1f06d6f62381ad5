// The printer: which printers there are, the one in use with its device
// settings and paper, and the job that draws sheets on a canvas in the
// printer's own pixels. The window prints through the desktop's print
// service (or into a PDF file), the command line into a PDF file, tests
// into a recording printer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"

namespace tarn::platform {

// Names a printer the way stored printer profiles do.
struct PrinterName {
  std::string device;
  std::string driver;
  std::string port;
};

// The device settings a printer profile keeps, with the meanings and
// numbers of the old printer device modes so that stored profiles read
// the same.
struct DeviceMode {
  static constexpr int kPortrait = 1;
  static constexpr int kLandscape = 2;
  static constexpr int kMonochrome = 1;
  static constexpr int kColour = 2;
  static constexpr int kSimplex = 1;
  static constexpr int kDuplexLongEdge = 2;
  static constexpr int kDuplexShortEdge = 3;
  static constexpr int kPaperA4 = 9;

  int paperSize = kPaperA4;  // paper code; 0 = custom, given by length and width
  int paperLength = 0;       // tenths of millimetres
  int paperWidth = 0;
  int orientation = kPortrait;
  int scale = 100;
  int copies = 1;
  int defaultSource = 7;  // automatic
  int printQuality = 600; // dots per inch
  int color = kColour;
  int duplex = kSimplex;

  bool operator==(const DeviceMode&) const = default;
};

// The sheet in the printer's pixels: its whole size and the part the
// printer can mark. Origin at the sheet's top-left corner.
struct PaperMetrics {
  int dpiX = 96;
  int dpiY = 96;
  int width = 0;
  int height = 0;
  Rect printable;
};

class Printer {
 public:
  virtual ~Printer() = default;

  // The installed printers; empty when there is none.
  virtual std::vector<std::string> Printers() = 0;
  virtual PrinterName Current() = 0;
  // False when no printer has that device name.
  virtual bool Select(const PrinterName& name) = 0;
  virtual DeviceMode Mode() = 0;
  virtual void SetMode(const DeviceMode& mode) = 0;
  virtual PaperMetrics Paper() = 0;

  // Measures in the printer's pixels at any time; draws only while a job
  // runs, on the current sheet.
  virtual Canvas& PrinterCanvas() = 0;

  // A job: the first sheet is started by BeginDoc, later ones by NewPage.
  // Failures answer false with the reason in LastError.
  virtual bool BeginDoc(std::string_view title) = 0;
  virtual bool NewPage() = 0;
  virtual bool EndDoc() = 0;
  virtual void Abort() = 0;
  virtual bool Printing() const = 0;
  // Drawing outside the rectangle (sheet pixels) leaves no mark; a null
  // clip lets the whole sheet be drawn again.
  virtual void SetClip(const Rect* clip) = 0;
  virtual std::string LastError() const = 0;

  // Whether there is any printer; asked often, so cheap where listing the
  // printers is not.
  virtual bool HasPrinter() { return !Printers().empty(); }
};

}  // namespace tarn::platform
