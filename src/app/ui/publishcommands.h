// The Publish menu: the hypertext or the current page published by FTP
// (exported first into the hypertext's temporary folder), .AEH files
// copied by FTP, the FTP configurations, and the server publishing dialog.
#pragma once

#include <QObject>

#include <functional>

class QStatusBar;
class QWidget;

namespace tarn::document {
class TAEHset;
}
namespace tarn::platform {
class Messages;
class Registry;
class SocketFactory;
}  // namespace tarn::platform

namespace tarn::app::ui {

class CommandSet;
class EditorControl;

class PublishCommands : public QObject {
 public:
  struct Host {
    document::TAEHset& set;
    EditorControl& editor;
    platform::Messages& messages;
    platform::Registry& registry;
    QStatusBar* statusBar;
    QWidget* window;
    std::function<void()> commitPage;
    std::function<bool()> isModified;
    std::function<void()> save;
    std::function<void()> markModified;
  };

  PublishCommands(CommandSet& commands, Host host, QObject* parent);
  ~PublishCommands() override;

  // The FTP dialog in a mode (0 hypertext, 1 current page, 2 .AEH files,
  // 3 configurations).
  void RunFtp(int mode);
  // The server dialog: 0 publish, 1 fetch, 2 configuration, 3 password.
  void RunServer(int mode);

  // Tests hand in their own network.
  void SetSockets(platform::SocketFactory* sockets) { m_sockets = sockets; }

 private:
  Host m_host;
  platform::SocketFactory* m_sockets;
};

}  // namespace tarn::app::ui
