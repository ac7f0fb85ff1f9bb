// The resource list's column layout, selection and select-all rules.
#include <gtest/gtest.h>

#include "resource_list_model.h"
#include "wide_text.h"

namespace {

using glyphmill::ColumnAlignment;
using glyphmill::ResourceListModel;

FileRecord record(const std::u16string &name, const std::u16string &type = u"Font") {
    FileRecord r{};
    kdx::setField(r.memory, u"FLASH");
    kdx::setField(r.name, name);
    kdx::setField(r.type, type);
    kdx::setField(r.size, u"1024");
    return r;
}

std::vector<std::u16string> names(const std::vector<FileRecord> &records) {
    std::vector<std::u16string> out;
    for (const FileRecord &r : records) out.emplace_back(kdx::fieldOf(r.name));
    return out;
}

ResourceListModel listOf(std::initializer_list<const char16_t *> files) {
    std::vector<FileRecord> records;
    for (const char16_t *file : files) records.push_back(record(file));
    ResourceListModel model;
    model.setRecords(records);
    return model;
}

TEST(ColumnLayout, WidthAndAlignmentRules) {
    struct Case {
        std::u16string layout;
        std::u16string title;
        int width;
        ColumnAlignment alignment;
    };
    const Case cases[] = {
        {u"Name,120", u"Name", 120, ColumnAlignment::Left},
        {u"Name", u"Name", 100, ColumnAlignment::Left},        // no width
        {u"Name,wide", u"Name", 100, ColumnAlignment::Left},   // not a number
        {u"Size,80,1", u"Size", 80, ColumnAlignment::Centre},
        {u"Size,80,2", u"Size", 80, ColumnAlignment::Right},
        {u"Size,80,7", u"Size", 80, ColumnAlignment::Left},
    };
    for (const Case &c : cases) {
        const auto columns = glyphmill::ParseColumnLayout(c.layout);
        ASSERT_EQ(columns.size(), 1u);
        EXPECT_EQ(columns[0].title, c.title);
        EXPECT_EQ(columns[0].width, c.width);
        EXPECT_EQ(columns[0].alignment, c.alignment);
    }
}

TEST(ColumnLayout, TheFourResourceColumns) {
    const auto layout = glyphmill::ResourceColumnLayout({u"Memory", u"Name", u"Type", u"Size"});
    EXPECT_EQ(layout, u"Memory,120;Name,120;Type,140;Size,120");
    const auto columns = glyphmill::ParseColumnLayout(layout);
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[2].width, 140);
    EXPECT_EQ(columns[3].title, u"Size");
}

TEST(ResourceList, RowsShowTheRecordFieldsInOrder) {
    const auto texts = glyphmill::RowTexts(record(u"LOGO.GRF", u"Graphic"));
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"FLASH", u"LOGO.GRF", u"Graphic", u"1024"}));
}

TEST(ResourceList, DeletingThreeOfFiveKeepsTheOthersInOrder) {
    ResourceListModel model = listOf({u"A", u"B", u"C", u"D", u"E"});
    for (std::size_t row : {0u, 2u, 3u}) model.select(row, true);
    EXPECT_EQ(names(model.selectedRecords()), (std::vector<std::u16string>{u"A", u"C", u"D"}));
    model.removeSelected();
    EXPECT_EQ(names(model.records()), (std::vector<std::u16string>{u"B", u"E"}));
    EXPECT_EQ(model.selectedCount(), 0u);
}

TEST(ResourceList, SelectAllBoxFollowsTheRows) {
    ResourceListModel model = listOf({u"A", u"B", u"C"});
    model.toggleSelectAll();
    EXPECT_TRUE(model.selectAll());
    EXPECT_EQ(model.selectedCount(), 3u);
    model.select(1, false);  // one row deselected clears the box
    EXPECT_FALSE(model.selectAll());
    model.select(1, true);   // every row selected sets it again
    EXPECT_TRUE(model.selectAll());
    model.toggleSelectAll();
    EXPECT_EQ(model.selectedCount(), 0u);
}

TEST(ResourceList, RefreshWithTheBoxSetSelectsEveryNewRow) {
    ResourceListModel model = listOf({u"A"});
    model.toggleSelectAll();
    model.setRecords({record(u"X"), record(u"Y")});
    EXPECT_EQ(model.selectedCount(), 2u);
    EXPECT_TRUE(model.selectAll());
}

TEST(ResourceList, ContextMenuEnabling) {
    ResourceListModel model = listOf({u"A", u"B", u"C"});
    struct Case {
        std::vector<std::size_t> rows;
        bool remove, print;
    };
    const Case cases[] = {{{}, false, false}, {{1}, true, true}, {{0, 2}, true, false}};
    for (const Case &c : cases) {
        std::vector<bool> selection(3, false);
        for (std::size_t row : c.rows) selection[row] = true;
        model.setSelection(selection);
        EXPECT_EQ(model.canDelete(), c.remove) << c.rows.size();
        EXPECT_EQ(model.canTestPrint(), c.print) << c.rows.size();
    }
}

}  // namespace
