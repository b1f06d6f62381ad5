// The tables of copied selections: a pasted table record becomes a new
// table of the page's working copy, its backgrounds showing the images
// that came with it.
#pragma once

#include <vector>

namespace tarn::document {
class TAEHoggetto;
class TAEHset;
}
namespace tarn::richtext {
class TAEHTextAttributes;
}

namespace tarn::page {

class WorkingCopy;

// The images (their indexes) a table record's backgrounds show.
std::vector<int> TableImages(const document::TAEHoggetto& table);

void ConnectTableRecords(richtext::TAEHTextAttributes& commands, document::TAEHset& set, WorkingCopy& copy);

}  // namespace tarn::page
