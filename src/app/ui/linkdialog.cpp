// The link dialog; see linkdialog.h.
#include "app/ui/linkdialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/ui/krlanguager.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/links.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtstrings.h"

namespace tarn::app::ui {
namespace {

using platform::qt::NamedButton;
using platform::qt::ToQString;

constexpr int kPageRole = Qt::UserRole;
constexpr std::string_view kMailto = "mailto:";
constexpr std::string_view kFileScheme = "file:";
constexpr int kTitleCapacity = 71;
constexpr int kAnchorRole = Qt::UserRole;

std::string Bytes(const QString& text) { return RecordText(text); }

QWidget* Page(QStackedWidget* stack, QLayout* layout) {
  auto* page = new QWidget(stack);
  page->setLayout(layout);
  stack->addWidget(page);
  return page;
}

}  // namespace

std::string RecordText(const QString& text) {
  if (auto bytes = platform::qt::FromQString(text)) return *bytes;
  QString copy = text;
  for (QChar& c : copy) {
    if (!platform::qt::FromQString(QString(c))) c = QLatin1Char('?');
  }
  return platform::qt::FromQString(copy).value_or(std::string());
}

TFLink::TFLink(const document::TAEHset& set, const std::string& current, bool hasLink, QWidget* parent)
    : QDialog(parent), m_set(set) {
  setObjectName(QStringLiteral("FLink"));
  setWindowTitle(QStringLiteral("Link"));

  m_kind = new QComboBox(this);
  m_kind->setObjectName(QStringLiteral("LinkKind"));
  m_kind->addItems({QStringLiteral("Page of this hypertext"), QStringLiteral("Page of another hypertext"),
                    QStringLiteral("Internet address (URL)"), QStringLiteral("E-mail address"),
                    QStringLiteral("File"), QStringLiteral("New page")});
  m_stack = new QStackedWidget(this);

  // A page of this hypertext: a typed word narrows the list of titles.
  auto* pageLayout = new QVBoxLayout;
  pageLayout->setContentsMargins(0, 0, 0, 0);
  m_filter = new QLineEdit;
  m_filter->setObjectName(QStringLiteral("PageFilter"));
  m_filter->setPlaceholderText(QStringLiteral("Search page by title"));
  m_pages = new QListWidget;
  m_pages->setObjectName(QStringLiteral("PageList"));
  m_anchors = new QComboBox;
  m_anchors->setObjectName(QStringLiteral("AnchorList"));
  auto* anchorRow = new QFormLayout;
  anchorRow->addRow(QStringLiteral("Anchor:"), m_anchors);
  pageLayout->addWidget(m_filter);
  pageLayout->addWidget(m_pages);
  pageLayout->addLayout(anchorRow);
  Page(m_stack, pageLayout);

  auto* otherLayout = new QFormLayout;
  m_otherFile = new QLineEdit;
  m_otherFile->setObjectName(QStringLiteral("OtherFile"));
  auto* browse = NamedButton(this, "bBrowse", QStringLiteral("&Browse..."));
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(m_otherFile);
  fileRow->addWidget(browse);
  m_otherPage = new QSpinBox;
  m_otherPage->setObjectName(QStringLiteral("OtherPage"));
  m_otherPage->setRange(0, 0xFFFFFF);
  otherLayout->addRow(QStringLiteral("Hypertext file:"), fileRow);
  otherLayout->addRow(QStringLiteral("Page number:"), m_otherPage);
  Page(m_stack, otherLayout);

  auto* addressLayout = new QFormLayout;
  m_address = new QLineEdit;
  m_address->setObjectName(QStringLiteral("Address"));
  m_address->setPlaceholderText(QStringLiteral("http://"));
  addressLayout->addRow(QStringLiteral("Address:"), m_address);
  Page(m_stack, addressLayout);

  auto* mailLayout = new QFormLayout;
  m_mail = new QLineEdit;
  m_mail->setObjectName(QStringLiteral("Mail"));
  mailLayout->addRow(QStringLiteral("E-mail address:"), m_mail);
  Page(m_stack, mailLayout);

  auto* fileLayout = new QFormLayout;
  m_file = new QLineEdit;
  m_file->setObjectName(QStringLiteral("FileName"));
  auto* browseFile = NamedButton(this, "bBrowseFile", QStringLiteral("B&rowse..."));
  auto* linkedRow = new QHBoxLayout;
  linkedRow->addWidget(m_file);
  linkedRow->addWidget(browseFile);
  fileLayout->addRow(QStringLiteral("File:"), linkedRow);
  Page(m_stack, fileLayout);

  // A new page: the dialog's caller makes it with this title and links to it.
  auto* newLayout = new QFormLayout;
  m_title = new QLineEdit;
  m_title->setObjectName(QStringLiteral("NewPageTitle"));
  m_title->setMaxLength(kTitleCapacity);
  newLayout->addRow(QStringLiteral("Title of the new page:"), m_title);
  Page(m_stack, newLayout);

  auto* buttons = platform::qt::OkCancelRow(this);
  if (hasLink) {
    auto* remove = NamedButton(this, "bRemove", QStringLiteral("&Remove link"));
    buttons->insertWidget(0, remove);
    connect(remove, &QPushButton::clicked, this, [this] {
      m_remove = true;
      accept();
    });
  }

  auto* layout = new QVBoxLayout(this);
  auto* kindRow = new QFormLayout;
  kindRow->addRow(QStringLiteral("Link to:"), m_kind);
  layout->addLayout(kindRow);
  layout->addWidget(m_stack);
  layout->addLayout(buttons);
  resize(420, 340);

  connect(m_kind, &QComboBox::currentIndexChanged, this, [this](int index) {
    m_stack->setCurrentIndex(index);
    // What the author types next goes into the target's first box.
    if (auto* first = m_stack->currentWidget()->findChild<QLineEdit*>()) first->setFocus();
  });
  connect(m_filter, &QLineEdit::textChanged, this, [this] { FillPages(); });
  connect(m_pages, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(m_pages, &QListWidget::currentRowChanged, this, [this] { FillAnchors(); });
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Hypertext"), m_otherFile->text(),
                                                      QStringLiteral("Tarn hypertext (*.aeh)"));
    if (!file.isEmpty()) m_otherFile->setText(file);
  });
  connect(browseFile, &QPushButton::clicked, this, [this] {
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("File"), m_file->text());
    if (!file.isEmpty()) m_file->setText(file);
  });

  FillPages();
  ShowCurrent(current);
  if (auto* first = m_stack->currentWidget()->findChild<QLineEdit*>()) first->setFocus();
  m_languager = new TKrLanguager(this);
  ApplyWindowTable(*m_languager, objectName());
}

void TFLink::SetTarget(Target target) { m_kind->setCurrentIndex(static_cast<int>(target)); }

TFLink::Target TFLink::Kind() const { return static_cast<Target>(m_kind->currentIndex()); }

void TFLink::SetAnchorSource(std::function<std::vector<int>(int page)> anchorsOf, int currentPage) {
  m_anchorsOf = std::move(anchorsOf);
  m_currentPage = currentPage;
  FillAnchors();
}

void TFLink::FillAnchors() {
  const int kept = ChosenAnchor();
  m_anchors->clear();
  m_anchors->addItem(QStringLiteral("(none)"), -1);
  const int page = ChosenPage();
  if (!m_anchorsOf || page < 0) return;
  for (const int n : m_anchorsOf(page)) {
    m_anchors->addItem(ToQString(document::AnchorCaption(n)), n);
    if (n == kept) m_anchors->setCurrentIndex(m_anchors->count() - 1);
  }
}

void TFLink::ShowPageTarget(int page, int anchor) {
  SetTarget(Target::Page);
  if (page < 0) page = m_currentPage;
  for (int row = 0; row < m_pages->count(); ++row) {
    if (m_pages->item(row)->data(kPageRole).toInt() == page) m_pages->setCurrentRow(row);
  }
  FillAnchors();
  const int found = m_anchors->findData(anchor);
  if (found >= 0) m_anchors->setCurrentIndex(found);
}

int TFLink::ChosenPage() const {
  const QListWidgetItem* item = m_pages->currentItem();
  return item != nullptr ? item->data(kPageRole).toInt() : -1;
}

int TFLink::ChosenAnchor() const {
  if (static_cast<Target>(m_kind->currentIndex()) != Target::Page || m_anchors->currentIndex() < 0) return -1;
  return m_anchors->currentData(kAnchorRole).toInt();
}

std::string TFLink::NewPageTitle() const { return Bytes(m_title->text().trimmed()); }

void TFLink::FillPages() {
  const int chosen = m_pages->currentItem() != nullptr ? m_pages->currentItem()->data(kPageRole).toInt() : -1;
  m_pages->clear();
  const QString word = m_filter->text().trimmed();
  for (int i = 0; i < m_set.CountOf(document::testoHtml); ++i) {
    const auto* page = static_cast<const document::TAEHtesto*>(m_set.GetObject(document::testoHtml, i));
    if (page == nullptr || page->IsFree()) continue;
    const QString title = ToQString(page->Title());
    if (!word.isEmpty() && !title.contains(word, Qt::CaseInsensitive)) continue;
    auto* item = new QListWidgetItem(QStringLiteral("%1 - %2").arg(i).arg(title), m_pages);
    item->setData(kPageRole, i);
    if (i == chosen) m_pages->setCurrentItem(item);
  }
  if (m_pages->currentItem() == nullptr && m_pages->count() > 0) m_pages->setCurrentRow(0);
}

void TFLink::ShowCurrent(const std::string& url) {
  if (url.empty()) return;
  const document::InternalUrl internal = document::ParseInternalUrl(m_set, url);
  if (internal.isInternal && internal.sameFile) {
    SetTarget(Target::Page);
    for (int row = 0; row < m_pages->count(); ++row) {
      if (m_pages->item(row)->data(kPageRole).toInt() == internal.page) m_pages->setCurrentRow(row);
    }
  } else if (internal.isInternal) {
    SetTarget(Target::OtherHypertext);
    m_otherFile->setText(ToQString(internal.file));
    m_otherPage->setValue(std::max(internal.page, 0));
  } else if (url.starts_with(kMailto)) {
    SetTarget(Target::Mail);
    m_mail->setText(ToQString(url.substr(kMailto.size())));
  } else if (url.starts_with(kFileScheme)) {
    SetTarget(Target::File);
    m_file->setText(ToQString(url.substr(kFileScheme.size())));
  } else {
    SetTarget(Target::Address);
    m_address->setText(ToQString(url));
  }
}

std::string TFLink::Url() const {
  switch (static_cast<Target>(m_kind->currentIndex())) {
    case Target::Page: {
      const QListWidgetItem* item = m_pages->currentItem();
      if (item == nullptr) return {};
      return document::MakeInternalUrl(m_set, m_set.AEHFileName().string(), item->data(kPageRole).toInt());
    }
    case Target::OtherHypertext: {
      const std::string file = Bytes(m_otherFile->text().trimmed());
      return file.empty() ? std::string() : document::MakeInternalUrl(m_set, file, m_otherPage->value());
    }
    case Target::Address: return Bytes(m_address->text().trimmed());
    case Target::Mail: {
      const std::string mail = Bytes(m_mail->text().trimmed());
      return mail.empty() ? std::string() : std::string(kMailto) + mail;
    }
    case Target::File: {
      const std::string file = Bytes(m_file->text().trimmed());
      return file.empty() ? std::string() : std::string(kFileScheme) + file;
    }
    case Target::NewPage: return {};
  }
  return {};
}

}  // namespace tarn::app::ui
