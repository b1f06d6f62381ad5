// The undo list itself: control numbers, the two stacks and their depth,
// several steps at once, and paths of control numbers that no longer lead
// anywhere.
#include "undo/aehundolist.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/compose.h"
#include "document/aehset.h"
#include "document/testfixtures.h"

namespace tarn::undo {
namespace {

// A control that numbers others, as a frame set or a page view does.
class Container : public UndoControl {
 public:
  TAEHundoIndiciList* UndoChildren() override { return &children; }
  void UndoTouched() override { ++touched; }
  TAEHundoIndiciList children{this};
  int touched = 0;
};

// A step that writes down when it is applied and, like every step, records
// its opposite first.
class LoggedStep : public TAEHbackup {
 public:
  static LoggedStep* Create(TAEHundoList& list, std::string caption, std::vector<std::string>& log,
                            UndoControl* control = nullptr) {
    return list.Add(std::unique_ptr<LoggedStep>(new LoggedStep(list, std::move(caption), log, control)));
  }
  UndoControl* Apply() override {
    m_log.push_back((Direction() == kUndo ? "undo " : "redo ") + Caption());
    UndoControl* target = Path().empty() ? nullptr : Resolve();
    if (!Path().empty() && target == nullptr) return nullptr;
    Create(List(), Caption(), m_log, target);
    return target;
  }

 private:
  LoggedStep(TAEHundoList& list, std::string caption, std::vector<std::string>& log, UndoControl* control)
      : TAEHbackup(list, std::move(caption), control), m_log(log) {}
  std::vector<std::string>& m_log;
};

class UndoListTest : public ::testing::Test {
 protected:
  UndoListTest() : set(env.Services()) { app::Compose(set); }
  TAEHundoList& List() { return *UndoListOf(set); }
  void Steps(int count) {
    for (int i = 1; i <= count; ++i) LoggedStep::Create(List(), "step " + std::to_string(i), log);
  }

  testing::TestEnv env;
  document::TAEHset set;
  std::vector<std::string> log;
};

TEST(ControlNumbers, AreHandedOutOnceAndSlotsEmptyWhenControlsGo) {
  TAEHundoIndiciList list;
  auto a = std::make_unique<Container>();
  Container b;
  EXPECT_EQ(list.Register(a.get()), 0);
  EXPECT_EQ(list.Register(&b), 1);
  EXPECT_EQ(list.Lookup(1), &b);
  EXPECT_EQ(list.Lookup(2), nullptr);
  EXPECT_EQ(list.Lookup(-1), nullptr);
  a.reset();
  EXPECT_EQ(list.Lookup(0), nullptr);
  // Registered again, b takes a new number; its old one names nothing.
  EXPECT_EQ(list.Register(&b), 2);
  EXPECT_EQ(list.Lookup(1), nullptr);
  EXPECT_EQ(b.UndoIndex(), 2);
  // An object made again is put under its old number, beyond the end too.
  Container c;
  EXPECT_TRUE(list.Put(&c, 6));
  EXPECT_EQ(list.Count(), 7);
  EXPECT_EQ(list.Lookup(6), &c);
  EXPECT_EQ(list.Register(nullptr), 7);
  EXPECT_FALSE(list.Put(&c, -1));
  {
    TAEHundoIndiciList shortLived;
    shortLived.Register(&c);
    EXPECT_EQ(list.Lookup(6), nullptr);
  }
  // The list that went let go of its controls.
  EXPECT_EQ(c.UndoList(), nullptr);
  EXPECT_EQ(c.UndoIndex(), -1);
}

TEST_F(UndoListTest, DepthKeepsTheNewestSteps) {
  set.SetUndoDeep(3);
  Steps(4);
  EXPECT_EQ(List().Captions(kUndo), (std::vector<std::string>{"step 4", "step 3", "step 2"}));
  List().SetDepth(1);  // ignored
  Steps(5);
  EXPECT_EQ(List().UndoCount(), 3);

  set.SetUndoDeep(10);
  Steps(5);
  ASSERT_EQ(List().UndoCount(), 8);
  set.SetUndoDeep(5);  // the container passes it on
  EXPECT_EQ(List().UndoCount(), 5);
  EXPECT_EQ(List().Captions(kUndo).back(), "step 1");

  // A list made with depth 0 keeps every step; a negative depth is taken
  // for the default.
  TAEHundoList unlimited(set, 0);
  for (int i = 0; i < 50; ++i) LoggedStep::Create(unlimited, "x", log);
  EXPECT_EQ(unlimited.UndoCount(), 50);
  EXPECT_EQ(TAEHundoList(set, -4).Depth(), TAEHundoList::kDefaultDepth);
}

TEST_F(UndoListTest, UndoMakesRedoStepsAndANewStepEmptiesTheRedoStack) {
  Steps(3);
  List().Undo();
  List().Undo();
  EXPECT_EQ(log, (std::vector<std::string>{"undo step 3", "undo step 2"}));
  EXPECT_EQ(List().Captions(kRedo), (std::vector<std::string>{"step 2", "step 3"}));
  List().Redo();
  EXPECT_EQ(log.back(), "redo step 2");
  // Taking a step forward keeps the steps still ahead.
  EXPECT_EQ(List().Captions(kRedo), std::vector<std::string>{"step 3"});
  EXPECT_EQ(List().Captions(kUndo), (std::vector<std::string>{"step 2", "step 1"}));
  Steps(1);
  EXPECT_FALSE(List().CanRedo());
  EXPECT_EQ(List().Redo(), nullptr);
}

TEST_F(UndoListTest, TheDropDownTakesTheChosenNumberOfStepsNewestFirst) {
  Steps(5);
  std::vector<std::string> shown;
  bool busy = false;
  List().ShowList(kUndo, [&](const std::vector<std::string>& captions) {
    shown = captions;
    busy = List().Busy();
    return 3;
  });
  EXPECT_TRUE(busy);
  EXPECT_FALSE(List().Busy());
  EXPECT_EQ(shown.front(), "step 5");
  EXPECT_EQ(log, (std::vector<std::string>{"undo step 5", "undo step 4", "undo step 3"}));
  EXPECT_EQ(List().UndoCount(), 2);
  List().ShowList(kRedo, [](const std::vector<std::string>&) { return 0; });  // cancelled
  EXPECT_EQ(List().RedoCount(), 3);
  List().ShowList(kRedo, [](const std::vector<std::string>&) { return 99; });
  EXPECT_EQ(List().UndoCount(), 5);
  EXPECT_EQ(log.back(), "redo step 5");

  // The list tells the container of every change (the window's commands).
  int changes = 0;
  set.OnUndoChanged = [&] { ++changes; };
  List().Undo();
  EXPECT_GT(changes, 0);
  changes = 0;
  List().Clear();
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(List().CanUndo() || List().CanRedo());
}

TEST_F(UndoListTest, ClosingTheHypertextMakesANewEmptyListOfTheSameDepth) {
  set.SetUndoDeep(7);
  Steps(2);
  set.NewHypertext();
  EXPECT_FALSE(List().CanUndo());
  EXPECT_EQ(List().Depth(), 7);
}

TEST_F(UndoListTest, PathsFindTheirControlAgainOrNothing) {
  // A frame set, a page view in it, an object on the page (number 1).
  struct Chain {
    std::unique_ptr<Container> frameSet = std::make_unique<Container>();
    std::unique_ptr<Container> page = std::make_unique<Container>();
    std::unique_ptr<Container> object = std::make_unique<Container>();
    Chain() {
      frameSet->children.Register(page.get());
      page->children.Register(nullptr);
      page->children.Register(object.get());
    }
  };
  {
    Chain chain;
    LoggedStep* step = LoggedStep::Create(List(), "on object", log, chain.object.get());
    EXPECT_EQ(step->Path(), (std::vector<int>{1, 0, chain.frameSet->UndoIndex()}));
    EXPECT_EQ(chain.page->touched, 1);
    EXPECT_EQ(List().Undo(), chain.object.get());
    EXPECT_EQ(List().Redo(), chain.object.get());
  }

  struct Case {
    const char* name;
    void (*breakIt)(Chain&);
    const char* message;  // empty: nothing is said
  };
  const Case cases[] = {
      {"object gone", [](Chain& c) { c.object.reset(); }, ""},
      {"page view gone", [](Chain& c) { c.page.reset(); }, "Error in undo list chain!"},
      {"frame set gone", [](Chain& c) { c.frameSet.reset(); }, "Errore nella catena undo list!"},
  };
  for (const Case& c : cases) {
    Chain chain;
    LoggedStep::Create(List(), c.name, log, chain.object.get());
    c.breakIt(chain);
    env.messages.Clear();
    log.clear();
    EXPECT_EQ(List().Undo(), nullptr) << c.name;
    EXPECT_EQ(log, std::vector<std::string>{std::string("undo ") + c.name});
    EXPECT_FALSE(List().CanRedo()) << c.name;  // nothing was applied, so nothing to redo
    if (*c.message == 0) {
      EXPECT_TRUE(env.messages.entries.empty()) << c.name;
    } else {
      EXPECT_TRUE(env.messages.Saw(c.message)) << c.name;
    }
  }
}

}  // namespace
}  // namespace tarn::undo
