// The caret; see aehcursor.h.
#include "richtext/ui/aehcursor.h"

#include <QPainter>
#include <QTimer>

namespace tarn::richtext::ui {
namespace {

TAEHcursor* g_owner = nullptr;
QTimer* g_timer = nullptr;

}  // namespace

TAEHcursor::TAEHcursor(QWidget* box) : objects::TKrTransCustomControl(box) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  resize(kWidth, 1);
  hide();
}

TAEHcursor::~TAEHcursor() {
  if (g_owner == this) {
    // The timer belongs to the caret that started it last.
    delete g_timer;
    g_timer = nullptr;
    g_owner = nullptr;
  }
}

void TAEHcursor::SetPosition(const TextPos& position) {
  m_position = position;
  SetBounds(position.x - 1, position.y, kWidth, std::max(position.height, 1));
}

void TAEHcursor::StartBlinking() {
  if (g_owner != nullptr && g_owner != this) g_owner->StopBlinking();
  if (g_timer == nullptr) {
    g_timer = new QTimer();
    g_timer->setInterval(kBlinkMilliseconds);
    QObject::connect(g_timer, &QTimer::timeout, &TAEHcursor::Toggle);
  }
  g_owner = this;
  SetVisibleInvalidating(true);
  raise();
  g_timer->start();
}

void TAEHcursor::StopBlinking() {
  if (g_owner == this) {
    g_timer->stop();
    g_owner = nullptr;
  }
  SetVisibleInvalidating(false);
}

bool TAEHcursor::Blinking() const { return g_owner == this; }

TAEHcursor* TAEHcursor::BlinkingCaret() { return g_owner; }

void TAEHcursor::Toggle() {
  if (g_owner != nullptr) g_owner->SetVisibleInvalidating(!g_owner->isVisible());
}

void TAEHcursor::paintEvent(QPaintEvent*) {
  // Inverting keeps the caret visible on any colour and restores the text
  // exactly when it goes.
  QPainter painter(this);
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.fillRect(rect(), Qt::white);
}

}  // namespace tarn::richtext::ui
