// The records that travel with a copied selection: a page's box hands the
// container the link records of its characters (the working copy's own, or
// the hypertext's) and the styles of its paragraphs; a pasted container's
// links become links of the page, and its styles are found among the
// hypertext's styles or added to them.
#pragma once

namespace tarn::document {
class TAEHset;
}
namespace tarn::richtext {
class TAEHTextAttributes;
}

namespace tarn::page {

class WorkingCopy;

void ConnectContainerRecords(richtext::TAEHTextAttributes& commands, document::TAEHset& set, WorkingCopy& copy);

}  // namespace tarn::page
