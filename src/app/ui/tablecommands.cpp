// The table commands of the window; see tablecommands.h.
#include "app/ui/tablecommands.h"

#include <QDialog>

#include <string>

#include "app/ui/commandset.h"
#include "base/bytes.h"
#include "base/hex.h"
#include "document/aehset.h"
#include "objects/ui/framesetwidget.h"
#include "objects/ui/tablebox.h"
#include "objects/ui/tabledialogs.h"
#include "page/aehpage.h"
#include "page/workingcopy.h"
#include "platform/qt/qtstrings.h"
#include "richtext/aehtextattributes.h"
#include "richtext/ui/aehbox.h"

namespace tarn::app::ui {
namespace {
using objects::ui::TMyyTable;
using richtext::CellPos;

constexpr std::string_view kCaptionObjectInsertion = "Object insertion";

objects::ui::ImageChoices Images(document::TAEHset& set) {
  objects::ui::ImageChoices images;
  for (int i = 0; i < set.CountOf(document::immagine); ++i) {
    const document::TAEHoggetto* image = set.GetObject(document::immagine, i);
    if (image == nullptr || image->IsFree()) continue;
    std::string name = image->GetCaption();
    if (name.empty()) name = image->FileName();
    images.emplace_back(i, platform::qt::ToQString(name));
  }
  return images;
}

// The current table and cell: the table of the cell being edited.
TMyyTable* Current(objects::ui::TInsiemeCornici& editor, CellPos& at) {
  if (editor.ReadOnly()) return nullptr;
  return objects::ui::TableOfBox(editor.ActiveBox(), &at);
}

// Places a new table record in the box's text at the caret, in a paragraph
// of its own, and answers its screen table.
TMyyTable* InsertTable(objects::ui::TInsiemeCornici& editor, richtext::ui::TAEHbox& box, const richtext::NewTable& n) {
  page::TAEHpage* view = editor.PageOfBox(&box);
  if (view == nullptr || view->Working() == nullptr) return nullptr;
  document::TAEHset& set = view->Host().LinkedAEHset();
  auto record = set.NewObject(document::tabellaHtml);
  record->InitNew();
  richtext::FillNewTable(*record, n);
  const int number = view->Working()->AddObject(std::move(record));
  std::string markup = "<Z S0 ><$FF";
  base::AppendHex(markup, static_cast<std::uint32_t>(number), 6);
  markup += "><Z S0 >";
  std::string container;
  base::AppendI32(container, richtext::kContainerText);
  for (int k = 0; k < 3; ++k) base::AppendI32(container, 0);
  base::AppendI32(container, 2);
  container += markup;
  container.push_back('\0');
  if (!box.TextAttributes().InsertContainer(container, kCaptionObjectInsertion, false, true)) return nullptr;
  box.SelectRange(box.Text().Caret(), box.Text().Caret());
  for (auto* table : box.findChildren<TMyyTable*>()) {
    if (table->Identifier() == number) return table;
  }
  return nullptr;
}

}  // namespace

std::function<int(QDialog&)>& TableDialogRunner() {
  static std::function<int(QDialog&)> runner = [](QDialog& dialog) {
    const int result = dialog.exec();
    // Without a window manager to hand it back, the window the dialog came
    // from stays inactive when the dialog closes: the caret blinks in the
    // new table but the window's shortcuts (Ctrl+Z among them) are dead.
    if (QWidget* parent = dialog.parentWidget()) parent->window()->activateWindow();
    return result;
  };
  return runner;
}

void BindTableCommands(CommandSet& commands, objects::ui::TInsiemeCornici& editor, std::function<void()> changed) {
  auto done = [&editor, changed] {
    if (changed) changed();
  };

  commands.Bind("TableButtonClick", [&editor, done](const CommandCall&) {
    richtext::ui::TAEHbox* box = editor.ReadOnly() ? nullptr : editor.ActiveBox();
    page::TAEHpage* view = box != nullptr ? editor.PageOfBox(box) : nullptr;
    if (view == nullptr) return;
    objects::ui::TFnewTable dialog(Images(view->Host().LinkedAEHset()), &editor);
    if (TableDialogRunner()(dialog) != QDialog::Accepted) return;
    if (TMyyTable* table = InsertTable(editor, *box, dialog.Result())) {
      table->EnterFirstCell();
    }
    done();
  });

  commands.Bind("ProprietaTabellaClick", [&editor, done](const CommandCall&) {
    CellPos at;
    TMyyTable* table = Current(editor, at);
    if (table == nullptr) return;
    richtext::TableProperties before = richtext::ReadTableProperties(table->Record(), at, true);
    // A cell selection is offered as the cells the background goes to.
    if (table->HasCellSelection()) {
      const TMyyTable::CellRange range = table->SelectedCells();
      before.selection = {range.r1, range.c1, range.r2, range.c2};
      before.applyTo = richtext::kApplySelectedCells;
    }
    objects::ui::TFtableProperties dialog(before, Images(table->Set()), &editor);
    if (TableDialogRunner()(dialog) != QDialog::Accepted) return;
    table->BeginTableEdit();
    richtext::ApplyTableProperties(table->Record(), dialog.Result(), at);
    table->RecordChanged();
    table->FocusCell(at.row, at.column, false);
    done();
  });

  auto addRow = [&editor, done](const CommandCall&) {
    CellPos at;
    if (TMyyTable* table = Current(editor, at)) {
      table->InsertRows(at.row, 1);
      done();
    }
  };
  auto addColumn = [&editor, done](const CommandCall&) {
    CellPos at;
    if (TMyyTable* table = Current(editor, at)) {
      table->InsertColumns(at.column, 1);
      done();
    }
  };
  commands.Bind("Aggiungiriga1Click", addRow);
  commands.Bind("AddRowClick", addRow);
  commands.Bind("Aggiungicolonna1Click", addColumn);
  commands.Bind("AddColClick", addColumn);

  commands.Bind("Eliminariga1Click", [&editor, done](const CommandCall& call) {
    CellPos at;
    TMyyTable* table = Current(editor, at);
    if (table == nullptr) return;
    // The button stays off while its deletion is under way.
    if (call.action != nullptr) call.action->setEnabled(false);
    // Every row of a cell selection, else the current cell's.
    const TMyyTable::CellRange range = table->SelectedCells();
    if (range.r1 >= 0) {
      table->DeleteRows(range.r1, range.r2);
    } else {
      table->DeleteRows(at.row, at.row);
    }
    if (call.action != nullptr) call.action->setEnabled(true);
    done();
  });
  commands.Bind("Eliminacolonna1Click", [&editor, done](const CommandCall& call) {
    CellPos at;
    TMyyTable* table = Current(editor, at);
    if (table == nullptr) return;
    if (call.action != nullptr) call.action->setEnabled(false);
    const TMyyTable::CellRange range = table->SelectedCells();
    if (range.r1 >= 0) {
      table->DeleteColumns(range.c1, range.c2);
    } else {
      table->DeleteColumns(at.column, at.column);
    }
    if (call.action != nullptr) call.action->setEnabled(true);
    done();
  });

  commands.Bind("Aggiungi1Click", [&editor, done](const CommandCall&) {
    CellPos at;
    TMyyTable* table = Current(editor, at);
    if (table == nullptr) return;
    objects::ui::TFaddCells dialog(&editor);
    if (TableDialogRunner()(dialog) != QDialog::Accepted) return;
    if (dialog.Rows()) {
      table->InsertRows(at.row + dialog.Position(), dialog.Count());
    } else {
      table->InsertColumns(at.column + dialog.Position(), dialog.Count());
    }
    done();
  });

  commands.Bind("Selezionatabella1Click", [&editor, done](const CommandCall&) {
    CellPos at;
    TMyyTable* table = Current(editor, at);
    richtext::ui::TAEHbox* holder = table != nullptr ? table->Holder() : nullptr;
    richtext::CharPos place;
    if (holder == nullptr || !table->PlaceInHolder(place)) return;
    holder->setFocus(Qt::OtherFocusReason);
    holder->SelectRange(place, {place.paragraph, place.character + 1});
    done();
  });
}

}  // namespace tarn::app::ui
