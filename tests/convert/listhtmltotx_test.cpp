// The export file list: its rows, their files and sizes, checks by
// revision, renaming and the orders it sorts in.
#include "convert/listhtmltotx.h"

#include <gtest/gtest.h>

#include "convert/htmlfixture.h"

namespace tarn::convert {
namespace {

class ListHtmlToTxTest : public testing::HtmlFixture, public ::testing::Test {
 protected:
  ListHtmlToTxTest() {
    first = Page("Beta", "<Z S0 >One");
    second = Page("alpha", "<Z S0 >Two");
    image = set->Register(set->NewObject(document::immagine));
    image->SetName("Logo");
    image->SetFileName("logo.gif");
    image->SetContent("GIF89a");
    first->SetRevision(3);
    second->SetRevision(7);
    list.SetLinkedAEHtoHtml(&html);
  }
  std::vector<std::string> Column(std::string ExportListRow::*field) const {
    std::vector<std::string> values;
    for (const ExportListRow& row : list.Rows()) values.push_back(row.*field);
    return values;
  }
  std::size_t RowOf(const std::string& caption) const {
    for (std::size_t i = 0; i < list.Count(); ++i) {
      if (list.Rows()[i].caption == caption) return i;
    }
    return list.Count();
  }

  document::TAEHoggetto* first = nullptr;
  document::TAEHoggetto* second = nullptr;
  document::TAEHoggetto* image = nullptr;
  TAEHListHtmlToTx list;
};

TEST_F(ListHtmlToTxTest, HtmlListShowsStyleSheetPagesAndListedFilesWithSizesFromDisk) {
  list.FilesToList().Add(image);
  list.Reload();
  // Sorted by type, then caption: CSS, Image, Page (byte order: "Beta" < "alpha").
  EXPECT_EQ(Column(&ExportListRow::caption), (std::vector<std::string>{"Text styles", "Logo", "Beta", "alpha"}));
  EXPECT_EQ(Column(&ExportListRow::type), (std::vector<std::string>{"CSS", "Image", "Page", "Page"}));
  EXPECT_EQ(list.Rows()[0].file, "site_style.css");
  EXPECT_TRUE(list.Rows()[0].checked);
  EXPECT_EQ(list.Rows()[1].size, "6");
  EXPECT_EQ(list.Rows()[2].version, "3");
  // Nothing exported yet: the pages have no sizes.
  EXPECT_EQ(list.Rows()[2].size, "");
  EXPECT_FALSE(list.Rows()[2].checked);

  ASSERT_TRUE(html.ExportSite({first->Index()}));
  list.Reload();
  const ExportListRow& beta = list.Rows()[RowOf("Beta")];
  EXPECT_EQ(beta.size, std::to_string(std::filesystem::file_size(html.ExportPath / beta.file)));
  EXPECT_FALSE(list.Rows()[0].size.empty());
  // No frameless version was written.
  EXPECT_EQ(beta.framelessSize, "");
  EXPECT_EQ(beta.framelessFile, "");
  // The pages to list were used up by the rebuild; the files stay listed.
  EXPECT_TRUE(list.PagesToList().empty());
  EXPECT_EQ(list.FilesToList().Size(), 1u);
  const RowFileNames files = list.RowFiles(RowOf("Beta"));
  EXPECT_EQ(files.main, html.ExportPath / beta.file);
  EXPECT_TRUE(files.frameless.empty());
  EXPECT_EQ(list.RowFiles(0).main, html.ExportPath / "site_style.css");
}

TEST_F(ListHtmlToTxTest, OneFileListHoldsOnlyPagesWithoutFiles) {
  list.ListType = ltOneFile;
  list.FilesToList().Add(image);
  list.Reload();
  ASSERT_EQ(list.Count(), 2u);
  for (const ExportListRow& row : list.Rows()) {
    EXPECT_EQ(row.type, "Page");
    EXPECT_EQ(row.size, "");
    EXPECT_EQ(row.file, "");
    EXPECT_EQ(row.framelessFile, "");
  }
  list.CheckAll(true);
  EXPECT_EQ(list.CheckedPages().size(), 2u);
}

TEST_F(ListHtmlToTxTest, ChecksAndStampsByRevision) {
  list.Reload();
  list.CheckNewerThan(5);
  // The style sheet has no Version and counts as newer than anything small.
  EXPECT_TRUE(list.Rows()[0].checked);
  EXPECT_FALSE(list.Rows()[RowOf("Beta")].checked);
  EXPECT_TRUE(list.Rows()[RowOf("alpha")].checked);
  EXPECT_EQ(list.CheckedPages(), (std::vector<int>{second->Index()}));

  EXPECT_FALSE(list.BumpRowVersion(0, 0));
  EXPECT_FALSE(list.BumpRowVersion(RowOf("Beta"), 4));
  EXPECT_TRUE(list.BumpRowVersion(RowOf("Beta"), 3));
  EXPECT_EQ(first->GetRevision(), 4);
  EXPECT_FALSE(list.BumpRowVersion(99, 0));
  list.SetRowVersion(RowOf("alpha"), 20);
  EXPECT_EQ(second->GetRevision(), 20);
  list.SetRowVersion(99, 1);
  list.RefreshVersions();
  EXPECT_EQ(list.Rows()[RowOf("Beta")].version, "4");
  EXPECT_EQ(list.Rows()[RowOf("alpha")].version, "20");
}

TEST_F(ListHtmlToTxTest, HeaderClicksSortOnlyByTheirColumns) {
  list.Reload();
  const auto before = Column(&ExportListRow::caption);
  EXPECT_FALSE(list.SortByColumn(5));  // "File for frame"
  EXPECT_EQ(Column(&ExportListRow::caption), before);
  second->SetRevision(1);
  list.RefreshVersions();
  EXPECT_TRUE(list.SortByColumn(6));
  // Versions 0 (style sheet, empty), 1, 3.
  EXPECT_EQ(Column(&ExportListRow::caption), (std::vector<std::string>{"Text styles", "alpha", "Beta"}));
  EXPECT_EQ(list.FileSortType(), fsType);
  list.SetFileSortType(fsName);
  EXPECT_EQ(Column(&ExportListRow::caption), (std::vector<std::string>{"Beta", "Text styles", "alpha"}));
}

TEST_F(ListHtmlToTxTest, EditingACaptionRenamesTheRecord) {
  list.Reload();
  EXPECT_FALSE(list.RenameRow(0, "Sheet"));
  ASSERT_TRUE(list.RenameRow(RowOf("Beta"), "Gamma"));
  EXPECT_EQ(first->GetCaption(), "Gamma");
  EXPECT_EQ(list.Rows()[RowOf("Gamma")].caption, "Gamma");
}

TEST_F(ListHtmlToTxTest, UnlinkedListIsEmpty) {
  list.Unlink();
  list.Reload();
  EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
}  // namespace tarn::convert
