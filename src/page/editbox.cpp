// A page's editable text box without a display; see editbox.h.
#include "page/editbox.h"

#include "document/aehset.h"
#include "page/containerrecords.h"
#include "richtext/documenthost.h"
#include "richtext/pageobjects.h"

namespace tarn::page {

EditBox::EditBox(TAEHset& set, WorkingCopy& copy, platform::TextMeasurer& layout, int width)
    : m_host(std::make_unique<richtext::DocumentHost>(set, set.Services().measurer, set.Services().messages)),
      m_objects(copy, m_host.get(), &layout),
      m_text(*m_host, layout, set.Services().messages),
      m_textCommands(m_text),
      m_paraCommands(m_text),
      m_control(set, m_text) {
  m_host->objectLookup = [this](std::int32_t id) { return m_objects.Find(id); };
  m_text.onReadSection = [this](richtext::Origin origin) { m_objects.SetSection(origin); };
  m_control.onRecorded = [this] { modified = true; };
  // The working copy outlives its box (the page view drops the box first).
  m_control.objectRecord = [&copy](const richtext::EmbeddedObject& object) -> const document::TAEHoggetto* {
    return copy.Object(object.Identifier());
  };
  ConnectContainerRecords(m_textCommands, set, copy, [this, &copy](std::unique_ptr<document::TAEHoggetto> record) {
    if (record == nullptr) return -1;
    const int number = copy.AddObject(std::move(record));
    m_objects.AddOwn(std::make_unique<richtext::RecordObject>(number, copy.Object(number)));
    return number;
  });
  // A pasted table joins the box's objects too, under the number the
  // working copy gave it, so that the objects after it keep theirs.
  m_textCommands.containerHooks.addTable = [this, &copy, add = m_textCommands.containerHooks.addTable](
                                               std::string_view record, const richtext::IdMap& map) -> std::int32_t {
    const std::int32_t number = add ? add(record, map) : -1;
    if (number >= 0) m_objects.AddOwn(std::make_unique<richtext::RecordObject>(number, copy.Object(number)));
    return number;
  };
  m_text.Layout().layoutWidth = width;
  m_text.Layout().widestExtent = width;
  const std::string header = copy.header ? copy.header->Markup() : std::string();
  const std::string footer = copy.footer ? copy.footer->Markup() : std::string();
  m_text.LoadText(copy.Markup(), header, footer);
}

EditBox::~EditBox() = default;

void EditBox::Select(richtext::RichText& box, int paragraph, int from, int to) {
  if (&box != &m_text.Text() || paragraph < 0 || paragraph >= m_text.ParagraphCount()) return;
  m_text.SelectRange({paragraph, from}, {paragraph, to});
}

}  // namespace tarn::page
