// The character format and link commands of a box: colour, face, size,
// style bits and vertical position of the selected characters (or pending
// for the next typed one), links over the selection, and the link and
// style records that travel in a container.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>

#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "platform/messages.h"
#include "richtext/aehtextattributes.h"
#include "richtext/containerobjects.h"
#include "richtext/formatting.h"

namespace tarn::richtext {
namespace {

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// The colours the platform knows by name (the lowest byte is red).
struct NamedColour {
  std::uint32_t value;
  const char* name;
};
constexpr NamedColour kNamedColours[] = {
    {0x000000, "Black"},  {0x000080, "Maroon"},  {0x008000, "Green"},      {0x008080, "Olive"},
    {0x800000, "Navy"},   {0x800080, "Purple"},  {0x808000, "Teal"},       {0x808080, "Gray"},
    {0xC0C0C0, "Silver"}, {0x0000FF, "Red"},     {0x00FF00, "Lime"},       {0x00FFFF, "Yellow"},
    {0xFF0000, "Blue"},   {0xFF00FF, "Fuchsia"}, {0xFFFF00, "Aqua"},       {0xFFFFFF, "White"},
    {0xC0DCC0, "MoneyGreen"}, {0xF0CAA6, "SkyBlue"}, {0xF0FBFF, "Cream"}, {0xA4A0A0, "MedGray"},
};

// Gives the character at c a format holding the font, unless it has one.
void PinFont(TAEHparag& p, int c, const TMyFont& font) {
  if (c >= p.Length() || p.infos[Index(c)].format >= 0) return;
  auto format = std::make_unique<TAEHFontStyle>();
  format->SetBase(p.style.Base());
  format->Assign(font);
  p.infos[Index(c)].format = static_cast<std::int32_t>(p.formats.size());
  p.formats.push_back(std::move(format));
}

void ChangeFormat(TAEHFontStyle& format, const std::function<void(TMyFont&)>& change) {
  TMyFont font = format.Font();
  change(font);
  format.Assign(font);
}

// Every format that starts in from..to (to excluded) takes the change.
void ChangeFormatsIn(TAEHparag& p, int from, int to, const std::function<void(TMyFont&)>& change) {
  const int end = std::min(to, static_cast<int>(p.infos.size()));
  for (int c = std::max(from, 0); c < end; ++c) {
    const std::int32_t f = p.infos[Index(c)].format;
    if (f >= 0 && Index(f) < p.formats.size()) ChangeFormat(*p.formats[Index(f)], change);
  }
}

// The start of the change: the character at the selection start shows the
// changed font, through its own format or a new one.
void ChangeAtStart(TAEHparag& p, int at, const std::function<void(TMyFont&)>& change) {
  if (at >= p.Length()) return;
  const std::int32_t f = p.infos[Index(at)].format;
  if (f >= 0 && Index(f) < p.formats.size()) {
    ChangeFormat(*p.formats[Index(f)], change);
    return;
  }
  const TMyFont before = p.FontAt(at);
  TMyFont after = before;
  change(after);
  if (after != before) PinFont(p, at, after);
}

// A format that shows the font already in force before it says nothing:
// the changed range drops such formats (between from and to, both included).
void DropRedundantFormats(TAEHparag& p, int from, int to) {
  const int end = std::min(to, p.Length() - 1);
  for (int c = std::max(from, 0); c <= end; ++c) {
    CharInfo& info = p.infos[Index(c)];
    if (info.format < 0 || Index(info.format) >= p.formats.size()) continue;
    const TMyFont before = c > 0 ? p.FontAt(c - 1) : p.style.Font();
    if (p.formats[Index(info.format)]->Font() == before) info.format = -1;
  }
}

void ChangeParagraphFont(TAEHparag& p, const std::function<void(TMyFont&)>& change) {
  TMyFont font = p.style.Font();
  change(font);
  p.style.Assign(font);
}

}  // namespace

std::string ColorName(std::uint32_t colour) {
  for (const NamedColour& named : kNamedColours) {
    if (named.value == colour) return named.name;
  }
  // An unnamed colour goes by its hexadecimal value, "$" and eight digits,
  // with the same two leading characters taken off as from "clRed".
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", colour);
  return std::string(text + 2);
}

std::string StyleDescription(std::uint8_t bits) {
  std::string text;
  if ((bits & document::field::style::kItalic) != 0) text += "Italico ";
  if ((bits & document::field::style::kBold) != 0) text += "Grassetto ";
  return text;
}

// ---- Pending formats ----

void TAEHTextAttributes::Pending::ApplyTo(TMyFont& font) const {
  if (colour) font.colour = *colour;
  if (face) font.face = *face;
  if (size) font.size = *size;
  if (style) font.style = *style;
  if (position) font.position = *position;
}

TAEHTextAttributes::Pending& TAEHTextAttributes::PendingAtCaret() {
  // A value chosen at another place of the text no longer waits.
  if (m_pending.caret != m_box.Caret()) m_pending = {};
  m_pending.caret = m_box.Caret();
  m_typing.active = false;
  m_deletion.active = false;
  return m_pending;
}

bool TAEHTextAttributes::HasPending() const { return m_pending.Any() && m_pending.caret == m_box.Caret(); }

void TAEHTextAttributes::ApplyPending(TAEHparag& p, int at, const TMyFont& typingFont) {
  if (!HasPending()) return;
  TMyFont font = typingFont;
  m_pending.ApplyTo(font);
  m_pending = {};
  p.infos[Index(at)].format = -1;
  PinFont(p, at, font);
  PinFont(p, at + 1, typingFont);
}

TMyFont TAEHTextAttributes::CaretFont() const {
  if (m_box.ParagraphCount() == 0) return {};
  TMyFont font;
  if (m_box.HasSelection()) {
    const CharPos from = m_box.SelectionStart();
    font = m_box.Paragraph(from.paragraph).FontAt(from.character);
  } else {
    const CharPos caret = m_box.Caret();
    const TAEHparag& p = m_box.Paragraph(caret.paragraph);
    font = BoxText::TypingFont(p, std::min(caret.character, p.Length()));
  }
  if (HasPending()) m_pending.ApplyTo(font);
  return font;
}

std::int32_t TAEHTextAttributes::Link() const {
  if (m_box.ParagraphCount() == 0) return -1;
  const CharPos at = m_box.HasSelection() ? m_box.SelectionStart() : m_box.Caret();
  const TAEHparag& p = m_box.Paragraph(at.paragraph);
  const auto link = [&p](int c) { return p.infos[Index(c)].link; };
  std::int32_t value = at.character < p.Length() ? link(at.character) : -1;
  if (value == -1 && !m_box.HasSelection() && at.character > 0 && at.character <= p.Length()) {
    value = link(at.character - 1);
  }
  return value;
}

// ---- Character formats ----

TAEHTextAttributes::SelectionCommand TAEHTextAttributes::BeginSelectionCommand(std::string_view caption) {
  EndRuns();
  m_box.Record(caption);
  m_box.BeginUpdate();
  return {m_box.SelectionStart(), m_box.SelectionEnd(), m_box.Anchor(), m_box.ActiveEnd()};
}

void TAEHTextAttributes::FinishSelectionCommand(const SelectionCommand& command) {
  // The fonts changed: the touched paragraphs are measured again.
  m_box.Rebuild(command.from.paragraph, command.to.paragraph);
  m_box.LayoutRange(command.from.paragraph, command.to.paragraph);
  m_box.SetSelection(command.anchor, command.active);
  m_box.EndUpdate();
}

void TAEHTextAttributes::ApplyCharacterFormat(std::string_view caption,
                                              const std::function<void(TMyFont&)>& change) {
  const SelectionCommand command = BeginSelectionCommand(caption);
  const CharPos from = command.from;
  const CharPos to = command.to;
  // The look after the selection stays what it was.
  const TMyFont after = m_box.Paragraph(to.paragraph).FontAt(to.character);

  TAEHparag& first = m_box.Paragraph(from.paragraph);
  ChangeAtStart(first, from.character, change);
  const int firstEnd = from.paragraph == to.paragraph ? to.character : first.Length() + 1;
  ChangeFormatsIn(first, from.character + 1, firstEnd, change);
  for (int i = from.paragraph + 1; i < to.paragraph; ++i) {
    TAEHparag& p = m_box.Paragraph(i);
    ChangeParagraphFont(p, change);
    ChangeFormatsIn(p, 0, p.Length() + 1, change);
  }
  TAEHparag& last = m_box.Paragraph(to.paragraph);
  if (to.paragraph != from.paragraph) {
    ChangeParagraphFont(last, change);
    ChangeFormatsIn(last, 0, to.character, change);
  }
  if (last.FontAt(to.character) != after) PinFont(last, to.character, after);
  for (int i = from.paragraph; i <= to.paragraph; ++i) {
    TAEHparag& p = m_box.Paragraph(i);
    DropRedundantFormats(p, i == from.paragraph ? from.character : 0, i == to.paragraph ? to.character : p.Length());
  }

  FinishSelectionCommand(command);
}

void TAEHTextAttributes::SetColor(std::uint32_t colour) {
  if (!m_box.HasSelection()) {
    PendingAtCaret().colour = colour;
    return;
  }
  ApplyCharacterFormat("Apply color " + ColorName(colour), [colour](TMyFont& f) { f.colour = colour; });
}

void TAEHTextAttributes::SetFace(std::string_view face) {
  if (!m_box.HasSelection()) {
    PendingAtCaret().face = std::string(face);
    return;
  }
  const std::string name(face);
  ApplyCharacterFormat("Apply font " + name, [&name](TMyFont& f) { f.face = name; });
}

void TAEHTextAttributes::SetSize(std::int32_t points) {
  if (!m_box.HasSelection()) {
    PendingAtCaret().size = points;
    return;
  }
  ApplyCharacterFormat("Apply font size " + std::to_string(points), [points](TMyFont& f) { f.size = points; });
}

void TAEHTextAttributes::SetStyleBits(std::uint8_t bits) {
  if (!m_box.HasSelection()) {
    PendingAtCaret().style = bits;
    return;
  }
  ApplyCharacterFormat("Apply font style: " + StyleDescription(bits), [bits](TMyFont& f) { f.style = bits; });
}

void TAEHTextAttributes::ChangeStyleBits(std::uint8_t set, std::uint8_t clear) {
  const auto changed = [set, clear](std::uint8_t old) { return static_cast<std::uint8_t>((old | set) & ~clear); };
  if (!m_box.HasSelection()) {
    // The pending style is the style at the caret with the bits changed.
    const std::uint8_t current = StyleBits();
    PendingAtCaret().style = changed(current);
    return;
  }
  ApplyCharacterFormat("Apply font style: ", [changed](TMyFont& f) { f.style = changed(f.style); });
}

void TAEHTextAttributes::SetPosition(std::uint8_t position) {
  static constexpr const char* kNames[] = {"Normal", "Subscript", "Superscript"};
  if (position > 2) return;
  if (!m_box.HasSelection()) {
    PendingAtCaret().position = position;
    return;
  }
  ApplyCharacterFormat(std::string("Apply font ") + kNames[position],
                       [position](TMyFont& f) { f.position = position; });
}

// ---- Links ----

bool TAEHTextAttributes::SetLink(std::int32_t link) {
  if (!m_box.HasSelection()) {
    if (m_box.Messages() != nullptr) m_box.Messages()->Warning("Selection must exists!");
    return false;
  }
  const SelectionCommand command = BeginSelectionCommand(kCaptionLink);
  const CharPos from = command.from;
  const CharPos to = command.to;
  for (int i = from.paragraph; i <= to.paragraph; ++i) {
    TAEHparag& p = m_box.Paragraph(i);
    const int start = i == from.paragraph ? from.character : 0;
    // A selection that goes on into the next paragraph covers the final
    // entry too, so that the paragraph break carries the link.
    const int end = i == to.paragraph ? to.character : static_cast<int>(p.infos.size());
    for (int c = start; c < end && c < static_cast<int>(p.infos.size()); ++c) p.infos[Index(c)].link = link;
  }
  FinishSelectionCommand(command);
  return true;
}

// ---- The records of a container ----

namespace {

// Reads one record in the object layer's transfer form (index, kind, the
// record buffer, then a file path, a content and an extra block, each with
// its length), checking every length against what is left.
bool ReadRecordStream(base::ByteReader& in, std::string& out) {
  const std::size_t start = in.Position();
  std::string skipped;
  std::int32_t index = 0;
  std::uint8_t kind = 0;
  std::int32_t length = 0;
  std::int32_t reserved = 0;
  if (!in.ReadI32(index) || !in.ReadU8(kind) ||
      !in.ReadBytes(static_cast<std::size_t>(document::kRecordBufferSize), skipped)) {
    return false;
  }
  const auto block = [&in, &skipped](std::int32_t size) {
    return size >= 0 && static_cast<std::size_t>(size) <= in.Remaining() &&
           in.ReadBytes(static_cast<std::size_t>(size), skipped);
  };
  if (!in.ReadI32(length) || !block(length)) return false;                        // file path
  if (!in.ReadI32(length) || !in.ReadI32(reserved) || !block(length)) return false;  // content
  if (!in.ReadI32(length) || !block(length)) return false;                        // extra
  out.assign(in.Bytes().substr(start, in.Position() - start));
  return true;
}

std::int32_t RecordIndex(std::string_view record) {
  std::int32_t index = -1;
  base::ByteReader(record).ReadI32(index);
  return index;
}

constexpr std::int32_t Typed(int kind, std::int32_t index) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(kind) << 24) |
                                   (static_cast<std::uint32_t>(index) & 0xFFFFFFu));
}

}  // namespace

bool ReadTransferRecord(base::ByteReader& in, std::string& out) { return ReadRecordStream(in, out); }

void TAEHTextAttributes::WriteContainerRecords(std::string& out, CharPos from, CharPos to,
                                               const ContainerObjects* objects) const {
  std::set<std::int32_t> links;
  std::set<int> styles;
  for (int i = from.paragraph; i <= to.paragraph; ++i) {
    const TAEHparag& p = m_box.Paragraph(i);
    styles.insert(p.styleIndex);
    const int start = i == from.paragraph ? from.character : 0;
    const int end = i == to.paragraph ? to.character : static_cast<int>(p.infos.size());
    for (int c = start; c < end && c < static_cast<int>(p.infos.size()); ++c) {
      if (p.infos[Index(c)].link != -1) links.insert(p.infos[Index(c)].link);
    }
  }
  if (objects != nullptr) {
    links.insert(objects->links.begin(), objects->links.end());
    CollectTableRecords(objects->tables, links, styles);
  }
  std::string linkPart;
  std::int32_t linkCount = 0;
  if (containerHooks.linkRecord) {
    for (const std::int32_t link : links) {
      const auto [kind, record] = containerHooks.linkRecord(link);
      if (kind < 0 || record.empty()) continue;
      base::AppendI32(linkPart, kind);
      base::AppendI32(linkPart, link);
      linkPart += record;
      ++linkCount;
    }
  }
  // FIXME: the targets of special links travel with them once a pasted
  // special link can have its target translated.
  base::AppendI32(out, linkCount);
  out += linkPart;
  std::string sharedPart;
  std::int32_t sharedCount = 0;
  if (containerHooks.styleRecord) {
    for (const int style : styles) {
      const std::string record = containerHooks.styleRecord(style);
      if (record.empty()) continue;
      base::AppendI32(sharedPart, document::stileParagrafo);
      sharedPart += record;
      ++sharedCount;
    }
  }
  if (objects != nullptr) {
    for (const std::string& image : objects->images) {
      base::AppendI32(sharedPart, document::immagine);
      sharedPart += image;
      ++sharedCount;
    }
  }
  base::AppendI32(out, sharedCount);
  out += sharedPart;
}

bool TAEHTextAttributes::ReadContainerRecords(base::ByteReader& in, IdMap& map, bool samePage) const {
  std::int32_t count = 0;
  std::string record;
  if (!in.ReadI32(count) || count < 0) return false;
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t kind = 0;
    std::int32_t identifier = 0;
    if (!ReadContainerEntry(in, kind, identifier, record)) return false;
    // Within its own page a link keeps its value.
    if (samePage) continue;
    if (kind == document::speclink && containerHooks.addSpecialLink) {
      map[identifier] = containerHooks.addSpecialLink(record, map);
      continue;
    }
    const bool known = kind == document::internetLink || kind == document::speclink;
    map[identifier] = known && containerHooks.addLink ? containerHooks.addLink(kind, record) : -1;
  }
  if (!in.ReadI32(count) || count < 0) return false;
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t kind = 0;
    if (!in.ReadI32(kind) || !ReadRecordStream(in, record)) return false;
    if (kind != document::stileParagrafo && kind != document::immagine && kind != document::mappaClic) {
      if (m_box.Messages() != nullptr) m_box.Messages()->Error("Errore leggendo dati da stream!");
      continue;
    }
    if (kind == document::immagine && !samePage && containerHooks.addImage) {
      map[document::MakeObjectId(kind, RecordIndex(record) & 0xFFFFFF)] = containerHooks.addImage(record);
      continue;
    }
    if (kind != document::stileParagrafo || samePage || !containerHooks.addStyle) continue;
    const int index = containerHooks.addStyle(record);
    if (index >= 0) map[Typed(kind, RecordIndex(record))] = Typed(kind, index);
  }
  return ReadContainerObjects(in, map, samePage);
}

}  // namespace tarn::richtext
