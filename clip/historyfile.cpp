#include "historyfile.h"

#include <cstring>

#include "../store/utf8.h"

const char kHistoryCutMark[] = u8"…（以下略）";

namespace {

const char kMagic[8] = {'Z', 'V', 'H', 'I', 'S', 'T', '0', '1'};

void PutU32(std::string* out, uint32_t v)
{
    char b[4] = {(char)(v & 0xFF), (char)((v >> 8) & 0xFF), (char)((v >> 16) & 0xFF),
                 (char)(v >> 24)};
    out->append(b, 4);
}

uint32_t GetU32(const char* p)
{
    const unsigned char* b = (const unsigned char*)p;
    return b[0] | (b[1] << 8) | (b[2] << 16) | ((uint32_t)b[3] << 24);
}

}  // namespace

uint32_t HistoryChecksum(const char* data, size_t size)
{
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        h = (h ^ (unsigned char)data[i]) * 16777619u;
    return h;
}

uint64_t HistoryHash(const std::string& text)
{
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

std::string CutHistoryText(std::string text)
{
    if (text.size() <= kHistoryEntryCap)
        return text;
    size_t keep = Utf8SafeLength(text.data(), kHistoryEntryCap - strlen(kHistoryCutMark));
    text.resize(keep);
    text += kHistoryCutMark;
    return text;
}

void WriteHistory(const std::vector<HistoryText>& texts, std::string* out)
{
    size_t count = 0, size = sizeof kMagic + 8;
    for (; count < texts.size() && size + 4 + texts[count]->size() <= kHistoryFileCap; ++count)
        size += 4 + texts[count]->size();
    out->reserve(size);
    out->assign(kMagic, sizeof kMagic);
    PutU32(out, (uint32_t)count);
    for (size_t i = 0; i < count; ++i) {
        PutU32(out, (uint32_t)texts[i]->size());
        out->append(*texts[i]);
    }
    PutU32(out, HistoryChecksum(out->data(), out->size()));
}

bool ParseHistory(const char* data, size_t size, std::vector<HistoryText>* texts)
{
    texts->clear();
    if (!data || size < sizeof kMagic + 8 || memcmp(data, kMagic, sizeof kMagic) != 0 ||
        HistoryChecksum(data, size - 4) != GetU32(data + size - 4))
        return false;
    const char* end = data + size - 4;
    const char* p = data + sizeof kMagic;
    uint32_t count = GetU32(p);
    p += 4;
    if (count > kHistoryMax)
        return false;
    std::unordered_multimap<uint64_t, size_t> seen;
    for (uint32_t i = 0; i < count; ++i) {
        if (end - p < 4)
            return texts->clear(), false;
        uint32_t length = GetU32(p);
        p += 4;
        if (length == 0 || length > kHistoryEntryCap || (size_t)(end - p) < length ||
            memchr(p, 0, length) || !IsValidUtf8(p, length))
            return texts->clear(), false;
        auto text = std::make_shared<const std::string>(p, length);
        uint64_t hash = HistoryHash(*text);
        auto range = seen.equal_range(hash);
        for (auto it = range.first; it != range.second; ++it)
            if (*(*texts)[it->second] == *text)
                return texts->clear(), false;
        seen.emplace(hash, texts->size());
        texts->push_back(std::move(text));
        p += length;
    }
    if (p != end)
        return texts->clear(), false;
    return true;
}

void HistoryList::Drop(Iter it)
{
    auto range = byHash_.equal_range(it->hash);
    for (auto h = range.first; h != range.second; ++h)
        if (h->second == it) {
            byHash_.erase(h);
            break;
        }
    bytes_ -= it->text->size();
    entries_.erase(it);
    orderStale_ = true;
}

void HistoryList::SetCapacity(size_t capacity)
{
    capacity_ = capacity > (size_t)kHistoryMax ? (size_t)kHistoryMax : capacity;
    while (entries_.size() > capacity_ || (bytes_ > kHistoryBytesCap && entries_.size() > 1))
        Drop(std::prev(entries_.end()));
}

bool HistoryList::Add(std::string text)
{
    if (capacity_ == 0 || text.empty())
        return false;
    text = CutHistoryText(std::move(text));
    uint64_t hash = HistoryHash(text);
    auto range = byHash_.equal_range(hash);
    for (auto h = range.first; h != range.second; ++h) {
        if (*h->second->text != text)
            continue;
        if (h->second == entries_.begin())
            return false;
        entries_.splice(entries_.begin(), entries_, h->second);
        orderStale_ = true;
        return true;
    }
    entries_.push_front(Node{std::make_shared<const std::string>(std::move(text)), hash, {}});
    byHash_.emplace(hash, entries_.begin());
    bytes_ += entries_.front().text->size();
    orderStale_ = true;
    SetCapacity(capacity_);
    return true;
}

void HistoryList::MakeOrder()
{
    if (!orderStale_)
        return;
    order_.clear();
    order_.reserve(entries_.size());
    for (Iter it = entries_.begin(); it != entries_.end(); ++it)
        order_.push_back(it);
    orderStale_ = false;
}

const HistoryText& HistoryList::At(size_t index)
{
    MakeOrder();
    return order_[index]->text;
}

std::string& HistoryList::FoldedAt(size_t index)
{
    MakeOrder();
    return order_[index]->folded;
}

void HistoryList::RemoveAt(size_t index)
{
    MakeOrder();
    if (index < order_.size())
        Drop(order_[index]);
}

void HistoryList::Clear()
{
    entries_.clear();
    byHash_.clear();
    bytes_ = 0;
    order_.clear();
    orderStale_ = true;
}

std::vector<HistoryText> HistoryList::Snapshot()
{
    std::vector<HistoryText> texts;
    texts.reserve(entries_.size());
    for (const Node& node : entries_)
        texts.push_back(node.text);
    return texts;
}

void HistoryList::Assign(const std::vector<HistoryText>& texts)
{
    Clear();
    // Oldest first, so each one added lands above the ones before it.
    for (auto it = texts.rbegin(); it != texts.rend(); ++it)
        Add(**it);
}
