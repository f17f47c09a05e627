// The lines of a folder's order file as a lookup table: a name's position
// is the index of the first line equal to it without regard to case.
// Pure byte logic.
#ifndef ZORIVEN_ORDERINDEX_H
#define ZORIVEN_ORDERINDEX_H

#include <string>
#include <unordered_map>

#include "itemtext.h"

struct OrderIndex {
    std::unordered_map<std::string, int> firstLine;
    int lineCount;
};

// Reads every line of the source the way the order file is read: pieces of
// at most 2047 bytes, each counted, with its trailing CR and LF removed
// (spaces kept; a line of two bytes or fewer keeps its line end and so
// never matches a name).
void BuildOrderIndex(OrderIndex* index, ReadBytesFn read, void* source);
// The next line of an order file as a name, read the way BuildOrderIndex
// reads it; false at the end.
bool ReadOrderLine(LineReader* reader, char* line, size_t cap);
// 0-based line index or -1.
int FindOrderLine(const OrderIndex* index, const char* name);

// name with ASCII letters lowered, double-byte characters left whole: two
// names are equal without regard to case exactly when these are equal.
std::string FoldName(const char* name);

#endif
