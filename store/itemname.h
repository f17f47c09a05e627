// How a file or folder name becomes a row's name, extension and kind.
// Pure byte logic.
#ifndef ZORIVEN_ITEMNAME_H
#define ZORIVEN_ITEMNAME_H

#include <cstddef>

enum ItemKind { kKindGroup = 0, kKindText = 1, kKindUrl = 2, kKindOther = 3 };

// A name of 255 UTF-16 units takes at most 765 bytes of UTF-8.
enum { kNameUnits = 255, kNamePartCap = 3 * 256, kRowNameCap = 2 * kNamePartCap };

// Splits the last component of path. An item's name is everything before
// the last dot and ext that dot onward (empty when there is none); a
// group keeps its whole folder name, dots included, and no extension.
void SplitItemName(const char* path, bool isItem, char name[kRowNameCap],
                   char ext[kNamePartCap]);

// 0 for a group; for an item 2 for ".url", 1 for ".txt", else 3 (any case).
int ItemKindFor(bool isItem, const char* ext);

#endif
