// A read-only view of one page: its own paragraphs laid out across the
// view's width, drawn over the page's background colour; a click on a link
// to a page shows that page. The main window shows pages with it until the
// frame set takes its place.
#pragma once

#include <QAbstractScrollArea>

#include <memory>
#include <vector>

#include "app/ui/editorcontrol.h"
#include "document/aehset.h"
#include "platform/messages.h"
#include "platform/qt/qtcanvas.h"

namespace tarn::richtext {
class PageText;
class TextLayout;
}  // namespace tarn::richtext

namespace tarn::app::ui {

class TPagePreview : public QAbstractScrollArea, public EditorControl, public document::LinkedView {
  Q_OBJECT
 public:
  TPagePreview(platform::Messages& messages, QWidget* parent = nullptr);
  ~TPagePreview() override;

  QWidget* Widget() override { return this; }
  void SetLinkedAEHset(document::TAEHset* set) override;
  void SetMainPageNumber(long page) override;
  long MainPageNumber() const override { return m_page; }
  void ClosePage() override;
  void ShowCover() override;
  void ShowContents() override;
  bool GoBack() override;
  bool GoForward() override;
  void SetReadOnly(bool readOnly) override { m_readOnly = readOnly; }
  bool ReadOnly() const override { return m_readOnly; }
  void SetModeSwitching(bool) override {}
  bool PageModified() const override { return false; }
  void SetPageModified(bool) override {}
  void SetAutoEngQuote(bool) override {}
  void RestoreFocus() override { setFocus(); }
  void SelectAll() override {}

  // document::LinkedView: nothing is edited here, so nothing to write back.
  int ReleasePage() override { return static_cast<int>(m_page); }
  void RestorePage(int page) override { Show(page); }
  void DropPage() override;

  // The page a link value of the shown page leads to, or -1.
  long LinkTarget(int linkValue) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Show(long page);
  void Relayout();
  int LinkAt(QPoint point) const;

  platform::Messages& m_messages;
  platform::qt::QtCanvas m_measurer;
  document::TAEHset* m_set = nullptr;
  long m_page = -1;
  bool m_readOnly = true;
  std::unique_ptr<richtext::PageText> m_text;
  std::unique_ptr<richtext::TextLayout> m_layout;
  std::uint32_t m_background = 0xFFFFFF;
  std::vector<long> m_back;
  std::vector<long> m_forward;
};

}  // namespace tarn::app::ui
