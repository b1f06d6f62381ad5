// Offsets of the record fields of tables, placed images, form objects and
// multimedia objects that converters fill or read.
// FIXME: these join their kinds' sections of recordfields.h when the record
// fields are named there.
#pragma once

#include <cstdint>

namespace tarn::document::field {

// Kind 8, table.
constexpr int kTableColumnKinds = 5;     // one byte per column: 0 percent, 1 pixels, 2 free
constexpr int kTablePercentWidth = 55;   // 1: the width is a percentage
constexpr int kTablePixelWidth = 56;     // 16-bit
constexpr int kTableWidthPercent = 89;
constexpr int kTablePadding = 90;
constexpr int kTableSpacing = 91;
constexpr int kTableBorder = 92;
constexpr int kTableRows = 93;
constexpr int kTableColumns = 94;
constexpr int kTableColumnSizes = 97;    // 16-bit per column
constexpr int kTableBackground = 207;
constexpr int kMaxTableRows = 255;
constexpr int kMaxTableColumns = 50;
// A background value from this one on names an image by its low 24 bits.
constexpr std::int32_t kBackgroundImage = 0x03000000;

// Kind 16, placed image: the vertical alignment (0 left, 1 right, 2 centre,
// 3 top, 4 middle, 5 bottom).
constexpr int kPlacedAlignment = 13;

// Kind 20, form field.
constexpr int kFormNameCapacity = 79;    // kinds 20..22, at kObjectName
constexpr int kFieldValueCapacity = 79;
constexpr int kFieldColumns = 177;
constexpr int kFieldRows = 178;
constexpr int kFieldSize = 179;          // an edit's width in characters, a list's rows
constexpr int kFieldChecked = 181;
constexpr int kFieldMultiple = 182;

// Kind 22, form button.
constexpr int kButtonNaturalWidth = 186;
constexpr int kButtonNaturalHeight = 188;
constexpr int kButtonWidth = 190;
constexpr int kButtonHeight = 192;

// Kind 23, form start: the action in the name field, the encoding after it.
constexpr int kFormStartNameCapacity = 255;
constexpr int kFormEncoding = 273;
constexpr int kFormEncodingCapacity = 79;

}  // namespace tarn::document::field
