#include "pathtext.h"

#include <cstring>
#include <string>

#include "itemtext.h"
#include "chars.h"
#include "textbuf.h"

static const char* LastSeparator(const char* path)
{
    const char* sep = FindLastChar(path, '\\');
    return sep ? sep : FindLastChar(path, '/');
}

int ParentPath(const char* path, char* out, size_t cap)
{
    if (out && cap)
        out[0] = '\0';
    if (!path || !out || cap == 0)
        return -1;
    const char* sep = LastSeparator(path);
    if (!sep)
        return -1;
    size_t len = (size_t)(sep - path);
    if (len >= cap)
        return -1;
    memcpy(out, path, len);
    out[len] = '\0';
    return (int)len;
}

const char* LastComponent(const char* path)
{
    if (!path)
        return "";
    const char* sep = LastSeparator(path);
    return sep ? sep + 1 : path;
}

void FileNamePart(const char* path, char* out, size_t cap)
{
    CopyText(out, cap, LastComponent(path));
}

static char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

bool EqualNoCase(const char* a, const char* b)
{
    if (!a || !b)
        return a == b;
    // Walk character by character so a trail byte is never case-folded.
    while (*a && *b) {
        unsigned bytes = CharBytesAt(a);
        if (bytes > 1 || CharBytesAt(b) > 1) {
            if (bytes != CharBytesAt(b) || memcmp(a, b, bytes) != 0)
                return false;
            a += bytes;
            b += bytes;
            continue;
        }
        if (FoldAscii(*a) != FoldAscii(*b))
            return false;
        ++a;
        ++b;
    }
    return *a == *b;
}

bool PathIsWithin(const char* path, const char* folder)
{
    if (!path || !folder || !folder[0])
        return false;
    size_t length = strlen(folder);
    while (length > 0 && folder[length - 1] == '\\')   // "C:\" as well as "C:\lib\"
        --length;
    if (strlen(path) < length)
        return false;
    std::string head(path, length);
    char next = path[length];
    return EqualNoCase(head.c_str(), std::string(folder, length).c_str()) &&
           (next == '\0' || next == '\\');
}

bool IsUncPath(const char* text)
{
    return text && text[0] == '\\' && text[1] == '\\';
}

void DriveRoot(const char* path, char* out, size_t cap)
{
    if (!out || cap == 0)
        return;
    out[0] = '\0';
    if (!path)
        return;
    size_t len = strlen(path);
    if (IsUncPath(path)) {
        // Walked by character: a trail byte 0x5C is no backslash.
        int counted = 0;
        for (size_t i = 0; i < len; i += CharBytesAt(path + i)) {
            if (path[i] != '\\')
                continue;
            if (++counted == 4) {
                len = i;
                break;
            }
        }
    } else if (len >= 2 && path[1] == ':') {
        len = 2;
    } else {
        return;
    }
    if (len >= cap)
        return;
    memcpy(out, path, len);
    out[len] = '\0';
}

bool IsInvalidNameChar(unsigned char c)
{
    return c != '\0' && strchr("\\/:*?\"<>|", c) != NULL;
}

bool HasWildcard(const char* text)
{
    return text && strpbrk(text, "*?") != nullptr;
}

bool HasInvalidNameChar(const char* name)
{
    for (const char* p = name; p && *p; p += CharBytesAt(p))
        if (IsInvalidNameChar((unsigned char)*p))
            return true;
    return false;
}

bool IsNameChar(unsigned char c)
{
    return c >= 0x20 && c <= 0x7D && !IsInvalidNameChar(c);
}

void StripNumberSuffix(char* name)
{
    if (!name)
        return;
    for (;;) {
        TrimLineEnd(name);
        char* open = const_cast<char*>(FindLastChar(name, '('));
        const char* close = FindLastChar(name, ')');
        if (!open || !close)
            return;
        // A ")" before the "(" leaves nothing strictly between them.
        for (const char* p = open + 1; p < close; ++p)
            if (*p < '0' || *p > '9')
                return;
        // The space before "(" belongs to the suffix, even in a short name.
        while (open > name && open[-1] == ' ')
            --open;
        *open = '\0';
    }
}

bool FormatNameCandidate(char* out, size_t cap, const char* folder,
                         const char* stem, int n, const char* ext)
{
    char name[kPathCap];
    bool fits = n > 0 ? FormatText(name, sizeof name, "%s (%d)", stem, n)
                      : CopyText(name, sizeof name, stem);
    if (!fits || !AppendText(name, sizeof name, ext ? ext : "")) {
        if (out && cap)
            out[0] = '\0';
        return false;
    }
    return JoinPath(out, cap, folder, name);
}
