// The plain-text converter; see aehtotxt.h.
#include "convert/aehtotxt.h"

#include <algorithm>

#include "base/bytes.h"
#include "base/filestream.h"
#include "base/hex.h"
#include "convert/htmlwords.h"
#include "convert/textcodec.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "markup/entities.h"
#include "richtext/styles.h"

namespace tarn::convert {

using document::TAEHoggetto;

namespace {

constexpr std::int32_t kContainerVersion = 1;
constexpr int kTabBlanks = 8;
constexpr int kCodeSize = 10;
constexpr std::string_view kCodeStyle = "Code";
constexpr std::string_view kCodeFace = "Courier New";
constexpr int kMarkerDigits = 8;

// The reference markers of scripts and their short-object subtypes.
struct Marker {
  std::string_view text;
  int subtype;
};
constexpr Marker kMarkers[] = {
    {"!RefI:", 21}, {"!RefL:", 22}, {"!RefP:", 23}, {"!RefF:", 24},
    {"!RefX:", 25}, {"!RefY:", 26}, {"!ReCP:", 27}, {"!ReCF:", 28},
};
constexpr int kParameterMarker = document::field::kShortParameter;

std::string ParagraphTag(int style) { return "<Z S" + std::to_string(style) + " >"; }

// The markers of an escaped line as short objects: each becomes an object
// tag numbered in the paste's list.
std::string MarkersToObjects(std::string_view line, document::TAEHset& set,
                             std::vector<std::unique_ptr<TAEHoggetto>>& objects) {
  std::string out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] != '!') {
      out.push_back(line[i++]);
      continue;
    }
    const Marker* found = nullptr;
    for (const Marker& marker : kMarkers) {
      if (line.substr(i).starts_with(marker.text)) found = &marker;
    }
    if (found == nullptr) {
      out.push_back(line[i++]);
      continue;
    }
    auto object = set.NewObject(document::shortObj);
    object->SetSubtype(found->subtype);
    i += found->text.size();
    if (found->subtype == kParameterMarker) {
      // The parameter's text runs to the next "!", which ends it.
      const std::size_t end = std::min(line.find('!', i), line.size());
      std::string content(line.substr(i, end - i));
      content.push_back('\0');
      object->SetContent(std::move(content));
      object->SetI32(document::field::kShortValue, 0);
      i = std::min(end + 1, line.size());
    } else {
      std::uint32_t value = 0;
      for (int k = 0; k < kMarkerDigits; ++k) {
        const int digit = i < line.size() ? base::HexDigitValue(line[i]) : -1;
        value = (value << 4) | static_cast<std::uint32_t>(digit < 0 ? 0 : digit);
        if (i < line.size()) ++i;
      }
      object->SetI32(document::field::kShortValue, static_cast<std::int32_t>(value));
    }
    out += "<$FF" + Hex6(static_cast<std::int64_t>(objects.size())) + ">";
    objects.push_back(std::move(object));
  }
  return out;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

void AppendTextLine(std::string& markup, std::string_view line) {
  for (const char ch : line) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\t') markup.append(kTabBlanks, ' ');
    else if (c >= 32) markup::AppendEscaped(markup, c);
  }
}

// ---- Text into pages ----

int TAEHtoTxt::ImportFiles(const std::vector<std::filesystem::path>& files, bool /*flag*/) {
  int result = -1;
  m_replaced = 0;
  m_pagesMade = 0;
  m_pageCursor = 0;
  if (LinkedAEHset() == nullptr) return 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    ReportProgress(static_cast<int>(i), static_cast<int>(files.size()), kPhasePages);
    ProcessPendingEvents();
    if (Cancelled()) break;
    std::string bytes;
    // A file that cannot be read makes no page; the others go on.
    if (!base::ReadWholeFile(files[i], bytes)) continue;
    const int page = ImportFileText(bytes);
    if (result < 0) result = page;
  }
  return result < 0 ? 0 : result;
}

int TAEHtoTxt::ImportFileText(std::string_view bytes) {
  if (LinkedAEHset() == nullptr) return -1;
  return ImportText(ToCp1252(bytes, DetectEncoding(bytes), m_replaced));
}

int TAEHtoTxt::ImportText(std::string_view text) {
  document::TAEHset& set = *LinkedAEHset();
  const std::vector<std::string_view> lines = SplitLines(text);
  TAEHoggetto* page = NewImportPage(set, ImportBackgroundOfPages, m_pagesMade == 0, &m_pageCursor);
  if (page == nullptr) return -1;
  ++m_pagesMade;
  const int first = page->Index();
  std::string markup;
  int paragraphs = 0;
  for (const std::string_view line : lines) {
    if (ParagraphsPerPage > 0 && paragraphs >= ParagraphsPerPage && m_pagesMade < ImportRecords::kMaxPages) {
      // A long text goes on in a new page; the two are linked both ways.
      TAEHoggetto* next = NewImportPage(set, ImportBackgroundOfPages, false, &m_pageCursor);
      if (next != nullptr) {
        ++m_pagesMade;
        markup += "<Z S0 ><Z S0 ><$00" + Hex6(next->Index()) + ">continue...<%><Z S0 >";
        markup.push_back('\0');
        page->SetContent(std::move(markup));
        markup = "<Z S0 ><$00" + Hex6(page->Index()) + ">...continue<%><Z S0 >";
        page = next;
        paragraphs = 0;
      }
    }
    markup += ParagraphTag(0);
    AppendTextLine(markup, line);
    ++paragraphs;
  }
  if (markup.empty()) markup = ParagraphTag(0);
  markup.push_back('\0');
  page->SetContent(std::move(markup));
  return first;
}

// ---- Plain text into a container ----

int TAEHtoTxt::CodeStyle() {
  document::TAEHset& set = *LinkedAEHset();
  const int existing = set.StyleIndex(kCodeStyle);
  if (existing >= 0) return existing;
  auto style = set.NewObject(document::stileParagrafo);
  style->SetName(kCodeStyle);
  style->SetStr(richtext::stylefield::kFace, richtext::stylefield::kFaceCapacity, kCodeFace);
  style->SetI16(richtext::stylefield::kSize, kCodeSize);
  const int index = set.RegisterObject(style);
  return index < 0 ? 0 : index;
}

std::string TAEHtoTxt::TextToMarkup(std::string_view text, int styleNumber, bool codeMode,
                                    std::vector<std::unique_ptr<TAEHoggetto>>* objects, int* paragraphs) {
  std::string markup;
  const std::vector<std::string_view> lines = SplitLines(text);
  const std::string tag = ParagraphTag(styleNumber);
  for (const std::string_view line : lines) {
    markup += tag;
    if (codeMode && objects != nullptr && LinkedAEHset() != nullptr) {
      std::string escaped;
      AppendTextLine(escaped, line);
      markup += MarkersToObjects(escaped, *LinkedAEHset(), *objects);
    } else {
      AppendTextLine(markup, line);
    }
  }
  if (lines.empty()) markup = tag;
  if (paragraphs != nullptr) *paragraphs = std::max<int>(1, static_cast<int>(lines.size()));
  return markup;
}

void TAEHtoTxt::ConvertPaste(std::string_view source, std::string& container, int codeMode, int styleNumber) {
  m_replaced = 0;
  const bool code = codeMode != 0;
  const int style = code && LinkedAEHset() != nullptr ? CodeStyle() : styleNumber;
  source = source.substr(0, source.find('\0'));
  std::vector<std::unique_ptr<TAEHoggetto>> objects;
  int paragraphs = 0;
  const std::string markup = TextToMarkup(source, style, code, &objects, &paragraphs);
  base::AppendI32(container, kContainerVersion);
  base::AppendI32(container, 0);  // link records
  base::AppendI32(container, 0);  // shared records
  base::AppendI32(container, static_cast<std::int32_t>(objects.size()));
  for (std::size_t i = 0; i < objects.size(); ++i) {
    base::AppendI32(container, document::shortObj);
    base::AppendI32(container, static_cast<std::int32_t>(i));
    objects[i]->SaveToStream(container);
  }
  base::AppendI32(container, paragraphs);
  container += markup;
  container.append(2, '\0');
  ContextPage = nullptr;
}

}  // namespace tarn::convert
