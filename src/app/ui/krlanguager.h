// The translator every window carries: at creation the window hands it a
// translation table, and the texts of the window and of every named widget,
// action and menu in it are replaced by the table's values. A text the
// table does not name keeps its built-in value.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <string_view>
#include <vector>

class QWidget;

namespace tarn::app {
class TranslationTable;
}

namespace tarn::app::ui {

// The languages the program knows. At run time it plays no part in the
// translation; translators are linked to it as in the design.
class TKrLanguagesStore : public QObject {
  Q_OBJECT
 public:
  explicit TKrLanguagesStore(QObject* parent = nullptr) : QObject(parent) {}
  QString DefaultLang = QStringLiteral("ita");
  QStringList LanguagesDefines = {QStringLiteral("eng"), QStringLiteral("ita")};
  QString LanguagesPasUnit;
};

class TKrLanguager : public QObject {
  Q_OBJECT
 public:
  // The translator belongs to the window it translates.
  explicit TKrLanguager(QWidget* form);

  void SetLanguagesStore(TKrLanguagesStore* store) { m_store = store; }
  TKrLanguagesStore* LanguagesStore() const { return m_store; }

  // Stores the table (cp1252 text) and loads every listed property from it.
  void SetLocalizationString(std::string_view table);
  // "component.property" in lower case, one per translatable property: the
  // window first, then what it owns in creation order.
  QStringList GetPropertiesList();

 private:
  struct Entry {
    QPointer<QObject> component;
    QString name;      // the component name as written
    QString property;  // lower case
  };
  void BuildPropertiesList();
  void AddComponent(QObject* component, bool isForm);
  bool Load(const Entry& entry, const TranslationTable& table);

  QWidget* m_form;
  QPointer<TKrLanguagesStore> m_store;
  std::vector<Entry> m_properties;
  bool m_built = false;
};

// Hands a window's translator the window's English table.
void ApplyWindowTable(TKrLanguager& languager, const QString& window);

}  // namespace tarn::app::ui
