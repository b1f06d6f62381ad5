// The steps of objects and tables, made on stand-ins for the screen objects
// that implement the undo side (visual objects, tables), and the steps of
// records of the hypertext (images, styles).
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/compose.h"
#include "base/bytes.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"
#include "richtext/aehtextattributes.h"
#include "richtext/documenthost.h"
#include "undo/tbobackup.h"
#include "undo/timbackup.h"
#include "undo/togbackup.h"
#include "undo/ttabackup.h"

namespace tarn::undo {
namespace {

using document::TAEHoggetto;
namespace field = document::field;

// A page view: it numbers the objects on its page.
class FakePage : public UndoControl {
 public:
  TAEHundoIndiciList* UndoChildren() override { return &objects; }
  void UndoRedraw() override { ++redraws; }
  TAEHundoIndiciList objects{this};
  int redraws = 0;
};

// A visual object placed in a text.
class FakeVisual : public UndoVisual, public richtext::EmbeddedObject {
 public:
  FakeVisual(std::unique_ptr<TAEHoggetto> record, int number) : m_record(std::move(record)), m_number(number) {}
  TAEHoggetto& VisualRecord() override { return *m_record; }
  void FinishPendingChange() override { ++finished; }
  int SelectedZone() const override { return zone; }
  void Restored(int selected) override {
    zone = selected;
    ++restored;
  }
  std::int32_t Identifier() const override { return m_number; }
  int Width() const override { return m_record->I16(field::kPlacedWidth); }
  int Height() const override { return 10; }

  int zone = -1;
  int finished = 0;
  int restored = 0;

 private:
  std::unique_ptr<TAEHoggetto> m_record;
  int m_number;
};

// A table of texts with a number per cell.
class FakeTable : public UndoTable {
 public:
  FakeTable(std::unique_ptr<TAEHoggetto> record, std::vector<std::vector<std::string>> texts)
      : cells(std::move(texts)), m_record(std::move(record)) {
    for (auto& row : cells) {
      numbers.emplace_back();
      for (std::size_t c = 0; c < row.size(); ++c) numbers.back().push_back(next++);
    }
    SyncRecord();
  }
  TAEHoggetto& TableRecord() override { return *m_record; }
  int RowCount() const override { return static_cast<int>(cells.size()); }
  int ColumnCount() const override { return cells.empty() ? 0 : static_cast<int>(cells[0].size()); }
  void RemoveRows(int first, int count) override {
    cells.erase(cells.begin() + first, cells.begin() + first + count);
    numbers.erase(numbers.begin() + first, numbers.begin() + first + count);
  }
  void RemoveColumns(int first, int count) override {
    for (std::size_t r = 0; r < cells.size(); ++r) {
      cells[r].erase(cells[r].begin() + first, cells[r].begin() + first + count);
      numbers[r].erase(numbers[r].begin() + first, numbers[r].begin() + first + count);
    }
  }
  void InsertRows(int at, int count, const std::vector<int>& taken) override {
    std::size_t k = 0;
    for (int i = 0; i < count; ++i) {
      std::vector<int> row;
      for (int c = 0; c < ColumnCount(); ++c, ++k) row.push_back(k < taken.size() ? taken[k] : next++);
      numbers.insert(numbers.begin() + at + i, row);
      cells.insert(cells.begin() + at + i, std::vector<std::string>(row.size()));
    }
  }
  void InsertColumns(int at, int count, const std::vector<int>& taken) override {
    for (std::size_t r = 0; r < cells.size(); ++r) {
      for (int i = 0; i < count; ++i) {
        const std::size_t k = r * static_cast<std::size_t>(count) + static_cast<std::size_t>(i);
        numbers[r].insert(numbers[r].begin() + at + i, k < taken.size() ? taken[k] : next++);
        cells[r].insert(cells[r].begin() + at + i, std::string());
      }
    }
  }
  std::vector<int> CellNumbers(int r1, int r2, int c1, int c2) const override {
    std::vector<int> out;
    for (int r = r1; r <= r2; ++r) {
      for (int c = c1; c <= c2; ++c) out.push_back(numbers[r][c]);
    }
    return out;
  }
  void SaveCells(std::string& out, int r1, int r2, int c1, int c2) override {
    base::AppendI32(out, 4);
    for (int r = r1; r <= r2; ++r) {
      for (int c = c1; c <= c2; ++c) {
        base::AppendI32(out, static_cast<std::int32_t>(cells[r][c].size()));
        out += cells[r][c];
      }
    }
    base::AppendI32(out, 0);
  }
  void LoadCells(std::string_view in, int r1, int r2, int c1, int c2) override {
    base::ByteReader reader(in);
    std::int32_t value = 0;
    if (!reader.ReadI32(value) || value != 4) return;
    for (int r = r1; r <= r2; ++r) {
      for (int c = c1; c <= c2; ++c) {
        std::int32_t length = 0;
        if (!reader.ReadI32(length) || !reader.ReadBytes(static_cast<std::size_t>(length), cells[r][c])) return;
      }
    }
  }
  void Restored(bool columnsChanged, int focusRow, int focusColumn) override {
    restored.push_back({columnsChanged, focusRow, focusColumn});
  }
  // The record says what the cells are (as the table's own commands keep it).
  void SyncRecord() {
    m_record->SetU8(field::kTableRows, static_cast<std::uint8_t>(RowCount()));
    m_record->SetU8(field::kTableColumns, static_cast<std::uint8_t>(ColumnCount()));
  }
  std::string Texts() const {
    std::string out;
    for (const auto& row : cells) {
      for (const auto& cell : row) out += (cell.empty() ? "." : cell) + " ";
      out += "| ";
    }
    return out;
  }

  struct Restore {
    bool columnsChanged;
    int row;
    int column;
    bool operator==(const Restore&) const = default;
  };
  std::vector<Restore> restored;
  std::vector<std::vector<std::string>> cells;
  std::vector<std::vector<int>> numbers;
  int next = 10;

 private:
  std::unique_ptr<TAEHoggetto> m_record;
};

class ObjectUndo : public ::testing::Test {
 protected:
  ObjectUndo() : set(env.Services()) { app::Compose(set); }
  TAEHundoList& List() { return *UndoListOf(set); }
  std::string ContentOf(const TAEHoggetto& object) { return object.ReadContent().value_or("(none)"); }

  testing::TestEnv env;
  document::TAEHset set;
  FakePage page;
};

TEST_F(ObjectUndo, PlacedImageResizeAndZones) {
  FakeVisual image(set.NewObject(document::immagineNew), 1);
  page.objects.Put(&image, 1);
  image.VisualRecord().SetI16(field::kPlacedWidth, 100);
  image.zone = 2;
  TimBackup::Create(List(), image, "Image resize");
  EXPECT_EQ(image.finished, 1);  // the zones were written to the record first
  image.VisualRecord().SetI16(field::kPlacedWidth, 250);
  image.zone = -1;

  EXPECT_EQ(List().Undo(), &image);
  EXPECT_EQ(image.Width(), 100);
  EXPECT_EQ(image.zone, 2);
  List().Redo();
  EXPECT_EQ(image.Width(), 250);
  EXPECT_EQ(image.zone, -1);
  EXPECT_EQ(image.restored, 2);
}

TEST_F(ObjectUndo, OtherVisualObjectsGetTheirContentAndExtraBack) {
  FakeVisual button(set.NewObject(document::bottoneCGI), 3);
  page.objects.Put(&button, 3);
  button.VisualRecord().SetContent("old caption");
  button.VisualRecord().SetExtra("script");
  const std::int16_t width = button.VisualRecord().I16(field::kPlacedWidth);
  TimBackup::Create(List(), button, "Button resize");
  button.VisualRecord().SetContent("new caption");
  button.VisualRecord().DropExtra();
  button.VisualRecord().SetI16(field::kPlacedWidth, 7);

  List().Undo();
  EXPECT_EQ(ContentOf(button.VisualRecord()), "old caption");
  EXPECT_EQ(button.VisualRecord().Extra().View(), "script");
  EXPECT_EQ(button.VisualRecord().I16(field::kPlacedWidth), width);
  List().Redo();
  EXPECT_EQ(ContentOf(button.VisualRecord()), "new caption");
  EXPECT_FALSE(button.VisualRecord().Extra().Present());

  // Another kind of object under the number is not this step's object.
  TimBackup::Create(List(), button, "Button resize");
  FakeVisual image(set.NewObject(document::immagineNew), 3);
  page.objects.Put(&image, 3);
  EXPECT_EQ(List().Undo(), nullptr);
  EXPECT_EQ(image.restored, 0);
}

TEST_F(ObjectUndo, TableStructureComesAndGoes) {
  FakeTable table(set.NewObject(document::tabellaHtml), {{"a", "b"}, {"c", "d"}});
  page.objects.Put(&table, 1);
  const std::string twoRows = table.Texts();

  // Add rows: recorded before, undone by taking them away.
  TtaBackup::Create(List(), table, "Add rows")->RowsAdded(1, 1);
  table.InsertRows(1, 1, {});
  table.cells[1] = {"x", "y"};
  table.SyncRecord();
  const std::string threeRows = table.Texts();
  const std::vector<int> added = table.CellNumbers(1, 1, 0, 1);

  List().Undo();
  EXPECT_EQ(table.Texts(), twoRows);
  EXPECT_EQ(table.TableRecord().U8(field::kTableRows), 2);
  List().Redo();  // made again with their texts and numbers
  EXPECT_EQ(table.Texts(), threeRows);
  EXPECT_EQ(table.CellNumbers(1, 1, 0, 1), added);
  EXPECT_EQ(table.TableRecord().U8(field::kTableRows), 3);
  EXPECT_EQ(table.restored.back(), (FakeTable::Restore{false, 1, 0}));

  // Delete cols: the cells are saved before they go.
  const std::vector<int> column = table.CellNumbers(0, 2, 1, 1);
  TtaBackup::Create(List(), table, "Delete cols")->ColumnsDeleted(1, 1);
  table.RemoveColumns(1, 1);
  table.SyncRecord();
  List().Undo();
  EXPECT_EQ(table.Texts(), threeRows);
  EXPECT_EQ(table.CellNumbers(0, 2, 1, 1), column);
  EXPECT_EQ(table.TableRecord().U8(field::kTableColumns), 2);
  EXPECT_EQ(table.restored.back(), (FakeTable::Restore{true, 0, 1}));
  List().Redo();
  EXPECT_EQ(table.Texts(), "a | x | c | ");

  // Modify table: record and content; the current cell keeps the focus.
  table.TableRecord().SetContent("backgrounds");
  TtaBackup::Create(List(), table, "Modify table");
  table.TableRecord().SetU8(field::kTableBorder, 3);
  table.TableRecord().DropContent();
  List().Undo();
  EXPECT_EQ(table.TableRecord().U8(field::kTableBorder), 0);
  EXPECT_EQ(ContentOf(table.TableRecord()), "backgrounds");
  EXPECT_EQ(table.restored.back(), (FakeTable::Restore{false, -1, -1}));

  // A change of structure that no longer fits the table does nothing.
  List().Clear();
  TtaBackup::Create(List(), table, "Add rows")->RowsAdded(2, 5);
  const std::string before = table.Texts();
  EXPECT_EQ(List().Undo(), nullptr);
  EXPECT_EQ(table.Texts(), before);
}

TEST_F(ObjectUndo, ImagesAndStylesOfTheHypertext) {
  page.objects.Register(nullptr);
  // Frame sets repaint when a record of the hypertext changes back.
  List().Controls().Register(&page);
  auto image = set.NewObject(document::immagine);
  image->SetName("logo");
  image->SetContent("first picture");
  TAEHoggetto* registered = set.Register(std::move(image));
  auto other = set.NewObject(document::immagine);
  other->SetContent("second picture");
  set.SetModified(false);
  ASSERT_TRUE(registered->ReplaceContent(std::move(other)));
  EXPECT_EQ(List().Captions(kUndo), std::vector<std::string>{"Modify image logo"});
  EXPECT_TRUE(set.IsModified());
  List().Undo();
  EXPECT_EQ(ContentOf(*registered), "first picture");
  EXPECT_EQ(registered->GetCaption(), "logo");
  EXPECT_EQ(registered->Index(), 0);
  EXPECT_EQ(page.redraws, 1);
  List().Redo();
  EXPECT_EQ(ContentOf(*registered), "second picture");

  TAEHoggetto* style = set.DefaultStyle();
  const std::string name = style->GetCaption();
  TogBackup::Create(List(), *style, "Modify style: " + name);
  style->SetName("Renamed");
  List().Undo();
  EXPECT_EQ(style->GetCaption(), name);
  EXPECT_EQ(set.DefaultStyle(), style);

  // An object outside the hypertext is not recorded.
  auto loose = set.NewObject(document::stileParagrafo);
  EXPECT_EQ(TogBackup::Create(List(), *loose, "Modify style: loose"), nullptr);
}

// A deletion takes an image away with its screen object; undoing it makes
// the image again under its old number, so that an older step of the image
// finds it.
TEST_F(ObjectUndo, UndoingADeletionMakesTheObjectAgainUnderItsNumber) {
  std::map<int, FakeVisual*> placed;
  std::vector<std::unique_ptr<FakeVisual>> made;
  richtext::DocumentHost host(set, &env.measurer, &env.messages);
  host.objectLookup = [&](std::int32_t id) -> richtext::EmbeddedObject* {
    auto it = placed.find(id);
    return it != placed.end() ? it->second : nullptr;
  };
  richtext::BoxText text(host, env.measurer, &env.messages);
  richtext::TAEHTextAttributes commands(text);
  TextBoxControl box(set, text);
  page.objects.Register(&box);
  box.objectRecord = [](const richtext::EmbeddedObject& object) -> const TAEHoggetto* {
    return &const_cast<FakeVisual&>(dynamic_cast<const FakeVisual&>(object)).VisualRecord();
  };
  box.recreateObject = [&](int number, std::unique_ptr<TAEHoggetto> record) -> richtext::EmbeddedObject* {
    made.push_back(std::make_unique<FakeVisual>(std::move(record), number));
    page.objects.Put(made.back().get(), number);
    return placed[number] = made.back().get();
  };

  made.push_back(std::make_unique<FakeVisual>(set.NewObject(document::immagineNew), 1));
  made.back()->VisualRecord().SetI16(field::kPlacedWidth, 40);
  page.objects.Put(made.back().get(), 1);
  placed[1] = made.back().get();
  const std::string markup = std::string("<Z S0 >ab<$FF000001>cd") + '\0';
  ASSERT_TRUE(text.LoadText(markup));

  TimBackup::Create(List(), *made.back(), "Image resize");
  made.back()->VisualRecord().SetI16(field::kPlacedWidth, 80);
  text.SelectRange({0, 1}, {0, 4});
  commands.DeleteSelection();
  EXPECT_EQ(text.SaveText(), std::string("<Z S0 >ad") + '\0');
  // The deletion took the screen object with it.
  placed.erase(1);
  made.front().reset();

  EXPECT_EQ(List().Undo(), &box);
  EXPECT_EQ(text.SaveText(), markup);
  ASSERT_EQ(made.size(), 2u);
  FakeVisual& again = *made.back();
  EXPECT_EQ(page.objects.Lookup(1), &again);
  EXPECT_EQ(again.Width(), 80);  // as the deletion found it
  EXPECT_EQ(List().Undo(), &again);
  EXPECT_EQ(again.Width(), 40);
}

}  // namespace
}  // namespace tarn::undo
