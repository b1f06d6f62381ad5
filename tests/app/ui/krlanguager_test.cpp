// Translating a window: which texts a table replaces, what it leaves, and
// the property list the translator keeps.
#include "app/ui/krlanguager.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>


namespace tarn::app::ui {
namespace {

// A window built with Italian texts, as the design has them.
struct ItalianWindow {
  ItalianWindow() {
    form.setObjectName("FProva");
    form.setWindowTitle("Prova");
    ok = new QPushButton("&Conferma", &form);
    ok->setObjectName("BOk");
    cancel = new QPushButton("&Annulla", &form);
    cancel->setObjectName("bCancel");
    note = new QLabel("nota", &form);
    note->setObjectName("lNote");
    unnamed = new QLabel("senza nome", &form);
    group = new QGroupBox("Comportamento", &form);
    group->setObjectName("rgComp");
    auto* layout = new QVBoxLayout(group);
    for (const char* item : {"chiedi", "salva", "esegui"}) layout->addWidget(new QRadioButton(item, group));
    combo = new QComboBox(&form);
    combo->setObjectName("cbLingua");
    combo->addItems({"uno", "due"});
    combo->setCurrentIndex(1);
    list = new QTreeWidget(&form);
    list->setObjectName("ExtList");
    list->setHeaderLabels({"Estensione", "Descrizione"});
    tabs = new QTabWidget(&form);
    tabs->setObjectName("pcPagine");
    page = new QWidget;
    page->setObjectName("tsPrima");
    tabs->addTab(page, "Prima");
    menu = new QMenu("&File", &form);
    menu->setObjectName("mFile");
    action = new QAction("&Apri", &form);
    action->setObjectName("mApri");
    menu->addAction(action);
  }
  QWidget form;
  QPushButton* ok;
  QPushButton* cancel;
  QLabel* note;
  QLabel* unnamed;
  QGroupBox* group;
  QComboBox* combo;
  QTreeWidget* list;
  QTabWidget* tabs;
  QWidget* page;
  QMenu* menu;
  QAction* action;
};

TEST(KrLanguager, TranslatesNamedComponentsAndKeepsWhatTheTableLacks) {
  ItalianWindow window;
  TKrLanguager translator(&window.form);
  translator.SetLocalizationString(
      "*_*fprova_caption\r\n Test\r\n"
      "*_*BOK_Caption\r\n &Ok\r\n"  // keys match without case
      "*_*bok_caption\r\n not this one\r\n"
      "*_*bok_hint\r\n Confirm\r\n"
      "*_*lnote_caption\r\n first\xA7!second\r\n"
      "*_.rgcomp_items*count\r\n 3\r\n"
      "*_.rgcomp_items*item0\r\n ask user\r\n*_.rgcomp_items*item1\r\n save\r\n*_.rgcomp_items*item2\r\n run\r\n"
      "*_*rgcomp_caption\r\n Default behaviour\r\n"
      "*_.cblingua_items*count\r\n 2\r\n*_.cblingua_items*item0\r\n one\r\n*_.cblingua_items*item1\r\n two\r\n"
      "*_.extlist_columns*item0_caption\r\n Extension\r\n"
      "*_*tsprima_caption\r\n First\r\n"
      "*_*mfile_caption\r\n &File\r\n"
      "*_*mapri_caption\r\n &Open...\r\n"
      "*_*mapri_hint\r\n Opens a hypertext\r\n");
  EXPECT_EQ(window.form.windowTitle(), "Test");
  EXPECT_EQ(window.ok->text(), "&Ok");
  EXPECT_EQ(window.ok->toolTip(), "Confirm");
  EXPECT_EQ(window.cancel->text(), "&Annulla");  // no key: the built-in text stays
  EXPECT_EQ(window.note->text(), "first\nsecond");
  EXPECT_EQ(window.unnamed->text(), "senza nome");
  EXPECT_EQ(window.group->title(), "Default behaviour");
  EXPECT_EQ(window.group->findChildren<QRadioButton*>().at(2)->text(), "run");
  EXPECT_EQ(window.combo->itemText(0), "one");
  EXPECT_EQ(window.combo->currentIndex(), 1);
  EXPECT_EQ(window.list->headerItem()->text(0), "Extension");
  EXPECT_EQ(window.list->headerItem()->text(1), "Descrizione");
  EXPECT_EQ(window.tabs->tabText(0), "First");
  EXPECT_EQ(window.action->text(), "&Open...");
  EXPECT_EQ(window.action->statusTip(), "Opens a hypertext");
}

TEST(KrLanguager, PropertyListFollowsTheWindowsComponents) {
  ItalianWindow window;
  TKrLanguager translator(&window.form);
  const QStringList list = translator.GetPropertiesList();
  EXPECT_EQ(list.first(), "fprova.caption");  // the window first
  for (const char* entry : {"bok.caption", "bok.hint", "rgcomp.items", "cblingua.items", "extlist.columns",
                            "pcpagine.tabs", "tsprima.caption", "mfile.caption", "mapri.hint"}) {
    EXPECT_TRUE(list.contains(entry)) << entry;
  }
  EXPECT_LT(list.indexOf("bok.caption"), list.indexOf("bcancel.caption"));  // in creation order
  for (const QString& entry : list) EXPECT_FALSE(entry.startsWith("krlanguager")) << entry.toStdString();

  delete window.cancel;
  EXPECT_FALSE(translator.GetPropertiesList().contains("bcancel.caption"));
  translator.SetLocalizationString("*_*bcancel_caption\r\n &Cancel\r\n");  // gone: nothing to do, no crash
}

}  // namespace
}  // namespace tarn::app::ui
