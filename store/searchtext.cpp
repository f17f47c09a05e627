#include "searchtext.h"

#include <cstdlib>
#include <cstring>

#include "../app/wide.h"
#include "../app/winver.h"
#include "itemname.h"
#include "records.h"
#include "chars.h"
#include "syncfiles.h"

namespace {

const LCID kJapanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT);

// One character (or a half-width kana and its mark) as the system maps
// it, UTF-8 both ways.
bool MapWithSystem(void*, FoldMapping mapping, const char* text, size_t length, std::string* out)
{
    std::wstring wide = Utf8ToWide(text, length);
    WCHAR mapped[8];
    if (wide.empty() || wide.size() > 4)
        return false;
    DWORD flags = LCMAP_LOWERCASE |
                  (mapping == kNarrow ? LCMAP_HALFWIDTH : LCMAP_FULLWIDTH | LCMAP_KATAKANA);
    int made = LCMapStringW(kJapanese, flags, wide.c_str(), (int)wide.size(), mapped, 8);
    if (made <= 0)
        return false;
    *out = WideToUtf8(mapped, (size_t)made);
    return true;
}

}  // namespace

const FoldTable& SystemFoldTable()
{
    static FoldTable table;
    static bool built;
    if (!built) {
        BuildFoldTable(&table, MapWithSystem, nullptr);
        built = true;
    }
    return table;
}

std::string FoldForSearch(const char* text)
{
    std::string folded;
    if (text)
        FoldText(SystemFoldTable(), text, strlen(text), &folded);
    return folded;
}

void AppendSearchField(const char* text, std::string* out)
{
    if (text)
        FoldText(SystemFoldTable(), text, strlen(text), out);
    out->push_back('\n');
}

bool RecordMatches(ItemRecord* record, const std::string& folded)
{
    if (folded.empty())
        return true;
    if (!record->searchText) {
        std::string text;
        AppendSearchField(record->name, &text);
        // A conflict copy is found by what its row shows, too.
        char label[kRowNameCap + 64];
        if (ConflictLabel(record, label, sizeof label))
            AppendSearchField(label, &text);
        for (int i = 0; i < record->entryCount && i < kMaxEntries; ++i) {
            AppendSearchField(record->entries[i].key, &text);
            AppendSearchField(record->entries[i].value, &text);
        }
        record->searchText = (char*)malloc(text.size() + 1);
        if (!record->searchText)
            return false;
        memcpy(record->searchText, text.c_str(), text.size() + 1);
        record->searchLength = (unsigned long)text.size();
    }
    return FindInText(record->searchText, record->searchLength, folded.data(),
                    (unsigned long)folded.size()) >= 0;
}

void ForgetSearchText(ItemRecord* record)
{
    if (!record)
        return;
    free(record->searchText);
    record->searchText = nullptr;
    record->searchLength = 0;
}
