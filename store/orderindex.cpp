#include "orderindex.h"

#include <cstring>

#include "chars.h"

std::string FoldName(const char* name)
{
    std::string folded;
    for (const char* p = name; p && *p;) {
        unsigned bytes = CharBytesAt(p);
        if (bytes == 1)
            folded.push_back(*p >= 'A' && *p <= 'Z' ? (char)(*p - 'A' + 'a') : *p);
        else
            folded.append(p, bytes);
        p += bytes;
    }
    return folded;
}

bool ReadOrderLine(LineReader* reader, char* line, size_t cap)
{
    if (!ReadTextLine(reader, line, cap))
        return false;
    // Only the line end goes: a name may end in spaces (a share served by
    // another system can hold one). As before, a line of two bytes or
    // fewer is taken whole.
    size_t len = strlen(line);
    while (len > 2 && (line[len - 1] == '\r' || line[len - 1] == '\n'))
        line[--len] = '\0';
    return true;
}

void BuildOrderIndex(OrderIndex* index, ReadBytesFn read, void* source)
{
    index->firstLine.clear();
    index->lineCount = 0;
    LineReader reader;
    InitLineReader(&reader, read, source);
    char line[kLineCap];
    while (ReadOrderLine(&reader, line, sizeof line)) {
        // emplace keeps an earlier line of the same name: the first wins.
        index->firstLine.emplace(FoldName(line), index->lineCount++);
    }
}

int FindOrderLine(const OrderIndex* index, const char* name)
{
    auto found = index->firstLine.find(FoldName(name));
    return found == index->firstLine.end() ? -1 : found->second;
}
