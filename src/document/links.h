// Links, anchors and keywords: the internal URL that names a page of this or
// another hypertext, the captions and descriptions links show the author, and
// the bookkeeping that finds and cancels references when objects are deleted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/objectkinds.h"

namespace tarn::document {

class TAEHset;
class TAEHoggetto;

inline constexpr std::string_view kInternalScheme = "tarn:";
inline constexpr std::string_view kInternalSchemeLong = "tarn://";
// The page part of an internal URL that names no page ("|" and nothing).
inline constexpr int kNoPageGiven = -2;

// ---- Internal URLs ----

struct InternalUrl {
  bool isInternal = false;
  // The .AEH file as written in the URL; a relative name has the current
  // hypertext's folder put in front of it.
  std::string file;
  bool sameFile = false;
  int page = 0;
};

// Splits "tarn:" and "tarn://" URLs into file and page (the cover page of the
// current hypertext when the URL has no "|").
InternalUrl ParseInternalUrl(const TAEHset& set, std::string_view url);
// The URL the link dialog writes for a page of a hypertext file: relative to
// the current hypertext's folder when the file lies in it or below.
std::string MakeInternalUrl(const TAEHset& set, std::string_view file, int page);

// The title of a page of another .AEH file, read without opening it as a
// hypertext; empty on any error or for a record that is not a page.
std::string TargetPageTitle(std::string_view file, ObjectId id);
// The exported file name of a page of another hypertext; empty when the file
// is missing or the page negative.
std::string ExportedPageName(std::string_view file, int page, std::string_view extension);

// What one page of another hypertext file is exported as, from its header:
// nothing when the file cannot be read as a hypertext.
struct ForeignHypertext {
  int version = 0;
  int coverPage = 0;
  std::string expPrefix;
};
std::optional<ForeignHypertext> ReadForeignHeader(std::string_view file);

// ---- Special links ----

enum WindowAction : std::uint8_t {
  kReplaceWindow = 0,
  kReplaceFrame = 1,
  kIndependentWindow = 2,
  kNewBrowser = 3,
  kPopupWindow = 4,
  kJumpTo = 5,
  kAnchorInPage = 6,
};

enum SpecialLinkKind : std::uint8_t {
  kSpecialFree = 0,
  kSpecialToObject = 1,
  kSpecialCloseWindow = 2,
  kSpecialKeywords = 3,
  kSpecialPrevious = 4,
  kSpecialNext = 5,
  kSpecialAutoImport = 6,
};

// The window or frame name of a special link.
std::string WindowName(const TAEHoggetto& link);
// The author's words for a window action ("replace frame \"W\" with").
std::string WindowActionText(int action, std::string_view windowName);
// The record a subtype 1 special link finally leads to: a link whose target
// is another special link is followed through it. Nothing when the chain
// ends at a missing record.
TAEHoggetto* FollowSpecialLink(const TAEHoggetto& link);

// ---- Captions and descriptions ----

// The short caption: the display name, or for kinds 10 and 11 the texts the
// author sees in lists.
std::string LinkCaption(const TAEHoggetto& object);
// Caption and tooltip joined by "|".
std::string GetDescription(const TAEHoggetto& object);
// What a hint shows of a description: the part after "|", or all of it.
std::string DescriptionHint(std::string_view description);
// The text part of an extra block: after its 32-bit length L and L bytes of
// reference data. Empty when the block does not hold that form.
std::string ExtraText(const TAEHoggetto& object);

// ---- Anchors ----

std::string AnchorCaption(int number);   // "a" + n, as the author sees it
std::string AnchorHtmlName(int number);  // "an" + n, in exported pages

// ---- Keywords ----

// Adds the keyword (its index among kind 4 objects) to the first empty slot
// of the page; false when the page has it already or all slots are used.
bool AddKeyword(TAEHoggetto& page, int keywordIndex);
// The keyword indexes in the page's slots, in slot order (empty slots left out).
std::vector<int> PageKeywords(const TAEHoggetto& page);
// The live pages that list the keyword, in record order.
std::vector<int> PagesWithKeyword(const TAEHset& set, int keywordIndex);

// ---- Reference markers in script and raw HTML texts ----

struct ReferenceMarker {
  char letter = 0;          // 'I', 'L', 'P' or 'F'
  ObjectId id = -1;
  std::size_t at = 0;       // position of the "!" in the text
};
// The well-formed "!RefI:", "!RefL:", "!RefP:" and "!RefF:" markers, in text order.
std::vector<ReferenceMarker> FindReferenceMarkers(std::string_view text);

// ---- Reference bookkeeping ----

enum Containment : int {
  kNotContained = 0,
  kInText = 1,
  kInTextBackground = 2,
  kInTableBackground = 3,
  kAsHeaderOrFooter = 4,
  kAsNextSlide = 5,
  kInScript = 6,
  kAsAlternativeImage = 7,
  kInFloatingFrame = 8,
  kInButton = 9,
  kInSpecialLink = 10,
  kInClickableMap = 11,
  kInOpenWindowObject = 12,
  kInPrototype = 13,
  kInMultimedia = 14,
  kInCustomInstance = 15,
  kInDataSource = 16,
};

// How the object refers to id (0 not at all). A page still in the older text
// form is converted first.
int IsContainedIn(TAEHoggetto& object, ObjectId id);
// The text the delete dialog and the link explorer show for a result.
std::string_view ContainmentText(int result);
// Adds the pages, links and files the object refers to (kinds 0, 1 and 3),
// each once, special links replaced by their targets.
void CollectReferences(TAEHoggetto& object, std::vector<ObjectId>& list);
// Cancels every reference of the object to id; objects a page places are
// reached through its markup.
void RemoveReferencesTo(TAEHoggetto& object, ObjectId id);
// The container header's references: header, footer and background image
// become -1, contents and cover page 0.
void RemoveHeaderReferencesTo(TAEHset& set, ObjectId id);
// What the delete command runs: the header, then every live page and live
// custom prototype.
void RemoveReferencesEverywhere(TAEHset& set, ObjectId id);
// The live custom prototypes (kind 12) that refer to id.
void ReferencingObjects(const TAEHset& set, ObjectId id, std::vector<TAEHoggetto*>& list);

}  // namespace tarn::document
