// The style preview: a frame set over a private hypertext of one page of
// sample text, shown in the paragraph style being edited, so that the
// style dialogs can show what a style looks like before it is applied.
#pragma once

#include <functional>
#include <memory>

#include "objects/ui/framesetwidget.h"
#include "platform/qt/qtcanvas.h"
#include "platform/system.h"

namespace tarn::objects::ui {

class TAEHstyleView : public TInsiemeCornici {
  Q_OBJECT

 public:
  // The style the sample text is written in.
  static constexpr int kSampleStyle = 2;

  explicit TAEHstyleView(platform::Messages& messages, QWidget* parent = nullptr);
  ~TAEHstyleView() override;

  // Shows the sample in a copy of the style.
  void ShowStyle(const document::TAEHoggetto& style);
  // Copies the previewed style into the given object.
  void GetStyle(document::TAEHoggetto& style) const;
  // Starts a new style: cleared, initialised and named "Nuovo stile" and a
  // number; no page is shown.
  void NewStyle();
  document::TAEHoggetto& Style() const { return *m_style; }
  document::TAEHset& Hypertext() const { return *m_hypertext; }

  std::function<void()> OnStyleChange;

 private:
  platform::qt::QtCanvas m_measurer;
  platform::HostSystemInfo m_system;
  std::unique_ptr<document::TAEHset> m_hypertext;
  document::TAEHoggetto* m_style = nullptr;
};

// The sample page's markup, with its byte 0.
std::string StyleSampleMarkup();

}  // namespace tarn::objects::ui
