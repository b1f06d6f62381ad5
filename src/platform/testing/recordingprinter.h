// A printer for tests: fixed font metrics at 96 pixels per inch on an A4
// sheet (794 x 1123 pixels, all of it printable unless told otherwise),
// recording every sheet's drawing, the job's title and each clip.
#pragma once

#include <string>
#include <vector>

#include "platform/printer.h"
#include "platform/testing/fixedcanvas.h"

namespace tarn::platform::testing {

class RecordingPrinter : public Printer {
 public:
  RecordingPrinter();

  std::vector<std::string> Printers() override { return installed; }
  PrinterName Current() override { return current; }
  bool Select(const PrinterName& name) override;
  DeviceMode Mode() override { return mode; }
  void SetMode(const DeviceMode& m) override { mode = m; }
  PaperMetrics Paper() override { return paper; }
  Canvas& PrinterCanvas() override { return m_canvas; }
  bool BeginDoc(std::string_view title) override;
  bool NewPage() override;
  bool EndDoc() override;
  void Abort() override;
  bool Printing() const override { return m_printing; }
  void SetClip(const Rect* clip) override;
  std::string LastError() const override { return failBegin ? "the test printer refuses" : std::string(); }

  // The test's printer.
  std::vector<std::string> installed{"Test printer", "Second printer"};
  PrinterName current{"Test printer", "testdrv", "LPT1:"};
  DeviceMode mode;
  PaperMetrics paper;
  bool failBegin = false;

  // What was printed: one list of drawing operations per sheet, over all
  // jobs; the titles of the jobs; and how many ended (or were aborted).
  std::vector<std::vector<FixedCanvas::Op>> sheets;
  std::vector<std::string> titles;
  int ended = 0;
  int aborted = 0;

  // The texts drawn on a sheet, in drawing order.
  std::vector<std::string> Texts(std::size_t sheet) const;

 private:
  void CloseSheet();

  FixedCanvas m_canvas;
  bool m_printing = false;
};

}  // namespace tarn::platform::testing
