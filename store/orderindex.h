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
// The file is in code page 932, or UTF-8 after its mark (a StoredForm);
// toProgram turns a line of it into program text (null: taken as it is).
typedef std::string (*StoredTextFn)(const char* bytes, size_t length, int form);
void BuildOrderIndex(OrderIndex* index, ReadBytesFn read, void* source,
                     StoredTextFn toProgram = nullptr);
// The next line of an order file as stored, read the way BuildOrderIndex
// reads it; false at the end. *form starts as -1 and is the file's form
// once its first line is read (the mark of a UTF-8 file taken off).
bool ReadOrderLine(LineReader* reader, char* line, size_t cap, int* form);
// 0-based line index or -1.
int FindOrderLine(const OrderIndex* index, const char* name);

// name with ASCII letters lowered, double-byte characters left whole: two
// names are equal without regard to case exactly when these are equal.
std::string FoldName(const char* name);

#endif
