// Object kinds of a hypertext, their fixed record sizes in the document file,
// and the 32-bit object identity (kind in the high byte, index below).
#pragma once

#include <cstdint>

namespace tarn::document {

enum TOggettiHel : std::uint8_t {
  testoHtml = 0,
  internetLink = 1,
  zipLink = 2,
  genLink = 3,
  keyword = 4,
  immagine = 5,
  mappaClic = 6,
  programma = 7,
  tabellaHtml = 8,
  mappaFrame = 9,
  speclink = 10,
  shortObj = 11,
  custom = 12,
  dbloc = 13,
  spazio4 = 14,
  spazio5 = 15,
  immagineNew = 16,
  stileParagrafo = 17,
  fontFace = 18,
  formato = 19,
  inputStat = 20,
  inputDin = 21,
  bottoneCGI = 22,
  inizioForm = 23,
  multiMedia = 24,
  none = 25,
  testoHtmlRtf = 26,
};

inline constexpr int kKindCount = 27;        // kinds 0..26 have a list each
inline constexpr int kHighestStoredKind = 25;  // K written by a save
inline constexpr int kRecordBufferSize = 668;  // in-memory record size
inline constexpr std::int32_t kMaxIndex = 0xFFFFFF;

// Bytes a record of the kind takes in the file; 0 for kinds 25 and above.
// The kind is taken modulo 128 first.
int RecordSize(int kind);

using ObjectId = std::int32_t;

constexpr ObjectId MakeObjectId(int kind, int index) {
  return static_cast<ObjectId>((static_cast<std::uint32_t>(kind) << 24) |
                               (static_cast<std::uint32_t>(index) & 0xFFFFFFu));
}
constexpr int KindOf(ObjectId id) { return static_cast<int>(static_cast<std::uint32_t>(id) >> 24); }
constexpr int IndexOf(ObjectId id) { return static_cast<int>(static_cast<std::uint32_t>(id) & 0xFFFFFFu); }

}  // namespace tarn::document
