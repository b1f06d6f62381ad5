// Anchors and the links that reach them: the anchor record an author
// inserts, the anchors a stored page places, the special link that leads
// to an anchor of a page (or jumps within the page), and reading such a
// link back for the link dialog. No user interface here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarn::document {
class TAEHset;
class TAEHoggetto;
}  // namespace tarn::document

namespace tarn::richtext {

// The anchor numbers an author may give: the record holds 32 bits, the
// exported name "an" + n must stay a plain word.
inline constexpr int kMaxAnchorNumber = 999999;

// A new anchor record (a short object) numbered n, not registered.
std::unique_ptr<document::TAEHoggetto> NewAnchorRecord(document::TAEHset& set, int number);
// Whether a record is an anchor, and its number (-1 when it is not one).
int AnchorNumberOf(const document::TAEHoggetto& record);

// The anchor numbers a stored page places, in text order (cells included),
// each once.
std::vector<int> StoredPageAnchors(const document::TAEHset& set, int page);

// Where a link of the text leads, as the link dialog shows it: a page of
// this hypertext (-1 none: the page that holds the link) and an anchor of it
// (-1 none).
struct PageTarget {
  int page = -1;
  int anchor = -1;
};
// A special link that leads to a page of this hypertext or to an anchor;
// nothing for any other record.
bool ReadPageTarget(const document::TAEHoggetto& link, PageTarget& target);
// The special link to an anchor of a page; an anchor of the page that holds
// the link becomes a jump within that page, which needs no target.
std::unique_ptr<document::TAEHoggetto> NewAnchorLink(document::TAEHset& set, int page, int anchor, bool samePage);

// The fields of a special link as the special-link dialog edits them: the
// subtype (1 an object, 2 close a window, 3 the keywords window, 4 previous
// page, 5 next page), the page of this hypertext it leads to (-1 none), the
// anchor (-1 none), the window action and the window or frame name. A
// target that is not a page (a frame set) is kept as read, so that editing
// the other fields does not lose it.
struct SpecialLinkFields {
  int subtype = 1;
  int page = -1;
  int anchor = -1;
  int action = 0;
  std::string window;
  std::int32_t otherTarget = -1;
  int otherTargetKind = 0;
};
// The fields of a special link record (the defaults for any other record).
SpecialLinkFields ReadSpecialLink(const document::TAEHoggetto& link);
// A new special link record with the fields, not registered. Only a link
// to an object names a target, and a jump within the page names none.
std::unique_ptr<document::TAEHoggetto> NewSpecialLink(document::TAEHset& set, const SpecialLinkFields& fields);

// A new page with the title, registered; its index, or -1.
int AddTitledPage(document::TAEHset& set, const std::string& title);

}  // namespace tarn::richtext
