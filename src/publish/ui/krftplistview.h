// TKrFTPlistView lists the files of one remote folder through the FTP
// strip it is linked to: entering folders, going up, making, renaming and
// deleting; TKrFTPComboBox shows the folder's path above it, one item per
// level, and moves the list to the level chosen.
#pragma once

#include <QComboBox>
#include <QTreeWidget>

#include <functional>
#include <string>

#include "publish/ftplist.h"

namespace tarn::publish::ui {

class TKrFtpTxRxBar;
class TKrFTPComboBox;

enum class TFileSortType { fsName, fsSize, fsType, fsDate };

class TKrFTPlistView : public QTreeWidget {
 public:
  explicit TKrFTPlistView(QWidget* parent = nullptr);

  TKrFtpTxRxBar* LinkedFTPbar = nullptr;
  TKrFTPComboBox* LinkedFTPCombo = nullptr;
  TFileSortType FileSortType = TFileSortType::fsType;
  bool RightMouseSelect = true;
  bool ReadOnly = false;
  std::function<void()> OnReload;
  std::function<void(const std::string& text)> OnStatus;
  std::function<void()> OnDirectoryChange;

  // Always ends with "/"; empty when disconnected.
  const std::string& Directory() const { return m_directory; }
  // Enters the folder; a refused change keeps the old one. Answers the
  // result of the change.
  int SetDirectory(const std::string& directory);
  void Reload();
  void GoUp();
  int NewFolder(const std::string& name);
  void DeleteSelected();
  void Disconnect();
  // The row's name when it is a file, else empty.
  std::string FileNameOf(const QTreeWidgetItem* row) const;
  // The row of a name, or none.
  QTreeWidgetItem* Row(const std::string& name) const;
  // The result of the last operation.
  int LastResult() const { return m_lastResult; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  bool Ready() const;
  void Status(const std::string& text);
  void SortRows(int column);
  void AddRow(const T_Filedata& entry);
  void Renamed(QTreeWidgetItem* item);

  std::string m_directory;
  int m_lastResult = 0;
  bool m_filling = false;
};

class TKrFTPComboBox : public QComboBox {
 public:
  explicit TKrFTPComboBox(QWidget* parent = nullptr);
  TKrFTPlistView* LinkedFTPList = nullptr;
  // Host, then the components of the list's folder.
  void Rebuild(const std::string& host);

 private:
  bool m_filling = false;
};

}  // namespace tarn::publish::ui
