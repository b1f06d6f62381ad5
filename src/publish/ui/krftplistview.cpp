// The remote file list and its path combo.
#include "publish/ui/krftplistview.h"

#include <QApplication>
#include <QDateTime>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

#include <ctime>

#include "publish/ui/krftptxrxbar.h"

namespace tarn::publish::ui {
namespace {

enum Column { kName = 0, kSize = 1, kType = 2, kModified = 3 };
constexpr int kStampRole = Qt::UserRole + 1;

// Remote names travel as UTF-8 on the servers of today.
QString Wire(const std::string& name) { return QString::fromUtf8(name.data(), static_cast<int>(name.size())); }
std::string Wire(const QString& name) { return name.toUtf8().toStdString(); }

int CurrentYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

QString TypeText(int kind) {
  switch (kind) {
    case T_Filedata::kDirectory: return QStringLiteral("Directory");
    case T_Filedata::kLink: return QStringLiteral("Link");
    default: return QStringLiteral("File");
  }
}

int TypeRank(const QString& type) {
  if (type == QLatin1String("Directory")) return 0;
  if (type == QLatin1String("File")) return 1;
  return 2;
}

}  // namespace

TKrFTPlistView::TKrFTPlistView(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("FTPlistView"));
  setColumnCount(4);
  setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Type"), QStringLiteral("Modified")});
  setRootIsDecorated(false);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  header()->setSectionsClickable(true);
  connect(header(), &QHeaderView::sectionClicked, this, [this](int column) { SortRows(column); });
  connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
    if (item->text(kType) == QLatin1String("Directory")) SetDirectory(m_directory + Wire(item->text(kName)));
  });
  connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (column == kName && !m_filling) Renamed(item);
  });
}

bool TKrFTPlistView::Ready() const {
  return LinkedFTPbar != nullptr && !LinkedFTPbar->Comm().Engine().Host.empty();
}

void TKrFTPlistView::Status(const std::string& text) {
  if (OnStatus) OnStatus(text);
}

void TKrFTPlistView::Reload() {
  if (!Ready()) return;
  TKrFtpComm& comm = LinkedFTPbar->Comm();
  if (!comm.Engine().Connected()) {
    m_directory = "/";
    if (LinkedFTPCombo != nullptr) LinkedFTPCombo->Rebuild(comm.Engine().Host);
    m_lastResult = comm.Login();
    if (m_lastResult != kResultOk) return Status(comm.ErrorMessage());
    std::string dir;
    m_lastResult = comm.CurrentDir(dir);
    if (m_lastResult != kResultOk) return Status(comm.ErrorMessage());
    m_directory = dir;
    if (LinkedFTPCombo != nullptr) LinkedFTPCombo->Rebuild(comm.Engine().Host);
  }
  m_lastResult = comm.List(".");
  if (m_lastResult != kResultOk) return Status(comm.ErrorMessage());
  m_filling = true;
  clear();
  for (const T_Filedata& entry : comm.Engine().Entries(CurrentYear())) AddRow(entry);
  m_filling = false;
  SortRows(static_cast<int>(FileSortType));
  header()->resizeSections(QHeaderView::ResizeToContents);
  if (OnReload) OnReload();
  Status({});
}

void TKrFTPlistView::AddRow(const T_Filedata& entry) {
  auto* row = new QTreeWidgetItem(this);
  row->setText(kName, Wire(entry.name));
  row->setText(kSize, entry.size > 0 ? QString::number(entry.size) : QString());
  row->setText(kType, TypeText(entry.kind));
  const QDateTime stamp(QDate(entry.year, entry.month, entry.day), QTime(entry.hour, entry.minute));
  row->setText(kModified, QLocale().toString(stamp, QLocale::ShortFormat));
  row->setData(kModified, kStampRole, stamp);
  const QStyle::StandardPixmap icon =
      entry.kind == T_Filedata::kDirectory ? QStyle::SP_DirIcon : QStyle::SP_FileIcon;
  row->setIcon(kName, style()->standardIcon(icon));
  if (!ReadOnly) row->setFlags(row->flags() | Qt::ItemIsEditable);
}

int TKrFTPlistView::SetDirectory(const std::string& directory) {
  std::string wanted = directory;
  while (wanted.size() > 1 && wanted.back() == '/') wanted.pop_back();
  if (wanted.empty() || wanted.back() != '/') wanted += '/';
  if (!Ready()) return kResultRefused;
  TKrFtpComm& comm = LinkedFTPbar->Comm();
  if (wanted != m_directory || !comm.Engine().Connected()) {
    m_lastResult = comm.ChangeDir(wanted);
    if (m_lastResult != kResultOk) {
      Status(comm.ErrorMessage());
      return m_lastResult;
    }
    m_directory = wanted;
  }
  if (LinkedFTPCombo != nullptr) LinkedFTPCombo->Rebuild(comm.Engine().Host);
  Reload();
  if (OnDirectoryChange) OnDirectoryChange();
  return kResultOk;
}

void TKrFTPlistView::GoUp() {
  if (!Ready() || LinkedFTPbar->Comm().Running() || m_directory == "/" || m_directory.empty()) return;
  const std::size_t slash = m_directory.rfind('/', m_directory.size() - 2);
  SetDirectory(slash == std::string::npos ? "/" : m_directory.substr(0, slash + 1));
}

int TKrFTPlistView::NewFolder(const std::string& name) {
  if (!Ready() || LinkedFTPbar->Comm().Running()) return kResultRefused;
  m_lastResult = LinkedFTPbar->Comm().MakeDir(m_directory + name);
  if (m_lastResult != kResultOk) {
    Status(LinkedFTPbar->Comm().ErrorMessage());
    return m_lastResult;
  }
  const QDateTime now = QDateTime::currentDateTime();
  T_Filedata entry;
  entry.kind = T_Filedata::kDirectory;
  entry.name = name;
  entry.year = now.date().year();
  entry.month = now.date().month();
  entry.day = now.date().day();
  entry.hour = now.time().hour();
  entry.minute = now.time().minute();
  m_filling = true;
  AddRow(entry);
  m_filling = false;
  SortRows(static_cast<int>(FileSortType));
  if (QTreeWidgetItem* row = Row(name)) {
    setCurrentItem(row);
    if (!ReadOnly) editItem(row, kName);
  }
  return kResultOk;
}

void TKrFTPlistView::DeleteSelected() {
  if (!Ready() || ReadOnly) return;
  TKrFtpComm& comm = LinkedFTPbar->Comm();
  for (QTreeWidgetItem* row : selectedItems()) {
    const std::string path = m_directory + Wire(row->text(kName));
    const int result =
        row->text(kType) == QLatin1String("File") ? comm.DeleteFile(path) : comm.RemoveDir(path);
    if (result == kResultOk) {
      delete row;
    } else {
      Status(comm.ErrorMessage());
    }
  }
}

void TKrFTPlistView::Disconnect() {
  m_directory.clear();
  clear();
  if (LinkedFTPbar == nullptr) return;
  LinkedFTPbar->Comm().Abort();
  LinkedFTPbar->Comm().Logout();
}

std::string TKrFTPlistView::FileNameOf(const QTreeWidgetItem* row) const {
  if (row == nullptr || row->text(kType) != QLatin1String("File")) return {};
  return Wire(row->text(kName));
}

QTreeWidgetItem* TKrFTPlistView::Row(const std::string& name) const {
  for (int i = 0; i < topLevelItemCount(); ++i) {
    if (Wire(topLevelItem(i)->text(kName)) == name) return topLevelItem(i);
  }
  return nullptr;
}

void TKrFTPlistView::Renamed(QTreeWidgetItem* item) {
  const QString old = item->data(kName, Qt::UserRole).toString();
  const QString now = item->text(kName);
  if (old.isEmpty() || old == now || !Ready()) {
    item->setData(kName, Qt::UserRole, now);
    return;
  }
  const int result = LinkedFTPbar->Comm().Rename(m_directory + Wire(old), m_directory + Wire(now));
  m_filling = true;
  if (result == kResultOk) {
    item->setData(kName, Qt::UserRole, now);
  } else {
    item->setText(kName, old);
    Status(LinkedFTPbar->Comm().ErrorMessage());
  }
  m_filling = false;
}

void TKrFTPlistView::SortRows(int column) {
  QList<QTreeWidgetItem*> rows;
  while (topLevelItemCount() > 0) rows.append(takeTopLevelItem(0));
  auto extension = [](const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
  };
  std::stable_sort(rows.begin(), rows.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
    const int ta = TypeRank(a->text(kType));
    const int tb = TypeRank(b->text(kType));
    if (ta != tb) return ta < tb;
    switch (column) {
      case kSize: return a->text(kSize).toLongLong() < b->text(kSize).toLongLong();
      case kType: {
        const QString ea = extension(a->text(kName));
        const QString eb = extension(b->text(kName));
        return ea != eb ? ea < eb : a->text(kName) < b->text(kName);
      }
      case kModified: return a->data(kModified, kStampRole).toDateTime() < b->data(kModified, kStampRole).toDateTime();
      default: return a->text(kName) < b->text(kName);
    }
  });
  m_filling = true;
  addTopLevelItems(rows);
  // The name a rename starts from.
  for (QTreeWidgetItem* row : rows) row->setData(kName, Qt::UserRole, row->text(kName));
  m_filling = false;
}

void TKrFTPlistView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && !ReadOnly &&
      state() != QAbstractItemView::EditingState) {
    DeleteSelected();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void TKrFTPlistView::mousePressEvent(QMouseEvent* event) {
  if (RightMouseSelect && event->button() == Qt::RightButton) {
    if (QTreeWidgetItem* row = itemAt(event->position().toPoint())) {
      setCurrentItem(row);
      emit itemClicked(row, 0);
    }
  }
  QTreeWidget::mousePressEvent(event);
}

TKrFTPComboBox::TKrFTPComboBox(QWidget* parent) : QComboBox(parent) {
  setObjectName(QStringLiteral("FTPComboBox"));
  connect(this, &QComboBox::activated, this, [this](int k) {
    if (m_filling || LinkedFTPList == nullptr) return;
    const std::string& dir = LinkedFTPList->Directory();
    std::size_t at = 0;
    for (int n = 0; n <= k && at != std::string::npos; ++n) at = dir.find('/', n == 0 ? 0 : at + 1);
    if (at != std::string::npos) LinkedFTPList->SetDirectory(dir.substr(0, at + 1));
  });
}

void TKrFTPComboBox::Rebuild(const std::string& host) {
  m_filling = true;
  clear();
  addItem(style()->standardIcon(QStyle::SP_DriveNetIcon), QString::fromStdString(host));
  if (LinkedFTPList != nullptr) {
    const std::string& dir = LinkedFTPList->Directory();
    std::size_t start = 1;
    int level = 1;
    while (start < dir.size()) {
      const std::size_t slash = dir.find('/', start);
      if (slash == std::string::npos) break;
      // Each level one step further in, as a path reads.
      addItem(style()->standardIcon(QStyle::SP_DirIcon),
              QString(level * 2, QLatin1Char(' ')) + QString::fromUtf8(dir.substr(start, slash - start).c_str()));
      start = slash + 1;
      ++level;
    }
  }
  setCurrentIndex(count() - 1);
  m_filling = false;
}

}  // namespace tarn::publish::ui
