// The stand-in through which the layout sees a screen object: it answers
// the object's size and takes the place the layout gives it, making the
// widget when the layout first asks for it (the text box it lives in
// exists by then).
#pragma once

#include <QPointer>

#include <functional>
#include <memory>

#include "richtext/pageobjects.h"

class QWidget;

namespace tarn::objects {

using document::TAEHoggetto;

class TMyyVisual;

class VisualObject : public richtext::RecordObject {
 public:
  // parent answers the text box the widget goes into.
  VisualObject(std::int32_t number, TAEHoggetto* record, bool ownText, std::function<QWidget*()> parent);
  ~VisualObject() override;
  VisualObject(const VisualObject&) = delete;
  VisualObject& operator=(const VisualObject&) = delete;

  // The screen object, made on first use; nothing without a parent yet.
  TMyyVisual* Widget();

  int Width() const override;
  int Height() const override;
  int RecordKind() const override;
  int VerticalAlignment() const override;
  bool Shown() const override;
  void SetAvailableWidth(int width) override;
  void Place(int x, int y) override;

  // The factory a page box gives its objects: a stand-in for every record
  // that has a screen object, nothing for the rest (tables, links).
  static std::unique_ptr<richtext::RecordObject> Make(std::int32_t number, TAEHoggetto* record, bool ownText,
                                                      std::function<QWidget*()> parent);

 private:
  TAEHoggetto* m_mutable;
  bool m_ownText;
  std::function<QWidget*()> m_parent;
  QPointer<TMyyVisual> m_widget;
};

}  // namespace tarn::objects
