// The printer setup: which printer (the PDF file among them), its paper,
// orientation, copies, colour and two-sided printing; and the margins setup
// over Qt's page setup dialog. Both write the printer profile when the
// author confirms.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace tarn::platform::qt {
class QtPrinter;
}
namespace tarn::print {
class TPageSetupDialog;
}

namespace tarn::print::ui {

class TFprinterSetup : public QDialog {
  Q_OBJECT
 public:
  TFprinterSetup(TPageSetupDialog& setup, platform::qt::QtPrinter& printer, QWidget* parent = nullptr);

  QComboBox* PrinterBox() const { return m_printers; }
  QComboBox* PaperBox() const { return m_paper; }
  QRadioButton* Landscape() const { return m_landscape; }
  QSpinBox* Copies() const { return m_copies; }
  // Selects the printer, applies the settings and stores the profile.
  void accept() override;

 private:
  void Fill();

  TPageSetupDialog& m_setup;
  platform::qt::QtPrinter& m_printer;
  QComboBox* m_printers = nullptr;
  QComboBox* m_paper = nullptr;
  QRadioButton* m_portrait = nullptr;
  QRadioButton* m_landscape = nullptr;
  QSpinBox* m_copies = nullptr;
  QCheckBox* m_colour = nullptr;
  QComboBox* m_duplex = nullptr;
};

// Shows the page setup dialog over the printer, centred on the parent (in
// the middle across, a third of the free space down). Without a printer the
// author is told and nothing happens. The margins come back in every case;
// paper and orientation only when confirmed, and then the profile is saved.
bool ExecutePageSetup(QWidget* parent, TPageSetupDialog& setup, platform::qt::QtPrinter& printer);

}  // namespace tarn::print::ui
