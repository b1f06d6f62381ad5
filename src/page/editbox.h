// A page's text box without a display that can be edited: the working copy
// read into a BoxText with its two command objects, numbered for undo like
// the editor's box. The command-line tools, tests and benchmarks edit pages
// through it; the editor's own box is a widget (page/ui/pageview.h).
#pragma once

#include <memory>
#include <string>

#include "page/aehpage.h"
#include "richtext/aehparaattributes.h"
#include "richtext/aehtextattributes.h"
#include "richtext/boxtext.h"
#include "undo/tbobackup.h"

namespace tarn::platform {
class TextMeasurer;
}
namespace tarn::richtext {
class DocumentHost;
}

namespace tarn::page {

class EditBox : public PageTextBox {
 public:
  // Lays the text out with the layout measurer at the given width.
  EditBox(TAEHset& set, WorkingCopy& copy, platform::TextMeasurer& layout, int width = 800);
  ~EditBox() override;
  EditBox(const EditBox&) = delete;
  EditBox& operator=(const EditBox&) = delete;

  richtext::BoxText& Box() { return m_text; }
  richtext::TAEHTextAttributes& TextCommands() { return m_textCommands; }
  richtext::TAEHParaAttributes& ParaCommands() { return m_paraCommands; }
  undo::TextBoxControl& Control() { return m_control; }

  // ---- PageTextBox ----
  richtext::RichText& Text() override { return m_text.Text(); }
  int HeaderCount() const override { return m_text.HeaderCount(); }
  int FooterCount() const override { return m_text.FooterCount(); }
  std::string SaveText() override { return m_text.SaveText(); }
  void SetReadOnly(bool on) override { readOnly = on; }
  void Select(richtext::RichText& box, int paragraph, int from, int to) override;
  void RedrawParagraph(richtext::RichText&, int) override {}
  void HideCaret() override {}
  bool Modified() const override { return modified; }
  undo::UndoControl* UndoBox() override { return &m_control; }

  bool readOnly = false;
  bool modified = false;

 private:
  std::unique_ptr<richtext::DocumentHost> m_host;
  SectionObjects m_objects;
  richtext::BoxText m_text;
  richtext::TAEHTextAttributes m_textCommands;
  richtext::TAEHParaAttributes m_paraCommands;
  undo::TextBoxControl m_control;
};

}  // namespace tarn::page
