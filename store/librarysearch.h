// The search of the whole library: every folder below the root, one at a
// time, through the entry cache, so that the caller can show progress and
// stop between two folders.
#ifndef ZORIVEN_LIBRARYSEARCH_H
#define ZORIVEN_LIBRARYSEARCH_H

#include <string>
#include <vector>

#include "entrycache.h"

struct SearchHit {
    std::string folder;   // below the root, "" for the root itself
    std::string file;     // the file's or folder's name on disk
    int kind;             // as a row's
    std::vector<CachedEntry> entries;
};

struct LibrarySearch {
    std::string root;
    std::string folded;                 // the text searched, folded
    std::vector<std::string> pending;   // folders still to read, last first
    std::vector<SearchHit> hits;
    int foldersRead;
    int unreadable;   // folders, files and paths too long that were passed by
    std::string scratch;
};

// Begins a search of folded below root (a full path).
void StartLibrarySearch(LibrarySearch* search, const char* root, const std::string& folded);
// Reads the next folder; false when every folder has been read.
bool SearchNextFolder(LibrarySearch* search);

// The hit's full path (root, its folder, its name), or false when it would
// not fit kPathCap bytes.
bool HitPath(const LibrarySearch& search, const SearchHit& hit, char* out);
// The full path of the hit's folder.
bool HitFolder(const LibrarySearch& search, const SearchHit& hit, char* out);

#endif
