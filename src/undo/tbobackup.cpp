// Undo of the text of a box; see tbobackup.h.
#include "undo/tbobackup.h"

#include <algorithm>

#include "base/bytes.h"
#include "document/aehset.h"

namespace tarn::undo {
using richtext::BoxText;
using richtext::CharPos;
using richtext::EmbeddedObject;
using richtext::TAEHparag;

namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

EmbeddedObject* ObjectAt(const TAEHparag& p, int c) {
  const std::int32_t o = p.infos[Index(c)].object;
  return o >= 0 && static_cast<std::size_t>(o) < p.objects.size() ? p.objects[static_cast<std::size_t>(o)] : nullptr;
}

// The objects placed from `from` up to `to`.
std::vector<EmbeddedObject*> PlacedObjects(const BoxText& text, CharPos from, CharPos to) {
  std::vector<EmbeddedObject*> objects;
  for (int i = from.paragraph; i <= to.paragraph; ++i) {
    const TAEHparag& p = text.Paragraph(i);
    const int start = i == from.paragraph ? from.character : 0;
    const int end = i == to.paragraph ? std::min(to.character, p.Length()) : p.Length();
    for (int c = std::max(start, 0); c < end; ++c) {
      EmbeddedObject* object = ObjectAt(p, c);
      if (object != nullptr && std::find(objects.begin(), objects.end(), object) == objects.end()) {
        objects.push_back(object);
      }
    }
  }
  return objects;
}

CharPos EndOf(const BoxText& text, int paragraph) { return {paragraph, text.Paragraph(paragraph).Length()}; }

}  // namespace

// ---- The box's control ----

TextBoxControl::TextBoxControl(document::TAEHset& set, BoxText& text) : m_set(set), m_text(text) {
  m_text.recorder = this;
}

TextBoxControl::~TextBoxControl() {
  if (m_text.recorder == this) m_text.recorder = nullptr;
}

std::uint64_t TextBoxControl::Record(std::string_view caption, richtext::UndoKind kind) {
  if (onRecorded) onRecorded();
  TAEHundoList* list = UndoListOf(m_set);
  if (list == nullptr || m_text.ParagraphCount() == 0) return 0;
  switch (kind) {
    case richtext::UndoKind::Ordinary: TboBackup::Create(*list, *this, std::string(caption)); break;
    case richtext::UndoKind::Deletion: TcancelBackup::Create(*list, *this, std::string(caption)); break;
    case richtext::UndoKind::CharacterDeletion: TcancelBackup::Create(*list, *this, std::string(caption), true); break;
  }
  return list->NewestStep();
}

std::uint64_t TextBoxControl::NewestStep() const {
  const TAEHundoList* list = UndoListOf(m_set);
  return list != nullptr ? list->NewestStep() : 0;
}

// ---- The ordinary step ----

TboBackup::TboBackup(TAEHundoList& list, std::string caption, TextBoxControl& box, int first, int last,
                     bool withObjects, CharPos from, CharPos to)
    : TAEHbackup(list, std::move(caption), &box),
      m_first(first),
      m_count(last - first + 1),
      m_withObjects(withObjects) {
  const BoxText& text = box.Text();
  m_tail = text.ParagraphCount() - 1 - last;
  m_hadSelection = text.HasSelection();
  m_anchor = m_hadSelection ? text.Anchor() : text.Caret();
  m_active = m_hadSelection ? text.ActiveEnd() : text.Caret();
  for (int i = first; i <= last; ++i) {
    const TAEHparag& p = text.Paragraph(i);
    if (!withObjects) {
      // Tables stay alive: they go by reference.
      richtext::WriteWholeParagraph(p, m_markup, richtext::WriteMode::Relayout);
    } else if (i == first || i == last) {
      // Only the tables inside the range lose their screen objects; the
      // others keep their cells.
      richtext::WriteParagraph(p, m_markup, richtext::WriteMode::TableRange, i == from.paragraph ? from.character : 0,
                               i == to.paragraph ? to.character : -1);
    } else {
      richtext::WriteWholeParagraph(p, m_markup, richtext::WriteMode::Store);
    }
  }
  m_markup.push_back('\0');
  m_markup.shrink_to_fit();
  if (withObjects) SaveObjects(box, from, to);
}

TboBackup* TboBackup::Create(TAEHundoList& list, TextBoxControl& box, std::string caption) {
  const BoxText& text = box.Text();
  const CharPos from = text.SelectionStart();
  const CharPos to = text.SelectionEnd();
  return list.Add(std::unique_ptr<TboBackup>(
      new TboBackup(list, std::move(caption), box, from.paragraph, to.paragraph, false, from, to)));
}

void TboBackup::SaveObjects(TextBoxControl& box, CharPos from, CharPos to) {
  // FIXME: objects inside the cells of a deleted table are found by their
  // numbers when the cells are read back; they are saved here once tables
  // can lose their screen objects.
  for (EmbeddedObject* object : PlacedObjects(box.Text(), from, to)) {
    SavedObject saved;
    saved.number = object->Identifier();
    if (const document::TAEHoggetto* record = box.objectRecord ? box.objectRecord(*object) : nullptr) {
      saved.kind = record->Kind();
      record->SaveToStream(saved.stream);
    }
    m_objects.push_back(std::move(saved));
  }
}

void TboBackup::SetRange(int first, int last) {
  m_rangeFirst = first;
  m_rangeLast = last;
}

bool TboBackup::CurrentRange(const BoxText& text, int& first, int& last) const {
  if (m_rangeFirst >= 0) {
    first = m_rangeFirst;
    last = m_rangeLast;
  } else {
    first = m_first;
    last = text.ParagraphCount() - 1 - m_tail;
  }
  // Anything else means the text is not the one the step was made for:
  // nothing is applied rather than the wrong paragraphs.
  return text.ParagraphCount() > 0 && first >= text.FirstOwn() && last >= first && last <= text.LastOwn();
}

void TboBackup::RecreateObjects(TextBoxControl& box) {
  if (!box.recreateObject) return;
  for (const SavedObject& saved : m_objects) {
    if (saved.stream.empty() || box.Text().Host().FindObject(saved.number) != nullptr) continue;
    std::unique_ptr<document::TAEHoggetto> record = box.Set().NewObject(saved.kind);
    if (!record) continue;
    base::ByteReader reader(saved.stream);
    if (!record->LoadFromStream(reader)) continue;
    box.recreateObject(saved.number, std::move(record));
  }
}

UndoControl* TboBackup::Apply() {
  auto* box = dynamic_cast<TextBoxControl*>(Resolve());
  if (box == nullptr) return nullptr;
  BoxText& text = box->Text();
  int first = 0;
  int last = 0;
  if (!CurrentRange(text, first, last)) return nullptr;

  // The way back: the paragraphs as the change left them.
  const std::vector<EmbeddedObject*> placed = PlacedObjects(text, {first, 0}, EndOf(text, last));
  List().Add(std::unique_ptr<TboBackup>(
      new TboBackup(List(), Caption(), *box, first, last, !placed.empty(), {first, 0}, EndOf(text, last))));

  if (m_withObjects) RecreateObjects(*box);
  richtext::RichText fresh;
  richtext::MarkupStream stream(m_markup);
  richtext::ReadOptions options;
  options.tablesByReference = !m_withObjects;
  richtext::ReadText(fresh, stream, text.Host(), richtext::Origin::Text, options);
  // Our own writer always reads back paragraph for paragraph.
  if (static_cast<int>(fresh.paragraphs.size()) != m_count) return nullptr;

  text.BeginUpdate();
  auto& paragraphs = text.Text().paragraphs;
  const int top = text.Paragraph(first).top;
  const int bottom = text.Paragraph(last).bottom;
  paragraphs.erase(paragraphs.begin() + first, paragraphs.begin() + last + 1);
  for (int i = 0; i < m_count; ++i) {
    paragraphs.insert(paragraphs.begin() + first + i, std::move(fresh.paragraphs[Index(i)]));
  }
  const int restoredLast = first + m_count - 1;
  text.Paragraph(first).top = top;
  text.Paragraph(restoredLast).bottom = bottom;
  if (box->dropObject) {
    const std::vector<EmbeddedObject*> kept = PlacedObjects(text, {first, 0}, EndOf(text, restoredLast));
    for (EmbeddedObject* object : placed) {
      if (std::find(kept.begin(), kept.end(), object) == kept.end()) box->dropObject(*object);
    }
  }
  text.LayoutRange(first, restoredLast);
  PlaceCaret(text);
  text.EndUpdate();
  if (box->onRestored) box->onRestored();
  return box;
}

void TboBackup::PlaceCaret(BoxText& text) const {
  if (m_hadSelection) {
    text.SetSelection(m_anchor, m_active);
  } else {
    text.SetCaret(m_active);
    text.ClearSelection();
  }
}

std::size_t TboBackup::MemoryHeld() const {
  std::size_t bytes = TAEHbackup::MemoryHeld() - sizeof(TAEHbackup) + sizeof(*this) + m_markup.capacity();
  for (const SavedObject& saved : m_objects) bytes += sizeof(saved) + saved.stream.capacity();
  return bytes;
}

// ---- The deletion step ----

TcancelBackup::TcancelBackup(TAEHundoList& list, std::string caption, TextBoxControl& box, CharPos from, CharPos to,
                             bool singleCharacter)
    : TboBackup(list, std::move(caption), box, from.paragraph, to.paragraph, true, from, to),
      m_single(singleCharacter) {}

TcancelBackup* TcancelBackup::Create(TAEHundoList& list, TextBoxControl& box, std::string caption,
                                     bool singleCharacter) {
  const BoxText& text = box.Text();
  return list.Add(std::unique_ptr<TcancelBackup>(new TcancelBackup(
      list, std::move(caption), box, text.SelectionStart(), text.SelectionEnd(), singleCharacter)));
}

void TcancelBackup::PlaceCaret(BoxText& text) const {
  if (!m_single) {
    TboBackup::PlaceCaret(text);
    return;
  }
  // A character deleted on its own: the caret stands after it again.
  text.SetCaret(std::max(m_anchor, m_active));
  text.ClearSelection();
}

}  // namespace tarn::undo
