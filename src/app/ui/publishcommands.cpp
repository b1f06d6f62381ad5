// The Publish menu's commands; see publishcommands.h.
#include "app/ui/publishcommands.h"

#include <QStatusBar>

#include "app/ui/commandset.h"
#include "app/ui/editorcontrol.h"
#include "convert/aehtohtml.h"
#include "convert/listhtmltotx.h"
#include "document/aehset.h"
#include "platform/messages.h"
#include "platform/posixsocket.h"
#include "platform/registry.h"
#include "publish/ui/fftp.h"
#include "publish/ui/frete.h"

namespace tarn::app::ui {
namespace {

platform::PosixSocketFactory& Network() {
  static platform::PosixSocketFactory sockets;
  return sockets;
}

}  // namespace

PublishCommands::PublishCommands(CommandSet& commands, Host host, QObject* parent)
    : QObject(parent), m_host(std::move(host)), m_sockets(&Network()) {
  commands.Bind("PublishHypertextFtpClick", [this](const CommandCall&) { RunFtp(0); });
  commands.Bind("Pubblicapaginacorrenteinrete1Click", [this](const CommandCall&) { RunFtp(1); });
  commands.Bind("FTPgenerico1Click", [this](const CommandCall&) { RunFtp(2); });
  commands.Bind("PubblicaAEHtramiteFTP1Click", [this](const CommandCall&) { RunFtp(2); });
  commands.Bind("Configurazioni1Click", [this](const CommandCall&) { RunFtp(3); });
  commands.Bind("PublishHypertextClick", [this](const CommandCall&) { RunServer(0); });
  commands.Bind("GetHypertextClick", [this](const CommandCall&) { RunServer(1); });
  commands.Bind("Configurazione1Click", [this](const CommandCall&) { RunServer(2); });
  commands.Bind("Cambiapassword1Click", [this](const CommandCall&) { RunServer(3); });
}

PublishCommands::~PublishCommands() = default;

void PublishCommands::RunFtp(int mode) {
  convert::TAEHtoHtml converter;
  converter.SetLinkedAEHset(&m_host.set);
  publish::ui::ApplyHtmlOptions(m_host.registry, converter);
  publish::ui::TFftp dialog({m_host.registry, m_host.messages, *m_sockets, &m_host.set, &converter,
                             m_host.isModified,
                             [this] {
                               m_host.save();
                               return !m_host.isModified();
                             },
                             m_host.markModified},
                            mode, m_host.window);
  const std::filesystem::path folder = m_host.set.TempFolder() / "TmpExpHtml";
  if (mode <= 1) {
    m_host.commitPage();
    converter.ExportPath = folder;
    // What the export writes goes to the dialog's export file list.
    convert::TAEHListHtmlToTx& list = dialog.ExportList();
    list.PagesToList().clear();
    list.FilesToList().Clear();
    if (m_host.statusBar != nullptr) m_host.statusBar->showMessage(QStringLiteral("Exporting..."));
    bool ok = false;
    if (mode == 0) {
      ok = converter.ExportAllPages(list.FilesToList());
    } else {
      convert::RecordList exported;
      const long page = m_host.editor.MainPageNumber();
      ok = page >= 0 && converter.ExportSinglePage(static_cast<int>(page), list.FilesToList(), exported);
      for (const document::TAEHoggetto* record : exported) list.PagesToList().push_back(record->Index());
    }
    if (m_host.statusBar != nullptr) m_host.statusBar->clearMessage();
    if (!ok) {
      m_host.messages.Error(converter.ErrorText().empty() ? std::string("Export failed") : converter.ErrorText());
      return;
    }
  }
  dialog.exec();
  if (mode == 0) {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }
}

void PublishCommands::RunServer(int mode) {
  m_host.commitPage();
  publish::ui::TFrete dialog({m_host.registry, m_host.messages, *m_sockets, &m_host.set, m_host.isModified,
                              [this] {
                                m_host.save();
                                return !m_host.isModified();
                              }},
                             mode, m_host.window);
  dialog.exec();
}

}  // namespace tarn::app::ui
