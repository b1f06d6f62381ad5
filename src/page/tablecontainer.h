// The tables of copied selections: a page's box hands the container the
// records of the tables it copies, and a pasted table record becomes a new
// table of the page's working copy.
#pragma once

namespace tarn::document {
class TAEHset;
}
namespace tarn::richtext {
class TAEHTextAttributes;
}

namespace tarn::page {

class WorkingCopy;

void ConnectTableRecords(richtext::TAEHTextAttributes& commands, document::TAEHset& set, WorkingCopy& copy);

}  // namespace tarn::page
