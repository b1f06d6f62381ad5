// Stored and working forms of a page's markup. A stored page names the links
// and objects it uses by their ObjectId; while a page is worked on, its tags
// hold local numbers instead: links (kinds 1 and 10) as kind 111 and their
// place in the page's link list, other placed objects as kind 255 and their
// number in the page's object list.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/objectkinds.h"
#include "markup/tokenizer.h"

namespace tarn::richtext {

// The top byte of a working link value that numbers an entry of the page's
// link list, and of a working object tag (the object tag of the markup).
inline constexpr std::uint32_t kLocalLinkKind = 0x6F;
inline constexpr std::uint32_t kLocalObjectKind = markup::kObjectTagKind;

struct WorkingForm {
  std::string markup;
  std::vector<document::ObjectId> links;    // local link n is links[n]
  std::vector<document::ObjectId> objects;  // local object n is objects[n - 1]
};

// Rewrites the "<$xxxxxxxx>" tags of stored markup into local numbers; a
// link or object named twice gets one number.
WorkingForm ToWorkingForm(std::string_view stored);
// The reverse: local numbers back to ObjectIds (unknown numbers stay).
std::string ToStoredForm(std::string_view working, const WorkingForm& lists);
// Calls visit(value) for every well-formed "<$" + 8 hex digits + ">" tag and
// replaces the tag's digits with what it answers; tags are visited in text
// order.
std::string RewriteTags(std::string_view text, const std::function<std::uint32_t(std::uint32_t)>& visit);

// The ObjectId a link value of working markup stands for.
document::ObjectId StoredLinkValue(std::int32_t workingValue, const WorkingForm& lists);

}  // namespace tarn::richtext
