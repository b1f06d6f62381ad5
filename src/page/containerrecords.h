// The records that travel with a copied selection: a page's box hands the
// container the link records of its characters (the working copy's own, or
// the hypertext's) and the styles of its paragraphs; a pasted container's
// links become links of the page, and its styles are found among the
// hypertext's styles or added to them. Placed objects travel too, with the
// images they show and the links of their fields: a pasted one is a new
// object of the page, its images found among the hypertext's or added.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace tarn::document {
class TAEHoggetto;
class TAEHset;
}
namespace tarn::richtext {
class TAEHTextAttributes;
}

namespace tarn::page {

class WorkingCopy;

// Puts a pasted object on the page (its working copy and the box's
// objects) and answers its number there, -1 when it cannot be placed.
using PlaceObject = std::function<std::int32_t(std::unique_ptr<document::TAEHoggetto>)>;

// Without place, pasted objects stay behind (blanks stand for them).
void ConnectContainerRecords(richtext::TAEHTextAttributes& commands, document::TAEHset& set, WorkingCopy& copy,
                             PlaceObject place = {});

}  // namespace tarn::page
