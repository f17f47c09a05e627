#include "store/syncnames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "original|made", or "" when name is no conflict copy.
std::string Conflict(const std::string& name)
{
    ConflictName c;
    return ParseConflictName(name.c_str(), &c) ? std::string(c.original) + "|" + c.made : "";
}

}  // namespace

TEST(SyncNames, TheEnginesOwnEntriesInAnyCaseAndNothingElse)
{
    for (const char* name :
         {".stfolder", ".STFOLDER", ".stignore", ".stversions", ".syncthing.memo.txt.tmp",
          ".syncthing.\x83\x81\x83\x82.txt.TMP", "~syncthing~memo.txt.tmp", ".dropbox",
          ".dropbox.attr", ".dropbox.cache", "desktop.ini", "Desktop.ini", "thumbs.db",
          ".DS_Store", "._memo.txt", "~$report.docx", ".tmp.drivedownload"})
        EXPECT_TRUE(IsBookkeepingName(name)) << name;
    for (const char* name :
         {"", "stfolder", ".stfolder2", "my.stfolder", ".syncthing..tmp", ".syncthing.memo.txt",
          "memo.txt.tmp", "~syncthing~", "._", "~$", "desktop.ini.txt", "Thumbs.db.url",
          "\x83\x81\x83\x82.txt", "ZORIVEN.ORD"})
        EXPECT_FALSE(IsBookkeepingName(name)) << name;
    EXPECT_FALSE(IsBookkeepingName(nullptr));
}

TEST(SyncNames, ConflictCopiesNameTheirOriginalAndWhenTheyWereMade)
{
    // Syncthing, with and without an extension; a copy of a copy.
    const std::string memo = "\x83\x81\x83\x82";   // メモ
    EXPECT_EQ(memo + ".txt|2026-12-10 11:05",
              Conflict(memo + ".sync-conflict-20261210-110547-JXUS4EA.txt"));
    EXPECT_EQ("notes|2026-01-02 03:04", Conflict("notes.sync-conflict-20260102-030459-ABC2345"));
    EXPECT_EQ("a.b.sync-conflict-20260101-000000-AAAAAAA.url|2026-12-31 23:59",
              Conflict("a.b.sync-conflict-20260101-000000-AAAAAAA.sync-conflict-20261231-235900-"
                       "BBBBBBB.url"));
    EXPECT_EQ("ZORIVEN.ORD|2026-12-10 11:05",
              Conflict("ZORIVEN.sync-conflict-20261210-110547-JXUS4EA.ORD"));
    // Dropbox: with a device, without, numbered; a Japanese device name.
    EXPECT_EQ(memo + ".txt|2026-12-10",
              Conflict(memo + " (PC-1's conflicted copy 2026-12-10).txt"));
    EXPECT_EQ("a (1).txt|2026-02-28", Conflict("a (1) (conflicted copy 2026-02-28).txt"));
    EXPECT_EQ("memo|2026-12-10", Conflict("memo (" + memo + "'s conflicted copy 2026-12-10 (2))"));
    EXPECT_EQ("ZORIVEN.ORD|2026-12-10",
              Conflict("ZORIVEN (Mac's conflicted copy 2026-12-10).ORD"));
    EXPECT_TRUE(IsConflictCopyOf("zoriven.sync-conflict-20261210-110547-X.ord", "ZORIVEN.ORD"));
    EXPECT_FALSE(IsConflictCopyOf("memo.sync-conflict-20261210-110547-X.ord", "ZORIVEN.ORD"));

    // Near misses stay plain names: OneDrive's form, bad dates, no stem,
    // something after the mark, a mark that starts inside a character.
    for (const char* name :
         {"memo-DESKTOP1.txt", "memo.sync-conflict-20261310-110547-X.txt",
          "memo.sync-conflict-20261210-250547-X.txt", "memo.sync-conflict-2026121-110547-X.txt",
          "memo.sync-conflict-20261210-110547-.txt", "memo.sync-conflict-20261210-110547-X-Y.txt",
          ".sync-conflict-20261210-110547-X.txt", "memo (conflicted copy 2026-12-10)x.txt",
          "memo (conflicted copy 2026-12-1).txt", "(conflicted copy 2026-12-10).txt",
          "memo(conflicted copy 2026-12-10).txt", "memo (conflicted copy 2026-12-10 (x)).txt",
          "memo \x83" "conflicted copy 2026-12-10).txt", "memo.txt", ""})
        EXPECT_EQ("", Conflict(name)) << name;
    EXPECT_FALSE(ParseConflictName(nullptr, nullptr));
}
