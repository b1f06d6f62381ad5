// Moving around a hypertext in the main window as an author does: the page
// number box, the visited pages, the go-to menus, links of every kind in
// preview and while editing, the status bar, the paste commands and files
// dropped on the window. Programs that links start are scripted.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/linkedapplication.h"
#include "app/ui/commandset.h"
#include "app/ui/fseparato.h"
#include "app/ui/linkfollower.h"
#include "app/ui/mainform.h"
#include "app/ui/navigationfixture.h"
#include "app/ui/pagenavigation.h"
#include "app/ui/toolwindows.h"
#include "app/ui/windowfeedback.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "page/ui/pageview.h"
#include "platform/memorysettings.h"
#include "platform/registry.h"
#include "platform/testing/manualeventloop.h"
#include "platform/testing/scriptedprocess.h"
#include "platform/testing/testplatform.h"
#include "richtext/ui/aehbox.h"

namespace tarn::app::ui {
namespace {

namespace fs = std::filesystem;

class ScriptedMainForm : public TMainForm {
 public:
  using TMainForm::TMainForm;
  std::string application;

 protected:
  std::string AskApplication(const fs::path&) override { return application; }
};

class Navigation : public ::testing::Test {
 protected:
  Navigation() {
    folder = fs::temp_directory_path() / ("tarn_navigation_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "program");
    files = testing::WriteNavigationHypertexts(folder);
  }
  ~Navigation() override {
    window.reset();
    fs::remove_all(folder);
  }

  void Start(platform::EventLoop* loop = nullptr) {
    window = std::make_unique<ScriptedMainForm>(store, ProgramFolders{folder / "program", folder / "program"},
                                                &messages, nullptr, WindowServices{loop, &process});
    window->show();
    window->FormShow(ParseCommandLine({files.main.string()}));
    messages.Clear();
  }
  objects::ui::TInsiemeCornici& Editor() { return static_cast<objects::ui::TInsiemeCornici&>(window->Editor()); }
  PageNavigation& Nav() { return window->Navigation(); }
  long Page() { return window->Editor().MainPageNumber(); }
  richtext::ui::TAEHbox* Box() { return Editor().BoxOf(*Editor().Model().Top()); }
  QString Url(long page, const fs::path& file) {
    return QString::fromStdString("tarn://" + file.string() + "|" + std::to_string(page));
  }
  void Preview() {
    if (window->EditMode()) QTest::keyClick(window.get(), Qt::Key_F11);
    ASSERT_FALSE(window->EditMode());
  }

  // Where the words stand in the box showing the main page.
  struct Place {
    int paragraph = -1;
    int character = -1;
  };
  Place Find(richtext::ui::TAEHbox& box, const std::string& words) {
    auto& text = box.Text();
    for (int p = 0; p < text.ParagraphCount(); ++p) {
      const auto at = text.Paragraph(p).text.find(words);
      if (at != std::string::npos) return {p, static_cast<int>(at) + 2};
    }
    return {};
  }
  // A click on the words, as the author clicks a link in preview.
  void Click(const std::string& words) {
    richtext::ui::TAEHbox* box = Box();
    ASSERT_NE(box, nullptr);
    const Place place = Find(*box, words);
    ASSERT_GE(place.paragraph, 0) << words;
    const richtext::TextPos pos = box->Text().Layout().PositionToPoint(place.paragraph, place.character);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(pos.x + 2, pos.y + pos.height / 2));
    QCoreApplication::sendPostedEvents();
  }
  // The link on the words followed as a double click or F9 follows it.
  void Follow(const std::string& words) {
    richtext::ui::TAEHbox* box = Box();
    ASSERT_NE(box, nullptr);
    const Place place = Find(*box, words);
    ASSERT_GE(place.paragraph, 0) << words;
    const auto link = box->Text().Paragraph(place.paragraph).infos[static_cast<std::size_t>(place.character)].link;
    ASSERT_NE(link, -1) << words;
    Editor().FollowLink(link, box);
    QCoreApplication::sendPostedEvents();
  }
  // A page shown as the Pages panel or a go-to entry shows it.
  void Show(long page) { window->Editor().SetMainPageNumber(page); }
  void TypePageNumber(const QString& number) {
    QSpinBox* box = Nav().PageNumber();
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, number);
    QTest::keyClick(box, Qt::Key_Return);
  }

  fs::path folder;
  testing::NavigationFiles files;
  platform::MemorySettings store;
  platform::testing::RecordingMessages messages;
  platform::testing::ScriptedProcess process;
  std::unique_ptr<ScriptedMainForm> window;
};

// ---- The page number ----

TEST_F(Navigation, ThePageNumberBoxShowsTheTypedPageAndMarksANewOne) {
  Start();
  QSpinBox* number = Nav().PageNumber();
  EXPECT_EQ(number->value(), 0);
  TypePageNumber("4");
  EXPECT_EQ(Page(), 4);
  const QColor normal = number->palette().color(QPalette::Text);
  EXPECT_NE(normal, QColor(Qt::red));

  // The number of pages asks for a new page: red, and the editor makes it.
  const int pages = testing::kNavigationPages;
  TypePageNumber(QString::number(pages));
  EXPECT_EQ(number->palette().color(QPalette::Text), QColor(Qt::red));
  // The page has the focus, and no selection left in the box hides the red.
  EXPECT_FALSE(number->hasFocus());
  EXPECT_FALSE(number->findChild<QLineEdit*>()->hasSelectedText());
  EXPECT_EQ(Page(), pages);
  EXPECT_EQ(window->Hypertext().CountOf(document::testoHtml), pages + 1);
  // A number far beyond: the next new page, whose number the box shows.
  TypePageNumber("99");
  EXPECT_EQ(Page(), pages + 1);
  EXPECT_EQ(number->value(), pages + 1);

  // The spin buttons and Page -1 stop at 0.
  TypePageNumber("1");
  EXPECT_EQ(number->palette().color(QPalette::Text), normal);
  window->Action("PageMinus")->trigger();
  EXPECT_EQ(Page(), 0);
  window->Action("PageMinus")->trigger();
  QTest::keyClick(number, Qt::Key_Down);
  EXPECT_EQ(Page(), 0);
  QTest::keyClick(number, Qt::Key_Up);
  EXPECT_EQ(Page(), 1);
  // Page +1 never goes beyond the page count.
  const int count = window->Hypertext().CountOf(document::testoHtml);
  {
    const QSignalBlocker quiet(number);
    number->setValue(count);
  }
  window->Action("PagePlus")->trigger();
  EXPECT_EQ(number->value(), count);
  EXPECT_EQ(Page(), 1);
}

TEST_F(Navigation, PagePlusStepsOverDeletedPages) {
  Start();
  window->Hypertext().GetObject(document::testoHtml, 2)->Clear();
  TypePageNumber("1");
  window->Action("PagePlus")->trigger();
  EXPECT_EQ(Page(), 3);
  window->Action("PageMinus")->trigger();
  EXPECT_EQ(Page(), 1);
}

// ---- Visited pages ----

TEST_F(Navigation, VisitedPagesAreListedOnceAndANewVisitGoesAfterTheCurrentOne) {
  Start();
  const fs::path& file = files.main;
  EXPECT_EQ(Nav().HistoryEntries(), QStringList({Url(0, file)}));
  EXPECT_FALSE(window->Action("BPrecedente")->isEnabled());
  TypePageNumber("1");
  TypePageNumber("1");  // the same page twice: one entry
  TypePageNumber("2");
  EXPECT_EQ(Nav().HistoryEntries(), QStringList({Url(0, file), Url(1, file), Url(2, file)}));
  EXPECT_EQ(Nav().HistoryIndex(), 2);
  EXPECT_TRUE(window->Action("PreviousPage")->isEnabled());
  EXPECT_FALSE(window->Action("NextPage")->isEnabled());

  window->Action("BPrecedente")->trigger();
  EXPECT_EQ(Page(), 1);
  EXPECT_EQ(Nav().HistoryIndex(), 1);
  EXPECT_TRUE(window->Action("Bseguente")->isEnabled());
  // A new page goes after the current entry; the later ones stay.
  TypePageNumber("5");
  EXPECT_EQ(Nav().HistoryEntries(), QStringList({Url(0, file), Url(1, file), Url(5, file), Url(2, file)}));
  EXPECT_EQ(Nav().HistoryIndex(), 2);
  window->Action("NextPage")->trigger();
  EXPECT_EQ(Page(), 2);
  // Back, then the page that the list has next: the list moves on to it
  // instead of holding it twice in a row.
  window->Action("PreviousPage")->trigger();
  TypePageNumber("2");
  EXPECT_EQ(Nav().HistoryEntries(), QStringList({Url(0, file), Url(1, file), Url(5, file), Url(2, file)}));
  EXPECT_EQ(Nav().HistoryIndex(), 3);
  EXPECT_FALSE(window->Action("NextPage")->isEnabled());
  // Choosing an entry of the list shows its page.
  QComboBox* history = Nav().History();
  history->setCurrentIndex(0);
  emit history->activated(0);
  EXPECT_EQ(Page(), 0);
  EXPECT_EQ(Nav().HistoryEntries().size(), 4);
}

TEST_F(Navigation, ALinkIntoAnotherHypertextAsksToSaveAndTheListLeadsBack) {
  Start();
  window->Hypertext().SetTitle("Changed");
  window->SetModified(true);
  // Cancel stays; No opens the other hypertext on the linked page.
  messages.answers = {platform::Answer::Cancel};
  Follow(testing::kOtherLinkText);
  EXPECT_TRUE(messages.Saw("I will load a new file. \rDo you want to save current one?"));
  EXPECT_EQ(window->FileName(), files.main.string());
  messages.answers = {platform::Answer::No};
  Follow(testing::kOtherLinkText);
  EXPECT_EQ(window->FileName(), files.other.string());
  EXPECT_EQ(Page(), 1);
  // Its cover was shown on the way.
  EXPECT_EQ(Nav().HistoryEntries(), QStringList({Url(0, files.main), Url(0, files.other), Url(1, files.other)}));
  // Back into the first hypertext, which opens again.
  messages.Clear();
  window->Action("PreviousPage")->trigger();
  EXPECT_EQ(Page(), 0);
  window->Action("PreviousPage")->trigger();
  EXPECT_EQ(window->FileName(), files.main.string());
  EXPECT_EQ(Page(), 0);
  EXPECT_NE(window->Hypertext().Title(), "Changed");  // it was not saved
  EXPECT_TRUE(messages.entries.empty()) << messages.entries.front().text;

  // A link to a hypertext that is not there leaves the open one alone.
  window->NavigateToUrl("tarn://" + (folder / "gone.aeh").string() + "|1");
  EXPECT_TRUE(messages.Saw("The hypertext " + (folder / "gone.aeh").string() + " was not found."));
  EXPECT_EQ(window->FileName(), files.main.string());

  // A reader stays a reader: read in preview, the other hypertext opens
  // in preview too, and so does the first one on the way back.
  Preview();
  messages.Clear();
  Click(testing::kOtherLinkText);
  EXPECT_EQ(window->FileName(), files.other.string());
  EXPECT_FALSE(window->EditMode());
  for (int i = 0; i < 3 && window->FileName() != files.main.string(); ++i) {
    window->Action("PreviousPage")->trigger();
  }
  EXPECT_EQ(window->FileName(), files.main.string());
  EXPECT_FALSE(window->EditMode());
  EXPECT_FALSE(window->IsModified());
  EXPECT_TRUE(messages.entries.empty());
}

// ---- The go-to menus ----

TEST_F(Navigation, GoToMenusListTheRecentPagesNewestFirst) {
  Start();
  QMenu* go = Nav().GoToPageMenu();
  QMenu* number = Nav().PageNumberMenu();
  // After loading: the first fifteen pages, the highest first, then the
  // cover shown moves to the top.
  auto entries = Nav().GoMenuEntries(go);
  ASSERT_EQ(entries.size(), 15u);
  EXPECT_EQ(entries[0], std::make_pair(0L, QStringLiteral("Cover")));
  EXPECT_EQ(entries[1].first, 14);
  EXPECT_EQ(entries.back(), std::make_pair(1L, QStringLiteral("Links")));
  EXPECT_TRUE(window->Action("N37")->isVisible());
  // Seventeen pages visited: never more than seventeen items in a menu.
  for (int page = 19; page >= 3; --page) TypePageNumber(QString::number(page));
  EXPECT_EQ(go->actions().size(), PageNavigation::kGoMenuLimit);
  EXPECT_EQ(number->actions().size(), PageNavigation::kGoMenuLimit);
  entries = Nav().GoMenuEntries(go);
  EXPECT_EQ(entries[0].first, 3);
  EXPECT_EQ(entries[1].first, 4);
  EXPECT_EQ(Nav().GoMenuEntries(number)[0], std::make_pair(3L, QStringLiteral("Far")));
  // An entry shows its page.
  go->actions().at(3)->trigger();
  EXPECT_EQ(Page(), entries[1].first);
  // Opening the Hypertext menu captions the entries with today's titles.
  window->Hypertext().GetObject(document::testoHtml, 3)->SetName("Far away");
  emit window->Commands().Menu("mHypertext")->aboutToShow();
  EXPECT_EQ(Nav().GoMenuEntries(go)[1], std::make_pair(3L, QStringLiteral("Far away")));
  // A new hypertext empties them; its first page joins once shown.
  window->Action("FileNew")->trigger();
  ASSERT_EQ(Nav().GoMenuEntries(go).size(), 1u);
  EXPECT_EQ(Nav().GoMenuEntries(number).front().first, 0);
}

TEST_F(Navigation, ThePageNumberPopupGoesToTheHeaderAndTheNextSlide) {
  Start();
  TypePageNumber(QString::number(testing::kSlidePage));
  emit Nav().PageNumberMenu()->aboutToShow();
  QAction* slide = window->Action("Vaiaprossimaslide1");
  EXPECT_TRUE(slide->isEnabled());
  EXPECT_EQ(slide->text(), "Go to next &slide (Page 6 @6)");
  slide->trigger();
  EXPECT_EQ(Page(), testing::kSlideTarget);
  emit Nav().PageNumberMenu()->aboutToShow();
  EXPECT_FALSE(slide->isEnabled());
  // A page without a footer: the item is off and nothing happens; with a
  // header: it shows, and on the header page itself going there is off.
  TypePageNumber(QString::number(testing::kSlidePage));
  emit Nav().PageNumberMenu()->aboutToShow();
  EXPECT_FALSE(window->Action("VaiAPie2")->isEnabled());
  EXPECT_TRUE(window->Action("VaiATestata2")->isEnabled());
  window->Action("VaiAPie2")->trigger();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(Page(), testing::kSlidePage);
  window->Action("VaiATestata2")->trigger();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(Page(), testing::kSlideHeader);
  emit Nav().PageNumberMenu()->aboutToShow();
  EXPECT_FALSE(window->Action("VaiATestata2")->isEnabled());
  // "All hypertext pages" shows the page chosen.
  Nav().choosePage = [](long current) { return current + 2; };
  window->Action("ScegliDaAnteprima2")->trigger();
  EXPECT_EQ(Page(), testing::kSlideHeader + 2);
}

// ---- Links ----

TEST_F(Navigation, AddressLinksInPreviewGoToTheDesktopAndWhileEditingToTheAlbum) {
  Start();
  Preview();
  Click(testing::kAddressLinkText);
  ASSERT_EQ(process.calls.size(), 1u);
  EXPECT_EQ(process.calls[0].program, "xdg-open");
  EXPECT_EQ(process.calls[0].arguments, (std::vector<std::string>{"http://example.org/"}));
  Click(testing::kMailLinkText);
  ASSERT_EQ(process.calls.size(), 2u);
  EXPECT_EQ(process.calls[1].arguments, (std::vector<std::string>{"mailto:team@example.org"}));
  EXPECT_EQ(Page(), 0);
  // A page link in preview, then back.
  Click(testing::kPageLinkText);
  EXPECT_EQ(Page(), 1);
  window->Action("PreviousPage")->trigger();
  EXPECT_EQ(Page(), 0);

  QTest::keyClick(window.get(), Qt::Key_F11);
  Follow(testing::kAddressLinkText);
  EXPECT_TRUE(messages.Saw("The album of links is not available in this version yet."));
  EXPECT_EQ(process.calls.size(), 2u);
}

TEST_F(Navigation, SpecialLinksScrollToAnchorsAndOpenWindows) {
  Start();
  Preview();
  // An anchor of the page itself.
  Show(testing::kAnchorsPage);
  auto* view = Editor().PageViewOf(*Editor().Model().Top());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->verticalScrollBar()->value(), 0);
  Follow(testing::kNearAnchorLinkText);
  EXPECT_EQ(Page(), testing::kAnchorsPage);
  EXPECT_GT(view->verticalScrollBar()->value(), 0);
  EXPECT_EQ(Box()->Text().Caret().paragraph, Box()->Text().LastOwn());

  // Down scrolls a page just shown, before anything on it was clicked.
  Show(testing::kFarPage);
  auto* far = Editor().PageViewOf(*Editor().Model().Top());
  ASSERT_EQ(far->verticalScrollBar()->value(), 0);
  QTest::keyClick(&Editor(), Qt::Key_Down);
  EXPECT_GT(far->verticalScrollBar()->value(), 0);

  // A page and an anchor on it.
  Show(0);
  Follow(testing::kJumpLinkText);
  EXPECT_EQ(Page(), testing::kFarPage);
  EXPECT_EQ(Box()->Text().Caret().paragraph, Box()->Text().LastOwn());
  EXPECT_GT(Editor().PageViewOf(*Editor().Model().Top())->verticalScrollBar()->value(), 0);

  // The next page of the default order.
  Show(0);
  Follow(testing::kNextLinkText);
  EXPECT_EQ(Page(), 1);

  // A named window, shown once however often; a pop-up; closing by name.
  Show(0);
  Follow(testing::kWindowLinkText);
  Follow(testing::kWindowLinkText);
  Follow(testing::kPopupLinkText);
  EXPECT_EQ(Page(), 0);
  ASSERT_EQ(window->Links().SeparateWindows().size(), 2u);
  TFseparato* side = window->Links().FindSeparateWindow("side");
  ASSERT_NE(side, nullptr);
  EXPECT_EQ(side->Editor().MainPageNumber(), 1);
  EXPECT_EQ(side->windowTitle(), "Links");
  EXPECT_EQ(window->Links().FindSeparateWindow("<<<pop")->Editor().MainPageNumber(), testing::kFarPage);
  // A page link in the window shows its page there.
  richtext::ui::TAEHbox* sideBox = side->Editor().BoxOf(*side->Editor().Model().Top());
  const Place cover = Find(*sideBox, "cover");
  side->Editor().FollowLink(sideBox->Text().Paragraph(cover.paragraph).infos[static_cast<std::size_t>(cover.character)].link, sideBox);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(side->Editor().MainPageNumber(), 0);
  EXPECT_EQ(Page(), 0);
  Follow(testing::kCloseLinkText);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(window->Links().FindSeparateWindow("Side"), nullptr);
  // Escape in the pop-up's page closes it.
  TFseparato* pop = window->Links().FindSeparateWindow("<<<pop");
  ASSERT_NE(pop, nullptr);
  QApplication::setActiveWindow(pop);
  QTest::keyClick(pop->Editor().BoxOf(*pop->Editor().Model().Top()), Qt::Key_Escape);
  EXPECT_FALSE(pop->isVisible());
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(window->Links().FindSeparateWindow("<<<pop"), nullptr);
  // Opening another hypertext closes the rest.
  window->Action("FileNew")->trigger();
  EXPECT_TRUE(window->Links().SeparateWindows().empty());
}

TEST_F(Navigation, FileLinksOpenWithTheirApplicationOrAreSaved) {
  platform::Registry registry(store);
  registry.WriteSubkeyValue("ext\\.txt", "comp", "3");
  registry.WriteSubkeyValue("ext\\.txt", "appPath", "/usr/bin/mousepad");
  Start();
  std::vector<std::string> asked;
  window->Links().askFileLink = [&](const document::TAEHoggetto& file) {
    asked.push_back(document::LinkCaption(file));
    return LinkFollower::FileLinkChoice::Open;
  };
  Follow(testing::kFileLinkText);
  EXPECT_EQ(asked, (std::vector<std::string>{"notes.txt"}));
  ASSERT_FALSE(process.calls.empty());
  const auto& run = process.calls.back();
  EXPECT_EQ(run.program, "/usr/bin/mousepad");
  ASSERT_EQ(run.arguments.size(), 1u);
  std::ifstream written(run.arguments[0]);
  std::string text((std::istreambuf_iterator<char>(written)), {});
  EXPECT_EQ(text, "Notes kept in the hypertext.\n");

  const fs::path copy = folder / "saved.txt";
  window->Links().askFileLink = [](const document::TAEHoggetto&) { return LinkFollower::FileLinkChoice::SaveAs; };
  window->Links().askSaveFile = [&](const std::string& proposed) {
    EXPECT_EQ(proposed, "notes.txt");
    return copy.string();
  };
  Follow(testing::kFileLinkText);
  EXPECT_EQ(fs::file_size(copy), text.size());
}

TEST_F(Navigation, AProgramLinkRunsTheProgramItsSettingNamesWithTheParameters) {
  Start();
  Preview();
  // Without the setting: said so, and the parameters open on the desktop.
  Follow(testing::kProgramLinkText);
  EXPECT_TRUE(messages.Saw(std::string("The registry key is void! (") + testing::kProgramLinkValue + ")"));
  ASSERT_EQ(process.calls.size(), 1u);
  EXPECT_EQ(process.calls[0].program, "xdg-open");
  const fs::path parameters = process.calls[0].arguments.at(0);
  EXPECT_EQ(parameters.filename(), "params.txt");
  std::ifstream in(parameters, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "line one");
  EXPECT_EQ(fs::status(parameters).permissions() & fs::perms::owner_exec, fs::perms::none);

  platform::Registry(store).WriteSubkeyValue("navtest", "editor", "/usr/bin/mousepad");
  Follow(testing::kProgramLinkText);
  ASSERT_EQ(process.calls.size(), 2u);
  EXPECT_EQ(process.calls[1].program, "/usr/bin/mousepad");
  EXPECT_EQ(process.calls[1].arguments, (std::vector<std::string>{parameters.string()}));
}

// ---- Feedback ----

TEST_F(Navigation, TheStatusBarShowsFourPanelsWhileEditingAndOneTextInPreview) {
  Start();
  WindowFeedback& feedback = window->Feedback();
  richtext::ui::TAEHbox* box = Box();
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(20, 8));
  EXPECT_EQ(feedback.Panel(3)->text(), "Text: \"Cover\" @0; \"Pag0\"");
  QTest::keyClick(box, Qt::Key_Down);
  QTest::keyClick(box, Qt::Key_Home);
  QTest::keyClick(box, Qt::Key_Right);
  EXPECT_EQ(feedback.Panel(0)->text(), "2: 2");
  EXPECT_EQ(feedback.Panel(1)->text(), "");
  EXPECT_EQ(feedback.Panel(2)->text(), "");
  QTest::keyClicks(box, "x");
  EXPECT_EQ(feedback.Panel(2)->text(), "P modified");
  window->Hypertext().SetModified(true);
  QTest::keyClick(box, Qt::Key_Left);
  EXPECT_EQ(feedback.Panel(1)->text(), "HY modified");
  window->Action("FileSave")->trigger();
  EXPECT_EQ(feedback.Panel(1)->text(), "");
  EXPECT_EQ(feedback.Panel(2)->text(), "");
  // A hint shows alone; an empty one brings the panels back.
  feedback.ShowHint("Link|Link to: Links (1)");
  EXPECT_EQ(window->statusBar()->currentMessage(), "Link to: Links (1)");
  EXPECT_FALSE(feedback.Panel(3)->isVisible());
  feedback.ShowHint({});
  EXPECT_TRUE(feedback.Panel(3)->isVisible());

  Preview();
  EXPECT_FALSE(feedback.Panel(0)->isVisible());
  EXPECT_TRUE(feedback.SimpleText()->isVisible());
  EXPECT_EQ(feedback.SimpleText()->text(), "Text: \"Cover\" ");
}

TEST_F(Navigation, TheCaretOnALinkNamesItOnTheLinkButtonAndCopyNeedsASelection) {
  Start();
  richtext::ui::TAEHbox* box = Box();
  const Place place = Find(*box, testing::kPageLinkText);
  box->setFocus();
  box->SelectRange({place.paragraph, place.character}, {place.paragraph, place.character});
  emit box->CaretMoved();
  QTest::keyClick(box, Qt::Key_Right);
  EXPECT_TRUE(window->Action("LinkButton")->isChecked());
  EXPECT_EQ(window->Action("LinkButton")->toolTip(), "Link to: Links");
  EXPECT_FALSE(window->Action("EditCopy")->isEnabled());
  QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_TRUE(window->Action("EditCopy")->isEnabled());
  EXPECT_TRUE(window->Action("CutButton")->isEnabled());
  // The first Ctrl+Home ends the selection, the second goes to the top.
  QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_FALSE(window->Action("LinkButton")->isChecked());
  EXPECT_EQ(window->Action("LinkButton")->toolTip(), "Link");
  EXPECT_FALSE(window->Action("EditCut")->isEnabled());
}

TEST_F(Navigation, PasteFollowsTheClipboard) {
  Start();
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->clear();
  QCoreApplication::processEvents();
  EXPECT_FALSE(window->Action("EditPaste")->isEnabled());
  EXPECT_FALSE(window->Action("PasteButton")->isEnabled());
  clipboard->setText(QStringLiteral("from another program"));
  QCoreApplication::processEvents();
  EXPECT_TRUE(window->Action("EditPaste")->isEnabled());
  EXPECT_TRUE(window->Action("CuPaste")->isEnabled());
}

TEST_F(Navigation, DroppedFilesOpenAHypertextOrSayWhatIsNotThereYet) {
  Start();
  window->FilesDropped({(folder / "a.txt").string(), (folder / "b.htm").string()});
  EXPECT_TRUE(messages.Saw("Importing files is not available in this version yet."));
  window->FilesDropped({(folder / "x.mp3").string(), files.other.string()});
  EXPECT_EQ(window->FileName(), files.main.string());
  window->FilesDropped({files.other.string(), (folder / "a.txt").string()});
  EXPECT_EQ(window->FileName(), files.other.string());
}

// ---- Tool windows and linked applications ----

TEST(ToolWindowsKept, TheLeastRecentlyShownGoesBeyondTheLimitOfAtLeastThree) {
  int limit = 1;  // read as 3
  ToolWindows tools([&] { return limit; });
  QWidget owner;
  std::array<QPointer<QWidget>, 4> windows;
  const auto show = [&](std::size_t i) {
    return tools.Show<QWidget>(windows[i], [&] { return new QWidget(&owner, Qt::Tool); });
  };
  show(0);
  show(1);
  show(2);
  EXPECT_EQ(tools.Kept().size(), 3u);
  QWidget* first = windows[0];
  EXPECT_EQ(show(0), first);  // shown again, not made again
  show(3);  // the fourth frees the least recently shown: the second
  EXPECT_TRUE(windows[1].isNull());
  EXPECT_FALSE(windows[0].isNull());
  EXPECT_EQ(tools.Kept(), (std::vector<QWidget*>{windows[2], windows[0], windows[3]}));
  limit = 4;
  show(1);
  EXPECT_EQ(tools.Kept().size(), 4u);
}

TEST_F(Navigation, ALinkedApplicationIsWatchedUntilTheAuthorClosesIt) {
  platform::testing::ManualEventLoop loop;
  Start(&loop);
  window->application = "/usr/bin/mousepad";
  const fs::path file = folder / "lake.xyz";
  int ended = 0;
  ASSERT_TRUE(window->RunLinkedApplication(file, [&] { ++ended; }));
  EXPECT_EQ(process.calls.back().program, "/usr/bin/mousepad");
  EXPECT_EQ(process.calls.back().workingFolder, folder.string());
  ASSERT_TRUE(process.Finish());
  EXPECT_EQ(ended, 0);
  loop.ProcessEvents();
  EXPECT_EQ(ended, 1);
  // Cancelled: nothing runs.
  window->application.clear();
  EXPECT_FALSE(window->RunLinkedApplication(file));
  window.reset();  // before the loop it runs on
}

}  // namespace
}  // namespace tarn::app::ui
