// Existence tests, free names and tree deletion on the real file system.
#include <string>

#include "guitest.h"
#include "store/paths.h"

namespace {
void Touch(const std::string& path)
{
    ASSERT_TRUE(gt::WriteBytes(path, "")) << path;
}
}  // namespace

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateAppState());
        folder_ = gt::MakeTempFolder();
        CopyText(g_app->currentFolder, kPathCap, folder_.c_str());
    }
    void TearDown() override
    {
        gt::RemoveTree(folder_);
        FreeAppState();
    }
    std::string Unique(bool wantFolder, const char* base, const char* ext)
    {
        char out[kPathCap];
        if (!UniqueItemPath(out, sizeof out, wantFolder, base, ext))
            return "<none>";
        return out;
    }
    std::string folder_;
};

TEST_F(PathsTest, ExistenceOfFilesFoldersAndJapaneseNames)
{
    std::string hyo = folder_ + "\\" + gt::Text(u8"表");   // ends in 0x5C in code page 932
    ASSERT_TRUE(CreateDirectoryW(Widen(hyo.c_str()).c_str(), NULL));
    Touch(hyo + "\\" + gt::Text(u8"ソ.txt"));
    EXPECT_TRUE(PathExists(hyo.c_str(), true));
    EXPECT_TRUE(PathExists(hyo.c_str(), false));
    EXPECT_TRUE(PathExists((hyo + "\\" + gt::Text(u8"ソ.txt")).c_str(), false));
    EXPECT_FALSE(PathExists((hyo + "\\" + gt::Text(u8"ソ.txt")).c_str(), true));
    EXPECT_FALSE(PathExists((hyo + "\\").c_str(), true));
    EXPECT_FALSE(PathExists("C:\\", true));
    EXPECT_FALSE(PathExists((folder_ + "\\*").c_str(), false));
    EXPECT_FALSE(PathExists((folder_ + "\\none").c_str(), false));
    EXPECT_FALSE(PathExists("", false));
}

TEST_F(PathsTest, FreeNamesSkipTakenOnesAndDropSuffixes)
{
    Touch(folder_ + "\\Memo.txt");
    Touch(folder_ + "\\Memo (1).txt");
    EXPECT_EQ(folder_ + "\\Memo (2).txt", Unique(false, "Memo (2)", ".txt"));
    EXPECT_EQ(folder_ + "\\Memo (2).txt", Unique(false, "Memo", ".txt"));
    EXPECT_EQ(folder_ + "\\Other.txt", Unique(false, "Other (3)", ".txt"));
    // A file of the group's name does not take the name of a new group.
    Touch(folder_ + "\\New Group");
    EXPECT_EQ(folder_ + "\\New Group", Unique(true, "New Group", ""));
    EXPECT_EQ(folder_ + "\\New Group (1)", Unique(false, "New Group", ""));
    ASSERT_TRUE(CreateDirectoryA((folder_ + "\\Box").c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((folder_ + "\\Box (1)").c_str(), NULL));
    EXPECT_EQ(folder_ + "\\Box (2)", Unique(true, "Box", ""));
    EXPECT_EQ(folder_ + "\\(1)", Unique(false, "(1)", ""));
    EXPECT_EQ("<none>", Unique(false, "", ".txt"));
}

TEST_F(PathsTest, NinetyNineTakenNamesAreTheEnd)
{
    Touch(folder_ + "\\x");
    for (int i = 1; i <= 97; ++i)
        Touch(folder_ + "\\x (" + std::to_string(i) + ")");
    EXPECT_EQ(folder_ + "\\x (98)", Unique(false, "x", ""));
    Touch(folder_ + "\\x (98)");
    EXPECT_EQ("<none>", Unique(false, "x", ""));
}

TEST_F(PathsTest, FreeNamesAtThePathLimit)
{
    // folder + "\" + stem + ".txt" at exactly 259 characters, then one more.
    size_t room = 259 - folder_.size() - 1 - 4;
    std::string stem(room, 'm');
    EXPECT_EQ(259u, Unique(false, stem.c_str(), ".txt").size());
    EXPECT_EQ("<none>", Unique(false, (stem + "m").c_str(), ".txt"));
    // The plain name fits, but once it is taken " (1)" would not.
    Touch(folder_ + "\\" + stem + ".txt");
    EXPECT_EQ("<none>", Unique(false, stem.c_str(), ".txt"));
}

TEST_F(PathsTest, DeleteTreeTakesReadOnlyFilesButNotDotFolders)
{
    std::string tree = folder_ + "\\tree";
    ASSERT_TRUE(CreateDirectoryA(tree.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((tree + "\\sub").c_str(), NULL));
    Touch(tree + "\\a.txt");
    Touch(tree + "\\sub\\b.txt");
    SetFileAttributesA((tree + "\\sub\\b.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(DeleteTree(tree.c_str(), false));   // "sub" stays
    EXPECT_FALSE(PathExists((tree + "\\a.txt").c_str(), false));
    EXPECT_TRUE(DeleteTree(tree.c_str(), true));
    EXPECT_FALSE(PathExists(tree.c_str(), false));

    std::string kept = folder_ + "\\kept";
    ASSERT_TRUE(CreateDirectoryA(kept.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((kept + "\\.cache").c_str(), NULL));
    Touch(kept + "\\.cache\\c");
    Touch(kept + "\\d.txt");
    EXPECT_FALSE(DeleteTree(kept.c_str(), true));
    EXPECT_TRUE(PathExists((kept + "\\.cache\\c").c_str(), false));
    EXPECT_FALSE(PathExists((kept + "\\d.txt").c_str(), false));
    EXPECT_FALSE(DeleteTree((folder_ + "\\none").c_str(), true));
}
