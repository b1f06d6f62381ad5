// A manual tool: a hypertext in the editor control with the Pages panel
// docked beside it and the link explorer and the delete dialog on menu
// commands, wired the way the main window wires them. Under xvfb-run for
// screenshots; with --script it walks through the panel, the explorer and
// the delete dialog by itself, writing a screenshot after each step into
// the folder given.
//
//   tarn_pagesdemo [file.aeh] [--page n] [--script folder]
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "document/aehorderedtree.h"
#include "document/ui/aehlistview.h"
#include "document/ui/aehorderedtreeview.h"
#include "document/ui/pagespanel.h"
#include "objects/ui/framesetwidget.h"
#include "platform/qt/qtfonts.h"
#include "search/ui/fcancella.h"
#include "search/ui/fricerca.h"
#include "ui/demoworld.h"

namespace {

using namespace tarn;
using objects::ui::TInsiemeCornici;

void Settle(int rounds = 5) {
  for (int i = 0; i < rounds; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QTest::qWait(20);
  }
}

// Everything on the screen: windows of their own (the explorer, a dialog)
// are not inside the main window's picture.
void Shot(const QString& folder, int step, const char* name) {
  Settle();
  const QString file = QStringLiteral("%1/%2-%3.png").arg(folder).arg(step, 2, 10, QLatin1Char('0')).arg(name);
  QGuiApplication::primaryScreen()->grabWindow(0).save(file);
  std::printf("%s\n", qPrintable(file));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::qt::RegisterDocumentFonts();
  const auto args = testing::ParseDemoArguments(app.arguments(), QStringLiteral("--script"), TARN_SAMPLE, 0);
  testing::DemoWorld world;
  if (!world.Open(args.file)) return 1;
  document::TAEHset& set = world.set;

  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Tarn - Pages panel"));
  auto* editor = new TInsiemeCornici(world.messages, &window);
  editor->SetClipboard(&world.clipboard);
  editor->SetLinkedAEHset(&set);
  window.setCentralWidget(editor);

  // The hook-up the main window makes.
  document::ui::EditorLink link;
  link.mainPage = [editor] { return editor->MainPageNumber(); };
  link.showPage = [editor](long page) { editor->SetMainPageNumber(page); };
  auto deleteObjects = [&](const std::vector<document::ObjectId>& ids) {
    search::ui::AskAndDeleteObjects(&window, set, ids, link);
  };
  document::ui::PagesPanelHost panelHost{link, deleteObjects, {}};
  auto* panel = new document::ui::TPagesPanel(panelHost);
  auto* dock = new QDockWidget(QStringLiteral("Pages"), &window);
  dock->setObjectName(QStringLiteral("PagesDock"));
  dock->setWidget(panel);
  window.addDockWidget(Qt::LeftDockWidgetArea, dock);
  QPointer<search::ui::TFricerca> explorer;
  editor->events.OnPageChanged = [&] {
    panel->ShowPage(editor->MainPageNumber());
    window.statusBar()->showMessage(QStringLiteral("page %1").arg(editor->MainPageNumber()));
  };
  auto openExplorer = [&](search::ui::TFricerca::Tab tab) {
    if (explorer.isNull()) {
      search::ui::ExplorerHost host;
      host.editor = link;
      host.deleteObjects = deleteObjects;
      explorer = new search::ui::TFricerca(set, host, &window);
    }
    explorer->show();
    explorer->SelectTab(tab);
    explorer->raise();
  };
  QMenu* tools = window.menuBar()->addMenu(QStringLiteral("&Hypertext"));
  tools->addAction(QStringLiteral("&Hypertext search..."), [&] { openExplorer(search::ui::TFricerca::kSearchTab); });
  tools->addAction(QStringLiteral("&Link diagram..."), [&] { openExplorer(search::ui::TFricerca::kExploreTab); });
  tools->addAction(QStringLiteral("&Delete page..."), [&] {
    if (editor->MainPageNumber() > 0) deleteObjects({document::MakeObjectId(document::testoHtml, static_cast<int>(editor->MainPageNumber()))});
    panel->Reload();
  });

  window.resize(1000, 640);
  window.show();
  panel->SetHypertext(&set);
  editor->SetMainPageNumber(args.page);

  if (!args.value.isEmpty()) {
    QTimer::singleShot(300, &app, [&] {
      const QString folder = args.value;
      QDir().mkpath(folder);
      int step = 0;
      Shot(folder, ++step, "panel");
      // A click on a page in the tree shows it.
      auto& tree = panel->Tree();
      if (auto* node = tree.Model().FindObject(document::MakeObjectId(document::testoHtml, 2))) {
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(tree.ItemModel().IndexOf(node)).center());
      }
      Shot(folder, ++step, "page-clicked");
      openExplorer(search::ui::TFricerca::kExploreTab);
      explorer->move(window.x() + 260, window.y() + 160);
      Shot(folder, ++step, "explorer-links");
      openExplorer(search::ui::TFricerca::kSearchTab);
      explorer->Candidates().SelectById(document::MakeObjectId(document::testoHtml, 0));
      explorer->Search();
      if (!QTest::qWaitFor([&] { return explorer->SearchIdle(); }, 3000)) std::fputs("the search did not end\n", stderr);
      Shot(folder, ++step, "explorer-search");
      explorer->close();
      Settle();
      QTimer::singleShot(600, &app, [&] {
        Shot(folder, ++step, "delete-dialog");
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
      });
      deleteObjects({document::MakeObjectId(document::testoHtml, 1)});
      Shot(folder, ++step, "after-cancel");
      editor->SetLinkedAEHset(nullptr);
      app.quit();
    });
  }
  const int result = app.exec();
  delete explorer.data();
  editor->SetLinkedAEHset(nullptr);
  return result;
}
