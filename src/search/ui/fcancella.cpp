// The delete dialog; see fcancella.h.
#include "search/ui/fcancella.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "document/aehset.h"
#include "platform/qt/qtstrings.h"
#include "platform/qt/qteventloop.h"

namespace tarn::search::ui {
namespace {

using platform::qt::ToQString;

QPlainTextEdit* Memo(QWidget* parent, const char* name) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(QString::fromLatin1(name));
  memo->setReadOnly(true);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  return memo;
}

QString Join(const std::vector<std::string>& lines) {
  QStringList out;
  for (const std::string& line : lines) out << ToQString(line);
  return out.join(QLatin1Char('\n'));
}

}  // namespace

TFcancella::TFcancella(document::TAEHset& set, std::vector<ObjectId> ids, document::ui::EditorLink editor,
                       QWidget* parent)
    : QDialog(parent),
      m_set(set),
      m_ids(std::move(ids)),
      m_editor(std::move(editor)),
      m_loop(new platform::qt::QtEventLoop(this)) {
  setObjectName(QStringLiteral("Fcancella"));
  setWindowTitle(tr("Delete objects from internal archives"));
  setModal(true);
  resize(560, 380);

  auto* prompt = new QLabel(tr("Choose OK to delete selected components and all references, Cancel if not."), this);
  prompt->setObjectName(QStringLiteral("Label1"));
  prompt->setWordWrap(true);
  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("PageControl1"));
  m_references = Memo(this, "MemoReferences");
  m_selectedMemo = Memo(this, "MemoSelected");
  m_tabs->addTab(m_references, tr("References"));
  m_tabs->addTab(m_selectedMemo, tr("Selected"));
  m_reportProgress = new QProgressBar(this);
  m_reportProgress->setObjectName(QStringLiteral("ProgressBar1"));
  m_reportProgress->setRange(0, static_cast<int>(m_ids.size()));
  m_reportProgress->hide();
  m_deleteProgress = new QProgressBar(this);
  m_deleteProgress->setObjectName(QStringLiteral("ProgressBar2"));
  m_deleteProgress->hide();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BOk"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BCancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addWidget(m_tabs, 1);
  layout->addWidget(m_reportProgress);
  layout->addWidget(m_deleteProgress);
  layout->addWidget(buttons);

  for (ObjectId id : m_ids) m_selected.push_back(DeletionCaption(m_set, id));
  ShowSelected();
  m_tabs->setCurrentIndex(kReferencesTab);
}

TFcancella::~TFcancella() { StopReport(); }

void TFcancella::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_started) return;
  m_started = true;
  m_reportProgress->setValue(0);
  m_reportProgress->show();
  m_thread = std::make_unique<TKrSearchThread>(
      m_set, m_ids, PostThrough(*m_loop),
      [this](std::vector<ReportLine> block) {
        for (ReportLine& line : block) {
          m_references->appendPlainText(ToQString(line.text));
          m_report.push_back(std::move(line));
        }
        m_reportProgress->setValue(m_reportProgress->value() + 1);
      },
      [this] { m_reportProgress->hide(); });
}

QString TFcancella::References() const { return m_references->toPlainText(); }
QString TFcancella::Selected() const { return m_selectedMemo->toPlainText(); }
bool TFcancella::ReportRunning() const { return m_thread && m_thread->Running(); }

void TFcancella::ShowSelected() { m_selectedMemo->setPlainText(Join(m_selected)); }

void TFcancella::StopReport() {
  if (m_thread) m_thread->Terminate();
  m_thread.reset();
  m_reportProgress->hide();
}

void TFcancella::accept() {
  StopReport();
  const long remembered = m_editor.mainPage ? m_editor.mainPage() : -1;
  long after = remembered;
  try {
    // The editor writes the page it shows back and lets go of it, so that
    // nothing it holds can bring a deleted object back.
    if (m_editor.showPage) m_editor.showPage(-1);
    int objects = 0;
    for (int kind : {static_cast<int>(document::testoHtml), static_cast<int>(document::custom)}) {
      objects += m_set.CountOf(kind);
    }
    m_deleteProgress->setRange(0, std::max(1, objects * static_cast<int>(m_ids.size())));
    m_deleteProgress->setValue(0);
    m_deleteProgress->show();
    m_tabs->setCurrentIndex(kSelectedTab);
    DeletionSteps steps;
    steps.visited = [this] { m_deleteProgress->setValue(m_deleteProgress->value() + 1); };
    steps.cancelled = [this](std::size_t i) {
      m_selected[i] += " " + std::string(kDeletedMark);
      ShowSelected();
      m_selectedMemo->repaint();
    };
    after = DeleteObjects(m_set, m_ids, static_cast<int>(remembered), steps);
  } catch (...) {
    // Whatever went wrong, the editor goes back to a page and the dialog
    // closes as after a deletion.
  }
  m_deleteProgress->hide();
  if (m_editor.showPage && remembered >= 0) m_editor.showPage(after);
  QDialog::accept();
}

void TFcancella::reject() {
  StopReport();
  QDialog::reject();
}

bool AskAndDeleteObjects(QWidget* parent, document::TAEHset& set, const std::vector<ObjectId>& ids,
                         const document::ui::EditorLink& editor) {
  if (ids.empty()) return false;
  TFcancella dialog(set, ids, editor, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace tarn::search::ui
