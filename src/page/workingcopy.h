// The copy of a page that the page view edits: the page record and copies of
// every link and object it places, numbered locally, plus copies of its
// header and footer pages. Committing resolves the local numbers back into
// records of the container. Nothing here needs a display.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/aehtesto.h"
#include "richtext/clipboardformats.h"
#include "richtext/localform.h"

namespace tarn::page {

using document::ObjectId;
using document::TAEHoggetto;
using document::TAEHset;
using document::TAEHtesto;

// The value a local tag or field holds for a link (n from 0) or object (n from 1).
constexpr std::int32_t LocalLinkValue(int n) {
  return static_cast<std::int32_t>((richtext::kLocalLinkKind << 24) |
                                   (static_cast<std::uint32_t>(n) & 0xFFFFFFu));
}
constexpr std::int32_t LocalObjectValue(int n) {
  return static_cast<std::int32_t>((richtext::kLocalObjectKind << 24) |
                                   (static_cast<std::uint32_t>(n) & 0xFFFFFFu));
}

// One copied link or object: the copy, and what it was copied from (kept so
// that a reference to a record that did not exist survives unchanged).
struct WorkingEntry {
  std::unique_ptr<TAEHoggetto> copy;
  ObjectId origin = -1;
  // Set while committing.
  ObjectId resolved = -1;
  bool resolving = false;
};

class WorkingCopy {
 public:
  std::unique_ptr<TAEHtesto> page;
  std::vector<WorkingEntry> links;    // local link n is links[n]
  std::vector<WorkingEntry> objects;  // local object n is objects[n - 1]
  std::unique_ptr<WorkingCopy> header;
  std::unique_ptr<WorkingCopy> footer;

  // The working markup (local tags), ending with its byte 0.
  std::string Markup() const { return page ? page->Markup() : std::string(); }
  // The copy behind a local link value or object number; nothing when unknown.
  TAEHoggetto* Link(std::int32_t value) const;
  TAEHoggetto* Object(int number) const;
  // Adds an unregistered object or link that the editor made; answers its
  // local number.
  int AddObject(std::unique_ptr<TAEHoggetto> object);
  int AddLink(std::unique_ptr<TAEHoggetto> link);
};

// What the page's text in a box refers to, for the clipboard's converters:
// the hypertext, the working page record, its working links and placed
// objects. It names the copy, so it must not outlive it.
richtext::ClipboardContext ClipboardContextOf(TAEHset& set, const WorkingCopy& copy);

// The record fields of an object that hold references to links.
std::vector<int> LinkFields(const TAEHoggetto& object);

// A copy of an unregistered or registered object (record, file path,
// content, extra), owned by the container but not registered.
std::unique_ptr<TAEHoggetto> CopyObject(TAEHset& set, const TAEHoggetto& source);

// Builds the working copy of a page; the header and footer pages named by
// the page (or by the hypertext) are copied too unless withHeaderFooter is off.
// Converts a page still in the older text form to the current markup, once:
// before the page view reads it.
void EnsureCurrentMarkup(TAEHset& set, TAEHoggetto& page);
std::unique_ptr<WorkingCopy> MakeWorkingCopy(TAEHset& set, const TAEHoggetto& stored, bool withHeaderFooter);
// A new empty page: "<Z S0 >" and its byte 0.
std::unique_ptr<WorkingCopy> MakeNewPage(TAEHset& set);
// The page's header (footer) page: its own choice, -1 for the hypertext's,
// other negative values none. Nothing when that page does not exist.
TAEHoggetto* HeaderPageOf(const TAEHset& set, const TAEHoggetto& page, bool footer);

// Resolves the local tags of working markup into ObjectIds: each link and
// object is registered (a URL link equal to a registered one is replaced by
// it), after its own link references were resolved. Answers the stored
// markup with its format tags neutralised.
std::string ResolveWorkingCopy(TAEHset& set, WorkingCopy& copy, std::string_view workingMarkup);

// A character-format tag directly followed by another one is overwritten
// with bytes of value 3.
void NeutraliseFormatTags(std::string& markup);

// The title a page still called "Untitled" takes from its markup.
std::string TitleFromText(std::string_view markup);

}  // namespace tarn::page
