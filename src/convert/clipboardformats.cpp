// The clipboard formats through the converters; see clipboardformats.h.
#include "convert/clipboardformats.h"

#include "convert/aehtortf.h"
#include "convert/aehtotxt.h"

namespace tarn::convert {
namespace {

// The converters end a clipboard text with a byte 0; other programs get the
// text without it.
std::string WithoutEndByte(std::string text) {
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

}  // namespace

std::string ConverterClipboardFormats::SelectionToRtf(std::string_view markup,
                                                      const richtext::ClipboardContext& context) {
  TAEHtortf rtf;
  rtf.SetLinkedAEHset(context.set);
  rtf.WorkingLink = context.workingLink;
  rtf.PlacedObject = context.placedObject;
  std::string out;
  rtf.ConvertText(markup, out);
  return WithoutEndByte(std::move(out));
}

std::string ConverterClipboardFormats::SelectionToText(std::string_view markup,
                                                       const richtext::ClipboardContext& context) {
  TAEHtoTxt text;
  text.SetLinkedAEHset(context.set);
  text.ContextPage = context.page;
  text.WorkingLink = context.workingLink;
  text.PlacedObject = context.placedObject;
  return text.PlainText(markup);
}

std::string ConverterClipboardFormats::RtfToContainer(std::string_view rtf, bool withRecords,
                                                      const richtext::ClipboardContext& context) {
  // What is not RTF is left to the plain text beside it.
  if (!rtf.starts_with("{\\rtf1")) return {};
  TAEHtortf converter;
  converter.SetLinkedAEHset(context.set);
  converter.PasteTextOnly = !withRecords;
  std::string container;
  converter.ConvertPaste(rtf, container, 0, 0);
  return container;
}

std::string ConverterClipboardFormats::TextToContainer(std::string_view text, bool codeMode, int style,
                                                       const richtext::ClipboardContext& context) {
  TAEHtoTxt converter;
  converter.SetLinkedAEHset(context.set);
  converter.ContextPage = context.page;
  std::string container;
  converter.ConvertPaste(text, container, codeMode ? 1 : 0, style);
  return container;
}

}  // namespace tarn::convert
