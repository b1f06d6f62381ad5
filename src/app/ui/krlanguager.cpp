// The translator over Qt's object tree. A component is a named object; its
// translatable properties are the Qt equivalents of the design's caption,
// text, hint, string lists, columns, tabs, filter and title.
#include "app/ui/krlanguager.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWidget>

#include <algorithm>

#include "app/translationtable.h"
#include "app/ui/resources.h"
#include "platform/qt/qtstrings.h"

namespace tarn::app::ui {
namespace {

using platform::qt::ToQString;

// Table values break lines with CR LF; Qt's widgets with LF alone.
QString ToText(const std::string& value) {
  QString text = ToQString(value);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

std::string Latin(const QString& text) { return text.toStdString(); }

// A page of a tab widget is captioned by its tab.
QTabWidget* TabOwner(QWidget* page) {
  auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
  return stack != nullptr ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

QList<QRadioButton*> RadioItems(QObject* group) {
  return group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
}

QStringList PropertiesOf(QObject* object, bool isForm) {
  QStringList list;
  auto* widget = qobject_cast<QWidget*>(object);
  if (isForm || qobject_cast<QAction*>(object) != nullptr || qobject_cast<QMenu*>(object) != nullptr) {
    return {QStringLiteral("caption"), QStringLiteral("hint")};
  }
  if (qobject_cast<QAbstractButton*>(object) != nullptr || qobject_cast<QLabel*>(object) != nullptr ||
      qobject_cast<QGroupBox*>(object) != nullptr || (widget != nullptr && TabOwner(widget) != nullptr)) {
    list << QStringLiteral("caption");
  }
  if (qobject_cast<QLineEdit*>(object) != nullptr) list << QStringLiteral("text");
  if (widget != nullptr) list << QStringLiteral("hint");
  if (qobject_cast<QComboBox*>(object) != nullptr || qobject_cast<QListWidget*>(object) != nullptr ||
      (qobject_cast<QGroupBox*>(object) != nullptr && !RadioItems(object).isEmpty())) {
    list << QStringLiteral("items");
  }
  if (qobject_cast<QPlainTextEdit*>(object) != nullptr) list << QStringLiteral("lines");
  // Objects standing for file dialogs carry their filter and title as
  // dynamic properties.
  if (object->property("filter").isValid()) list << QStringLiteral("filter");
  if (qobject_cast<QTreeWidget*>(object) != nullptr) list << QStringLiteral("columns");
  if (object->property("title").isValid() && widget == nullptr) list << QStringLiteral("title");
  if (qobject_cast<QTabWidget*>(object) != nullptr) list << QStringLiteral("tabs");
  return list;
}

void SetCaption(QObject* object, const QString& text, bool isForm) {
  if (isForm) {
    static_cast<QWidget*>(object)->setWindowTitle(text);
  } else if (auto* action = qobject_cast<QAction*>(object)) {
    action->setText(text);
  } else if (auto* menu = qobject_cast<QMenu*>(object)) {
    menu->setTitle(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(object)) {
    label->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
    group->setTitle(text);
  } else if (auto* widget = qobject_cast<QWidget*>(object)) {
    if (QTabWidget* tabs = TabOwner(widget)) tabs->setTabText(tabs->indexOf(widget), text);
  }
}

void SetHint(QObject* object, const QString& text) {
  if (auto* action = qobject_cast<QAction*>(object)) {
    action->setToolTip(text);
    action->setStatusTip(text);
  } else if (auto* widget = qobject_cast<QWidget*>(object)) {
    widget->setToolTip(text);
  }
}

void SetItems(QObject* object, const QStringList& items) {
  if (auto* combo = qobject_cast<QComboBox*>(object)) {
    const int current = combo->currentIndex();
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(std::min(current, static_cast<int>(items.size()) - 1));
  } else if (auto* list = qobject_cast<QListWidget*>(object)) {
    list->clear();
    list->addItems(items);
  } else {
    const auto buttons = RadioItems(object);
    for (int i = 0; i < std::min(buttons.size(), items.size()); ++i) buttons[i]->setText(items[i]);
  }
}

}  // namespace

TKrLanguager::TKrLanguager(QWidget* form) : QObject(form), m_form(form) {
  setObjectName(QStringLiteral("KrLanguager1"));
}

void TKrLanguager::AddComponent(QObject* component, bool isForm) {
  const QString name = component->objectName();
  if (name.isEmpty() || name.startsWith(QStringLiteral("qt_"))) return;
  if (qobject_cast<TKrLanguager*>(component) != nullptr || qobject_cast<TKrLanguagesStore*>(component) != nullptr) {
    return;
  }
  for (const QString& property : PropertiesOf(component, isForm)) {
    m_properties.push_back({component, name, property});
  }
}

void TKrLanguager::BuildPropertiesList() {
  if (m_built) return;
  m_built = true;
  AddComponent(m_form, true);
  for (QObject* child : m_form->findChildren<QObject*>()) AddComponent(child, false);
}

QStringList TKrLanguager::GetPropertiesList() {
  BuildPropertiesList();
  // Components destroyed since leave the list.
  std::erase_if(m_properties, [](const Entry& e) { return e.component.isNull(); });
  QStringList list;
  for (const Entry& e : m_properties) list << e.name.toLower() + QLatin1Char('.') + e.property;
  return list;
}

bool TKrLanguager::Load(const Entry& entry, const TranslationTable& table) {
  QObject* object = entry.component.data();
  const std::string name = Latin(entry.name);
  const std::string property = Latin(entry.property);
  if (entry.property == QLatin1String("caption") || entry.property == QLatin1String("hint") ||
      entry.property == QLatin1String("text") || entry.property == QLatin1String("filter") ||
      entry.property == QLatin1String("title")) {
    const auto value = table.Property(name, property);
    if (!value) return true;
    const QString text = ToText(*value);
    if (entry.property == QLatin1String("caption")) {
      SetCaption(object, text, object == m_form);
    } else if (entry.property == QLatin1String("hint")) {
      SetHint(object, text);
    } else if (entry.property == QLatin1String("text")) {
      if (auto* edit = qobject_cast<QLineEdit*>(object)) edit->setText(text);
    } else {
      object->setProperty(entry.property.toLatin1().constData(), text);
    }
    return true;
  }
  if (entry.property == QLatin1String("columns")) {
    auto* tree = qobject_cast<QTreeWidget*>(object);
    QTreeWidgetItem* header = tree->headerItem();
    for (int i = 0; i < tree->columnCount(); ++i) {
      if (const auto value = table.ItemProperty(name, "columns", i, "caption")) header->setText(i, ToText(*value));
    }
    return true;
  }
  const auto values = table.List(name, property);
  if (!values) return true;
  // A count the window cannot hold means a damaged table: stop loading.
  if (values->size() > 10000) return false;
  QStringList items;
  for (const std::string& value : *values) items << ToText(value);
  if (entry.property == QLatin1String("items")) {
    SetItems(object, items);
  } else if (entry.property == QLatin1String("lines")) {
    static_cast<QPlainTextEdit*>(object)->setPlainText(items.join(QLatin1Char('\n')));
  } else if (auto* tabs = qobject_cast<QTabWidget*>(object)) {
    for (int i = 0; i < std::min(tabs->count(), static_cast<int>(items.size())); ++i) tabs->setTabText(i, items[i]);
  }
  return true;
}

void TKrLanguager::SetLocalizationString(std::string_view text) {
  BuildPropertiesList();
  const TranslationTable table(text);
  for (const Entry& entry : m_properties) {
    if (entry.component.isNull()) continue;
    if (!Load(entry, table)) return;
  }
}

void ApplyWindowTable(TKrLanguager& languager, const QString& window) {
  const QByteArray table = WindowTable(window);
  languager.SetLocalizationString(std::string_view(table.constData(), static_cast<std::size_t>(table.size())));
}

}  // namespace tarn::app::ui
