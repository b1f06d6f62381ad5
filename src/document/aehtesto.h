// A page: an object record of kind 0 whose content is the page's rich-text
// markup. Besides the record it knows the objects its markup places and the
// lookup name kept at the start of its extra data.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/aehoggetto.h"
#include "document/recordfields.h"

namespace tarn::document {

// The markup of an empty page: one paragraph of the first style and the
// byte 0 that ends a text.
inline constexpr std::string_view kEmptyPageMarkup{"<Z S0 >\0", 8};

// The object identities named by "<$xxxxxxxx>" tags of stored markup, in text
// order. Tags inside skipped blocks count too: they still reference records.
std::vector<ObjectId> ReferencedIds(std::string_view markup);

class TAEHtesto : public TAEHoggetto {
 public:
  TAEHtesto();

  // The page's title.
  std::string Title() const { return Str(field::kPageTitle, field::kPageTitleCapacity); }
  // The name FindPage looks for, read from the extra data once.
  const std::string& LookupName() const;
  // The page's markup (its content), or empty.
  std::string Markup() const;

  void Clear() override;

 protected:
  void ReleaseOwned() override;

 private:
  mutable std::optional<std::string> m_lookupName;
  // The extra block the name was read from: a new block is read again.
  // (Held, so that a later block can never take its place in memory.)
  mutable std::shared_ptr<const std::string> m_lookupSource;
  mutable std::size_t m_lookupBegin = 0;
  mutable std::size_t m_lookupSize = 0;
};

}  // namespace tarn::document
