// HTML import inside: the run over a list of files (what the files share:
// images, links, keywords, style sheets, the pages made so far) and the
// reader of one file, which turns its tags and text into page markup and
// object records.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "convert/ht2state.h"
#include "convert/htmlcharset.h"
#include "convert/htmlimport.h"
#include "convert/htmltags.h"
#include "document/objectkinds.h"
#include "richtext/styles.h"

namespace tarn::document {
class TAEHset;
class TAEHoggetto;
}  // namespace tarn::document

namespace tarn::convert {

class TAEHtoHtml;
using document::ObjectId;
using document::TAEHoggetto;
using document::TAEHset;

// The local file a reference in a page names, relative to the page's
// folder: fragment and query cut, "%" escapes decoded, the first spelling
// that exists (as written, or its cp1252 characters in UTF-8), else the one
// as written. Nothing for references with a scheme or without a path.
std::optional<std::filesystem::path> LocalReference(const std::filesystem::path& folder, std::string_view reference);

// What the markup writer needs of a paragraph style.
struct Ht2StyleInfo {
  richtext::TMyFont font;
  int alignment = 0;
  int listType = 0;
  int unit = 1;
  std::int32_t lineHeight = richtext::kAutomaticLineHeight;
  std::int32_t indent = 0;
  std::int32_t leftMargin = 10;
  std::int32_t rightMargin = 10;
  std::int32_t topMargin = 0;
  std::int32_t bottomMargin = 0;
};

class HtmlImportRun {
 public:
  using FileReader = std::function<bool(const std::filesystem::path&, std::string&)>;

  HtmlImportRun(TAEHtoHtml& converter, HtmlImportReport& report, FileReader reader, bool preview);

  TAEHset& Set() { return m_set; }
  int PixelsPerInch() const { return m_ppi; }
  HtmlCharacters& Characters() { return m_characters; }

  // Imports one file (already read) into a new page; nothing when the
  // hypertext refuses the page.
  TAEHoggetto* ImportSource(std::string_view bytes, const std::filesystem::path& file);
  // Imports a file from disk; nothing (and a line in the report) when it
  // cannot be read.
  TAEHoggetto* ImportFile(const std::filesystem::path& file);
  // Links to files imported in this run now lead to their pages.
  void ResolveImportLinks();

  // Registers a new object in the first free slot of its kind, as the
  // hypertext would, but without searching the slots already known to be in
  // use: an import registers thousands of links.
  TAEHoggetto* Register(std::unique_ptr<TAEHoggetto> object);

  // Services for the file readers.
  bool ReadFile(const std::filesystem::path& path, std::string& out) const { return m_reader(path, out); }
  // The local file a reference names, relative to the folder: the first
  // spelling that exists, else the plain one. Nothing for references with
  // a scheme ("http:", "mailto:") or without a path.
  std::optional<std::filesystem::path> LocalFile(const std::filesystem::path& folder, std::string_view reference) const;
  // The image record of a picture file, read once per run; nothing when it
  // cannot be loaded.
  TAEHoggetto* Image(const std::filesystem::path& path);
  // An external link (kind 1) to the address, an equal one reused.
  ObjectId ExternalLink(std::string_view url);
  // A new automatic-import link (kind 10, subtype 6) to a local file, made
  // in the page read from `from`; `fragment` names an anchor of the file.
  // When the file becomes a page of this run, the link leads to the page,
  // or to the anchor when the page has one of that name.
  ObjectId ImportLink(const std::filesystem::path& file, const std::filesystem::path& from, std::string fragment);
  // The keyword record with the text, an equal one reused; -1 when it
  // cannot be made.
  int Keyword(std::string_view text);
  // The classes of a linked style sheet and the paragraph styles they
  // became; read once per run. Nothing when the sheet cannot be read.
  const std::unordered_map<std::string, int>* StyleSheet(const std::filesystem::path& path);
  // The paragraph style of an extended-comment line: a name, then the letter
  // codes of a paragraph tag. `reported` keeps "Truncated line!" to once a file.
  int StyleFromCodes(std::string_view line, bool& reported);
  const Ht2StyleInfo& Style(int number);
  bool StyleExists(int number) const;
  // A reference that could not be followed, found in the page.
  void Skipped(std::string what, const std::filesystem::path& page);
  // "image x.png (not found)" and the like.
  static std::string Missing(std::string_view what, std::string_view reference,
                             const std::optional<std::filesystem::path>& file);

 private:
  int StyleFromRule(const struct CssStyleRule& rule);
  // Registers a new style, or answers an equal one already there.
  int AddStyle(std::unique_ptr<TAEHoggetto> style);
  std::string CanonicalKey(const std::filesystem::path& path);
  // The number of the anchor of that name in the page read from the file
  // with that key; -1 when there is none.
  int AnchorOf(const std::string& page, const std::string& name) const;

  TAEHtoHtml& m_converter;
  TAEHset& m_set;
  HtmlImportReport& m_report;
  FileReader m_reader;
  bool m_preview;
  int m_ppi = 96;
  HtmlCharacters m_characters;
  std::unordered_map<std::string, TAEHoggetto*> m_images;
  std::unordered_set<const TAEHoggetto*> m_knownImages;
  bool m_imagesSeeded = false;
  std::array<int, document::kKindCount> m_freeFrom{};
  std::unordered_map<std::string, std::string> m_canonical;  // no free slot below these
  std::unordered_map<std::string, ObjectId> m_links;
  bool m_linksSeeded = false;
  std::unordered_map<std::string, int> m_keywords;
  bool m_keywordsSeeded = false;
  std::map<std::string, std::optional<std::unordered_map<std::string, int>>> m_sheets;
  std::vector<std::optional<Ht2StyleInfo>> m_styles;
  // Pages imported in this run by file, with their anchors by name, and the
  // automatic-import links made (the files by their keys).
  std::unordered_map<std::string, ObjectId> m_pages;
  std::unordered_map<std::string, std::unordered_map<std::string, int>> m_anchors;
  struct ImportLinkRef {
    ObjectId link;
    std::string target;
    std::string from;
    std::string fragment;
  };
  std::vector<ImportLinkRef> m_importLinks;
  std::unordered_map<std::string, std::pair<std::string, int>> m_skipped;
  std::vector<std::string> m_skippedOrder;
};

// The elements the reader knows; the rest are read past.
enum Ht2Element : int {
  kElUnknown = 0, kElA, kElArea, kElB, kElBase, kElBig, kElBlock, kElBody, kElBr, kElCenter, kElCode, kElDd,
  kElDiv, kElDl, kElDt, kElEm, kElEmbed, kElFont, kElForm, kElH1, kElH2, kElH3, kElH4, kElH5, kElH6, kElH7,
  kElHead, kElHr, kElHtml, kElI, kElImg, kElInput, kElLi, kElLink, kElListing, kElMap, kElMeta,
  kElOl, kElOption, kElP, kElPre, kElScript, kElSelect, kElSmall, kElSpan, kElStrike, kElStrong, kElStyle,
  kElSub, kElSup, kElTable, kElTd, kElTextarea, kElTh, kElTitle, kElTr, kElU, kElUl, kElXmp,
  kElCount
};

class THt2Reader {
 public:
  THt2Reader(HtmlImportRun& run, std::string source, std::filesystem::path file, bool preview);

  // Reads the whole source (or, in preview, until the markup is 5000
  // characters long).
  void Read();
  // The finished markup: open tables completed, a leading paragraph tag,
  // tables repaired.
  std::string FinishMarkup();

  // What the file says of its page.
  const std::string& Title() const { return m_title; }
  bool HasTitle() const { return m_hasTitle; }
  const std::string& HeadHtml() const { return m_headHtml; }
  const std::vector<std::string>& Keywords() const { return m_keywords; }
  struct PageSettings {
    std::optional<std::uint32_t> background, textColour, linkColour, visitedColour;
    std::optional<int> backgroundImage;
    std::optional<int> language;
  };
  const PageSettings& Settings() const { return m_settings; }
  // The anchors the file names ("<A NAME>" and "ID" attributes): name to
  // anchor number. Taken once, when the file has been read.
  std::unordered_map<std::string, int> TakeAnchors() { return std::move(m_anchors); }

 private:
  friend class Ht2TableRepair;

  // Steps of the tokenizer.
  void ReadTagAt();
  bool EndsExportedParagraph(std::size_t at) const;
  void ReadDeclaration();
  void ReadProcessingInstruction();
  void Character(unsigned char c);
  void StartTag(const HtmlTag& tag, Ht2Element element);
  void EndTag(const HtmlTag& tag, Ht2Element element);
  bool HeadTag(const HtmlTag& tag, Ht2Element element);
  void EndHead();

  // Writing markup.
  void NewParagraph();
  void EnsureParagraph();
  void WriteParagraphTag();
  void WriteFormat();
  void WriteVisible(unsigned char c);
  void WriteBlank();
  void WriteText(std::string_view text);
  void WriteObject(ObjectId id);
  void AppendObjectTag(ObjectId id);
  // Anchors are placed where the next character or object goes, so that an
  // anchor named by a heading or a paragraph starts it.
  void NameAnchor(const std::string& name);
  void WritePendingAnchors();
  void PreLineBreak();
  richtext::TMyFont EffectiveFont() const;
  bool Stopped() const { return m_preview && m_markup.size() >= kPreviewLength; }

  // States.
  void PushCharacter(int element);
  void PopElement(int element);
  void Align(const HtmlTag& tag, THt2State& state);

  // Elements.
  void Font(const HtmlTag& tag);
  void Heading(const HtmlTag& tag, Ht2Element element);
  void Div(const HtmlTag& tag);
  // The style's font and paragraph settings become the current state's.
  void TakeStyle(int style);
  void ListItem();
  void Body(const HtmlTag& tag);
  void Anchor(const HtmlTag& tag);
  void CloseLink();
  ObjectId LinkFor(std::string_view href);
  void Image(const HtmlTag& tag);
  void Map(const HtmlTag& tag);
  // The next child of an element read as a list of tags (the AREAs of a MAP,
  // the OPTIONs of a SELECT); false at the element's end tag or, when none
  // follows (`closed` false), at the first other tag than `other`.
  bool NextChild(std::string_view parent, std::string_view child, std::string_view other, bool closed, HtmlTag& tag);
  void Embed(const HtmlTag& tag);
  void Form(const HtmlTag& tag);
  void Input(const HtmlTag& tag);
  void Select(const HtmlTag& tag);
  void TextArea(const HtmlTag& tag);
  void BodyScript(const HtmlTag& tag);
  void SkipElement(const HtmlTag& tag, std::string_view closing, std::string* copy);
  // Where the text of an element that holds only text (TITLE, TEXTAREA)
  // ends: at its end tag, or, when it has none, at the next tag; `after` is
  // where reading goes on.
  struct TextEnd {
    std::size_t close;
    std::size_t after;
  };
  TextEnd TextElementEnd(std::string_view closing, std::size_t from) const;
  void TitleElement(const HtmlTag& tag);
  void Meta(const HtmlTag& tag);
  void LinkElement(const HtmlTag& tag);
  void Comment(std::string_view text);
  void Extended(std::string_view text);
  ObjectId AddObject(std::unique_ptr<TAEHoggetto> object);
  void ResolveMaps();

  // Tables.
  void OpenTable(const HtmlTag& tag);
  void StartRow(const HtmlTag* tag);
  void StartCell(const HtmlTag& tag, bool header);
  void EndCell();
  void CloseTable();
  void CloseCell(THt2TabAEHoggetto& table);
  void FinishRow(THt2TabAEHoggetto& table, std::string_view padding);
  void ContinueTable(THt2TabAEHoggetto& table);
  void StoreTable(THt2TabAEHoggetto& table);
  std::int32_t Background(const HtmlTag& tag, std::int32_t otherwise);
  void ExtendedTable(std::string_view text);
  std::string RepairTables(std::string markup);

  static constexpr std::size_t kPreviewLength = 5000;

  HtmlImportRun& m_run;
  TAEHset& m_set;
  std::string m_source;
  HtmlTagReader m_tags;
  std::filesystem::path m_file;
  std::filesystem::path m_folder;
  std::string m_base;  // a local BASE folder
  bool m_preview;
  std::size_t m_pos = 0;
  ReferenceDecoder m_decode;

  std::string m_markup;
  THt2StateList m_states;
  bool m_pending = true;        // the next visible character writes a paragraph tag
  int m_count = 0;              // characters in the open paragraph
  bool m_lastBlank = true;
  int m_paragraphStyle = 1;     // the style of the open paragraph
  richtext::TMyFont m_emitted;  // the character format in force in the markup
  // The state version m_emitted was last checked against.
  static constexpr std::uint64_t kNoVersion = ~std::uint64_t{0};
  std::uint64_t m_formatVersion = kNoVersion;
  bool m_listItem = false;      // the next paragraph is a list item
  std::vector<bool> m_lists;    // open lists, true for numbered ones
  int m_pre = 0;                // open PRE, LISTING and XMP elements
  bool m_preStart = false;      // a line feed right after PRE is no line
  ObjectId m_link = -1;         // the open link
  // Anchors by name, the numbers they took, and those not yet placed.
  std::unordered_map<std::string, int> m_anchors;
  std::unordered_set<int> m_anchorNumbers;
  int m_nextAnchor = 0;
  std::vector<ObjectId> m_pendingAnchors;
  bool m_linkWritten = false;   // ... written in the open paragraph

  // Head and page settings.
  PageSettings m_settings;
  bool m_inHead = false;
  bool m_bodySeen = false;
  std::string m_title;
  bool m_hasTitle = false;
  std::string m_headHtml;
  std::vector<std::string> m_keywords;
  bool m_extended = false;
  bool m_pageMarker = false;
  const std::unordered_map<std::string, int>* m_classes = nullptr;
  std::vector<int> m_extendedStyles;  // style numbers of the file's "<!tn_z" lines
  bool m_truncatedReported = false;

  // Image maps: the areas of each map (by name, lower case) and the placed
  // images that use one; zones are filled when the file has been read, so a
  // map may follow its image.
  struct Area {
    std::string href;
    std::array<std::int16_t, 4> box{};
  };
  std::unordered_map<std::string, std::vector<Area>> m_maps;
  std::vector<std::pair<TAEHoggetto*, std::string>> m_mapUsers;

  std::vector<THt2TabAEHoggetto> m_tables;
  int m_ignoredTables = 0;  // tables nested past the limit, read as part of their cell
};

}  // namespace tarn::convert
