// The drop-down list of undo (or redo) steps that opens under the toolbar
// button: the captions, newest first. The selection always runs from the
// first entry to one entry, so choosing the k-th entry takes k steps at
// once.
#pragma once

#include <QListWidget>

#include <string>
#include <vector>

namespace tarn::undo {
class TAEHundoList;
class UndoControl;
}  // namespace tarn::undo

namespace tarn::undo::ui {

class TUndoBox : public QListWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 200;
  // More entries than this scroll.
  static constexpr int kRows = 10;

  explicit TUndoBox(const std::vector<std::string>& captions, QWidget* parent = nullptr);
  ~TUndoBox() override;

  // Shows the list under the anchor: right-aligned with it where the screen
  // ends on the right, above it where the screen ends below.
  void PopupAt(QWidget* anchor);
  // Shows the list and processes events until it closes; answers the
  // number of steps chosen (0 when cancelled).
  int Exec(QWidget* anchor);
  // The entries selected: from the first to the one chosen.
  int SelectedCount() const { return m_count; }
  bool Done() const { return m_done; }

 signals:
  void Finished(int count);

 protected:
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Entries 0..row selected, the rest not.
  void SelectTo(int row);
  int RowAt(const QPointF& global) const;
  bool Inside(const QPointF& global) const;
  void Finish(bool confirmed);

  int m_count = 0;
  bool m_pressedInside = false;
  bool m_done = false;
};

// The drop-down of a stack (kUndo or kRedo) under the anchor: the chosen
// steps are taken, newest first, with the wait cursor. Answers the control
// the last step named (nothing when cancelled or empty).
UndoControl* ShowList(TAEHundoList& list, int direction, QWidget* anchor);

}  // namespace tarn::undo::ui
