// Placed objects in the container in which a selection travels: which
// objects go along, the shape check that refuses a damaged container before
// anything of it is added to the page, and the object tags of a pasted text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "richtext/markup.h"

namespace tarn::richtext {

// Reads one record in the object layer's transfer form, checking every
// length against what is left; false when the bytes end too soon.
bool ReadTransferRecord(base::ByteReader& in, std::string& out);

// One entry of a container's link or object part: its kind, identifier
// and record; false when the bytes end too soon.
bool ReadContainerEntry(base::ByteReader& in, std::int32_t& kind, std::int32_t& identifier, std::string& record);

// The map key of a container's object tag (its 24-bit number under 0xFF).
std::int32_t ContainerObjectKey(std::int32_t identifier);

// True when the bytes hold a whole container of version 1 or 3: every
// part's counts and records present, then the paragraph count. With
// refuseTables a container that brings a table is refused too, with
// refuseObjects one that brings any other object.
bool ContainerWellFormed(std::string_view bytes, bool refuseTables, bool refuseObjects = false);

// The object tags of a pasted text: a tag whose object came with the
// container (the map holds its key) names the object's new number, any
// other becomes the blank that stands for an object.
std::string MapObjectTags(std::string_view markup, const IdMap& map);
// The object tags of a copied text: those of the listed numbers stay, the
// others become blanks.
std::string KeepObjectTags(std::string_view markup, const std::vector<std::int32_t>& numbers);

}  // namespace tarn::richtext
