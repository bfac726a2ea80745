// The relocation window's folder list: what rows it shows for an opened folder, how far in, which
// is selected, and what a double click on a row opens.
#include <gtest/gtest.h>

#include "relocate/FolderList.h"

namespace {

std::vector<std::string> Texts(const FolderList& list) {
    std::vector<std::string> texts;
    for (const auto& row : list.rows) texts.push_back(row.text);
    return texts;
}

}  // namespace

TEST(FolderList, ShowsTheWayDownThenTheSubfoldersSorted) {
    const FolderList list = MakeFolderList("C:\\Menu\\Disc", {"zeta", "Alpha", "beta"});
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"C:\\", "  Menu", "    Disc", "      Alpha", "      beta",
                                                     "      zeta"}));
    EXPECT_EQ(list.selected, 2);  // the opened folder
    EXPECT_EQ(list.Opened(0), "C:\\");
    EXPECT_EQ(list.Opened(1), "C:\\Menu");
    EXPECT_EQ(list.Opened(3), "C:\\Menu\\Disc\\Alpha");
    EXPECT_EQ(list.Opened(5), "C:\\Menu\\Disc\\zeta");
}

TEST(FolderList, ARootIsItsOwnOnlyAncestor) {
    const FolderList list = MakeFolderList("D:\\", {"Setup"});
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"D:\\", "  Setup"}));
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(list.Opened(1), "D:\\Setup");  // one backslash, not two

    const FolderList empty = MakeFolderList("E:\\", {});
    EXPECT_EQ(Texts(empty), (std::vector<std::string>{"E:\\"}));
    EXPECT_EQ(empty.selected, 0);
}

TEST(FolderList, ADoubleClickOffTheRowsOpensNothing) {
    const FolderList list = MakeFolderList("C:\\Menu", {});
    EXPECT_EQ(list.Opened(-1), std::nullopt);  // no row selected
    EXPECT_EQ(list.Opened(2), std::nullopt);
}

TEST(FolderList, AFolderIsOpenedWithoutItsTrailingBackslash) {
    EXPECT_EQ(OpenedFolderPath("C:\\Menu\\"), "C:\\Menu");
    EXPECT_EQ(OpenedFolderPath("C:\\"), "C:\\");
    EXPECT_EQ(OpenedFolderPath("C:\\Menu"), "C:\\Menu");
    EXPECT_EQ(FolderChild("C:\\Menu", "*"), "C:\\Menu\\*");
    EXPECT_EQ(FolderChild("C:\\", "*"), "C:\\*");
}
