// The FTP progress strip.
#include "publish/ui/krftptxrxbar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtstrings.h"

namespace tarn::publish::ui {
namespace {

constexpr int kHeight = 25;
constexpr int kStopWidth = 75;
constexpr int kTickMs = 150;
const QString kStopCaption = QStringLiteral("Stop! ");

}  // namespace

TKrFtpTxRxBar::TKrFtpTxRxBar(platform::SocketFactory& sockets, QWidget* parent)
    : QWidget(parent),
      m_loop(std::make_unique<platform::qt::QtEventLoop>()),
      m_comm(std::make_unique<TKrFtpComm>(sockets, m_loop.get())) {
  setObjectName(QStringLiteral("FtpTxRxBar"));
  setFixedHeight(kHeight);
  m_stop = platform::qt::NamedButton(this, "bStop", kStopCaption);
  m_stop->setFixedWidth(kStopWidth);
  m_gauge = new QProgressBar(this);
  m_gauge->setRange(0, 100);
  m_gauge->setTextVisible(false);
  m_label = new QLabel(this);
  m_label->setObjectName(QStringLiteral("lStatus"));
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(m_stop);
  row->addWidget(m_gauge, 1);
  row->addWidget(m_label, 2);
  m_timer = new QTimer(this);
  m_timer->setInterval(kTickMs);
  connect(m_timer, &QTimer::timeout, this, [this] { Tick(); });
  connect(m_stop, &QPushButton::clicked, this, [this] {
    m_comm->Abort();
    Finished();
    if (OnStopClick) OnStopClick();
  });
  m_comm->OnStart = [this] { Started(); };
  m_comm->OnFinish = [this] { Finished(); };
  hide();
}

TKrFtpTxRxBar::~TKrFtpTxRxBar() {
  // The worker must end before the loop it was waiting with goes.
  m_comm->Abort();
  m_comm.reset();
}

void TKrFtpTxRxBar::Started() {
  m_caption = kStopCaption;
  m_stop->setText(m_caption);
  m_gauge->setValue(0);
  m_label->clear();
  m_timer->start();
  show();
}

void TKrFtpTxRxBar::Finished() {
  m_timer->stop();
  hide();
}

void TKrFtpTxRxBar::Tick() {
  // The caption turns by one character each tick: the operation is alive.
  if (!m_caption.isEmpty()) m_caption = m_caption.mid(1) + m_caption.left(1);
  m_stop->setText(m_caption);
  const std::int64_t total = m_comm->BytesTotal();
  if (total > 0) {
    m_gauge->setValue(static_cast<int>(m_comm->BytesDone() * 100 / total));
    m_gauge->show();
    m_label->hide();
  } else {
    m_label->setText(platform::qt::ToQString(m_comm->LastCommand()));
    m_label->show();
    m_gauge->hide();
  }
}

}  // namespace tarn::publish::ui
