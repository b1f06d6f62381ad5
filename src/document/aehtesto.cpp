// Pages; see aehtesto.h.
#include "document/aehtesto.h"

#include "base/bytes.h"
#include "document/aehset.h"
#include "markup/tokenizer.h"

namespace tarn::document {
namespace {

bool OwnedByPage(int kind) {
  return kind == tabellaHtml || kind == speclink || kind == shortObj || kind == dbloc ||
         kind == immagineNew || (kind >= inputStat && kind <= multiMedia);
}

}  // namespace

std::vector<ObjectId> ReferencedIds(std::string_view markup) {
  std::vector<ObjectId> ids;
  markup::ForEachReference(markup, [&ids](const markup::Token& t) {
    if (t.wellFormed) ids.push_back(static_cast<ObjectId>(t.value));
  });
  return ids;
}

TAEHtesto::TAEHtesto() { SetType(testoHtml); }

std::string TAEHtesto::Markup() const {
  if (!Content().Present()) return {};
  return ReadContent().value_or(std::string());
}

const std::string& TAEHtesto::LookupName() const {
  const DataBlock& extra = Extra();
  const std::string_view view = extra.View();
  if (m_lookupName &&
      (m_lookupSource != extra.buffer || m_lookupBegin != extra.begin || m_lookupSize != extra.size)) {
    m_lookupName.reset();
  }
  if (!m_lookupName) {
    m_lookupName.emplace();
    m_lookupSource = extra.buffer;
    m_lookupBegin = extra.begin;
    m_lookupSize = extra.size;
    if (view.size() >= 8) {
      std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(view.data()), view.size());
      std::int32_t length = base::GetI32(bytes, 4);
      if (length > 0 && static_cast<std::size_t>(length) <= view.size() - 8) {
        m_lookupName->assign(view.substr(8, static_cast<std::size_t>(length)));
      }
    }
  }
  return *m_lookupName;
}

void TAEHtesto::ReleaseOwned() {
  // The tables, controls and placed images a page shows belong to it and go
  // with it; pages, links to pages and shared images do not.
  if (IsRegistered() && Owner() != nullptr && Content().Present()) {
    for (ObjectId id : ReferencedIds(Markup())) {
      if (!OwnedByPage(KindOf(id))) continue;
      TAEHoggetto* object = Owner()->GetObjectById(id);
      if (object != nullptr && object != this && !object->IsFree()) object->Clear();
    }
  }
  TAEHoggetto::ReleaseOwned();
}

void TAEHtesto::Clear() {
  TAEHoggetto::Clear();
  m_lookupName.reset();
}

}  // namespace tarn::document
