// Tables in the container of a copied selection: a copied table takes its
// record and its cells (and the tables nested in them) along, and a pasted
// one becomes a new table of the page it is pasted into, never a second
// reference to the table it was copied from.
#include <algorithm>

#include "base/bytes.h"
#include "document/objectkinds.h"
#include "richtext/aehtextattributes.h"
#include "richtext/containerobjects.h"
#include "richtext/tableobject.h"

namespace tarn::richtext {
namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

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

void TAEHTextAttributes::CollectPlaced(const TAEHparag& p, int from, int to, ContainerObjects& result,
                                       std::set<std::int32_t>& images, int depth) const {
  const int end = to < 0 ? p.Length() : std::min(to, p.Length());
  for (int c = std::max(from, 0); c < end && c < static_cast<int>(p.infos.size()); ++c) {
    const std::int32_t slot = p.infos[Index(c)].object;
    if (slot < 0 || Index(slot) >= p.objects.size()) continue;
    const EmbeddedObject* object = p.objects[Index(slot)];
    if (object == nullptr) continue;
    const std::int32_t number = object->Identifier();
    if (std::find(result.numbers.begin(), result.numbers.end(), number) != result.numbers.end()) continue;
    ContainerHooks::ObjectRecords records = containerHooks.objectRecord(number);
    if (records.kind < 0 || records.record.empty()) continue;
    result.numbers.push_back(number);
    base::AppendI32(result.part, records.kind);
    base::AppendI32(result.part, ContainerObjectKey(number));
    result.part += records.record;
    ++result.count;
    result.links.insert(records.links.begin(), records.links.end());
    for (auto& [id, image] : records.images) {
      if (images.insert(id).second) result.images.push_back(std::move(image));
    }
    if (!object->IsTable()) continue;
    // The cells travel in the markup, and what is placed in them with it.
    result.tables.push_back(object);
    if (depth + 1 >= kMaxTableNesting) continue;
    auto* table = const_cast<EmbeddedObject*>(object);
    for (int r = 0; r < table->Rows(); ++r) {
      for (int k = 0; k < table->Columns(); ++k) {
        const RichText* cell = table->Cell(r, k);
        if (cell == nullptr) continue;
        for (const auto& cp : cell->paragraphs) CollectPlaced(*cp, 0, -1, result, images, depth + 1);
      }
    }
  }
}

void TAEHTextAttributes::CollectTableRecords(const std::vector<const EmbeddedObject*>& tables,
                                             std::set<std::int32_t>& links, std::set<int>& styles) {
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

}  // namespace tarn::richtext
