// The printer and margins setup; see fprintersetup.h.
#include "print/ui/fprintersetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

#include "app/ui/krlanguager.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtprinter.h"
#include "print/pagesetupdialog.h"

namespace tarn::print::ui {
namespace {

using platform::qt::NamedButton;

using platform::DeviceMode;

// The papers offered, by their device-mode codes.
constexpr QPageSize::PageSizeId kPapers[] = {QPageSize::A4,     QPageSize::A3,     QPageSize::A5,
                                             QPageSize::Letter, QPageSize::Legal,  QPageSize::B5,
                                             QPageSize::Executive, QPageSize::Tabloid};
constexpr int kMaxCopies = 999;


// Puts the dialog in the middle of its parent across and a third of the
// free space down, as the old program's dialogs stood.
void Centre(QWidget& dialog, const QWidget* parent) {
  if (parent == nullptr) return;
  dialog.adjustSize();
  const QRect area = parent->window()->frameGeometry();
  const int x = area.left() + (area.width() - dialog.width()) / 2;
  const int y = area.top() + std::max(0, (area.height() - dialog.height()) / 3);
  dialog.move(x, y);
}

}  // namespace

TFprinterSetup::TFprinterSetup(TPageSetupDialog& setup, platform::qt::QtPrinter& printer, QWidget* parent)
    : QDialog(parent), m_setup(setup), m_printer(printer) {
  setObjectName(QStringLiteral("FPrinterSetup"));
  setWindowTitle(QStringLiteral("Printer setup"));
  setModal(true);

  m_printers = new QComboBox(this);
  m_printers->setObjectName(QStringLiteral("CBPrinter"));
  m_paper = new QComboBox(this);
  m_paper->setObjectName(QStringLiteral("CBPaper"));
  m_portrait = new QRadioButton(QStringLiteral("&Portrait"), this);
  m_portrait->setObjectName(QStringLiteral("RBPortrait"));
  m_landscape = new QRadioButton(QStringLiteral("&Landscape"), this);
  m_landscape->setObjectName(QStringLiteral("RBLandscape"));
  m_copies = new QSpinBox(this);
  m_copies->setObjectName(QStringLiteral("SECopies"));
  m_copies->setRange(1, kMaxCopies);
  m_colour = new QCheckBox(QStringLiteral("C&olour"), this);
  m_colour->setObjectName(QStringLiteral("CBColour"));
  m_duplex = new QComboBox(this);
  m_duplex->setObjectName(QStringLiteral("CBDuplex"));
  m_duplex->addItems({QStringLiteral("One side"), QStringLiteral("Both sides, long edge"),
                      QStringLiteral("Both sides, short edge")});

  auto* orientation = new QHBoxLayout;
  orientation->addWidget(m_portrait);
  orientation->addWidget(m_landscape);
  orientation->addStretch();
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("P&rinter:"), m_printers);
  form->addRow(QStringLiteral("P&aper:"), m_paper);
  form->addRow(QStringLiteral("Orientation:"), orientation);
  form->addRow(QStringLiteral("&Copies:"), m_copies);
  form->addRow(QString(), m_colour);
  form->addRow(QStringLiteral("&Two-sided:"), m_duplex);

  auto* buttons = platform::qt::OkCancelRow(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);

  app::ui::ApplyWindowTable(*new app::ui::TKrLanguager(this), objectName());
  Fill();
}

void TFprinterSetup::Fill() {
  for (const std::string& name : m_printer.Printers()) m_printers->addItem(QString::fromStdString(name));
  m_printers->setCurrentText(QString::fromStdString(m_printer.Current().device));
  const DeviceMode mode = m_printer.Mode();
  for (QPageSize::PageSizeId id : kPapers) {
    const QPageSize size(id);
    m_paper->addItem(size.name(), size.windowsId());
  }
  const int at = m_paper->findData(mode.paperSize);
  if (at >= 0) {
    m_paper->setCurrentIndex(at);
  } else {
    // A paper of its own stays what it is unless another one is chosen.
    m_paper->addItem(QStringLiteral("%1 x %2 mm").arg(mode.paperWidth / 10.0).arg(mode.paperLength / 10.0),
                     mode.paperSize);
    m_paper->setCurrentIndex(m_paper->count() - 1);
  }
  (mode.orientation == DeviceMode::kLandscape ? m_landscape : m_portrait)->setChecked(true);
  m_copies->setValue(std::clamp(mode.copies, 1, kMaxCopies));
  m_colour->setChecked(mode.color != DeviceMode::kMonochrome);
  m_duplex->setCurrentIndex(std::clamp(mode.duplex - 1, 0, 2));
}

void TFprinterSetup::accept() {
  platform::PrinterName name = m_printer.Current();
  name.device = m_printers->currentText().toStdString();
  m_printer.Select(name);
  DeviceMode mode = m_printer.Mode();
  // A paper of its own (code 0) keeps its width and length.
  mode.paperSize = m_paper->currentData().toInt();
  mode.orientation = m_landscape->isChecked() ? DeviceMode::kLandscape : DeviceMode::kPortrait;
  mode.copies = m_copies->value();
  mode.color = m_colour->isChecked() ? DeviceMode::kColour : DeviceMode::kMonochrome;
  mode.duplex = m_duplex->currentIndex() + 1;
  m_printer.SetMode(mode);
  m_setup.Refresh();
  m_setup.SaveSettings();
  QDialog::accept();
}

bool ExecutePageSetup(QWidget* parent, TPageSetupDialog& setup, platform::qt::QtPrinter& printer) {
  if (!setup.CheckPrinters()) return false;
  QPrinter& device = printer.Device();
  // The dialog shows the profile's margins; Qt keeps them in the layout.
  QPageLayout layout = device.pageLayout();
  layout.setMode(QPageLayout::FullPageMode);
  layout.setUnits(QPageLayout::Millimeter);
  layout.setMargins(QMarginsF(setup.LeftHundredths() / 100.0, setup.TopHundredths() / 100.0,
                              setup.RightHundredths() / 100.0, setup.BottomHundredths() / 100.0));
  device.setPageLayout(layout);
  QPageSetupDialog dialog(&device, parent);
  dialog.setObjectName(QStringLiteral("PageSetupDialog"));
  Centre(dialog, parent);
  const bool confirmed = dialog.exec() == QDialog::Accepted;
  const QMarginsF margins = device.pageLayout().margins(QPageLayout::Millimeter);
  auto back = [&setup](double millimetres) {
    return setup.FromHundredths(static_cast<int>(std::lround(millimetres * 100)));
  };
  device.setFullPage(true);
  setup.TakeMargins(back(margins.left()), back(margins.top()), back(margins.right()), back(margins.bottom()));
  if (confirmed) setup.SaveSettings();
  return confirmed;
}

}  // namespace tarn::print::ui
