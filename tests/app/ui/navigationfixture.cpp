// The navigation test hypertexts; see navigationfixture.h.
#include "app/ui/navigationfixture.h"

#include <cstdio>
#include <stdexcept>

#include "app/compose.h"
#include "base/filestream.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "platform/testing/testplatform.h"

namespace tarn::testing {
namespace {

using namespace document;
using namespace document::field;

std::string Tag(ObjectId id) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "<$%08x>", static_cast<unsigned>(id));
  return buffer;
}

std::string Link(const TAEHoggetto* link, const std::string& words) { return Tag(link->GetId()) + words + "<%>"; }

TAEHoggetto* AddPage(TAEHset& set, const std::string& title) {
  auto page = set.NewObject(testoHtml);
  page->SetName(title);
  return set.Register(std::move(page));
}

void SetText(TAEHoggetto* page, const std::string& markup) { page->SetContent(markup + std::string(1, '\0')); }

TAEHoggetto* AddAddress(TAEHset& set, const std::string& url) { return set.Register(set.NewLink(url)); }

TAEHoggetto* AddSpecial(TAEHset& set, int subtype, ObjectId target = -1, int action = 0, int anchor = -1,
                        const std::string& window = {}) {
  auto link = set.NewObject(speclink);
  link->SetSubtype(static_cast<std::uint8_t>(subtype));
  link->SetI32(kSpecialTarget, target);
  link->SetU8(kSpecialTargetKind, 0);
  link->SetU8(kSpecialAction, static_cast<std::uint8_t>(action));
  link->SetI32(kSpecialAnchor, anchor);
  link->SetStr(kSpecialWindow, kSpecialWindowCapacity, window);
  return set.Register(std::move(link));
}

TAEHoggetto* AddAnchor(TAEHset& set, int number) {
  auto anchor = set.NewObject(shortObj);
  anchor->SetSubtype(kShortAnchor);
  anchor->SetI32(kShortValue, number);
  return set.Register(std::move(anchor));
}

std::string LongText(const std::string& words, int paragraphs) {
  std::string text;
  for (int i = 0; i < paragraphs; ++i) text += "<Z S0 >" + words + " " + std::to_string(i + 1) + ".";
  return text;
}

void Save(TAEHset& set, const std::filesystem::path& file) {
  if (!set.SaveToFile(file)) throw std::runtime_error("could not write " + file.string());
}

}  // namespace

NavigationFiles WriteNavigationHypertexts(const std::filesystem::path& folder) {
  NavigationFiles files{folder / "navigation.aeh", folder / "other.aeh"};
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system(folder);
  platform::testing::FixedTextMeasurer measurer;

  {
    TAEHset other({&messages, &system, &measurer, nullptr});
    app::Compose(other);
    other.SetTitle("Other book");
    other.SetBackup(false);
    SetText(AddPage(other, "Other cover"), "<Z S0 >The cover of the other book.");
    SetText(AddPage(other, "Elsewhere"), "<Z S0 >A page of another hypertext.");
    Save(other, files.other);
  }

  TAEHset set({&messages, &system, &measurer, nullptr});
  app::Compose(set);
  set.SetTitle("Navigation");
  set.SetExpPrefix("nav");
  set.SetBackup(false);
  const char* titles[] = {"Cover", "Links", "Anchors", "Far"};
  std::vector<TAEHoggetto*> pages;
  for (int i = 0; i < kNavigationPages; ++i) {
    pages.push_back(AddPage(set, i < 4 ? titles[i] : "Page " + std::to_string(i)));
  }
  const std::filesystem::path notes = folder / "notes.txt";
  base::WriteWholeFile(notes, "Notes kept in the hypertext.\n");
  TAEHoggetto* file = set.AddEmbeddedFile(notes);
  std::filesystem::remove(notes);
  if (file == nullptr) throw std::runtime_error("could not embed the notes");

  TAEHoggetto* address = AddAddress(set, "http://example.org/");
  TAEHoggetto* mail = AddAddress(set, "mailto:team@example.org");
  TAEHoggetto* other = AddAddress(set, "tarn://other.aeh|1");
  TAEHoggetto* program = AddAddress(set, std::string("prog:") + kProgramLinkValue + "?line one");
  TAEHoggetto* next = AddSpecial(set, kSpecialNext);
  TAEHoggetto* jump = AddSpecial(set, kSpecialToObject, pages[kFarPage]->GetId(), kJumpTo, kFarAnchor);
  TAEHoggetto* window = AddSpecial(set, kSpecialToObject, pages[1]->GetId(), kIndependentWindow, -1, "Side");
  TAEHoggetto* popup = AddSpecial(set, kSpecialToObject, pages[kFarPage]->GetId(), kPopupWindow);
  TAEHoggetto* close = AddSpecial(set, kSpecialCloseWindow, -1, 0, -1, "Side");
  TAEHoggetto* near = AddSpecial(set, kSpecialToObject, -1, kAnchorInPage, kNearAnchor);

  SetText(pages[0], "<Z S2 >Navigation<Z S0 >Go to the " + Link(pages[1], kPageLinkText) + ". Leave for the " +
                        Link(address, kAddressLinkText) + " or " + Link(mail, kMailLinkText) + ". Open the " +
                        Link(other, kOtherLinkText) + ".<Z S0 >Go on to the " + Link(next, kNextLinkText) +
                        " or jump to the " + Link(jump, kJumpLinkText) + ".<Z S0 >Show a " +
                        Link(window, kWindowLinkText) + ", a " + Link(popup, kPopupLinkText) + ", the " +
                        Link(file, kFileLinkText) + "; " + Link(program, kProgramLinkText) + "; " +
                        Link(close, kCloseLinkText) + ".");
  SetText(pages[1], "<Z S2 >Links<Z S0 >Back to the " + Link(pages[0], "cover") + ".");
  SetText(pages[kAnchorsPage], "<Z S2 >Anchors<Z S0 >Jump " + Link(near, kNearAnchorLinkText) + "." +
                                   LongText("A long page", 60) + "<Z S0 >" + Tag(AddAnchor(set, kNearAnchor)->GetId()) +
                                   "The end of the page.");
  SetText(pages[kFarPage], "<Z S2 >Far" + LongText("Far text", 60) + "<Z S0 >" +
                               Tag(AddAnchor(set, kFarAnchor)->GetId()) + "Here is the far anchor.");
  for (int i = 4; i < kNavigationPages; ++i) {
    SetText(pages[static_cast<std::size_t>(i)], "<Z S0 >Page number " + std::to_string(i) + ".");
  }
  // A page with a shared header of its own and a next slide.
  pages[kSlidePage]->SetI32(kPageHeaderChoice, kSlideHeader);
  pages[kSlidePage]->SetI32(kPageSlideTarget, kSlideTarget);
  Save(set, files.main);
  return files;
}

}  // namespace tarn::testing
