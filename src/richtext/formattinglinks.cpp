// Anchors and the links to them; see formattinglinks.h.
#include "richtext/formattinglinks.h"

#include <algorithm>

#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/links.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "markup/tokenizer.h"

namespace tarn::richtext {
namespace {

using document::TAEHoggetto;
namespace field = document::field;

// The markup of a page that has nothing in it yet.
constexpr std::string_view kEmptyPage = "<Z S0 >";

}  // namespace

std::unique_ptr<TAEHoggetto> NewAnchorRecord(document::TAEHset& set, int number) {
  auto anchor = set.NewObject(document::shortObj);
  anchor->SetSubtype(field::kShortAnchor);
  anchor->SetI32(field::kShortValue, number);
  return anchor;
}

int AnchorNumberOf(const TAEHoggetto& record) {
  if (record.IsFree() || record.Kind() != document::shortObj || record.Subtype() != field::kShortAnchor) return -1;
  return record.I32(field::kShortValue);
}

std::vector<int> StoredPageAnchors(const document::TAEHset& set, int page) {
  std::vector<int> anchors;
  const auto* stored = dynamic_cast<const document::TAEHtesto*>(set.GetObject(document::testoHtml, page));
  if (stored == nullptr || stored->IsFree()) return anchors;
  const std::string text = stored->Markup();
  markup::Tokenizer tokens(text);
  for (markup::Token t = tokens.Next(); t.kind != markup::TokenKind::kEnd; t = tokens.Next()) {
    if (t.kind != markup::TokenKind::kReference || (t.value >> 24) != document::shortObj) continue;
    const TAEHoggetto* record = set.GetObjectById(static_cast<document::ObjectId>(t.value));
    const int number = record != nullptr ? AnchorNumberOf(*record) : -1;
    if (number >= 0 && std::find(anchors.begin(), anchors.end(), number) == anchors.end()) anchors.push_back(number);
  }
  return anchors;
}

bool ReadPageTarget(const TAEHoggetto& link, PageTarget& target) {
  if (link.IsFree() || link.Kind() != document::speclink || link.Subtype() != document::kSpecialToObject) {
    return false;
  }
  const int action = link.U8(field::kSpecialAction);
  if (action == document::kAnchorInPage) {
    target = {-1, link.I32(field::kSpecialAnchor)};
    return true;
  }
  const document::ObjectId id = link.I32(field::kSpecialTarget);
  // Only the plain jump to a page is this dialog's: links that open windows
  // or frames keep their special-link form.
  if (id < 0 || (static_cast<std::uint32_t>(id) >> 24) != document::testoHtml ||
      link.U8(field::kSpecialTargetKind) != 0 || action != document::kReplaceWindow) {
    return false;
  }
  target = {static_cast<int>(id & 0xFFFFFF), link.I32(field::kSpecialAnchor)};
  return true;
}

std::unique_ptr<TAEHoggetto> NewAnchorLink(document::TAEHset& set, int page, int anchor, bool samePage) {
  auto link = set.NewObject(document::speclink);
  link->SetSubtype(document::kSpecialToObject);
  const bool inPage = samePage && anchor >= 0;
  const TAEHoggetto* target = set.GetObject(document::testoHtml, page);
  link->SetI32(field::kSpecialTarget, inPage || target == nullptr ? -1 : target->GetId());
  link->SetU8(field::kSpecialTargetKind, 0);
  link->SetU8(field::kSpecialAction, inPage ? document::kAnchorInPage : document::kReplaceWindow);
  link->SetI32(field::kSpecialAnchor, anchor);
  return link;
}

SpecialLinkFields ReadSpecialLink(const TAEHoggetto& link) {
  SpecialLinkFields fields;
  if (link.IsFree() || link.Kind() != document::speclink) return fields;
  fields.subtype = link.Subtype();
  const document::ObjectId target = link.I32(field::kSpecialTarget);
  const int kind = link.U8(field::kSpecialTargetKind);
  if (target != -1 && kind == 0 && document::KindOf(target) == document::testoHtml) {
    fields.page = document::IndexOf(target);
  } else if (target != -1) {
    fields.otherTarget = target;
    fields.otherTargetKind = kind;
  }
  fields.anchor = link.I32(field::kSpecialAnchor);
  fields.action = link.U8(field::kSpecialAction);
  fields.window = link.Str(field::kSpecialWindow, field::kSpecialWindowCapacity);
  return fields;
}

std::unique_ptr<TAEHoggetto> NewSpecialLink(document::TAEHset& set, const SpecialLinkFields& fields) {
  auto link = set.NewObject(document::speclink);
  link->SetSubtype(static_cast<std::uint8_t>(std::clamp(fields.subtype, 1, 6)));
  const int action = std::clamp(fields.action, 0, static_cast<int>(document::kAnchorInPage));
  document::ObjectId target = -1;
  int kind = 0;
  if (fields.subtype == document::kSpecialToObject && action != document::kAnchorInPage) {
    const TAEHoggetto* page = fields.page >= 0 ? set.GetObject(document::testoHtml, fields.page) : nullptr;
    if (page != nullptr && !page->IsFree()) {
      target = page->GetId();
    } else if (fields.page < 0 && fields.otherTarget != -1) {
      target = fields.otherTarget;
      kind = fields.otherTargetKind;
    }
  }
  link->SetI32(field::kSpecialTarget, target);
  link->SetU8(field::kSpecialTargetKind, static_cast<std::uint8_t>(kind));
  link->SetU8(field::kSpecialAction, static_cast<std::uint8_t>(action));
  link->SetI32(field::kSpecialAnchor, fields.anchor);
  link->SetStr(field::kSpecialWindow, field::kSpecialWindowCapacity, fields.window);
  return link;
}

int AddTitledPage(document::TAEHset& set, const std::string& title) {
  auto page = set.NewObject(document::testoHtml);
  if (!title.empty()) page->SetName(title);
  std::string content(kEmptyPage);
  content.push_back('\0');
  page->SetContent(std::move(content));
  TAEHoggetto* registered = set.Register(std::move(page));
  if (registered == nullptr) return -1;
  set.SetModified(true);
  return static_cast<int>(registered->Index());
}

}  // namespace tarn::richtext
