// A new hypertext to import HTML into, and readable descriptions of what an
// import made: the page's markup one paragraph a line, its settings, the
// records the markup names and the styles added.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "app/compose.h"
#include "base/hex.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"
#include "richtext/styles.h"

namespace tarn::convert::testing {

class ImportFixture {
 public:
  ImportFixture() : set(std::make_unique<document::TAEHset>(env.Services())) {
    app::Compose(*set);
    set->NewHypertext();
    set->SetBackup(false);
    html.SetLinkedAEHset(set.get());
  }

  // The files of a fixture folder beside the pages imported here, and a
  // small picture "logo.gif" for them to show.
  void CopyFixtures(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      std::filesystem::copy_file(entry.path(), env.Path(entry.path().filename().string()),
                                 std::filesystem::copy_options::overwrite_existing);
    }
    tarn::testing::WriteFile(env.Path("logo.gif"), tarn::testing::SmallGif(20, 10));
  }

  // Imports the HTML as a file "page.html" of the scratch folder; answers the
  // page's markup without its closing byte 0.
  std::string ImportMarkup(const std::string& source) {
    const int page = html.ImportHtmlSource(source, env.Path("page.html"));
    return page < 0 ? std::string() : Markup(page);
  }

  std::string Markup(int page) const {
    const auto* text = dynamic_cast<const document::TAEHtesto*>(set->GetObject(document::testoHtml, page));
    std::string markup = text != nullptr ? text->Markup() : std::string();
    return markup.substr(0, markup.find('\0'));
  }

  std::vector<document::ObjectId> ObjectsOfPage(int page) const { return document::ReferencedIds(Markup(page)); }

  // Every table of the page is followed by exactly its rows times columns
  // cells, each starting with a paragraph tag.
  bool TablesAreWhole(int page) const {
    const std::string m = Markup(page);
    std::vector<int> left;
    bool paragraph = true;
    for (std::size_t i = 0; i < m.size(); ++i) {
      if (m[i] != '<') {
        if (!left.empty() && !paragraph) return false;
        continue;
      }
      const std::size_t close = m.find('>', i);
      if (close == std::string::npos) return false;
      const std::string tag = m.substr(i, close + 1 - i);
      i = close;
      if (tag.starts_with("<Z")) paragraph = true;
      if (tag == "<T>") {
        if (left.empty() || !paragraph) return false;
        paragraph = --left.back() == 0;
        if (paragraph) left.pop_back();
      }
      if (tag.size() == 11 && tag.starts_with("<$08")) {
        if (!left.empty() && !paragraph) return false;
        const auto* t = set->GetObjectById(static_cast<document::ObjectId>(std::stoul(tag.substr(2, 8), nullptr, 16)));
        if (t == nullptr) return false;
        left.push_back(t->U8(document::field::kTableRows) * t->U8(document::field::kTableColumns));
        paragraph = false;
      }
    }
    return left.empty();
  }

  // The golden description of a page.
  std::string Describe(int page) const {
    using namespace document;
    using namespace document::field;
    const TAEHoggetto* p = set->GetObject(testoHtml, page);
    std::string out = "title: " + Text(p->Str(kPageTitle, 71)) + "\n";
    out += "colours: background " + Colour(p->I32(kPageBgColour)) + ", text " + Colour(p->I32(kPageTextColour)) +
           ", link " + Colour(p->I32(kPageLinkColour)) + ", visited " + Colour(p->I32(kPageVisitedColour)) + "\n";
    if (p->I32(kPageBgImage) != -1) out += "background image: " + std::to_string(p->I32(kPageBgImage)) + "\n";
    if (p->I16(kPageLanguage) != 1033) out += "language: " + std::to_string(p->I16(kPageLanguage)) + "\n";
    std::string words;
    for (int i = 0; i < kPageKeywordSlots; ++i) {
      const std::int32_t k = p->I32(kPageKeywords + 4 * i);
      if (k >= 0) words += (words.empty() ? "" : ", ") + set->GetObject(keyword, k)->GetCaption();
    }
    if (!words.empty()) out += "keywords: " + words + "\n";
    const std::string_view extra = p->Extra().View();
    if (extra.size() >= 8) {
      const auto skip = static_cast<std::size_t>(base::GetI32(
          std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(extra.data()), extra.size()), 0));
      const std::string head(extra.substr(std::min(extra.size(), 4 + skip)));
      if (head != " ") out += "head:\n" + Indented(head);
    }
    out += "markup:\n";
    const std::string m = Markup(page);
    std::string line;
    for (std::size_t i = 0; i < m.size(); ++i) {
      if (m.compare(i, 2, "<Z") == 0 && !line.empty()) {
        out += "  " + Text(line) + "\n";
        line.clear();
      }
      line += m[i];
      if (line.ends_with("<T>")) {
        out += "  " + Text(line) + "\n";
        line.clear();
      }
    }
    if (!line.empty()) out += "  " + Text(line) + "\n";
    std::set<ObjectId> described;
    std::string objects;
    for (ObjectId id : ReferencedIds(m)) {
      if (described.insert(id).second) objects += "  " + Object(id) + "\n";
    }
    if (!objects.empty()) out += "records:\n" + objects;
    for (int i = 2; i < set->CountOf(stileParagrafo); ++i) out += Style(i);
    return out;
  }

  tarn::testing::TestEnv env;
  std::unique_ptr<document::TAEHset> set;
  TAEHtoHtml html;

 private:
  // Text as UTF-8, with the scratch folder named DATA.
  std::string Text(const std::string& cp1252) const {
    std::string s = base::Cp1252ToUtf8(cp1252);
    const std::string dir = env.Dir().string();
    for (std::size_t at = s.find(dir); at != std::string::npos; at = s.find(dir)) s.replace(at, dir.size(), "DATA");
    return s;
  }
  std::string Indented(const std::string& text) const {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find("\r\n", start);
      if (end == std::string::npos) end = text.size();
      out += "  " + Text(text.substr(start, end - start)) + "\n";
      start = end + 2;
    }
    return out;
  }
  static std::string Colour(std::int32_t c) {
    const auto v = static_cast<std::uint32_t>(c);
    return "#" + base::ToHex(((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF), 6, true);
  }
  std::string Object(document::ObjectId id) const {
    using namespace document;
    using namespace document::field;
    const TAEHoggetto* o = set->GetObjectById(id);
    std::string s = base::ToHex(static_cast<std::uint32_t>(id), 8) + " ";
    if (o == nullptr) return s + "missing";
    const std::string content = o->Content().Present() ? o->ReadContent().value_or("") : "";
    const std::string_view extra = o->Extra().View();
    const std::string extraText = extra.size() > 4 ? std::string(extra.substr(4)) : std::string();
    switch (o->Kind()) {
      case internetLink: return s + "link " + Text(o->GetCaption());
      case speclink:
        if (o->Subtype() == 6) return s + "automatic import of " + Text(content);
        if (o->U8(kSpecialAction) == kAnchorInPage) return s + "jump in page to anchor " + std::to_string(o->I32(kSpecialAnchor));
        return s + "special link " + std::to_string(o->Subtype()) + " to " +
               base::ToHex(static_cast<std::uint32_t>(o->I32(kSpecialTarget)), 8) +
               (o->I32(kSpecialAnchor) >= 0 ? " anchor " + std::to_string(o->I32(kSpecialAnchor)) : std::string());
      case testoHtml: return s + "page " + std::to_string(o->Index());
      case tabellaHtml: {
        s += "table " + std::to_string(o->U8(kTableRows)) + "x" + std::to_string(o->U8(kTableColumns));
        s += o->U8(kTablePercentWidth) ? " width " + std::to_string(o->U8(kTableWidthPercent)) + "%"
                                       : " width " + std::to_string(o->I16(kTablePixelWidth));
        s += " border " + std::to_string(o->U8(kTableBorder)) + " padding " + std::to_string(o->U8(kTablePadding)) +
             " spacing " + std::to_string(o->U8(kTableSpacing));
        if (o->I32(kTableBackground) != -1) s += " background " + base::ToHex(static_cast<std::uint32_t>(o->I32(kTableBackground)), 8);
        s += " columns";
        static const char* kKinds[] = {"%", "px", "free"};
        for (int c = 0; c < o->U8(kTableColumns); ++c) {
          const int kind = o->U8(kTableColumnKinds + c);
          s += " " + (kind < 2 ? std::to_string(o->I16(kTableColumnSizes + 2 * c)) : std::string()) + (kind <= 2 ? kKinds[kind] : "?");
        }
        if (!content.empty()) {
          s += " cells";
          for (std::size_t i = 0; i + 4 <= content.size(); i += 4) {
            const auto v = static_cast<std::uint32_t>(base::GetI32(
                std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()), i));
            s += " " + (v == 0xFFFFFFFF ? std::string("-") : base::ToHex(v, 8));
          }
        }
        return s;
      }
      case shortObj:
        if (o->Subtype() == 10) return s + "comment \"" + Text(content) + "\"";
        if (o->Subtype() == 11) return s + "raw html \"" + Text(extraText) + "\"";
        if (o->Subtype() == kShortAnchor) return s + "anchor " + std::to_string(o->I32(kShortValue));
        return s + "short object " + std::to_string(o->Subtype()) + " value " + std::to_string(o->I32(kShortValue));
      case immagineNew: {
        s += "placed image of image " + std::to_string(o->I32(kPlacedImage)) + " (" +
             Text(set->GetObject(immagine, o->I32(kPlacedImage))->FileName()) + ") " +
             std::to_string(o->I16(kPlacedWidth)) + "x" + std::to_string(o->I16(kPlacedHeight)) + " align " +
             std::to_string(o->U8(kPlacedAlignment)) + " alt \"" + Text(o->Str(kPlacedAltText, 32)) + "\"";
        if (o->I32(kPlacedImage2) != -1) s += " low " + std::to_string(o->I32(kPlacedImage2));
        for (int z = 0; z < kZoneCount; ++z) {
          const int at = kPlacedZones + kZoneSize * z;
          if (o->I32(at) == -1) continue;
          s += "\n    zone " + std::to_string(o->I16(at + 8)) + "," + std::to_string(o->I16(at + 10)) + " " +
               std::to_string(o->I16(at + 12)) + "x" + std::to_string(o->I16(at + 14)) + " -> " +
               (o->I32(at) == 0 ? std::string("none") : Object(o->I32(at)));
        }
        return s;
      }
      case inputStat:
        return s + "field " + std::to_string(o->Subtype()) + " name \"" + Text(o->Str(kObjectName, 79)) + "\" value \"" +
               Text(o->Str(kFieldValue, 79)) + "\" has value " + std::to_string(o->U8(kFieldHasValue)) + " size " +
               std::to_string(o->U8(kFieldSize)) + " checked " + std::to_string(o->U8(kFieldChecked)) + " multiple " +
               std::to_string(o->U8(kFieldMultiple)) + " rows " + std::to_string(o->U8(kFieldRows)) + " columns " +
               std::to_string(o->U8(kFieldColumns)) + (content.empty() ? "" : " content \"" + Escaped(content) + "\"");
      case bottoneCGI:
        return s + "button " + std::to_string(o->Subtype()) + " name \"" + Text(o->Str(kObjectName, 79)) +
               "\" caption \"" + Text(o->Str(kFieldValue, 79)) + "\" image " +
               base::ToHex(static_cast<std::uint32_t>(o->I32(kButtonImage)), 8) + " " +
               std::to_string(o->I16(kButtonWidth)) + "x" + std::to_string(o->I16(kButtonHeight));
      case inizioForm:
        return s + "form start " + std::to_string(o->Subtype()) + " action \"" + Text(o->Str(kObjectName, 255)) +
               "\" encoding \"" + Text(o->Str(kFormEncoding, kFormEncodingCapacity)) + "\"";
      case multiMedia:
        return s + "multimedia " + std::to_string(o->Subtype()) + " " + std::to_string(o->I16(kMediaWidth)) + "x" +
               std::to_string(o->I16(kMediaHeight)) + " \"" + Text(extraText) + "\"";
      default: return s + "kind " + std::to_string(o->Kind());
    }
  }
  std::string Escaped(const std::string& text) const {
    std::string out;
    for (char c : text) out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    return Text(out);
  }
  std::string Style(int index) const {
    namespace sf = richtext::stylefield;
    const document::TAEHoggetto* st = set->GetObject(document::stileParagrafo, index);
    if (st == nullptr || st->IsFree()) return {};
    return "style " + std::to_string(index) + " \"" + Text(st->GetCaption()) + "\": " +
           Text(st->Str(sf::kFace, sf::kFaceCapacity)) + " " + std::to_string(st->I16(sf::kSize)) + "pt " +
           Colour(st->I32(sf::kColour)) + " bits " + std::to_string(st->U8(sf::kStyleBits)) + " align " +
           std::to_string(st->U8(sf::kAlignment)) + " list " + std::to_string(st->U8(sf::kListKind)) + " unit " +
           std::to_string(st->U8(sf::kUnit)) + " margins " + std::to_string(st->I16(sf::kLeftMargin)) + "," +
           std::to_string(st->I16(sf::kRightMargin)) + "," + std::to_string(st->I16(sf::kSpaceBefore)) + "," +
           std::to_string(st->I16(sf::kSpaceAfter)) + " indent " + std::to_string(st->I16(sf::kIndent)) +
           " line " + std::to_string(st->I16(sf::kLineHeight)) + " link " + Colour(st->I32(sf::kLinkColour)) + " " +
           std::to_string(st->I16(sf::kLinkSize)) + " bits " + std::to_string(st->U8(sf::kLinkStyle)) + "\n";
  }
};

}  // namespace tarn::convert::testing
