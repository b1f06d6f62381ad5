// Hand-made files that attack the loader: records so short, so many or so
// overlapping that reading them would cost far more time or memory than the
// file's size justifies. The tests check that each is refused or read
// soundly; the benchmark measures what each costs.
#pragma once

#include <cstddef>
#include <string>

namespace tarn::testing {

// Records of an embedded file (kind 3) or image (kind 5) stored in 16 bytes,
// all with the same file name, filling about `bytes`: each record's name is
// made unique as it is read.
std::string ShortEmbeddedRecords(int kind, std::size_t bytes);
// The same for the click-map images (kind 6) of a version 1 file, which are
// also converted to images after reading.
std::string OldClickMapRecords(std::size_t bytes);
// One area of 16-byte records that the type table names for every kind.
std::string OverlappingRecords(std::size_t bytes);
// Short objects (kind 11) stored in 16 bytes each, in one kind only.
std::string TinyRecords(std::size_t bytes);
// Frame maps whose frame-set descriptions each claim the whole data area.
std::string OverlappingFrameDescriptions(std::size_t bytes);
// Images whose data each claim the whole data area.
std::string OverlappingImageData(std::size_t bytes);

}  // namespace tarn::testing
