// What the search compares: text folded with the system's own rules
// (LCMapString: case, width and kana type ignored), and each record's
// name, keys and values folded once, when it is first searched.
#ifndef ZORIVEN_SEARCHTEXT_H
#define ZORIVEN_SEARCHTEXT_H

#include <string>

#include "searchfold.h"

struct ItemRecord;

// The table of the running system, made at its first use.
const FoldTable& SystemFoldTable();

// text folded as the search compares it.
std::string FoldForSearch(const char* text);

// A record's searched text is its name, keys and values, each appended
// folded and followed by a line end (which no search text holds, so no
// match runs from one into the next).
void AppendSearchField(const char* text, std::string* out);

// The record holds the folded text (an empty one matches everything).
bool RecordMatches(ItemRecord* record, const std::string& folded);

// The record's name or entries changed: its folded text is made again.
void ForgetSearchText(ItemRecord* record);

#endif
