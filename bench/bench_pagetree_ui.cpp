// Loading the page order tree of the 10,000-page hypertext into the tree
// widget (read, mended, shown and painted), against opening the document.
// The tree is stored with a hundred chapters of a hundred pages.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>

#include "document/aehorderedtree.h"
#include "document/aehset.h"
#include "document/ui/aehorderedtreeview.h"
#include "largefile.h"
#include "platform/testing/testplatform.h"

namespace {

using namespace tarn;

constexpr int kChapters = 100;

struct Chaptered {
  Chaptered() {
    if (!set.LoadFromFile(bench::LargeFile())) std::fputs("cannot open the large hypertext\n", stderr);
    document::TAEHorderedTree tree;
    tree.Editable = true;
    tree.SetLinkedAEHset(&set);
    document::TreeNode& root = *tree.RootNode();
    const int perChapter = set.CountOf(document::testoHtml) / kChapters;
    for (int c = 0; c < kChapters; ++c) {
      document::TreeNode* chapter = tree.AddChapter(root, "Chapter " + std::to_string(c + 1));
      for (int p = 0; p < perChapter; ++p) {
        tree.AddObject(*chapter, document::MakeObjectId(document::testoHtml, c * perChapter + p));
      }
    }
  }
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system{bench::BenchFolder()};
  document::TAEHset set{{&messages, &system, nullptr, nullptr}};
};

void BM_OpenDocument(benchmark::State& state) {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(bench::BenchFolder());
  document::TAEHset set({&messages, &system, nullptr, nullptr});
  for (auto _ : state) {
    if (!set.LoadFromFile(bench::LargeFile())) state.SkipWithError("load failed");
  }
}

void BM_TreeIntoWidget(benchmark::State& state) {
  static Chaptered chaptered;
  document::ui::TAEHorderedTreeView view;
  view.resize(300, 800);
  view.show();
  for (auto _ : state) {
    view.SetLinkedAEHset(nullptr);
    view.SetLinkedAEHset(&chaptered.set);
    view.SelectObject(document::MakeObjectId(document::testoHtml, 5000));
    view.repaint();
  }
  std::vector<document::ObjectId> order;
  view.OrderedObjects(order);
  state.counters["pages"] = static_cast<double>(order.size());
}

BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeIntoWidget)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
