// The tables of copied selections; see tablecontainer.h.
#include "page/tablecontainer.h"

#include "base/bytes.h"
#include "document/aehset.h"
#include "document/objectkinds.h"
#include "page/workingcopy.h"
#include "richtext/aehtextattributes.h"
#include "richtext/tablerecord.h"

namespace tarn::page {

void ConnectTableRecords(richtext::TAEHTextAttributes& commands, document::TAEHset& set, WorkingCopy& copy) {
  auto& hooks = commands.containerHooks;
  // The set and the working copy outlive the box's commands.
  hooks.tableRecord = [&copy](std::int32_t number) {
    std::string stream;
    const document::TAEHoggetto* record = copy.Object(number);
    if (record != nullptr && record->Kind() == document::tabellaHtml) record->SaveToStream(stream);
    return stream;
  };
  hooks.addTable = [&set, &copy](std::string_view stream) -> std::int32_t {
    std::unique_ptr<document::TAEHoggetto> table = set.NewObject(document::tabellaHtml);
    base::ByteReader in(stream);
    // A record that does not read as a table the reader can show is left
    // out: its place in the text becomes a blank.
    if (!table->LoadFromStream(in) || table->Kind() != document::tabellaHtml || !richtext::ReadTableShape(*table)) {
      return -1;
    }
    return copy.AddObject(std::move(table));
  };
}

}  // namespace tarn::page
