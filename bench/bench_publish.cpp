// Publishing the exported 10,000-page site to a real FTP server on
// loopback (pyftpdlib): files and megabytes per second, against curl
// uploading the same files to the same server in the same run; then a
// second publication after one page changed, which sends three files.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "app/compose.h"
#include "convert/aehtohtml.h"
#include "convert/listhtmltotx.h"
#include "document/aehset.h"
#include "largefile.h"
#include "platform/posixsocket.h"
#include "publish/exportlistrows.h"
#include "publish/ftppublisher.h"
#include "platform/testing/testplatform.h"
#include "publish/loopbackserver.h"

namespace {

namespace fs = std::filesystem;
using namespace tarn;

struct Site {
  Site() {
    app::Compose(set);
    set.LoadFromFile(bench::LargeFile());
    converter.SetLinkedAEHset(&set);
    converter.ExportPath = bench::BenchFolder() / "publish-site";
    converter.ExportAllPages(files);
    converter.CopyFiles(files);
    for (const auto& entry : fs::directory_iterator(converter.ExportPath)) {
      if (!entry.is_regular_file()) continue;
      paths.push_back(entry.path());
      bytes += entry.file_size();
    }
  }
  platform::testing::FixedSystemInfo system;
  document::TAEHset set{{nullptr, &system, nullptr, nullptr}};
  convert::TAEHtoHtml converter;
  convert::RecordList files;
  convert::TAEHListHtmlToTx& List() { return publish::testing::ListEverything(list, converter, files); }
  convert::TAEHListHtmlToTx list;
  std::vector<fs::path> paths;
  std::uintmax_t bytes = 0;
};

Site& TheSite() {
  static Site site;
  return site;
}

struct Server {
  explicit Server(const fs::path& root)
      : process({"/usr/bin/python3", std::string(TARN_PUBLISH_SCRIPTS) + "/ftpserver.py", "--root", root.string()}) {}
  publish::testing::LoopbackServer process;
};

fs::path FreshRoot(const char* name) {
  const fs::path root = bench::BenchFolder() / name;
  fs::remove_all(root);
  fs::create_directories(root);
  return root;
}

void Configure(publish::TKrFtpComm& comm, int port) {
  comm.Engine().Host = "127.0.0.1";
  comm.Engine().Port = port;
  comm.Engine().User = "author";
  comm.Engine().Password = "secret";
}

void BM_PublishFtp(benchmark::State& state) {
  Site& site = TheSite();
  platform::PosixSocketFactory sockets;
  std::size_t sent = 0;
  for (auto _ : state) {
    const fs::path root = FreshRoot("publish-ftp");
    Server server(root);
    publish::TKrFtpComm comm(sockets, nullptr);
    Configure(comm, server.process.Port());
    publish::ExportListRows rows(site.List());
    publish::TFtpPublisher publisher(comm, rows, site.converter);
    const auto start = std::chrono::steady_clock::now();
    const int result = publisher.Publish("/", site.set.Revision() - 1);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (result != publish::kResultOk) state.SkipWithError(comm.ErrorMessage().c_str());
    sent = publisher.Uploaded().size();
    state.SetIterationTime(took.count());

    // One page changed: only it, the style sheet and the version page go.
    site.set.GetObject(document::testoHtml, 17)->SetRevision(site.set.Revision() + 5);
    publish::ExportListRows again(site.List());
    publish::TFtpPublisher second(comm, again, site.converter);
    again.CheckNewerThan(second.ReadRelease("/"));
    const auto start2 = std::chrono::steady_clock::now();
    second.Publish("/", site.set.Revision() - 1);
    const std::chrono::duration<double> took2 = std::chrono::steady_clock::now() - start2;
    state.counters["second_files"] = static_cast<double>(second.Uploaded().size());
    state.counters["second_ms"] = took2.count() * 1000;
    comm.Logout();
  }
  state.counters["files"] = static_cast<double>(sent);
  state.counters["files_per_s"] = benchmark::Counter(static_cast<double>(sent), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["MB_per_s"] = benchmark::Counter(static_cast<double>(site.bytes) / 1e6,
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

// curl sends the same files over one connection, read from a config file.
void BM_CurlUpload(benchmark::State& state) {
  Site& site = TheSite();
  if (std::system("command -v curl >/dev/null 2>&1") != 0) {
    state.SkipWithError("curl is not installed");
    return;
  }
  for (auto _ : state) {
    const fs::path root = FreshRoot("publish-curl");
    Server server(root);
    const fs::path config = bench::BenchFolder() / "curl-upload.conf";
    {
      std::ofstream out(config);
      out << "user = \"author:secret\"\nsilent\n";
      for (const fs::path& p : site.paths) {
        out << "upload-file = \"" << p.string() << "\"\nurl = \"ftp://127.0.0.1:" << server.process.Port() << "/"
            << p.filename().string() << "\"\n";
      }
    }
    const bench::CommandRun run = bench::RunCommand({"curl", "--config", config.string()});
    if (!run.ok) state.SkipWithError("curl failed");
    state.SetIterationTime(run.seconds);
  }
  state.counters["files"] = static_cast<double>(site.paths.size());
  state.counters["files_per_s"] =
      benchmark::Counter(static_cast<double>(site.paths.size()), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["MB_per_s"] = benchmark::Counter(static_cast<double>(site.bytes) / 1e6,
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_PublishFtp)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurlUpload)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
