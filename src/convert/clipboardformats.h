// The clipboard's RTF and plain text of a text box, written and read by the
// RTF and text converters: a converter is made for each operation, given
// the box's hypertext and what its text refers to, used once and dropped.
#pragma once

#include "richtext/clipboardformats.h"

namespace tarn::convert {

class ConverterClipboardFormats : public richtext::ClipboardFormats {
 public:
  std::string SelectionToRtf(std::string_view markup, const richtext::ClipboardContext& context) override;
  std::string SelectionToText(std::string_view markup, const richtext::ClipboardContext& context) override;
  std::string RtfToContainer(std::string_view rtf, bool withRecords,
                             const richtext::ClipboardContext& context) override;
  std::string TextToContainer(std::string_view text, bool codeMode, int style,
                              const richtext::ClipboardContext& context) override;
};

}  // namespace tarn::convert
