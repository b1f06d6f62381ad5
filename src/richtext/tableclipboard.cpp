// Tables in the container of a copied selection: a copied table takes its
// record and its cells (and the tables nested in them) along, and a pasted
// one becomes a new table of the page it is pasted into, never a second
// reference to the table it was copied from.
#include <algorithm>

#include "base/bytes.h"
#include "document/objectkinds.h"
#include "markup/tokenizer.h"
#include "richtext/aehtextattributes.h"
#include "richtext/tableobject.h"

namespace tarn::richtext {
namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

constexpr std::int32_t kObjectNumberLimit = 1 << 24;

// Adds the tables of a text's paragraph range, and those nested in their
// cells, to `out` (each once, nesting no deeper than the reader reads).
void AddTables(const TAEHparag& p, int from, int to, std::vector<const EmbeddedObject*>& out, int depth) {
  const int end = to < 0 ? p.Length() : std::min(to, p.Length());
  for (int c = std::max(from, 0); c < end; ++c) {
    const std::int32_t o = p.infos[Index(c)].object;
    if (o < 0 || Index(o) >= p.objects.size()) continue;
    EmbeddedObject* object = p.objects[Index(o)];
    if (object == nullptr || !object->IsTable() || std::find(out.begin(), out.end(), object) != out.end()) continue;
    out.push_back(object);
    if (depth + 1 >= kMaxTableNesting) continue;
    for (int r = 0; r < object->Rows(); ++r) {
      for (int k = 0; k < object->Columns(); ++k) {
        const RichText* cell = object->Cell(r, k);
        if (cell == nullptr) continue;
        for (const auto& cp : cell->paragraphs) AddTables(*cp, 0, -1, out, depth + 1);
      }
    }
  }
}

// The depth of the deepest table in a text (0 without tables); stops
// counting past `limit`, so that a table inside itself ends the walk.
int Nesting(const RichText& text, int limit) {
  if (limit < 0) return 0;
  int deepest = 0;
  for (const auto& p : text.paragraphs) {
    for (EmbeddedObject* object : p->objects) {
      if (object == nullptr || !object->IsTable()) continue;
      int inner = 0;
      for (int r = 0; r < object->Rows(); ++r) {
        for (int c = 0; c < object->Columns(); ++c) {
          if (const RichText* cell = object->Cell(r, c)) inner = std::max(inner, Nesting(*cell, limit - 1));
        }
      }
      deepest = std::max(deepest, 1 + inner);
    }
  }
  return deepest;
}

}  // namespace

bool NestsTooDeep(const RichText& text, int depth) {
  return depth + Nesting(text, kMaxTableNesting - depth) > kMaxTableNesting;
}

std::vector<const EmbeddedObject*> TAEHTextAttributes::TravellingTables(CharPos from, CharPos to) const {
  std::vector<const EmbeddedObject*> tables;
  if (!containerHooks.tableRecord) return tables;
  for (int i = from.paragraph; i <= to.paragraph; ++i) {
    AddTables(m_box.Paragraph(i), i == from.paragraph ? from.character : 0, i == to.paragraph ? to.character : -1,
              tables, 0);
  }
  return tables;
}

void TAEHTextAttributes::WriteTableObjects(std::string& out, const std::vector<const EmbeddedObject*>& tables) const {
  std::string part;
  std::int32_t count = 0;
  for (const EmbeddedObject* table : tables) {
    const std::string record = containerHooks.tableRecord ? containerHooks.tableRecord(table->Identifier()) : "";
    if (record.empty()) continue;
    base::AppendI32(part, document::tabellaHtml);
    base::AppendI32(part, table->Identifier());
    part += record;
    ++count;
  }
  base::AppendI32(out, count);
  out += part;
}

void TAEHTextAttributes::CollectTableRecords(const std::vector<const EmbeddedObject*>& tables,
                                             std::set<std::int32_t>& links, std::set<int>& styles) const {
  for (const EmbeddedObject* table : tables) {
    auto* object = const_cast<EmbeddedObject*>(table);
    for (int r = 0; r < object->Rows(); ++r) {
      for (int c = 0; c < object->Columns(); ++c) {
        const RichText* cell = object->Cell(r, c);
        if (cell == nullptr) continue;
        for (const auto& p : cell->paragraphs) {
          styles.insert(p->styleIndex);
          for (const CharInfo& info : p->infos) {
            if (info.link != -1) links.insert(info.link);
          }
        }
      }
    }
  }
}

bool TAEHTextAttributes::PlaceContainerObjects(const std::vector<ContainerObject>& objects, IdMap& map,
                                               bool samePage) const {
  if (objects.empty()) return true;
  // Only tables can be placed from their records here. Other objects keep
  // their numbers within their own page; from elsewhere the container is
  // refused, so that a converter's paste falls back to its text-only form.
  const bool allTables = std::all_of(objects.begin(), objects.end(),
                                     [](const ContainerObject& o) { return o.kind == document::tabellaHtml; });
  if (!allTables) return samePage;
  if (!containerHooks.addTable) return false;
  for (const ContainerObject& o : objects) {
    if (o.identifier < 0 || o.identifier >= kObjectNumberLimit) continue;
    // A copy is a table of its own, also when pasted into its own page.
    // One that cannot be placed reads as a blank (no number of this page).
    const std::int32_t number = containerHooks.addTable(o.record, map);
    map[o.identifier] = number >= 0 ? number : -1;
  }
  return true;
}

void TAEHTextAttributes::WriteTableImages(std::string& shared, std::int32_t& count, CharPos from, CharPos to) const {
  if (!containerHooks.imageRecord || !containerHooks.tableImages || !containerHooks.tableRecord) return;
  std::set<int> images;
  for (const EmbeddedObject* table : TravellingTables(from, to)) {
    for (const int index : containerHooks.tableImages(table->Identifier())) images.insert(index);
  }
  for (const int index : images) {
    const std::string record = containerHooks.imageRecord(index);
    if (record.empty()) continue;
    base::AppendI32(shared, document::immagine);
    shared += record;
    ++count;
  }
}

bool ContainerHasTables(const IdMap& map) {
  return std::any_of(map.begin(), map.end(),
                     [](const auto& entry) { return entry.first >= 0 && entry.first < kObjectNumberLimit; });
}

std::string KeepingPlacedTables(std::string_view markup, const IdMap& map) {
  std::string out;
  out.reserve(markup.size());
  std::size_t copied = 0;
  markup::Tokenizer tokens(markup);
  for (markup::Token t = tokens.Next(); t.kind != markup::TokenKind::kEnd; t = tokens.Next()) {
    if (!t.IsObject()) continue;
    const auto number = static_cast<std::int32_t>(t.value & 0xFFFFFF);
    if (map.count(number) != 0) continue;
    // An object that did not travel leaves a blank.
    out.append(markup.substr(copied, t.at - copied));
    out.push_back(' ');
    copied = t.End();
  }
  out.append(markup.substr(copied));
  return out;
}

}  // namespace tarn::richtext
