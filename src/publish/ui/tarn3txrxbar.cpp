// The server publishing strip, list and section combo.
#include "publish/ui/tarn3txrxbar.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtstrings.h"

namespace tarn::publish::ui {
namespace {

constexpr int kTickMs = 150;

// The parts of an entry text: name, size, version and date between quotes.
std::vector<std::string> Fields(const std::string& text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t quote = text.find('"', start);
    fields.push_back(text.substr(start, quote == std::string::npos ? std::string::npos : quote - start));
    if (quote == std::string::npos) break;
    start = quote + 1;
  }
  return fields;
}

}  // namespace

TTarn3TxRxBar::TTarn3TxRxBar(platform::SocketFactory& sockets, platform::Messages& messages, QWidget* parent)
    : QWidget(parent),
      m_loop(std::make_unique<platform::qt::QtEventLoop>()),
      m_comm(std::make_unique<TTarn3Comm>(sockets, m_loop.get(), messages)) {
  setObjectName(QStringLiteral("Tarn3TxRxBar"));
  setFixedHeight(25);
  m_stop = platform::qt::NamedButton(this, "bStop", QStringLiteral("Stop! "));
  m_stop->setFixedWidth(75);
  m_gauge = new QProgressBar(this);
  m_gauge->setRange(0, 100);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(m_stop);
  row->addWidget(m_gauge, 1);
  m_timer = new QTimer(this);
  m_timer->setInterval(kTickMs);
  connect(m_timer, &QTimer::timeout, this, [this] { Tick(); });
  connect(m_stop, &QPushButton::clicked, this, [this] { m_comm->Reset(); });
  hide();
}

TTarn3TxRxBar::~TTarn3TxRxBar() { m_comm.reset(); }

int TTarn3TxRxBar::Run(const std::function<int(TTarn3Comm&)>& operation) {
  m_gauge->setValue(0);
  m_timer->start();
  show();
  const int result = operation(*m_comm);
  m_timer->stop();
  hide();
  return result;
}

void TTarn3TxRxBar::Tick() {
  const QString caption = m_stop->text();
  m_stop->setText(caption.mid(1) + caption.left(1));
  const std::int64_t total = m_comm->BytesTotal();
  if (total > 0) m_gauge->setValue(static_cast<int>(m_comm->BytesDone() * 100 / total));
}

TTarn3ListView::TTarn3ListView(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("Tarn3ListView"));
  setRootIsDecorated(false);
  setHeaderLabels({QStringLiteral("Title"), QStringLiteral("Size"), QStringLiteral("Modified"), QStringLiteral("Version")});
}

void TTarn3ListView::Fill(const TTarn3Comm& comm) {
  clear();
  const auto& lines = comm.ListLines();
  for (const Tarn3Entry& entry : comm.Entries()) {
    const std::vector<std::string> fields = Fields(entry.text);
    // The title is on the line that ends with "</A>" after the entry.
    std::string title = entry.name;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
      if (!lines[i].starts_with("<!=") || Fields(lines[i].substr(3)).front() != entry.name) continue;
      for (std::size_t j = i + 1; j < lines.size() && !lines[j].starts_with("<!"); ++j) {
        const std::size_t end = lines[j].find("</A>");
        if (end != std::string::npos) {
          title = lines[j].substr(0, end);
          break;
        }
      }
      break;
    }
    auto* row = new QTreeWidgetItem(this);
    row->setText(0, platform::qt::ToQString(title));
    row->setText(1, QString::number(entry.size));
    row->setText(2, fields.size() > 3 ? platform::qt::ToQString(fields[3]) : QString());
    row->setText(3, fields.size() > 2 ? platform::qt::ToQString(fields[2]) : QString());
    row->setData(0, Qt::UserRole, QString::fromStdString(entry.name));
  }
}

std::string TTarn3ListView::SelectedName() const {
  const QTreeWidgetItem* row = currentItem();
  return row == nullptr ? std::string() : row->data(0, Qt::UserRole).toString().toStdString();
}

TTarn3ComboBox::TTarn3ComboBox(QWidget* parent) : QComboBox(parent) {
  setObjectName(QStringLiteral("Tarn3ComboBox"));
}

void TTarn3ComboBox::Fill(const TTarn3Comm& comm) {
  const QSignalBlocker block(this);
  clear();
  for (const Tarn3Rights& r : comm.RightsList()) {
    addItem(platform::qt::ToQString(r.description.empty() ? r.base : r.description));
  }
  setCurrentIndex(comm.Section());
}

}  // namespace tarn::publish::ui
