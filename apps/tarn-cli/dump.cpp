// tarn-cli dump: reads a page's stored text into paragraphs and prints them
// as JSON, or writes them back as markup.
#include "dump.h"

#include <cstdio>
#include <string>

#include "app/compose.h"
#include "climessages.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "json.h"
#include "platform/testing/testplatform.h"
#include "richtext/documenthost.h"
#include "richtext/localform.h"
#include "richtext/markup.h"
#include "richtext/pageobjects.h"
#include "richtext/pagetext.h"

namespace tarn::cli {
namespace {

using namespace richtext;

std::string Hex8(std::uint32_t v) {
  char buf[12];
  std::snprintf(buf, sizeof buf, "%08x", v);
  return buf;
}

std::string Colour(std::uint32_t c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  return buf;
}

std::string FontJson(int from, const TMyFont& f) {
  return "{\"from\":" + std::to_string(from) + ",\"face\":" + JsonString(f.face) + ",\"size\":" +
         std::to_string(f.size) + ",\"style\":" + std::to_string(f.style) + ",\"colour\":\"" + Colour(f.colour) + "\"}";
}

std::string TextJson(const RichText& text, const WorkingForm& form);

std::string ParagraphJson(const TAEHparag& p, const WorkingForm& form) {
  std::string out = "{\"style\":" + std::to_string(p.styleIndex) + ",\"text\":" + JsonString(p.text);
  std::string links;
  for (int i = 0; i < p.Length();) {
    const std::int32_t link = p.infos[static_cast<std::size_t>(i)].link;
    int j = i + 1;
    while (j < p.Length() && p.infos[static_cast<std::size_t>(j)].link == link) ++j;
    if (link != -1) {
      links += (links.empty() ? "" : ",") + std::string("{\"from\":") + std::to_string(i) + ",\"to\":" +
               std::to_string(j) + ",\"link\":\"" +
               Hex8(static_cast<std::uint32_t>(StoredLinkValue(link, form))) + "\"}";
    }
    i = j;
  }
  std::string formats = FontJson(0, p.style.Font());
  std::string objects;
  for (int i = 0; i < p.Length(); ++i) {
    const CharInfo& info = p.infos[static_cast<std::size_t>(i)];
    if (info.format >= 0) {
      const TMyFont font = p.formats[static_cast<std::size_t>(info.format)]->Font();
      if (i == 0) formats.clear();
      formats += (formats.empty() ? "" : ",") + FontJson(i, font);
    }
    if (info.object >= 0) {
      EmbeddedObject* object = p.objects[static_cast<std::size_t>(info.object)];
      const auto n = static_cast<std::size_t>(object->Identifier());
      const std::uint32_t id = n >= 1 && n <= form.objects.size() ? static_cast<std::uint32_t>(form.objects[n - 1]) : 0;
      std::string entry = "{\"at\":" + std::to_string(i) + ",\"id\":\"" + Hex8(id) + "\"";
      if (object->IsTable()) {
        entry += ",\"rows\":" + std::to_string(object->Rows()) + ",\"columns\":" + std::to_string(object->Columns()) +
                 ",\"cells\":[";
        for (int r = 0; r < object->Rows(); ++r) {
          for (int c = 0; c < object->Columns(); ++c) {
            entry += (r == 0 && c == 0 ? "" : ",") + TextJson(*object->Cell(r, c), form);
          }
        }
        entry += "]";
      }
      objects += (objects.empty() ? "" : ",") + entry + "}";
    }
  }
  out += ",\"links\":[" + links + "],\"formats\":[" + formats + "]";
  if (!objects.empty()) out += ",\"objects\":[" + objects + "]";
  return out + "}";
}

std::string TextJson(const RichText& text, const WorkingForm& form) {
  std::string out = "[";
  for (std::size_t i = 0; i < text.paragraphs.size(); ++i) {
    out += (i ? "," : "") + ParagraphJson(*text.paragraphs[i], form);
  }
  return out + "]";
}

}  // namespace

int Dump(const std::vector<std::string>& args) {
  std::string file;
  long page = -1;
  bool markup = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--markup") {
      markup = true;
    } else if (args[i] == "--page" && i + 1 < args.size()) {
      char* end = nullptr;
      page = std::strtol(args[++i].c_str(), &end, 10);
      if (end == args[i].c_str() || *end != '\0' || page < 0) return 2;
    } else if (args[i].starts_with("--") || !file.empty()) {
      return 2;
    } else {
      file = args[i];
    }
  }
  if (file.empty() || page < 0) return 2;
  CliMessages messages;
  platform::HostSystemInfo system;
  platform::testing::FixedTextMeasurer measurer;
  document::TAEHset set({&messages, &system, &measurer, nullptr});
  app::Compose(set);
  if (!set.LoadFromFile(file)) return 1;
  document::TAEHtesto* record = LivePage(set, page, messages);
  if (record == nullptr) return 1;
  PageText pageText(set, *record, &measurer, &messages);
  const WorkingForm& form = pageText.Form();
  const RichText& text = pageText.Text();
  if (markup) {
    const std::string out = ToStoredForm(WriteText(text), form);
    std::fwrite(out.data(), 1, out.size(), stdout);
  } else {
    std::fputs((TextJson(text, form) + "\n").c_str(), stdout);
  }
  return 0;
}

}  // namespace tarn::cli
