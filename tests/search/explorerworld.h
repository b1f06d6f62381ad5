// A small hypertext in which one page is referred to in every way a page
// can be (a link in the text, a special link, as header, in a script), and
// an image, an embedded file, a link, an anchor and a keyword are each used
// once. Shared by the core and the widget tests of the link explorer and
// the delete command.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "base/filestream.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "platform/testing/testplatform.h"

namespace tarn::testing {

class ExplorerWorld {
 public:
  enum Page { kCover, kTarget, kHeaded, kSpecial, kPictures, kScript, kAnchored, kMail, kPageCount };

  ExplorerWorld()
      : folder(std::filesystem::temp_directory_path() /
                 ("tarn-explorer-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)))),
        system(folder / "tmp") {
    std::filesystem::create_directories(folder / "tmp");
    set = std::make_unique<document::TAEHset>(platform::Services{&messages, &system, nullptr, nullptr});
    Build();
  }
  ~ExplorerWorld() {
    set.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  ExplorerWorld(const ExplorerWorld&) = delete;
  ExplorerWorld& operator=(const ExplorerWorld&) = delete;

  static std::string Tag(document::ObjectId id) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "<$%08x>", static_cast<unsigned>(id));
    return buf;
  }
  document::ObjectId PageId(int page) const { return document::MakeObjectId(document::testoHtml, page); }

  platform::testing::RecordingMessages messages;
  std::filesystem::path folder;  // scratch files; before system, which uses it
  platform::testing::FixedSystemInfo system;
  std::unique_ptr<document::TAEHset> set;
  document::ObjectId image = -1, placed = -1, file = -1, web = -1, mail = -1, special = -1, anchor = -1,
                     word = -1, prototype = -1;

 private:
  document::TAEHoggetto* Add(int kind, int subtype = -1) {
    auto object = set->NewObject(kind);
    if (subtype >= 0) object->SetSubtype(subtype);
    return set->Register(std::move(object));
  }

  void Build() {
    using namespace document;
    using namespace document::field;
    static const char* const titles[] = {"Cover", "Target", "Headed", "Special", "Pictures", "Script", "Anchored", "Mail"};
    for (const char* title : titles) {
      auto page = set->NewObject(testoHtml);
      page->SetName(title);
      set->Register(std::move(page));
    }
    const std::filesystem::path gif = folder / "lake.gif";
    // A 1x1 GIF is enough: nothing here decodes it.
    static constexpr char kGif[] = "GIF89a\1\0\1\0\0\0\0,\0\0\0\0\1\0\1\0\0\2\2D\1\0;";
    const std::string bytes(kGif, sizeof kGif - 1);
    base::WriteWholeFile(gif, bytes);
    image = set->AddImageData(gif, false, 1, 1)->GetId();
    placed = set->Register(set->AddImmagineNew(set->GetObjectById(image)))->GetId();
    const std::filesystem::path notes = folder / "notes.txt";
    base::WriteWholeFile(notes, "otters");
    file = set->AddEmbeddedFile(notes)->GetId();
    web = set->Register(set->NewLink("http://lakes.example/"))->GetId();
    mail = set->Register(set->NewLink("mailto:ranger@lakes.example"))->GetId();
    TAEHoggetto* link = Add(speclink, kSpecialToObject);
    link->SetI32(kSpecialTarget, PageId(kTarget));
    link->SetU8(kSpecialTargetKind, 0);
    link->SetU8(kSpecialAction, 0);
    link->SetI32(kSpecialAnchor, -1);
    special = link->GetId();
    TAEHoggetto* mark = Add(shortObj, 14);
    mark->SetI32(kShortValue, 1);
    anchor = mark->GetId();
    TAEHoggetto* keywordObject = Add(keyword);
    keywordObject->SetName("otters");
    word = keywordObject->GetId();
    TAEHoggetto* proto = Add(custom, 1);
    std::string ids(8, '\0');
    ids[0] = 4;
    for (int i = 0; i < 4; ++i) ids[4 + static_cast<std::size_t>(i)] = static_cast<char>((file >> (8 * i)) & 0xFF);
    proto->SetContent(ids);
    prototype = proto->GetId();

    Markup(kCover, "<Z S0 >See " + Tag(PageId(kTarget)) + "the target<%>, " + Tag(web) + "the web<%> and " +
                       Tag(file) + "the notes<%>.");
    Markup(kTarget, "<Z S0 >Nothing leads out of here.");
    set->GetObject(testoHtml, kHeaded)->SetI32(kPageHeaderChoice, PageId(kTarget));
    Markup(kSpecial, "<Z S0 >" + Tag(special) + "Onwards<%>");
    Markup(kPictures, "<Z S0 >" + Tag(placed));
    set->GetObject(testoHtml, kPictures)->SetI32(kPageBgImage, IndexOf(image));
    set->GetObject(testoHtml, kScript)
        ->SetExtra(std::string("\0\0\0\0", 4) + "<SCRIPT>go('!RefP:" + Tag(PageId(kTarget)).substr(2, 8) + "')</SCRIPT>");
    Markup(kAnchored, "<Z S0 >Here " + Tag(anchor) + " we are.");
    Markup(kMail, "<Z S0 >Write to " + Tag(mail) + "the ranger<%>.");
    AddKeyword(*set->GetObject(testoHtml, kMail), IndexOf(word));
    set->SetModified(false);
  }

  void Markup(int page, const std::string& markup) {
    set->GetObject(document::testoHtml, page)->SetContent(markup + std::string(1, '\0'));
  }
};

}  // namespace tarn::testing
