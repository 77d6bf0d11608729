#include "update/UpdateReport.h"
#include "document/Tarvin.h"
#include "tests/language/ItemPaths.h"

#include <gtest/gtest.h>

namespace trvx {
namespace {

TEST(UpdateReport, PathSegmentsAreOneLineOfUtf8) {
    struct Case {
        int cp;
        std::string name, path;
    };
    const Case cases[] = {
        {1252, "Form:frmMain", "Form:frmMain"},
        {1252, "a/b\\c", "a\\/b\\\\c"},
        {1252, "x\r\ny\x7F", "x\\x0D\\x0Ay\\x7F"},
        {1252, "\xC4nderung \x80", "\xC3\x84nderung \xE2\x82\xAC"}, // Änderung €
        {1251, "\xC0", "\xD0\x90"},                                 // Cyrillic А
        {1252, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathSegment(c.name, CodePage::Get(c.cp)), c.path) << c.name;
}

TEST(UpdateReport, PathsOfNodesAndValues) {
    TTarvin tree;
    tree.LoadFromText(
        "Top = t\nOBJECTS {\n Form:f {\n Caption = c\n }\n}\n {\n x {\n V = 1\n }\n}\n");
    TTarvinItem& root = tree.Root();
    TTarvinItem& form = root.GetChild(0).GetChild(0);
    TTarvinItem& x = root.GetChild(1).GetChild(0);
    TUpdateLists lists;
    lists.AddedItems.Append(&form);
    lists.AddedValues.Append({&form, 0});
    lists.AddedValues.Append({&root, 0});
    lists.AddedValues.Append({&x, 0});
    // A value of the root has no separator before its ident; an empty name
    // still takes its place between separators.
    const std::vector<std::string> expected = {
        "+ Top (value)", "+ OBJECTS/Form:f", "+ OBJECTS/Form:f/Caption (value)", "+ /x/V (value)"};
    EXPECT_EQ(test::UpdateReportLines(root, lists, CodePage::Get(1252)), expected);
}

TEST(UpdateReport, LinesFollowFileOrderAndSummaryCountsTheLists) {
    TTarvin tree;
    tree.LoadFromText("R = r\nA {\n V0 = 0\n V1 = 1\n B {\n }\n C {\n W = w\n }\n}\nD {\n}\n");
    TTarvinItem& root = tree.Root();
    TTarvinItem& a = root.GetChild(0);
    TUpdateLists lists;
    lists.AddedItems.Append(&a.GetChild(1));
    lists.RemovedItems.Append(&root.GetChild(1));
    lists.RemovedItems.Append(&a.GetChild(0));
    lists.AddedValues.Append({&a.GetChild(1), 0});
    lists.AddedValues.Append({&a, 1});
    lists.RemovedValues.Append({&a, 0});
    lists.RemovedValues.Append({&root, 0});
    const std::vector<std::string> expected = {
        "- R (value)", "- A/V0 (value)", "+ A/V1 (value)", "- A/B", "+ A/C", "+ A/C/W (value)",
        "- D",
    };
    EXPECT_EQ(test::UpdateReportLines(root, lists, CodePage::Get(1252)), expected);
    EXPECT_EQ(UpdateSummary(lists), "added 1 node, 2 values; removed 2 nodes, 2 values");
    lists.ClearUpdateLists();
    EXPECT_TRUE(test::UpdateReportLines(root, lists, CodePage::Get(1252)).empty());
    EXPECT_EQ(UpdateSummary(lists), "added 0 nodes, 0 values; removed 0 nodes, 0 values");
}

} // namespace
} // namespace trvx
