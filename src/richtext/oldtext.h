// Conversion of page texts written by early releases, an HTML-like tag form,
// into the current markup. It runs once per page, before anything reads or
// writes the page's text; afterwards the page holds markup generation 2.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/objectkinds.h"

namespace tarn::document {
class TAEHoggetto;
}

namespace tarn::richtext {

// The geometry of a table record that the conversion needs: cells to count
// and the alignment its cells' paragraphs take (0 left, 1 right, 2 centred).
struct OlderTable {
  int rows = 0;
  int columns = 0;
  int alignment = 0;
};

// What the conversion asks of the hypertext that holds the page. Colours are
// in-memory colour values (lowest byte red). Kept as an interface so that the
// walk can be exercised without a container.
class OlderTextContext {
 public:
  virtual ~OlderTextContext() = default;
  virtual std::uint32_t TextColour() const = 0;
  virtual std::uint32_t LinkColour() const = 0;
  // The identity of the record a reference names, or nothing when no record
  // is there. It may differ from the reference itself: records of a version 1
  // file were moved to other kinds when it was opened.
  virtual std::optional<document::ObjectId> Resolve(document::ObjectId id) = 0;
  // Registers a copy of the image (kind 5 or 6) the reference names and
  // answers the copy's identity; nothing when there is no image to copy.
  virtual std::optional<document::ObjectId> CopyImage(document::ObjectId id) = 0;
  // Turns the form field of kind 20 at the index into a short object when its
  // subtype makes it one; nothing when the field stays as it is.
  virtual std::optional<document::ObjectId> ConvertFormField(int index) = 0;
  // The table record the resolved identity names (asked only for kind 8).
  virtual OlderTable Table(document::ObjectId resolved) = 0;
};

// Converts an older text into markup; the walk stops at a byte 0. The result
// carries no terminating byte 0. Linear in the input, with output at most a
// fixed multiple of it.
std::string ConvertOlderMarkup(std::string_view older, OlderTextContext& context);

// Converts a page (kind 0) of markup generation 1 against the container that
// owns it: its content becomes the new markup followed by a byte 0 and its
// generation 2. Answers false, changing nothing, for any other object, for a
// page that belongs to no container and when the page's text cannot be read.
bool ConvertOlderText(document::TAEHoggetto& page);

}  // namespace tarn::richtext
