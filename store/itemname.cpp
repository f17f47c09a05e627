#include "itemname.h"

#include <cstring>

#include "pathtext.h"
#include "chars.h"
#include "textbuf.h"
#include "utf8.h"

void SplitItemName(const char* path, bool isItem, char name[kRowNameCap],
                   char ext[kNamePartCap])
{
    const char* component = LastComponent(path);
    const char* dot = FindLastChar(component, '.');
    char stem[kNamePartCap];
    size_t stemLen = dot ? (size_t)(dot - component) : strlen(component);
    // A name holds at most 255 characters (UTF-16 units) on any disk.
    stemLen = Utf8PrefixOfUnits(component, stemLen, kNameUnits);
    memcpy(stem, component, stemLen);
    stem[stemLen] = '\0';
    CopyText(ext, kNamePartCap, dot ? dot : "");

    CopyText(name, kRowNameCap, stem);
    if (!isItem) {
        AppendText(name, kRowNameCap, ext);
        ext[0] = '\0';
    }
}

int ItemKindFor(bool isItem, const char* ext)
{
    if (!isItem)
        return kKindGroup;
    if (EqualNoCase(ext, ".url"))
        return kKindUrl;
    if (EqualNoCase(ext, ".txt"))
        return kKindText;
    return kKindOther;
}
