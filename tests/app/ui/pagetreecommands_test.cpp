// The Pages panel and the link explorer inside a window with the command
// table and the editor control, the way the main window holds them: the
// panel docked and following the page shown, the explorer on the two
// commands of the table, and a change through the panel reported.
#include "app/ui/pagetreecommands.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "app/ui/commandset.h"
#include "document/aehset.h"
#include "document/ui/aehlistview.h"
#include "document/ui/aehorderedtreeview.h"
#include "document/ui/pagespanel.h"
#include "objects/ui/framesetwidget.h"
#include "platform/testing/testplatform.h"

namespace tarn::app::ui {
namespace {

namespace fs = std::filesystem;

TEST(PageTreeCommands, PanelDockedAndTheExplorerOnItsCommands) {
  const fs::path folder = fs::temp_directory_path() / ("tarn-pagetree-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  fs::copy_file(TARN_SAMPLE, folder / "sample.aeh", fs::copy_options::overwrite_existing);
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(folder);
  document::TAEHset set({&messages, &system, nullptr, nullptr});
  ASSERT_TRUE(set.LoadFromFile(folder / "sample.aeh"));
  {
    QMainWindow window;
    auto* editor = new objects::ui::TInsiemeCornici(messages, &window);
    editor->SetLinkedAEHset(&set);
    window.setCentralWidget(editor);
    CommandSet commands(window, [](const CommandEntry&) {});
    int changes = 0;
    int commits = 0;
    PageTreeCommands pages(commands,
                           {set, *editor, window, [&] { ++commits; }, {}, {}, {}, {}, [&] { ++changes; }}, &window);
    window.resize(900, 600);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.findChild<QDockWidget*>("PagesDock"), pages.Dock());
    EXPECT_EQ(window.dockWidgetArea(pages.Dock()), Qt::LeftDockWidgetArea);
    // Its place and visibility go with the window's saved state.
    pages.Dock()->hide();
    const QByteArray state = window.saveState();
    pages.Dock()->show();
    EXPECT_TRUE(window.restoreState(state));
    EXPECT_TRUE(pages.Dock()->isHidden());
    pages.Dock()->show();

    editor->SetMainPageNumber(2);
    pages.PageChanged();
    document::ui::TAEHorderedTreeView& tree = pages.Panel().Tree();
    EXPECT_EQ(tree.SelectedObject(), document::MakeObjectId(document::testoHtml, 2));
    EXPECT_EQ(tree.Model().RootNode()->Child(1)->Text(), "First steps");
    EXPECT_TRUE(tree.MoveUp());
    EXPECT_EQ(changes, 1);
    pages.SetEditMode(false);
    EXPECT_FALSE(tree.Editable());

    commands.Action("Diagrammadeicollegamenti1")->trigger();
    search::ui::TFricerca* explorer = pages.Explorer();
    ASSERT_NE(explorer, nullptr);
    EXPECT_EQ(commits, 1) << "the page is written back before the explorer reads";
    EXPECT_TRUE(explorer->isVisible());
    EXPECT_EQ(explorer->findChild<QTabWidget*>("PageControl1")->currentIndex(), search::ui::TFricerca::kExploreTab);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !explorer->ThreadsRunning() && explorer->ReferringPages().Count() == 1; }, 2000));
    EXPECT_EQ(explorer->CurrentCaption(), "Pictures");
    commands.Action("HypertextSearch1")->trigger();
    EXPECT_EQ(pages.Explorer(), explorer) << "one explorer, shown again";
    EXPECT_EQ(explorer->findChild<QTabWidget*>("PageControl1")->currentIndex(), search::ui::TFricerca::kSearchTab);

    // Another hypertext: the panel reads its tree, the explorer is out of date.
    set.NewHypertext();
    pages.HypertextChanged();
    EXPECT_TRUE(explorer->ExploreStale());
    EXPECT_EQ(tree.Model().RootNode()->ChildCount(), 0u);
    editor->SetLinkedAEHset(nullptr);
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tarn::app::ui
