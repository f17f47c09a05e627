#include "store/syncnames.h"

#include <gtest/gtest.h>

#include <string>

// "original|made", or "" when name is no conflict copy.
static std::string Conflict(const std::string& name)
{
    ConflictName c;
    return ParseConflictName(name.c_str(), &c) ? std::string(c.original) + "|" + c.made : "";
}

TEST(SyncNames, EnginesEntriesAndConflictCopies)
{
    for (const char* name : {".STFOLDER", ".syncthing.\x83\x81.txt.TMP", "~syncthing~m.txt.tmp",
                             ".dropbox.cache", "Desktop.ini", "._m.txt", "~$report.docx"})
        EXPECT_TRUE(IsBookkeepingName(name)) << name;
    for (const char* name : {".stfolder2", ".syncthing..tmp", "m.txt.tmp", "._", "ZORIVEN.ORD"})
        EXPECT_FALSE(IsBookkeepingName(name)) << name;

    const std::string memo = "\x83\x81\x83\x82";   // メモ
    EXPECT_EQ(memo + ".txt|2026-12-10 11:05",
              Conflict(memo + ".sync-conflict-20261210-110547-JXUS4EA.txt"));
    // A copy of a copy names the first copy.
    EXPECT_EQ("a.sync-conflict-20260101-000000-A|2026-12-31 23:59",
              Conflict("a.sync-conflict-20260101-000000-A.sync-conflict-20261231-235900-B"));
    EXPECT_EQ(memo + ".txt|2026-12-10", Conflict(memo + " (PC's conflicted copy 2026-12-10).txt"));
    EXPECT_EQ("a (1)|2026-02-28", Conflict("a (1) (" + memo + "'s conflicted copy 2026-02-28 (2))"));
    // OneDrive's form, a bad date, no stem, something after the mark, a
    // mark that starts inside a double-byte character.
    for (const char* name : {"memo-DESKTOP1.txt", "m.sync-conflict-20261310-110547-X.txt",
                             ".sync-conflict-20261210-110547-X.txt", "m (conflicted copy 2026-12-10)x",
                             "m \x83" "conflicted copy 2026-12-10).txt"})
        EXPECT_EQ("", Conflict(name)) << name;
}
