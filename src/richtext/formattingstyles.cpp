// The style list's commands; see formattingstyles.h.
#include "richtext/formattingstyles.h"

#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "document/undostore.h"
#include "markup/tokenizer.h"

namespace tarn::richtext {
namespace {

using document::TAEHoggetto;

bool NamesStyle(std::string_view markup, int index) {
  markup::Tokenizer tokens(markup);
  for (markup::Token t = tokens.Next(); t.kind != markup::TokenKind::kEnd; t = tokens.Next()) {
    if (t.kind == markup::TokenKind::kParagraphTag && tokens.Codes().Has(markup::Code::kStyle) &&
        tokens.Codes().Number(markup::Code::kStyle) == index) {
      return true;
    }
  }
  return false;
}

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

TAEHoggetto* LiveStyle(const document::TAEHset& set, int index) {
  TAEHoggetto* style = set.GetObject(document::stileParagrafo, index);
  return style != nullptr && !style->IsFree() ? style : nullptr;
}

}  // namespace

int PagesUsingStyle(const document::TAEHset& set, int index) {
  int pages = 0;
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    const auto* page = dynamic_cast<const document::TAEHtesto*>(set.GetObject(document::testoHtml, i));
    if (page == nullptr || page->IsFree()) continue;
    if (NamesStyle(page->Markup(), index)) ++pages;
  }
  return pages;
}

int AddNewStyle(document::TAEHset& set) {
  int n = 0;
  while (set.StyleExists("New style " + std::to_string(n))) ++n;
  const std::string name = "New style " + std::to_string(n);
  auto style = set.NewObject(document::stileParagrafo);
  style->SetName(name);
  if (set.Register(std::move(style)) == nullptr) return -1;
  set.SetModified(true);
  return set.StyleIndex(name);
}

StyleChange RenameStyle(document::TAEHset& set, int index, std::string_view name) {
  TAEHoggetto* style = LiveStyle(set, index);
  if (style == nullptr) return StyleChange::kMissing;
  if (index <= 1) return StyleChange::kDefault;
  // The record holds 32 bytes of name: the check is on what is stored.
  std::string trimmed = Trimmed(name);
  trimmed = Trimmed(trimmed.substr(0, document::field::style::kNameCapacity));
  if (trimmed.empty()) return StyleChange::kEmptyName;
  const int other = set.StyleIndex(trimmed);
  if (other >= 0 && other != index) return StyleChange::kNameTaken;
  style->SetName(trimmed);
  set.SetModified(true);
  return StyleChange::kDone;
}

StyleChange DeleteStyle(document::TAEHset& set, int index, int& pages) {
  pages = 0;
  TAEHoggetto* style = LiveStyle(set, index);
  if (style == nullptr) return StyleChange::kMissing;
  if (index <= 1) return StyleChange::kDefault;
  pages = PagesUsingStyle(set, index);
  if (pages > 0) return StyleChange::kInUse;
  style->Clear();
  set.SetModified(true);
  // Undo steps keep paragraphs by style index, and the next new style takes
  // this slot: an older step would bring its paragraphs back in that style.
  // The steps go with the style.
  if (document::UndoStore* undo = set.Undo()) undo->Clear();
  return StyleChange::kDone;
}

std::string StyleChangeMessage(StyleChange change, std::string_view name, int pages) {
  const std::string quoted = "\"" + std::string(name) + "\"";
  switch (change) {
    case StyleChange::kDone: return {};
    case StyleChange::kMissing: return "The style " + quoted + " does not exist.";
    case StyleChange::kDefault: return "The style " + quoted + " is a default style and cannot be changed this way.";
    case StyleChange::kEmptyName: return "A style needs a name.";
    case StyleChange::kNameTaken: return "A style named " + quoted + " already exists.";
    case StyleChange::kInUse:
      return "The style " + quoted + " is used by " + std::to_string(pages) + (pages == 1 ? " page" : " pages") +
             ". Give those paragraphs another style first.";
  }
  return {};
}

}  // namespace tarn::richtext
