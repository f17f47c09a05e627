#include "orderindex.h"

#include <cstring>

#include "chars.h"
#include "utf8.h"

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

bool ReadOrderLine(LineReader* reader, char* line, size_t cap, int* form)
{
    if (!ReadTextLine(reader, line, cap))
        return false;
    if (*form < 0) {
        *form = StartsWithUtf8Mark(line, strlen(line)) ? kFormUtf8 : kFormCp932;
        if (*form == kFormUtf8)
            memmove(line, line + 3, strlen(line + 3) + 1);
    }
    // Only the line end goes: a name may end in spaces (a share served by
    // another system can hold one). As before, a line of two bytes or
    // fewer is taken whole.
    size_t len = strlen(line);
    while (len > 2 && (line[len - 1] == '\r' || line[len - 1] == '\n'))
        line[--len] = '\0';
    return true;
}

void BuildOrderIndex(OrderIndex* index, ReadBytesFn read, void* source, StoredTextFn toProgram)
{
    index->firstLine.clear();
    index->lineCount = 0;
    LineReader reader;
    InitLineReader(&reader, read, source);
    char line[kLineCap];
    int form = -1;
    while (ReadOrderLine(&reader, line, sizeof line, &form)) {
        // emplace keeps an earlier line of the same name: the first wins.
        // An ASCII name needs no conversion, and no string of its own.
        size_t length = strlen(line);
        std::string folded = toProgram && !IsAsciiText(line, length)
                                 ? FoldName(toProgram(line, length, form).c_str())
                                 : FoldName(line);
        index->firstLine.emplace(std::move(folded), index->lineCount++);
    }
}

int FindOrderLine(const OrderIndex* index, const char* name)
{
    auto found = index->firstLine.find(FoldName(name));
    return found == index->firstLine.end() ? -1 : found->second;
}
