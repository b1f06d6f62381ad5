// The special-link dialog; see speciallinkdialog.h.
#include "app/ui/speciallinkdialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

#include "app/ui/krlanguager.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtstrings.h"

namespace tarn::app::ui {
namespace {

// The kinds in the order the dialog offers them.
constexpr int kKinds[] = {document::kSpecialToObject, document::kSpecialCloseWindow, document::kSpecialKeywords,
                          document::kSpecialPrevious, document::kSpecialNext};

QString Q(std::string_view text) { return platform::qt::ToQString(text); }

}  // namespace

TFSpecialLink::TFSpecialLink(const document::TAEHset& set, const richtext::SpecialLinkFields& fields,
                             const QString& title, const char* name, QWidget* parent)
    : QDialog(parent), m_start(fields) {
  setObjectName(QString::fromLatin1(name));
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  layout->addLayout(form);

  m_kind = new QComboBox(this);
  m_kind->setObjectName(QStringLiteral("cbKind"));
  m_kind->addItems({QStringLiteral("a page"), QStringLiteral("close a window"),
                    QStringLiteral("the keywords window"), QStringLiteral("the previous page"),
                    QStringLiteral("the next page")});
  const auto* kind = std::find(std::begin(kKinds), std::end(kKinds), fields.subtype);
  m_kind->setCurrentIndex(kind != std::end(kKinds) ? static_cast<int>(kind - std::begin(kKinds)) : 0);
  form->addRow(QStringLiteral("Go to:"), m_kind);

  m_page = new QComboBox(this);
  m_page->setObjectName(QStringLiteral("cbPage"));
  // A link that leads to no page (or to a frame set) starts on this entry
  // and keeps its target.
  m_page->addItem(QStringLiteral("(none)"));
  m_pages.push_back(-1);
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    const document::TAEHoggetto* page = set.GetObject(document::testoHtml, i);
    if (page == nullptr || page->IsFree()) continue;
    m_pages.push_back(i);
    m_page->addItem(QStringLiteral("%1  %2").arg(i).arg(Q(page->GetCaption())));
  }
  if (!ChoosePage(fields.page)) m_page->setCurrentIndex(0);
  form->addRow(QStringLiteral("Page:"), m_page);

  m_anchor = new QSpinBox(this);
  m_anchor->setObjectName(QStringLiteral("seAnchor"));
  m_anchor->setRange(-1, richtext::kMaxAnchorNumber);
  m_anchor->setValue(std::clamp(fields.anchor, -1, richtext::kMaxAnchorNumber));
  form->addRow(QStringLiteral("Anchor (-1 none):"), m_anchor);

  m_action = new QComboBox(this);
  m_action->setObjectName(QStringLiteral("cbAction"));
  for (int a = 0; a <= document::kAnchorInPage; ++a) m_action->addItem(Q(document::WindowActionText(a, {})));
  m_action->setCurrentIndex(std::clamp(fields.action, 0, static_cast<int>(document::kAnchorInPage)));
  form->addRow(QStringLiteral("Window:"), m_action);

  m_window = new QLineEdit(Q(fields.window), this);
  m_window->setObjectName(QStringLiteral("eWindow"));
  m_window->setMaxLength(document::field::kSpecialWindowCapacity - 1);
  form->addRow(QStringLiteral("Window name:"), m_window);

  layout->addLayout(platform::qt::OkCancelRow(this));
  connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { ShowKind(); });
  connect(m_action, &QComboBox::currentIndexChanged, this, [this] { ShowKind(); });
  ShowKind();
  auto* languager = new TKrLanguager(this);
  ApplyWindowTable(*languager, objectName());
}

bool TFSpecialLink::ChoosePage(int page) {
  if (page < 0) return false;
  const auto at = std::find(m_pages.begin(), m_pages.end(), page);
  if (at == m_pages.end()) return false;
  m_page->setCurrentIndex(static_cast<int>(at - m_pages.begin()));
  return true;
}

// Only a link to an object has a page and an anchor, and a jump within the
// page has no page; only some kinds name a window.
void TFSpecialLink::ShowKind() {
  const int subtype = kKinds[std::clamp(m_kind->currentIndex(), 0, 4)];
  const bool toObject = subtype == document::kSpecialToObject;
  m_page->setEnabled(toObject && m_action->currentIndex() != document::kAnchorInPage);
  m_anchor->setEnabled(toObject);
  m_action->setEnabled(subtype != document::kSpecialCloseWindow && subtype != document::kSpecialKeywords);
}

richtext::SpecialLinkFields TFSpecialLink::Fields() const {
  richtext::SpecialLinkFields fields = m_start;
  fields.subtype = kKinds[std::clamp(m_kind->currentIndex(), 0, 4)];
  fields.page = m_pages[static_cast<std::size_t>(std::clamp(m_page->currentIndex(), 0, static_cast<int>(m_pages.size()) - 1))];
  fields.anchor = m_anchor->value();
  fields.action = m_action->currentIndex();
  fields.window = platform::qt::FromQString(m_window->text()).value_or(std::string());
  return fields;
}

bool EditSpecialLink(const document::TAEHset& set, richtext::SpecialLinkFields& fields, const QString& title,
                     const char* name, QWidget* parent) {
  TFSpecialLink dialog(set, fields, title, name, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  fields = dialog.Fields();
  return true;
}

}  // namespace tarn::app::ui
