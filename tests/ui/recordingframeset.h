// A frame set that only records what the objects of a page tell it, for
// the widget tests and the box demo.
#pragma once

#include <QWidget>

#include <string>
#include <vector>

#include "objects/ui/dragcontrol.h"
#include "objects/ui/framesetinterface.h"

namespace tarn::testing {

class RecordingFrameSet : public objects::FrameSetInterface {
 public:
  void ObjectSelected(objects::TDragCustomControl*) override { events.emplace_back("selected"); }
  void ObjectDeselected(objects::TDragCustomControl*) override { events.emplace_back("deselected"); }
  void BoxEntered(QWidget*) override { events.emplace_back("entered"); }
  void BoxLeft(QWidget*) override { events.emplace_back("left"); }
  void DoubleClicked(QWidget*) override { events.emplace_back("double click"); }
  void FollowLink(std::int32_t link, QWidget*) override { events.push_back("follow " + std::to_string(link)); }
  QString LinkDescription(std::int32_t link) override { return QStringLiteral("link %1").arg(link); }
  std::vector<std::string> Suggest(const std::string&) override { return suggestions; }
  void FilesDropped(const std::vector<std::string>& paths, QWidget*) override {
    events.push_back("files " + std::to_string(paths.size()));
  }
  bool Wrapper() const override { return wrapper; }

  std::vector<std::string> events;
  std::vector<std::string> suggestions;
  bool wrapper = false;
};

// A page area that hands the recording frame set to the objects on it.
class FramedPage : public QWidget, public objects::FrameSetProvider {
 public:
  explicit FramedPage(objects::FrameSetInterface& frameSet, QWidget* parent = nullptr)
      : QWidget(parent), m_frameSet(frameSet) {}
  objects::FrameSetInterface* ProvidedFrameSet() override { return &m_frameSet; }

 private:
  objects::FrameSetInterface& m_frameSet;
};

}  // namespace tarn::testing
