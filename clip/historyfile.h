// The clipboard history as data: the list of copied texts, newest first,
// and its file's byte form. Texts are UTF-8 whatever the program's own
// form, so the file reads the same on any Windows. Pure byte logic: no
// windows.h, so it also builds natively (sanitizers, fuzzing).
#ifndef ZORIVEN_HISTORYFILE_H
#define ZORIVEN_HISTORYFILE_H

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

enum {
    kHistoryDefault = 100,
    kHistoryMax = 10000,
    kHistoryEntryCap = 1024 * 1024,   // bytes of one entry, its cut mark included
};
// A file larger than this is none the program wrote; the writer leaves out
// the oldest texts that would make it so.
const size_t kHistoryFileCap = 256u * 1024 * 1024;
// The texts the list holds in all: a 32-bit program cannot keep 10,000
// entries of 1 MiB, so past this the oldest go, as past the count.
const size_t kHistoryBytesCap = 128u * 1024 * 1024;

// What a cut text ends with, so nobody takes it for the whole.
extern const char kHistoryCutMark[];

typedef std::shared_ptr<const std::string> HistoryText;

// text cut on a character to at most kHistoryEntryCap bytes with the mark
// at its end; a text that fits is returned as it is.
std::string CutHistoryText(std::string text);

// The byte form: a mark that names the format, the count, each text with
// its length, then a check sum of every byte before it; at most
// kHistoryFileCap bytes.
void WriteHistory(const std::vector<HistoryText>& texts, std::string* out);
// Reads what WriteHistory made; anything else (another format, a cut or
// damaged file, more than kHistoryMax texts, an empty or over-long text,
// one that is no UTF-8 or holds a NUL, the same text twice) gives false
// and no texts. Never reads outside data[0..size).
bool ParseHistory(const char* data, size_t size, std::vector<HistoryText>* texts);

// The list the program records into: adding a text already held moves it
// to the top, so the cost of a recording does not grow with the list.
class HistoryList {
public:
    explicit HistoryList(size_t capacity = kHistoryDefault) : capacity_(capacity) {}
    // Oldest entries go when the capacity shrinks, or when the texts pass
    // kHistoryBytesCap; 0 holds nothing.
    void SetCapacity(size_t capacity);
    size_t Count() const { return entries_.size(); }
    size_t Bytes() const { return bytes_; }
    // text (cut to its bound) at the top; false when nothing changed.
    bool Add(std::string text);
    // The entry of index (0 the newest); the order is made on demand.
    const HistoryText& At(size_t index);
    // A slot beside the entry for its text as the search compares it,
    // made by the caller once and kept while the entry lives.
    std::string& FoldedAt(size_t index);
    void RemoveAt(size_t index);
    void Clear();
    // Every text, newest first, sharing their bytes (for the writer).
    std::vector<HistoryText> Snapshot();
    // Replaces the list by texts (newest first), dropping duplicates.
    void Assign(const std::vector<HistoryText>& texts);

private:
    struct Node {
        HistoryText text;
        uint64_t hash;
        std::string folded;
    };
    typedef std::list<Node>::iterator Iter;
    void Drop(Iter it);
    void MakeOrder();
    size_t capacity_;
    std::list<Node> entries_;
    std::unordered_multimap<uint64_t, Iter> byHash_;
    std::vector<Iter> order_;
    bool orderStale_ = true;
    size_t bytes_ = 0;
};

uint64_t HistoryHash(const std::string& text);
// The check sum the byte form ends with (FNV-1a of every byte before it).
uint32_t HistoryChecksum(const char* data, size_t size);

#endif
