// Custom components: a prototype (kind 12) lists the files it uses and
// defines named properties; each instance (a multimedia object of subtype 6)
// holds its own values for them. The prototype's extra HTML is the template
// an instance is written with.
//
// Prototype content: a 32-bit byte count 4m, m ObjectIds (the files), then
// the property definitions as text lines "name=type". Instance content: text
// lines "name=value". Names compare without case. Colour values are written
// "#RRGGBB"; record values are an ObjectId in decimal.
//
// FIXME: the definitions and values past the file list are read in the form
// above, which the custom component dialogs (not built yet) are to write;
// the types beyond colour, file, image and page, and how a dialog edits each,
// are still open.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/objectkinds.h"

namespace tarn::document {

class TAEHoggetto;

enum class PropertyType : int {
  kText = 0,
  kColour = 1,
  kFile = 6,   // an embedded file
  kImage = 7,  // an image
  kPage = 8,   // a page
};

struct CustomProperty {
  std::string name;
  PropertyType type = PropertyType::kText;
};

struct PrototypeData {
  std::vector<ObjectId> files;
  std::vector<CustomProperty> properties;
};

// What a prototype's content holds; a block too short for its file list
// gives the files that are there and no properties.
PrototypeData ReadPrototype(const TAEHoggetto& prototype);
// The instance's value of the named property; nothing when it has none.
std::optional<std::string> InstanceValue(const TAEHoggetto& instance, std::string_view name);
// Whether a property's values name a record.
bool IsRecordProperty(PropertyType type);
// A record value: the ObjectId written in decimal, -1 when it does not parse.
ObjectId RecordValue(std::string_view value);

}  // namespace tarn::document
