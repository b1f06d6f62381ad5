// Placed objects in a selection's container; see containerobjects.h.
#include "richtext/containerobjects.h"

#include <algorithm>
#include <set>

#include "base/hex.h"
#include "document/objectkinds.h"
#include "markup/tokenizer.h"
#include "platform/messages.h"
#include "richtext/aehtextattributes.h"
#include "richtext/localform.h"

namespace tarn::richtext {
namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// Rewrites the object tags of a markup: answer() gives the new number of a
// tag's object, or -1 for the blank that stands for it.
template <typename Answer>
std::string RewriteObjectTags(std::string_view text, Answer answer) {
  std::string out;
  out.reserve(text.size());
  std::size_t copied = 0;
  markup::Tokenizer tokens(text);
  for (markup::Token t = tokens.Next(); t.kind != markup::TokenKind::kEnd; t = tokens.Next()) {
    if (!t.IsObject()) continue;
    out.append(text.substr(copied, t.at - copied));
    const std::int32_t number = answer(static_cast<std::int32_t>(t.value & 0xFFFFFFu));
    if (number >= 0) {
      out += "<$FF";
      base::AppendHex(out, static_cast<std::uint32_t>(number) & 0xFFFFFFu, 6);
      out += '>';
    } else {
      out.push_back(' ');
    }
    copied = t.End();
  }
  out.append(text.substr(copied));
  return out;
}

}  // namespace

bool ReadContainerEntry(base::ByteReader& in, std::int32_t& kind, std::int32_t& identifier, std::string& record) {
  return in.ReadI32(kind) && in.ReadI32(identifier) && ReadTransferRecord(in, record);
}

std::int32_t ContainerObjectKey(std::int32_t identifier) {
  return static_cast<std::int32_t>((kLocalObjectKind << 24) | (static_cast<std::uint32_t>(identifier) & 0xFFFFFFu));
}

bool ContainerWellFormed(std::string_view bytes, bool refuseTables, bool refuseObjects) {
  base::ByteReader in(bytes);
  std::string record;
  std::int32_t version = 0;
  std::int32_t count = 0;
  std::int32_t kind = 0;
  std::int32_t identifier = 0;
  if (!in.ReadI32(version) || (version != kContainerText && version != kContainerPicture)) return false;
  // Links: kind, identifier, record. Every record takes hundreds of bytes,
  // so a count that claims more than the bytes hold ends at the first
  // missing one.
  if (!in.ReadI32(count) || count < 0) return false;
  for (std::int32_t i = 0; i < count; ++i) {
    if (!ReadContainerEntry(in, kind, identifier, record)) return false;
  }
  // Shared records: kind, record.
  if (!in.ReadI32(count) || count < 0) return false;
  for (std::int32_t i = 0; i < count; ++i) {
    if (!in.ReadI32(kind) || !ReadTransferRecord(in, record)) return false;
  }
  // Objects: kind, identifier, record.
  if (!in.ReadI32(count) || count < 0) return false;
  for (std::int32_t i = 0; i < count; ++i) {
    if (!ReadContainerEntry(in, kind, identifier, record)) return false;
    if (kind == document::tabellaHtml ? refuseTables : refuseObjects) return false;
  }
  std::int32_t paragraphs = 0;
  return in.ReadI32(paragraphs) && paragraphs >= 0;
}

std::string MapObjectTags(std::string_view markup, const IdMap& map) {
  return RewriteObjectTags(markup, [&map](std::int32_t number) -> std::int32_t {
    const auto it = map.find(ContainerObjectKey(number));
    return it != map.end() ? (it->second & 0xFFFFFF) : -1;
  });
}

std::string KeepObjectTags(std::string_view markup, const std::vector<std::int32_t>& numbers) {
  return RewriteObjectTags(markup, [&numbers](std::int32_t number) -> std::int32_t {
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end() ? number : -1;
  });
}

// ---- The commands ----

TAEHTextAttributes::ContainerObjects TAEHTextAttributes::CollectObjects(CharPos from, CharPos to) const {
  ContainerObjects result;
  if (!containerHooks.objectRecord) return result;
  std::set<std::int32_t> images;
  for (int i = from.paragraph; i <= to.paragraph; ++i) {
    CollectPlaced(m_box.Paragraph(i), i == from.paragraph ? from.character : 0, i == to.paragraph ? to.character : -1,
                  result, images, 0);
  }
  return result;
}

bool TAEHTextAttributes::ReadContainerObjects(base::ByteReader& in, IdMap& map, bool samePage) const {
  std::int32_t count = 0;
  if (!in.ReadI32(count) || count < 0) return false;
  std::string record;
  for (std::int32_t i = 0, kind = 0, identifier = 0; i < count; ++i) {
    if (!ReadContainerEntry(in, kind, identifier, record)) return false;
    // Within its own page an object keeps its number.
    if (samePage) continue;
    // A pasted table is a table of its own, never a second reference to
    // the one it was copied from; one that cannot be placed reads as a
    // blank, like any object that stays behind.
    const bool table = kind == document::tabellaHtml;
    if (table ? !containerHooks.addTable : !containerHooks.addObject) continue;
    const std::int32_t number = table ? containerHooks.addTable(record, map) : containerHooks.addObject(kind, record, map);
    if (number >= 0) map[ContainerObjectKey(identifier)] = number;
  }
  return true;
}

bool TAEHTextAttributes::InsertObject(std::int32_t number, std::string_view caption) {
  EmbeddedObject* object = m_box.Host().FindObject(number);
  if (object == nullptr) return false;
  if (m_box.HasSelection()) DeleteSelection();
  EndRuns();
  if (m_box.Caret().paragraph < 0 || m_box.Caret().paragraph >= m_box.ParagraphCount()) {
    if (m_box.Messages() != nullptr) m_box.Messages()->Error("err");
    return false;
  }
  if (!caption.empty()) m_box.Record(caption);
  m_box.BeginUpdate();
  CharPos at = m_box.Caret();
  int first = at.paragraph;
  if (object->IsTable() || m_box.IsTableParagraph(at.paragraph)) {
    // A table stands alone in its paragraph, and nothing else shares a
    // table's paragraph: the text splits around the insertion point.
    if (at.character > 0) {
      m_box.SplitAt(at);
      at = {at.paragraph + 1, 0};
    }
    if (object->IsTable() && m_box.Paragraph(at.paragraph).Length() > 0) m_box.SplitAt(at);
  }
  TAEHparag& p = m_box.Paragraph(at.paragraph);
  CharInfo info;
  info.link = at.character > 0 ? p.infos[Index(at.character - 1)].link : -1;
  info.width = object->Width();
  info.height = object->Height();
  info.ascent = object->Height();
  p.objects.push_back(object);
  info.object = static_cast<std::int32_t>(p.objects.size() - 1);
  p.infos.insert(p.infos.begin() + at.character, info);
  p.text.insert(Index(at.character), 1, ' ');
  p.spellingMarks.clear();
  const int last = std::min(m_box.ParagraphCount() - 1, at.paragraph + 1);
  m_box.Rebuild(first, last);
  m_box.LayoutRange(first, last);
  m_box.SetCaret({at.paragraph, at.character + 1});
  m_box.ClearSelection();
  m_box.EndUpdate();
  return true;
}

bool TAEHTextAttributes::MoveSelection(CharPos at) {
  if (!m_box.HasSelection()) return false;
  const CharPos from = m_box.SelectionStart();
  const CharPos to = m_box.SelectionEnd();
  if (!(at < from) && !(to < at)) return false;
  const std::string container = WriteContainer(true);
  EndRuns();
  // One step saves every paragraph the move touches, from the earlier of
  // the selection and the drop point to the later one.
  m_box.SelectRange(std::min(from, at), std::max(to, at));
  m_box.Record(kCaptionDrop);
  m_box.SelectRange(from, to);
  m_box.BeginUpdate();
  m_box.DeleteRange(from, to);
  Finish(from.paragraph, from.paragraph, from);
  if (to < at) {
    // The drop point moves back with the text removed before it.
    if (at.paragraph == to.paragraph) {
      at = {from.paragraph, from.character + (at.character - to.character)};
    } else {
      at.paragraph -= to.paragraph - from.paragraph;
    }
  }
  m_box.SetCaret(at);
  m_box.ClearSelection();
  const bool done = InsertContainer(container, {}, false, true);
  m_box.EndUpdate();
  return done;
}

}  // namespace tarn::richtext
