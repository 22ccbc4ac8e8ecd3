// Reading a row before a write and writing it back: what undo relies on.
#include "TestSupport.h"

#include "core/Error.h"
#include "core/store/ProjectDb.h"
#include "core/store/RowSnapshot.h"

#include <gtest/gtest.h>

namespace pluvane {
namespace {

void exec(const Workspace& ws, const std::string& sql) {
    Database db = OpenProjectDb(ws);
    db.exec(sql);
}

std::vector<Record> rowsOf(const Workspace& ws, const std::string& sql) {
    Database db = Database::open(ws.ProjectPath, Database::Mode::ReadOnly);
    Statement q = db.prepare(sql);
    return readAll(q);
}

class RowSnapshotTest : public ::testing::TestWithParam<ElementKind> {
protected:
    test::TempFolder folder;
    Workspace ws = test::MakeWorkspace(folder);
};

TEST_P(RowSnapshotTest, AnElementRowGoesBackAsItWasAndTheOthersStay) {
    const ElementKindInfo& info = kindInfo(GetParam());
    const std::string table(info.table), tag(info.tagColumn), name(info.nameColumn),
        left(info.leftColumn);
    exec(ws, "INSERT INTO " + table + " (" + tag + ", " + name + ", " + left +
                 ", Deleted) VALUES "
                 "('A1', 'First', '600', 'False'), ('A2', 'Other', '900', 'False')");
    const std::optional<RowValues> before = ReadRow(ws, RowKey::element(GetParam(), "A1"));
    ASSERT_TRUE(before);
    EXPECT_EQ(before->at(name), "First");
    EXPECT_EQ(before->at(left), "600");

    exec(ws, "UPDATE " + table + " SET " + name + " = 'Changed', " + left + " = NULL WHERE " + tag +
                 " = 'A1'");
    WriteRow(ws, RowKey::element(GetParam(), "A1"), before);
    const auto rows = rowsOf(ws, "SELECT * FROM " + table + " ORDER BY rowid");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text(name), "First");
    EXPECT_EQ(rows[0].get(left), std::optional<std::string>("600"));
    EXPECT_EQ(rows[1].text(name), "Other"); // the other row is not touched

    // A NULL column is written back as NULL, not as text.
    RowValues withNull = *before;
    withNull[left] = std::nullopt;
    WriteRow(ws, RowKey::element(GetParam(), "A1"), withNull);
    EXPECT_EQ(rowsOf(ws, "SELECT * FROM " + table + " WHERE " + tag + " = 'A1'")[0].get(left),
              std::nullopt);

    // Absent: the row goes; written again: it comes back.
    WriteRow(ws, RowKey::element(GetParam(), "A1"), std::nullopt);
    EXPECT_FALSE(ReadRow(ws, RowKey::element(GetParam(), "A1")));
    WriteRow(ws, RowKey::element(GetParam(), "A1"), before);
    EXPECT_EQ(ReadRow(ws, RowKey::element(GetParam(), "A1")), before);

    // The Deleted mark by tag, and a tag no row carries.
    EXPECT_TRUE(SetElementDeleted(ws, GetParam(), "A2", true));
    EXPECT_EQ(
        rowsOf(ws, "SELECT Deleted FROM " + table + " WHERE " + tag + " = 'A2'")[0].text("Deleted"),
        "True");
    EXPECT_FALSE(SetElementDeleted(ws, GetParam(), "Missing", true));
}

INSTANTIATE_TEST_SUITE_P(Kinds, RowSnapshotTest,
                         ::testing::Values(ElementKind::Basin, ElementKind::Surface,
                                           ElementKind::Channel),
                         [](const auto& info) {
                             return std::string(kindInfo(info.param).tagWord);
                         });

TEST(RowSnapshot, UntaggedRowsAndRefusedWrites) {
    test::TempFolder folder;
    Workspace ws = test::MakeWorkspace(folder);
    EXPECT_FALSE(ReadRow(ws, RowKey::node()));
    exec(ws, "INSERT INTO TblNodeInfo (NodeName, NodeX) VALUES ('Outfall', '5040')");
    exec(
        ws,
        "INSERT INTO TblProjectInfo (ProjectName) VALUES ('Old'); INSERT INTO TblProjectInfo (ProjectName) VALUES ('Last')");
    EXPECT_EQ(ReadRow(ws, RowKey::project())->at("ProjectName"),
              "Last"); // the row the setup rewrites
    const auto node = ReadRow(ws, RowKey::node());
    exec(ws, "UPDATE TblNodeInfo SET NodeName = 'New'");
    WriteRow(ws, RowKey::node(), node);
    EXPECT_EQ(rowsOf(ws, "SELECT NodeName FROM TblNodeInfo")[0].text("NodeName"), "Outfall");

    // A column the table lacks, or a table that is not a project table, writes nothing.
    RowValues bad = *node;
    bad["NodeName"] = "Half";
    bad["NoSuchColumn\"; DROP TABLE TblNodeInfo; --"] = "x";
    EXPECT_NE(
        test::ErrorMessageOf([&] { WriteRow(ws, RowKey::node(), bad); }).find("has no column"),
        std::string::npos);
    EXPECT_EQ(rowsOf(ws, "SELECT NodeName FROM TblNodeInfo")[0].text("NodeName"), "Outfall");
    EXPECT_FALSE(test::ErrorMessageOf([&] {
                     ReadRow(ws, RowKey{"sqlite_master", "", "", false});
                 }).empty());
    EXPECT_FALSE(
        test::ErrorMessageOf([&] { SetElementDeleted(ws, ElementKind::Node, "", true); }).empty());
}

} // namespace
} // namespace pluvane
