// A hypertext with every kind of object a page can place, one page per
// kind, built with records made in code: the golden files of the HTML
// export's objects, the HTML checker and the look in a browser all read it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "document/objectkinds.h"

namespace tarn::document {
class TAEHset;
class TAEHoggetto;
}  // namespace tarn::document

namespace tarn::testing {

struct ObjectSite {
  // The pages in record order, each named after what it holds.
  struct Page {
    std::string name;
    document::TAEHoggetto* record = nullptr;
  };
  std::vector<Page> pages;
  // The pictures: a lake, its low-resolution and roll-over versions, a
  // button face and a tile.
  std::vector<document::TAEHoggetto*> pictures;
};

// Fills the (empty) hypertext; the picture files are made in `scratch`.
ObjectSite BuildObjectSite(document::TAEHset& set, const std::filesystem::path& scratch);

// The "<$xxxxxxxx>" tag of a record.
std::string ObjectTag(document::ObjectId id);

}  // namespace tarn::testing
