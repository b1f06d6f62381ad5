// The formats other programs read and write on the clipboard: Rich Text
// Format and plain text. A text box writes and reads its own container; the
// RTF and text converters, a layer above the box, turn a selection into the
// other formats and those formats into a container. Whoever puts the program
// together hands the box their implementation.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tarn::document {
class TAEHset;
class TAEHoggetto;
}  // namespace tarn::document

namespace tarn::richtext {

// What a box's markup refers to: the hypertext, the page's working record,
// and the records behind its working link values (kind 111, by their number)
// and its placed objects (by their number in the page's object list). Any
// of them may be absent.
struct ClipboardContext {
  document::TAEHset* set = nullptr;
  const document::TAEHoggetto* page = nullptr;
  std::function<const document::TAEHoggetto*(std::int32_t number)> workingLink;
  std::function<const document::TAEHoggetto*(std::int32_t number)> placedObject;
};

class ClipboardFormats {
 public:
  virtual ~ClipboardFormats() = default;
  // The selection (markup as a page stores it, with its byte 0) as RTF and
  // as plain text with CR LF line ends; neither ends with a byte 0.
  virtual std::string SelectionToRtf(std::string_view markup, const ClipboardContext& context) = 0;
  virtual std::string SelectionToText(std::string_view markup, const ClipboardContext& context) = 0;
  // RTF and plain text from another program as the container a box
  // inserts; empty when the bytes are not RTF. Without records the container
  // holds the text and its formats only (links, pictures and tables left
  // out). In code mode the text's reference markers become objects and its
  // paragraphs take the style "Code"; otherwise they take style.
  virtual std::string RtfToContainer(std::string_view rtf, bool withRecords, const ClipboardContext& context) = 0;
  virtual std::string TextToContainer(std::string_view text, bool codeMode, int style,
                                      const ClipboardContext& context) = 0;
};

}  // namespace tarn::richtext
