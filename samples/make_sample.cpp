// Writes the sample hypertext bundled with Tarn: a few pages with titles,
// text in three styles, links between pages, a keyword, a GIF image and a
// small chapter tree.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/compose.h"
#include "base/filestream.h"
#include "document/aehorderedtree.h"
#include "document/aehset.h"
#include "document/imagecodec.h"
#include "platform/testing/testplatform.h"

using namespace tarn;
using namespace tarn::document;

namespace {

std::string Id(ObjectId id) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(id));
  return buf;
}

// A small picture: a blue lake under a pale sky, with a transparent corner.
base::Bitmap Lake() {
  base::Bitmap b;
  b.width = 48;
  b.height = 32;
  b.pixels.resize(48 * 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 48; ++x) {
      std::uint32_t c = y < 14 ? 0xFFCFE8FFu : (((x + y) % 7 == 0) ? 0xFF5A8FD0u : 0xFF2B5C9Eu);
      if (y >= 12 && y < 14 && (x / 6) % 2 == 0) c = 0xFF3C7A3Cu;
      b.pixels[static_cast<std::size_t>(y) * 48 + x] = c;
    }
  }
  b.pixels[0] = 0;
  b.transparent = true;
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: tarn-make-sample OUT.aeh\n", stderr);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(std::filesystem::temp_directory_path());
  system.userName = "Tarn";
  TAEHset set({&messages, &system, nullptr, nullptr});
  app::Compose(set);
  set.SetTitle("Welcome to Tarn");
  set.SetExpPrefix("sample");
  set.SetBackup(false);

  auto heading = set.NewObject(stileParagrafo);
  heading->SetName("Heading");
  heading->SetI16(72, 18);  // size in points
  heading->SetStr(39, 32, "Arial");
  set.Register(std::move(heading));

  auto word = set.NewObject(keyword);
  word->SetName("welcome");
  TAEHoggetto* welcome = set.Register(std::move(word));

  const std::filesystem::path gif = std::filesystem::temp_directory_path() / "lake.gif";
  base::WriteWholeFile(gif, EncodeGif(Lake()).value());
  TAEHoggetto* image = set.AddImageFile(gif);
  std::filesystem::remove(gif);
  if (image == nullptr) {
    std::fputs("could not add the image\n", stderr);
    return 1;
  }
  TAEHoggetto* placed = set.Register(set.AddImmagineNew(image));

  const char* titles[] = {"Cover", "Getting started", "Pictures"};
  TAEHoggetto* pages[3];
  for (int i = 0; i < 3; ++i) {
    auto page = set.NewObject(testoHtml);
    page->SetName(titles[i]);
    pages[i] = set.Register(std::move(page));
  }
  const std::string nul(1, '\0');
  pages[0]->SetContent("<Z S2 >Welcome to Tarn<Z S0 >This hypertext shows what a page can hold. Read on in "
                       "<$" + Id(pages[1]->GetId()) + ">Getting started<%> or look at the "
                       "<$" + Id(pages[2]->GetId()) + ">pictures<%>." + nul);
  pages[1]->SetContent("<Z S2 >Getting started<Z S0 >Pages are written as rich text with styles, links and "
                       "pictures. Every page can link to any other.<Z S0 >Back to the <$" +
                       Id(pages[0]->GetId()) + ">cover<%>." + nul);
  pages[2]->SetContent("<Z S2 >Pictures<Z S0 >A picture stands in the text like a character: <$" +
                       Id(placed->GetId()) + "> a lake.<Z S0 >Back to the <$" + Id(pages[0]->GetId()) +
                       ">cover<%>." + nul);
  pages[0]->SetI32(105, welcome->Index());

  // A small chapter tree, so that a newcomer sees chapters in the Pages
  // panel and the default page order at once.
  TAEHorderedTree tree;
  tree.Editable = true;
  tree.SetLinkedAEHset(&set);
  TreeNode& root = *tree.RootNode();
  tree.Rename(root, out.filename().string());
  TreeNode* opening = tree.AddChapter(root, "Welcome");
  tree.AddObject(*opening, pages[0]->GetId());
  TreeNode* steps = tree.AddChapter(root, "First steps");
  tree.AddObject(*steps, pages[1]->GetId());
  tree.AddObject(*steps, pages[2]->GetId());
  if (!set.SaveToFile(out)) {
    for (const auto& e : set.SaveErrors()) std::fprintf(stderr, "%s\n", e.c_str());
    return 1;
  }
  std::printf("wrote %s\n", out.c_str());
  return 0;
}
