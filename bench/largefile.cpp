// The shared generated hypertext; see largefile.h.
#include "largefile.h"

#include <string>

#include "app/compose.h"
#include "document/aehset.h"
#include "platform/testing/testplatform.h"

namespace tarn::bench {

const std::filesystem::path& BenchFolder() {
  static const std::filesystem::path folder = [] {
    auto dir = std::filesystem::temp_directory_path() / "tarn-bench";
    std::filesystem::create_directories(dir);
    return dir;
  }();
  return folder;
}

const std::filesystem::path& LargeFile() {
  static const std::filesystem::path file = [] {
    const auto path = BenchFolder() / "large-v2.aeh";
    if (std::filesystem::exists(path)) return path;
    platform::testing::RecordingMessages messages;
    platform::testing::FixedSystemInfo system(BenchFolder());
    document::TAEHset set({&messages, &system, nullptr, nullptr});
    app::Compose(set);
    set.SetBackup(false);
    for (int i = 0; i < kPages; ++i) {
      auto page = set.NewObject(document::testoHtml);
      page->SetName("Page " + std::to_string(i));
      // Text with the usual mix: plain words, a link, a format change and a
      // new paragraph now and then.
      std::string markup = "<Z S0 >";
      int n = 0;
      while (markup.size() < 2000) {
        markup += "The quick brown fox jumps over the lazy dog &amp; <$";
        markup += (n % 3 == 0) ? "00000001" : "00000002";
        markup += ">runs away<%> again. ";
        if (++n % 4 == 0) markup += "<Y s14 y1 >Bold words<Y > follow. <Z S0 >";
      }
      markup.push_back('\0');
      page->SetContent(std::move(markup));
      set.Register(std::move(page));
    }
    set.SaveToFile(path);
    return path;
  }();
  return file;
}

}  // namespace tarn::bench
