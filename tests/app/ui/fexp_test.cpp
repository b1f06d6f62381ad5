// The export and import dialogs driven as an author drives them: the format
// decides the options shown and the pages checked, the list's checks decide
// what is written, Cancel during a run leaves nothing half-written, the
// settings are kept per format; import takes files by format and by drop,
// and the main window imports files dropped on it.
#include "app/ui/fexp.h"
#include "app/ui/fimp.h"
#include "app/ui/fscegliaprihtml.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QApplication>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/compose.h"
#include "app/ui/editorcontrol.h"
#include "app/ui/exportcommands.h"
#include "app/ui/listhtmltotxview.h"
#include "app/ui/mainform.h"
#include "convert/aehtohtml.h"
#include "base/filestream.h"
#include "document/aehset.h"
#include "platform/memorysettings.h"
#include "platform/registry.h"
#include "platform/testing/scriptedprocess.h"
#include "platform/testing/testplatform.h"

namespace tarn::app::ui {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  std::string bytes;
  base::ReadWholeFile(file, bytes);
  return bytes;
}

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class Dialogs : public ::testing::Test {
 protected:
  Dialogs() {
    folder = fs::temp_directory_path() / ("tarn_dialogs_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(TARN_SAMPLE, folder / "sample.aeh");
    app::Compose(set);
    EXPECT_TRUE(set.LoadFromFile(folder / "sample.aeh"));
  }
  ~Dialogs() override { fs::remove_all(folder); }

  std::unique_ptr<TFexp> Export(const std::string& proposed) {
    auto dialog = std::make_unique<TFexp>(TFexp::Host{{set, registry, messages, process, true, {}}, {}, {}});
    dialog->Prepare(proposed);
    dialog->show();
    return dialog;
  }
  int LivePages() const {
    int count = 0;
    for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
      const document::TAEHoggetto* page = set.GetObject(document::testoHtml, i);
      count += page != nullptr && !page->IsFree() ? 1 : 0;
    }
    return count;
  }
  static std::vector<bool> Checks(TFexp& dialog) {
    std::vector<bool> checks;
    for (const auto& row : dialog.PageList()->List().Rows()) checks.push_back(row.checked);
    return checks;
  }

  fs::path folder;
  platform::testing::RecordingMessages messages;
  platform::testing::FixedTextMeasurer measurer;
  platform::HostSystemInfo system;
  document::TAEHset set{{&messages, &system, &measurer, nullptr}};
  platform::MemorySettings store;
  platform::Registry registry{store};
  platform::testing::ScriptedProcess process;
};

TEST_F(Dialogs, ProposedNamePicksTheFormatAndTheFolder) {
  auto dialog = Export((folder / "out" / "book.rtf").string());
  // ".rtf" picks RTF in one file (not WinHelp), the name's folder and file.
  EXPECT_EQ(dialog->Format(), convert::kExpRtf);
  EXPECT_EQ(dialog->Folder()->text().toStdString(), (folder / "out").string() + "/");
  EXPECT_EQ(dialog->MainFile()->text(), "book.rtf");
  auto html = Export((folder / "site.htm").string());
  EXPECT_EQ(html->Format(), convert::kExpHtml);
  // Nothing matching: HTML with what is stored.
  auto other = Export((folder / "book.xyz").string());
  EXPECT_EQ(other->Format(), convert::kExpHtml);
  EXPECT_NE(other->Folder()->text().toStdString(), folder.string() + "/");
}

TEST_F(Dialogs, FormatDecidesTheOptionsShownAndThePagesChecked) {
  auto dialog = Export((folder / "site.htm").string());
  const std::size_t pages = static_cast<std::size_t>(LivePages());
  auto* htmlButton = dialog->findChild<QPushButton*>("bHtml");
  auto* help = dialog->findChild<QGroupBox*>("gbWinHelp");
  auto* size = dialog->findChild<QGroupBox*>("gbPageSize");
  // HTML: the style-sheet row, every page and the images and files, all
  // checked.
  const std::size_t files = static_cast<std::size_t>(set.CountOf(document::immagine) + set.CountOf(document::genLink));
  EXPECT_EQ(dialog->PageList()->List().Count(), pages + files + 1);
  EXPECT_EQ(dialog->PageList()->List().Rows()[0].caption, "Text styles");
  EXPECT_EQ(Checks(*dialog), std::vector<bool>(pages + files + 1, true));
  EXPECT_FALSE(htmlButton->isHidden());
  EXPECT_TRUE(dialog->MainFile()->isHidden());
  EXPECT_TRUE(help->isHidden());
  EXPECT_TRUE(size->isHidden());

  struct Case {
    int format;
    bool checked;
    const char* name;
  };
  for (const Case& c : {Case{convert::kExpWinHelp, true, "site.rtf"}, Case{convert::kExpRtfPerPage, false, "site.rtf"},
                        Case{convert::kExpAscii, true, "site.txt"}, Case{convert::kExpDoc, true, "site.doc"}}) {
    SCOPED_TRACE(c.format);
    dialog->SetFormat(c.format);
    EXPECT_EQ(dialog->PageList()->List().Count(), pages);
    EXPECT_EQ(Checks(*dialog), std::vector<bool>(pages, c.checked));
    EXPECT_TRUE(htmlButton->isHidden());
    EXPECT_EQ(help->isHidden(), c.format != convert::kExpWinHelp);
    // Page sizes shape RTF and the DOC made from it, not plain text.
    EXPECT_EQ(size->isHidden(), c.format == convert::kExpAscii);
    EXPECT_EQ(dialog->MainFile()->isHidden(), c.format == convert::kExpRtfPerPage);
    EXPECT_EQ(dialog->MainFile()->text(), c.name);
  }
  // "All" and "None" take turns.
  dialog->SetFormat(convert::kExpRtfPerPage);
  QTest::mouseClick(dialog->AllButton(), Qt::LeftButton);
  EXPECT_EQ(Checks(*dialog), std::vector<bool>(pages, true));
  EXPECT_EQ(dialog->AllButton()->text(), "None");
  QTest::mouseClick(dialog->AllButton(), Qt::LeftButton);
  EXPECT_EQ(Checks(*dialog), std::vector<bool>(pages, false));
}

TEST_F(Dialogs, ChecksDecideWhatIsWrittenAndSettingsAreKeptPerFormat) {
  auto dialog = Export((folder / "out" / "book.txt").string());
  ASSERT_EQ(dialog->Format(), convert::kExpAscii);
  auto& list = dialog->PageList()->List();
  // Only the first page row stays checked, by the list's own check box.
  for (int row = 1; row < dialog->PageList()->topLevelItemCount(); ++row) {
    dialog->PageList()->topLevelItem(row)->setCheckState(0, Qt::Unchecked);
  }
  ASSERT_EQ(list.CheckedPages().size(), 1u);
  const int kept = list.CheckedPages().front();
  QTest::mouseClick(dialog->ExportButton(), Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  const std::string text = Read(folder / "out" / "book.txt");
  convert::ExportJob job(set, nullptr);
  convert::ExportRequest only;
  only.format = convert::kExpAscii;
  only.folder = folder / "check";
  only.mainFile = "one.txt";
  only.pages = {kept};
  ASSERT_TRUE(job.Run(only).ok);
  EXPECT_EQ(text, Read(folder / "check" / "one.txt"));
  EXPECT_EQ(registry.ReadSubkeyValue("exp\\4", "expPathInWindow"), (folder / "out").string() + "/");
  EXPECT_EQ(registry.ReadSubkeyValue("exp\\4", "largh"), "210");
}

TEST_F(Dialogs, ImageAndFileRowsShowBeforeARunAndTheirChecksDecide) {
  auto dialog = Export((folder / "site" / "x.htm").string());
  auto& list = dialog->PageList()->List();
  std::vector<std::size_t> fileRows;
  for (std::size_t row = 0; row < list.Count(); ++row) {
    if (list.Rows()[row].type == "Image" || list.Rows()[row].type == "File") fileRows.push_back(row);
  }
  ASSERT_FALSE(fileRows.empty());
  for (const std::size_t row : fileRows) EXPECT_TRUE(list.Rows()[row].checked);
  // The first image is left out by its check box; the others are written.
  const std::size_t leftOut = fileRows.front();
  const std::string leftName = list.Rows()[leftOut].file;
  dialog->PageList()->topLevelItem(static_cast<int>(leftOut))->setCheckState(0, Qt::Unchecked);
  QTest::mouseClick(dialog->ExportButton(), Qt::LeftButton);
  ASSERT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_FALSE(fs::exists(folder / "site" / leftName));
  for (std::size_t i = 1; i < fileRows.size(); ++i) {
    EXPECT_TRUE(fs::exists(folder / "site" / list.Rows()[fileRows[i]].file)) << list.Rows()[fileRows[i]].file;
  }
  // Checked again, it is written even with no page exported that uses it.
  auto again = Export((folder / "only" / "x.htm").string());
  auto& second = again->PageList()->List();
  for (std::size_t row = 0; row < second.Count(); ++row) {
    const bool keep = second.Rows()[row].file == leftName;
    again->PageList()->topLevelItem(static_cast<int>(row))->setCheckState(0, keep ? Qt::Checked : Qt::Unchecked);
  }
  ASSERT_TRUE(second.CheckedPages().empty());
  QTest::mouseClick(again->ExportButton(), Qt::LeftButton);
  EXPECT_TRUE(fs::exists(folder / "only" / leftName));
}

TEST_F(Dialogs, EnterInTheFolderFieldGoesThereWithoutExporting) {
  auto dialog = Export((folder / "site" / "x.htm").string());
  fs::create_directories(folder / "elsewhere");
  dialog->Tabs()->setCurrentIndex(1);
  dialog->Folder()->setFocus();
  dialog->Folder()->setText(QString::fromStdString((folder / "elsewhere").string()));
  QTest::keyClick(dialog->Folder(), Qt::Key_Return);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(dialog->Folder()->text().toStdString(), (folder / "elsewhere").string() + "/");
  EXPECT_FALSE(fs::exists(folder / "elsewhere" / (set.ExpPrefix() + "_style.css")));
}

TEST_F(Dialogs, CancelDuringTheExportLeavesNoPartialFile) {
  auto dialog = Export((folder / "out" / "book.rtf").string());
  fs::create_directories(folder / "out");
  std::ofstream(folder / "out" / "book.rtf") << "the previous export";
  int calls = 0;
  dialog->OnProgress = [&] {
    // The author presses Cancel while the second page is written; the
    // dialog stays alive and enabled for it.
    if (++calls == 2) {
      EXPECT_TRUE(dialog->CancelButton()->isEnabled());
      EXPECT_FALSE(dialog->ExportButton()->isEnabled());
      QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    }
  };
  QTest::mouseClick(dialog->ExportButton(), Qt::LeftButton);
  EXPECT_TRUE(dialog->Outcome().cancelled);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(FilesIn(folder / "out"), std::vector<std::string>{"book.rtf"});
  EXPECT_EQ(Read(folder / "out" / "book.rtf"), "the previous export");
  EXPECT_TRUE(messages.entries.empty());
  // A second Export without cancel writes it.
  dialog->OnProgress = {};
  QTest::mouseClick(dialog->ExportButton(), Qt::LeftButton);
  EXPECT_EQ(Read(folder / "out" / "book.rtf").rfind("{\\rtf1", 0), 0u);
}

TEST_F(Dialogs, HtmlOptionsRebuildTheListKeepingChecks) {
  auto dialog = Export((folder / "site" / "x.htm").string());
  dialog->PageList()->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
  const std::vector<bool> before = Checks(*dialog);
  registry.WriteSubkeyValue("htmlexp", "expTipoExt", "1");
  QTimer::singleShot(0, [] {
    auto* options = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->objectName(), "FOpzExp");
    options->accept();
  });
  QTest::mouseClick(dialog->findChild<QPushButton*>("bHtml"), Qt::LeftButton);
  EXPECT_EQ(Checks(*dialog), before);
  // The page rows now name ".html" files.
  for (const auto& row : dialog->PageList()->List().Rows()) {
    if (row.type == "Page") {
      EXPECT_TRUE(QString::fromStdString(row.file).endsWith(".html")) << row.file;
    }
  }
}

class ImportDialog : public Dialogs {
 protected:
  std::unique_ptr<TFimp> Import(bool wordProcessor = false) {
    auto dialog = std::make_unique<TFimp>(TFimp::Host{set, registry, messages, process, wordProcessor, {}});
    dialog->show();
    return dialog;
  }
};

TEST_F(ImportDialog, FilesPickTheFormatAndDropsFollowTheRules) {
  auto dialog = Import();
  EXPECT_EQ(dialog->Format(), convert::kImpRtfPages);
  // Without a word processor there are no DOC formats.
  EXPECT_EQ(dialog->FormatBox()->count(), 5);
  // HTML never comes by a drop on the dialog.
  dialog->DropFiles({"/tmp/a.htm", "/tmp/b.rtf"});
  EXPECT_TRUE(dialog->ChosenFiles().empty());
  // The first dropped file picks the format; a file of another kind is
  // skipped without a word.
  dialog->DropFiles({"/tmp/a.txt", "/tmp/b.rtf", "/tmp/c.ini", "/tmp/a.txt"});
  EXPECT_EQ(dialog->Format(), convert::kImpAscii);
  EXPECT_EQ(dialog->ChosenFiles(), (std::vector<std::string>{"/tmp/a.txt", "/tmp/c.ini"}));
  EXPECT_TRUE(messages.entries.empty());
  EXPECT_TRUE(dialog->Tabs()->isTabVisible(dialog->Tabs()->indexOf(dialog->AutomaticTab())) == false);

  auto html = Import();
  html->OpenWith({"/tmp/page.html", "/tmp/other.htm", "/tmp/x.rtf"});
  EXPECT_EQ(html->Format(), convert::kImpHtml);
  EXPECT_EQ(html->ChosenFiles(), (std::vector<std::string>{"/tmp/page.html", "/tmp/other.htm"}));
  EXPECT_TRUE(html->Tabs()->isTabVisible(html->Tabs()->indexOf(html->AutomaticTab())));

  auto help = Import();
  help->SetFormat(convert::kImpWinHelp);
  EXPECT_FALSE(help->MainFileLabel()->isHidden());
  EXPECT_EQ(help->MainFileLabel()->text(), "(...)");
}

TEST_F(ImportDialog, ImportMakesPagesOrAsksForAFile) {
  auto dialog = Import();
  QTest::mouseClick(dialog->ImportButton(), Qt::LeftButton);
  EXPECT_TRUE(messages.Saw("You should choose one file at least"));
  EXPECT_TRUE(dialog->isVisible());

  const int before = LivePages();
  std::ofstream(folder / "note.rtf") << "{\\rtf1\\ansi A note from elsewhere.\\par}";
  dialog->OpenWith({(folder / "note.rtf").string()});
  QTest::mouseClick(dialog->ImportButton(), Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(LivePages(), before + 1);
  ASSERT_GE(dialog->Outcome().firstPage, 0);
  EXPECT_NE(set.GetObject(document::testoHtml, dialog->Outcome().firstPage)->ReadContent()->find("A note from"),
            std::string::npos);
}

TEST_F(ImportDialog, AutomaticImportListsLinkedPages) {
  std::ofstream(folder / "start.htm") << "<html><body><a href=\"two.htm\">two</a></body></html>";
  std::ofstream(folder / "two.htm") << "<html><body>Two</body></html>";
  auto dialog = Import();
  dialog->SetFormat(convert::kImpHtml);
  dialog->Tabs()->setCurrentWidget(dialog->AutomaticTab());
  dialog->StartPage()->setText(QString::fromStdString((folder / "start.htm").string()));
  // Enter in the start page lists the pages; it does not import yet.
  const int listed = LivePages();
  QTest::keyClick(dialog->StartPage(), Qt::Key_Return);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(LivePages(), listed);
  EXPECT_EQ(dialog->AutomaticList()->count(), 2);
  EXPECT_EQ(dialog->findChild<QLabel*>("lCount")->text(), "(2)");
  const int before = LivePages();
  QTest::mouseClick(dialog->ImportButton(), Qt::LeftButton);
  EXPECT_EQ(LivePages(), before + 2);
}

// ---- The main window ----

// The save dialog answered by the test.
class SavingMainForm : public TMainForm {
 public:
  using TMainForm::TMainForm;
  std::string saveName;
  int saveFilter = 1;

 protected:
  std::string AskSaveFileName(const std::string&, int& filterIndex) override {
    filterIndex = saveFilter;
    return saveName;
  }
};

class DropWindow : public Dialogs {
 protected:
  std::unique_ptr<SavingMainForm> Start() {
    auto window = std::make_unique<SavingMainForm>(mainStore, ProgramFolders{folder, folder}, &messages, nullptr,
                                                   WindowServices{nullptr, &process});
    window->show();
    window->FormShow(ParseCommandLine({(folder / "sample.aeh").string()}));
    // The dialog is answered as the author would: Export or Import.
    window->Exports().DialogRunner = [this](QDialog& dialog) {
      dialogs.push_back(dialog.objectName().toStdString());
      if (auto* exporter = qobject_cast<TFexp*>(&dialog)) {
        exporter->Folder()->setText(QString::fromStdString((folder / "site").string()));
        return exporter->RunExport() ? int(QDialog::Accepted) : int(QDialog::Rejected);
      }
      if (auto* importer = qobject_cast<TFimp*>(&dialog)) {
        if (!importOk) return int(QDialog::Rejected);
        return importer->RunImport() ? int(QDialog::Accepted) : int(QDialog::Rejected);
      }
      if (auto* choose = qobject_cast<TFScegliApriHtml*>(&dialog)) {
        offered.clear();
        for (const QRadioButton* button : choose->findChildren<QRadioButton*>()) {
          offered.push_back(button->text().toStdString());
        }
        choose->SetChoice(htmlChoice);
        return int(QDialog::Accepted);
      }
      return int(QDialog::Rejected);
    };
    return window;
  }
  static void Drop(QWidget* target, const std::vector<fs::path>& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const fs::path& file : files) urls << QUrl::fromLocalFile(QString::fromStdString(file.string()));
    data.setUrls(urls);
    // What a drag from the desktop delivers: enter, move, drop.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
  }
  int WindowPages(TMainForm& window) const {
    int count = 0;
    for (int i = 0; i < window.Hypertext().CountOf(document::testoHtml); ++i) {
      const document::TAEHoggetto* page = window.Hypertext().GetObject(document::testoHtml, i);
      count += page != nullptr && !page->IsFree() ? 1 : 0;
    }
    return count;
  }

  platform::MemorySettings mainStore;
  std::vector<std::string> dialogs;
  HtmlOpenChoice htmlChoice = HtmlOpenChoice::InsertPage;
  std::vector<std::string> offered;
  bool importOk = true;
};

TEST_F(DropWindow, DroppedHtmlAndRtfFilesAreImportedAndShown) {
  auto window = Start();
  std::ofstream(folder / "dropped.htm") << "<html><head><title>Dropped page</title></head><body>Web text</body></html>";
  std::ofstream(folder / "dropped.rtf") << "{\\rtf1\\ansi Word text.\\par}";
  const int before = WindowPages(*window);
  Drop(window.get(), {folder / "dropped.htm"});
  EXPECT_EQ(WindowPages(*window), before + 1);
  EXPECT_EQ(window->Hypertext().GetObject(document::testoHtml, window->Editor().MainPageNumber())->GetCaption(),
            "Dropped page");
  Drop(window.get(), {folder / "dropped.rtf"});
  EXPECT_EQ(WindowPages(*window), before + 2);
  EXPECT_EQ(dialogs, (std::vector<std::string>{"FImp", "FImp"}));
  EXPECT_TRUE(window->IsModified());
}

TEST_F(DropWindow, OpeningAForeignHtmlFileOffersItsThreeChoices) {
  auto window = Start();
  std::ofstream(folder / "home.htm") << "<html><head><title>Home</title></head><body><a href=\"next.htm\">on</a>"
                                        "</body></html>";
  std::ofstream(folder / "next.htm") << "<html><head><title>Next</title></head><body>Next</body></html>";
  const std::string home = (folder / "home.htm").string();
  const int before = WindowPages(*window);
  // Into the open hypertext.
  window->OpenDocumentFile(home, false);
  EXPECT_EQ(offered.size(), 3u);
  EXPECT_EQ(offered.front(), "insert page in present hypertext (page import)");
  EXPECT_EQ(WindowPages(*window), before + 1);
  EXPECT_EQ(window->FileName(), (folder / "sample.aeh").string());
  // A new hypertext of that one page.
  htmlChoice = HtmlOpenChoice::NewWithPage;
  window->OpenDocumentFile(home, false);
  EXPECT_EQ(WindowPages(*window), 1);
  EXPECT_EQ(window->FileName(), "Untitled");
  EXPECT_EQ(window->Hypertext().GetObject(document::testoHtml, window->Editor().MainPageNumber())->GetCaption(),
            "Home");
  EXPECT_TRUE(window->IsModified());
  EXPECT_TRUE(window->EditMode());
  // A new hypertext of every page the links reach, through the import
  // dialog's automatic tab.
  htmlChoice = HtmlOpenChoice::EditPageSet;
  dialogs.clear();
  window->OpenDocumentFile(home, false);
  EXPECT_EQ(dialogs, (std::vector<std::string>{"FScegliApriHtml", "FImp"}));
  EXPECT_EQ(WindowPages(*window), 2);
  // Cancelled there: a new hypertext showing its cover page.
  importOk = false;
  window->OpenDocumentFile(home, false);
  EXPECT_EQ(WindowPages(*window), 1);
  EXPECT_EQ(window->Editor().MainPageNumber(), 0);
}

TEST_F(DropWindow, OpeningAnExportedPageOffersItsOwnHypertext) {
  auto window = Start();
  // A page of the sample, exported; then a new hypertext is open.
  convert::ExportJob job(window->Hypertext(), nullptr);
  convert::ExportRequest site;
  site.folder = folder / "site";
  const int page = static_cast<int>(window->Editor().MainPageNumber());
  site.pages = {page};
  ASSERT_TRUE(job.Run(site).ok);
  convert::TAEHtoHtml names;
  names.SetLinkedAEHset(&window->Hypertext());
  names.SetExportPrefixOverride(window->Hypertext().ExpPrefix());
  names.ExpTipoExt = 0;
  const std::string exported =
      (site.folder / names.OutputFileName(*window->Hypertext().GetObject(document::testoHtml, page), 0)).string();
  window->NewBlankHypertext();
  htmlChoice = HtmlOpenChoice::EditNative;
  window->OpenDocumentFile(exported, false);
  EXPECT_EQ(offered.size(), 4u);
  EXPECT_EQ(offered.front(), "edit this page in his own hypertext (native format)");
  EXPECT_EQ(window->FileName(), (folder / "sample.aeh").string());
  EXPECT_EQ(window->Editor().MainPageNumber(), page);
  // As a template: the same pages, no name.
  htmlChoice = HtmlOpenChoice::CopyOfNative;
  window->OpenDocumentFile(exported, false);
  EXPECT_EQ(window->FileName(), "Untitled");
  EXPECT_EQ(WindowPages(*window), LivePages());
  // Its hypertext gone, the copy into the open hypertext imports the page.
  fs::rename(folder / "sample.aeh", folder / "moved.aeh");
  window->NewBlankHypertext();
  htmlChoice = HtmlOpenChoice::InsertNativePage;
  window->OpenDocumentFile(exported, false);
  EXPECT_EQ(WindowPages(*window), 1);
  EXPECT_EQ(window->FileName(), "Untitled");
}

TEST_F(DropWindow, AFileDroppedOnANewHypertextTakesItsEmptyFirstPage) {
  auto window = Start();
  window->NewBlankHypertext();
  std::ofstream(folder / "first.rtf") << "{\\rtf1\\ansi Imported first.\\par}";
  Drop(window.get(), {folder / "first.rtf"});
  ASSERT_EQ(WindowPages(*window), 1);
  EXPECT_EQ(window->Editor().MainPageNumber(), 0);
  // Leaving the page writes the editor's copy back: the imported text stays.
  window->CommitCurrentPage();
  window->Editor().SetMainPageNumber(-1);
  EXPECT_NE(window->Hypertext().GetObject(document::testoHtml, 0)->ReadContent()->find("Imported first."),
            std::string::npos);
}

TEST_F(DropWindow, ExportPagesOpensTheDialogAndWritesTheSite) {
  auto window = Start();
  QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
  ASSERT_EQ(dialogs, std::vector<std::string>{"FExp"});
  const fs::path site = folder / "site";
  std::size_t written = 0;
  // The frameless version of the page the sample's floating frame shows is not a page of its own.
  const std::string frameless = window->Hypertext().ExpPrefix() + "-";
  for (const auto& file : fs::directory_iterator(site)) {
    written += file.path().extension() == ".htm" && !file.path().filename().string().starts_with(frameless) ? 1 : 0;
  }
  EXPECT_EQ(written, static_cast<std::size_t>(WindowPages(*window)));
  EXPECT_TRUE(fs::exists(site / (window->Hypertext().ExpPrefix() + "_style.css")));
  EXPECT_EQ(platform::Registry(mainStore).ReadSubkeyValue("exp\\0", "expPathInWindow"), site.string() + "/");
}

TEST_F(DropWindow, SaveAsOtherKindsConvertThePageOrOpenTheExportDialog) {
  auto window = Start();
  const long page = window->Editor().MainPageNumber();
  // "Save current page in RTF" and a text name: the page shown, written at once.
  window->saveName = (folder / "page.rtf").string();
  window->saveFilter = 4;
  window->FileSaveAs();
  EXPECT_TRUE(window->SaveSucceeded());
  EXPECT_EQ(Read(folder / "page.rtf").rfind("{\\rtf1", 0), 0u);
  window->saveName = (folder / "page.txt").string();
  window->saveFilter = 1;
  window->FileSaveAs();
  const std::string text = Read(folder / "page.txt");
  convert::ExportJob job(window->Hypertext(), nullptr);
  convert::ExportRequest one;
  one.format = convert::kExpAscii;
  one.folder = folder / "check";
  one.mainFile = "one.txt";
  one.pages = {static_cast<int>(page)};
  ASSERT_TRUE(job.Run(one).ok);
  EXPECT_EQ(text, Read(folder / "check" / "one.txt"));
  EXPECT_TRUE(dialogs.empty());
  // "Save hypertext other formats": the export dialog, RTF preselected.
  window->saveName = (folder / "all.rtf").string();
  window->saveFilter = 2;
  window->FileSaveAs();
  EXPECT_EQ(dialogs, std::vector<std::string>{"FExp"});
  EXPECT_EQ(window->FileName(), (folder / "sample.aeh").string());
}

}  // namespace
}  // namespace tarn::app::ui
