// The tip window and the about window.
#include "app/ui/tipform.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

#include "app/ui/krlanguager.h"
#include "platform/registry.h"

namespace tarn::app::ui {

QStringList TTipForm::Tips() {
  return {
      QStringLiteral("Press F11 to switch between editing a page and reading it as your readers will."),
      QStringLiteral("Ctrl+S saves the whole hypertext: every page, image and file lives in the one .AEH file."),
      QStringLiteral("In preview, a click on a link shows the page it leads to; \"Previous page\" takes you back."),
      QStringLiteral("The File menu lists the last five hypertexts you opened."),
      QStringLiteral("\"Program options\" in the Tools menu sets the undo depth, the image cache and the pointers."),
      QStringLiteral("\"Remember to save\" in the program options reminds you to save every few minutes."),
      QStringLiteral("The cover page is the first page your readers see: \"Cover\" in the Hypertext menu shows it."),
  };
}

TTipForm::TTipForm(platform::Registry& registry, QWidget* parent) : QDialog(parent), m_registry(registry) {
  setObjectName(QStringLiteral("TipForm"));
  setWindowTitle(QStringLiteral("Tips"));
  m_header = new QLabel(QStringLiteral("Welcome to Tarn (editor)!"), this);
  m_header->setObjectName(QStringLiteral("lHeader"));
  QFont big = m_header->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  m_header->setFont(big);
  m_tip = new QLabel(this);
  m_tip->setObjectName(QStringLiteral("lTip"));
  m_tip->setWordWrap(true);
  m_tip->setFrameShape(QFrame::StyledPanel);
  m_tip->setMinimumSize(360, 90);
  m_tip->setMargin(10);
  m_tip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_showAtStart = new QCheckBox(QStringLiteral("&Show on next Start of application"), this);
  m_showAtStart->setObjectName(QStringLiteral("ShowAtStart"));
  m_showAtStart->setChecked(true);
  auto* next = new QPushButton(QStringLiteral("&Next tip"), this);
  next->setObjectName(QStringLiteral("bNext"));
  auto* close = new QPushButton(QStringLiteral("&Close"), this);
  close->setObjectName(QStringLiteral("bClose"));
  connect(next, &QPushButton::clicked, this, &TTipForm::NextTip);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_showAtStart);
  buttons->addStretch();
  buttons->addWidget(next);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_header);
  layout->addWidget(m_tip, 1);
  layout->addLayout(buttons);

  m_tips = Tips();
  m_current = static_cast<int>(QRandomGenerator::global()->bounded(static_cast<quint32>(m_tips.size())));
  m_tip->setText(m_tips[m_current]);
  ApplyWindowTable(*new TKrLanguager(this), objectName());
}

QString TTipForm::CurrentTip() const { return m_tip->text(); }

void TTipForm::NextTip() {
  m_current = (m_current + 1) % static_cast<int>(m_tips.size());
  m_tip->setText(m_tips[m_current]);
}

void TTipForm::done(int result) {
  m_registry.WriteOptionFlag("TipOfTheDay", m_showAtStart->isChecked() ? 1 : 0);
  QDialog::done(result);
}

TFabout::TFabout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Fabout"));
  setWindowTitle(QStringLiteral("About Tarn"));
  auto* name = new QLabel(QStringLiteral("Tarn"), this);
  name->setObjectName(QStringLiteral("lName"));
  QFont big = name->font();
  big.setPointSize(big.pointSize() + 10);
  big.setBold(true);
  name->setFont(big);
  auto* text = new QLabel(QStringLiteral("Hypertext editor and reader, version 3.0"), this);
  text->setObjectName(QStringLiteral("lVersion"));
  auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
  ok->setObjectName(QStringLiteral("bOk"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(name, 0, Qt::AlignHCenter);
  layout->addWidget(text, 0, Qt::AlignHCenter);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  ApplyWindowTable(*new TKrLanguager(this), objectName());
}

}  // namespace tarn::app::ui
