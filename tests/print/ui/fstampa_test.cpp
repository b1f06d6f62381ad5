// The print dialog driven with clicks, printing on the recording printer:
// the list's buttons, printing the list (or the current page when it is
// empty) with the options chosen, the preview on click and the pages
// visited in it, the page-order mode; and the printer setup dialog.
#include "print/ui/fstampa.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "app/commandline.h"
#include "app/ui/mainform.h"
#include "app/ui/printcommands.h"
#include "document/aehorderedtree.h"
#include "document/aehset.h"
#include "document/ui/aehorderedtreeview.h"
#include "objects/ui/framesetwidget.h"
#include "platform/memorysettings.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtprinter.h"
#include "platform/registry.h"
#include "platform/testing/recordingprinter.h"
#include "platform/testing/testplatform.h"
#include "print/pagesetupdialog.h"
#include "print/ui/fprintersetup.h"

namespace tarn::print::ui {
namespace {

namespace fs = std::filesystem;
using document::MakeObjectId;
using document::testoHtml;

class PrintDialog : public ::testing::Test {
 protected:
  PrintDialog()
      : folder(fs::temp_directory_path() / ("tarn-print-" + std::to_string(::getpid()))),
        system(folder),
        set({&messages, &system, &measurer, nullptr}),
        registry(store),
        setup(printer, store, messages) {
    fs::create_directories(folder);
    fs::copy_file(TARN_SAMPLE, folder / "sample.aeh", fs::copy_options::overwrite_existing);
    EXPECT_TRUE(set.LoadFromFile(folder / "sample.aeh"));
    setup.TakeMargins(kDefaultMargin, kDefaultMargin, kDefaultMargin, kDefaultMargin);
  }
  ~PrintDialog() override { fs::remove_all(folder); }

  std::unique_ptr<TFstampa> Open(TFstampa::Mode mode = TFstampa::Mode::Print) {
    PrintDialogHost host{set,     messages, registry, setup, [this] { return current; }, [this] { return editable; },
                         [this] { ++changes; }, [this](QWidget*) { return output; }, {}, {}};
    auto dialog = std::make_unique<TFstampa>(std::move(host), mode);
    dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    return dialog;
  }
  static void Click(QWidget& dialog, const char* button) {
    auto* b = dialog.findChild<QPushButton*>(button);
    ASSERT_NE(b, nullptr) << button;
    QTest::mouseClick(b, Qt::LeftButton);
  }
  static std::vector<int> Pages(const TFstampa& dialog) {
    std::vector<int> pages;
    for (int i = 0; i < dialog.ListBox()->count(); ++i) {
      pages.push_back(document::IndexOf(dialog.ListBox()->item(i)->data(Qt::UserRole).toInt()));
    }
    return pages;
  }

  fs::path folder;
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system;
  platform::qt::QtCanvas measurer;
  document::TAEHset set;
  platform::MemorySettings store;
  platform::Registry registry;
  platform::testing::RecordingPrinter printer;
  TPageSetupDialog setup;
  long current = 2;
  bool editable = true;
  bool output = true;
  int changes = 0;
};

TEST_F(PrintDialog, ListButtonsFillAndArrangeThePages) {
  auto dialog = Open();
  Click(*dialog, "BTutte");
  EXPECT_EQ(Pages(*dialog), (std::vector<int>{0, 1, 2, 3}));
  dialog->ListBox()->setCurrentRow(0);
  Click(*dialog, "BGiu");
  EXPECT_EQ(Pages(*dialog), (std::vector<int>{1, 0, 2, 3}));
  EXPECT_EQ(dialog->ListBox()->currentRow(), 1);
  Click(*dialog, "BTogli");
  EXPECT_EQ(Pages(*dialog), (std::vector<int>{1, 2, 3}));
  Click(*dialog, "BCorrente");
  EXPECT_EQ(Pages(*dialog), (std::vector<int>{1, 2, 3, 2}));
  // A chapter of the tree adds its pages in order.
  dialog->Tree().SelectObject(MakeObjectId(testoHtml, 1));
  const QModelIndex chapter = dialog->Tree().currentIndex().parent();
  dialog->Tree().setCurrentIndex(chapter);
  Click(*dialog, "BAggiungi");
  EXPECT_EQ(Pages(*dialog), (std::vector<int>{1, 2, 3, 2, 1, 2, 3}));
  Click(*dialog, "BSvuota");
  EXPECT_TRUE(Pages(*dialog).empty());
  // Each line tells the page's number and title.
  Click(*dialog, "BTutte");
  EXPECT_EQ(dialog->ListBox()->item(1)->text(), "1  Getting started");
}

TEST_F(PrintDialog, PrintPrintsTheListWithTheOptionsAndCloses) {
  auto dialog = Open();
  Click(*dialog, "BTutte");
  dialog->TableBackground()->setChecked(false);
  dialog->PageBackground()->setChecked(true);
  dialog->ImageScale()->setValue(5000);
  int maximum = 0;
  QObject::connect(dialog->Progress(), &QProgressBar::valueChanged,
                   [&](int) { maximum = std::max(maximum, dialog->Progress()->maximum()); });
  Click(*dialog, "BStampa");
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->Printed(), 4);
  EXPECT_EQ(maximum, 8);  // two steps a page
  ASSERT_EQ(printer.sheets.size(), 4u);
  EXPECT_EQ(printer.titles, (std::vector<std::string>{"Tarn, pag: Cover"}));
  EXPECT_EQ(dialog->Options().imageScale, 5000);
  EXPECT_FALSE(dialog->Options().tableBackground);
  // The page background covers each sheet first.
  for (const auto& sheet : printer.sheets) {
    ASSERT_GE(sheet.size(), 2u);
    EXPECT_EQ(sheet[1].what, "fill");
  }
}

TEST_F(PrintDialog, AnEmptyListPrintsTheCurrentPageUnlessTheOutputIsCancelled) {
  auto dialog = Open();
  output = false;
  Click(*dialog, "BStampa");
  EXPECT_TRUE(printer.sheets.empty());
  EXPECT_TRUE(dialog->isVisible());
  output = true;
  Click(*dialog, "BStampa");
  EXPECT_EQ(Pages(*dialog), (std::vector<int>{2}));
  ASSERT_EQ(printer.sheets.size(), 1u);
  EXPECT_EQ(printer.Texts(0).front(), "Pictures");
}

TEST_F(PrintDialog, ClickedEntriesShowInThePreviewAndVisitedPagesCanBeListed) {
  auto dialog = Open();
  // The preview starts on the current page.
  EXPECT_EQ(dialog->PreviewFrames()->MainPageNumber(), 2);
  EXPECT_TRUE(dialog->PreviewOnClick()->isChecked());
  Click(*dialog, "BTutte");
  QListWidget& list = *dialog->ListBox();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(1)).center());
  EXPECT_EQ(dialog->PreviewFrames()->MainPageNumber(), 1);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
  EXPECT_EQ(dialog->Visited(), (std::vector<int>{2, 1, 0}));
  Click(*dialog, "BSvuota");
  Click(*dialog, "BVisitate");
  EXPECT_EQ(Pages(*dialog), (std::vector<int>{2, 1, 0}));

  // Without preview on click, a click only selects; the choice is kept.
  dialog->PreviewOnClick()->setChecked(false);
  EXPECT_EQ(registry.ReadOption("clicprintprev"), "0");
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(2)).center());
  EXPECT_EQ(dialog->PreviewFrames()->MainPageNumber(), 0);
  EXPECT_FALSE(Open()->PreviewOnClick()->isChecked());
}

TEST_F(PrintDialog, PageOrderModeArrangesTheTreeOnly) {
  auto dialog = Open(TFstampa::Mode::PageOrder);
  EXPECT_EQ(dialog->ListBox(), nullptr);
  EXPECT_EQ(dialog->PrintButton(), nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Predefined page order");
  dialog->Tree().SelectObject(MakeObjectId(testoHtml, 2));
  Click(*dialog, "BTreeUp");
  EXPECT_EQ(document::DefaultOrder(set), (std::vector<document::ObjectId>{0, 2, 1, 3}));
  EXPECT_GE(changes, 1);
  // A click on a page shows it.
  dialog->Tree().SelectObject(MakeObjectId(testoHtml, 1));
  QTest::mouseClick(dialog->Tree().viewport(), Qt::LeftButton, {},
                    dialog->Tree().visualRect(dialog->Tree().currentIndex()).center());
  EXPECT_EQ(dialog->PreviewFrames()->MainPageNumber(), 1);

  // While the hypertext is only read, the order stays as it is.
  editable = false;
  auto reading = Open(TFstampa::Mode::PageOrder);
  EXPECT_FALSE(reading->findChild<QPushButton*>("BTreeUp")->isEnabled());
}

TEST_F(PrintDialog, PrinterSetupChoosesThePrinterAndStoresTheProfile) {
  platform::qt::QtPrinter qt;
  TPageSetupDialog qtSetup(qt, store, messages);
  qtSetup.RegString = std::string(kMainRegString);
  qtSetup.SetIniSettings(std::string(kMainIniSettings));
  TFprinterSetup dialog(qtSetup, qt);
  dialog.PrinterBox()->setCurrentText(platform::qt::QtPrinter::kPdfPrinter);
  dialog.PaperBox()->setCurrentIndex(dialog.PaperBox()->findData(11));  // A5
  dialog.Landscape()->setChecked(true);
  dialog.Copies()->setValue(2);
  dialog.accept();
  EXPECT_TRUE(qt.PrintsToFile());
  EXPECT_EQ(qt.Mode().paperSize, 11);
  EXPECT_EQ(qt.Mode().orientation, platform::DeviceMode::kLandscape);
  EXPECT_GT(qtSetup.PaperWidth(), qtSetup.PaperHeight());
  const std::string key = qtSetup.ProfileKey();
  EXPECT_EQ(store.Read(key, "device").value_or(""), platform::qt::QtPrinter::kPdfPrinter);
  EXPECT_EQ(store.Read(key, "dmPaperSize").value_or(""), "11");
  EXPECT_EQ(store.Read(key, "dmCopies").value_or(""), "2");

  // The next start takes the stored printer and paper.
  platform::qt::QtPrinter next;
  TPageSetupDialog nextSetup(next, store, messages);
  nextSetup.RegString = std::string(kMainRegString);
  nextSetup.SetIniSettings(std::string(kMainIniSettings));
  EXPECT_TRUE(next.PrintsToFile());
  EXPECT_EQ(next.Mode().paperSize, 11);
  EXPECT_EQ(next.Mode().orientation, platform::DeviceMode::kLandscape);
}

// The window's commands: the page shown goes straight into a PDF file named
// after the hypertext unless the author picks another.
TEST(PrintFromTheWindow, PresentPageIntoAPdfFile) {
  const fs::path folder = fs::temp_directory_path() / ("tarn-printwin-" + std::to_string(::getpid()));
  fs::create_directories(folder / "program");
  fs::copy_file(TARN_SAMPLE, folder / "sample.aeh", fs::copy_options::overwrite_existing);
  platform::MemorySettings store;
  platform::testing::RecordingMessages messages;
  {
    app::ui::TMainForm window(store, app::ProgramFolders{folder / "program", folder / "program"}, &messages);
    window.show();
    window.FormShow(app::ParseCommandLine({(folder / "sample.aeh").string()}));
    app::ui::PrintCommands& prints = window.Prints();
    // Whatever the machine has installed, this goes into a file.
    ASSERT_TRUE(prints.Printer().Select({platform::qt::QtPrinter::kPdfPrinter, "", ""}));
    std::string proposed;
    prints.askPdfFile = [&](QWidget*, const std::string& name) {
      proposed = name;
      return (folder / "present").string();
    };
    window.Editor().SetMainPageNumber(1);
    window.Action("Stampapaginacorrente1")->trigger();
    EXPECT_EQ(proposed, (folder / "sample.pdf").string());
    ASSERT_TRUE(fs::exists(folder / "present.pdf"));
    EXPECT_GT(fs::file_size(folder / "present.pdf"), 1000u);

    // Print all opens the dialog with every page listed.
    std::vector<int> listed;
    prints.runDialog = [&listed](TFstampa& dialog) {
      for (document::ObjectId id : dialog.List().Entries()) listed.push_back(document::IndexOf(id));
    };
    window.Action("Stampatutte1")->trigger();
    EXPECT_EQ(listed, (std::vector<int>{0, 1, 2, 3}));
    window.Hypertext().SetModified(false);
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tarn::print::ui
