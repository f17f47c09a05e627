#include "orderindex.h"

#include "sjis.h"

std::string FoldName(const char* name)
{
    std::string folded;
    for (const char* p = name; p && *p; ++p) {
        if (IsDoubleByteAt(p)) {
            folded.push_back(p[0]);
            folded.push_back(*++p);
        } else {
            folded.push_back(*p >= 'A' && *p <= 'Z' ? (char)(*p - 'A' + 'a') : *p);
        }
    }
    return folded;
}

void BuildOrderIndex(OrderIndex* index, ReadBytesFn read, void* source)
{
    index->firstLine.clear();
    index->lineCount = 0;
    LineReader reader;
    InitLineReader(&reader, read, source);
    char line[kLineCap];
    while (ReadTextLine(&reader, line, sizeof line)) {
        TrimLineEnd(line);
        // emplace keeps an earlier line of the same name: the first wins.
        index->firstLine.emplace(FoldName(line), index->lineCount++);
    }
}

int FindOrderLine(const OrderIndex* index, const char* name)
{
    auto found = index->firstLine.find(FoldName(name));
    return found == index->firstLine.end() ? -1 : found->second;
}
