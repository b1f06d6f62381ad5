// The deterministic event loop the models are tested with, and running real
// programs.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "platform/posixprocess.h"
#include "platform/testing/manualeventloop.h"

namespace tarn::platform {
namespace {

TEST(ManualEventLoop, PostedCallsWaitTimersFollowTheClock) {
  testing::ManualEventLoop loop;
  std::vector<std::string> log;
  loop.Post([&] {
    log.push_back("posted");
    loop.Post([&] { log.push_back("posted by a call"); });
  });
  loop.PostMessage(44650, [&] { log.push_back("message"); });
  EXPECT_TRUE(log.empty());
  EXPECT_THROW(loop.PostMessage(1000, [] {}), std::invalid_argument);
  loop.ProcessEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"posted", "message", "posted by a call"}));
  EXPECT_EQ(loop.messages, (std::vector<int>{44650}));

  log.clear();
  Timer once(&loop);
  Timer every(&loop);
  once.Start(300, false, [&] { log.push_back("once"); });
  every.Start(200, true, [&] { log.push_back("every"); });
  loop.Advance(299);
  EXPECT_EQ(log, (std::vector<std::string>{"every"}));
  loop.Advance(1);
  EXPECT_FALSE(once.Active());
  loop.Advance(100);
  EXPECT_EQ(log, (std::vector<std::string>{"every", "once", "every"}));
  // A timer restarted from its own call, and one stopped.
  once.Start(50, false, [&] { once.Start(50, false, [&] { log.push_back("again"); }); });
  every.Stop();
  loop.Advance(1000);
  EXPECT_EQ(log.back(), "again");
  EXPECT_EQ(std::count(log.begin(), log.end(), "every"), 2);
}

TEST(ManualEventLoop, CallsPostedFromAnotherThreadRunOnTheLoop) {
  testing::ManualEventLoop loop;
  std::thread::id ranOn;
  std::thread worker([&] { loop.Post([&] { ranOn = std::this_thread::get_id(); }); });
  worker.join();
  loop.ProcessEvents();
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(PosixProcess, RunsReadsWaitsAndStopsAtTheTimeLimit) {
  PosixProcess process;
  ASSERT_FALSE(process.FindProgram("sh").empty());
  EXPECT_TRUE(process.FindProgram("no-such-program-tarn").empty());

  int waits = 0;
  ProcessResult done = process.Run("sh", {"-c", "echo out; echo err >&2; exit 3"}, 5000, [&] { ++waits; });
  EXPECT_TRUE(done.started);
  EXPECT_TRUE(done.finished);
  EXPECT_EQ(done.exitCode, 3);
  EXPECT_EQ(done.output, "out\n");
  EXPECT_EQ(done.errors, "err\n");
  EXPECT_GT(waits, 0);

  // Arguments reach the program as they are, blanks and quotes included.
  done = process.Run("printf", {"%s|", "a b", "\"c\""}, 5000);
  EXPECT_EQ(done.output, "a b|\"c\"|");

  const auto start = std::chrono::steady_clock::now();
  done = process.Run("sleep", {"30"}, 200);
  EXPECT_TRUE(done.started);
  EXPECT_FALSE(done.finished);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

  EXPECT_FALSE(process.Run("no-such-program-tarn", {}, 1000).started);
  EXPECT_TRUE(process.StartDetached("true", {}));
  EXPECT_FALSE(process.StartDetached("no-such-program-tarn", {}));
}

TEST(PosixProcess, AWatchedProgramReportsItsEndFromAnotherThread) {
  PosixProcess process;
  std::promise<std::pair<int, std::thread::id>> ended;
  auto reported = ended.get_future();
  const std::string folder = std::filesystem::temp_directory_path().string();
  ASSERT_TRUE(process.StartWatched("sh", {"-c", "test \"$(pwd)\" = \"$1\" && exit 4", "sh", folder}, folder,
                                   [&](int code) { ended.set_value({code, std::this_thread::get_id()}); }));
  ASSERT_EQ(reported.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  const auto [code, thread] = reported.get();
  EXPECT_EQ(code, 4);  // it ran in the folder asked
  EXPECT_NE(thread, std::this_thread::get_id());
  EXPECT_FALSE(process.StartWatched("no-such-program-tarn", {}, {}, [](int) { FAIL(); }));
}

}  // namespace
}  // namespace tarn::platform
