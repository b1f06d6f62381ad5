// The Search menu and the spell-check commands of the main window: the
// search window on its tabs, F3 and F4, and the spell checker with its
// checks of the page and of the whole hypertext.
#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QStatusBar;
class QWidget;

namespace tarn::document {
class TAEHset;
}
namespace tarn::platform {
class Messages;
class Registry;
}  // namespace tarn::platform
namespace tarn::objects::ui {
class TInsiemeCornici;
}

namespace tarn::app::ui {

class CommandSet;
class SpellChecker;
class TFcerca;

class SearchCommands : public QObject {
 public:
  struct Host {
    std::function<document::TAEHset*()> set;
    objects::ui::TInsiemeCornici& editor;
    platform::Messages& messages;
    platform::Registry& registry;
    QWidget& window;
    QStatusBar* statusBar;
  };

  SearchCommands(CommandSet& commands, Host host, QObject* parent);
  ~SearchCommands() override;

  TFcerca& Window();
  SpellChecker& Speller() { return *m_speller; }
  // The editor changed between editing and reading: the replace tab and
  // the spell-check commands follow.
  void EditModeChanged();

 private:
  void UpdateSpellCommands();
  // The window has something to search for: F3 and F4 act on its tab.
  bool Ready() const;

  CommandSet& m_commands;
  Host m_host;
  TFcerca* m_window = nullptr;
  SpellChecker* m_speller;
};

}  // namespace tarn::app::ui
