#include "pathtext.h"

#include <cstring>

#include "sjis.h"
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
        if (IsDoubleByteAt(a) || IsDoubleByteAt(b)) {
            if (a[0] != b[0] || a[1] != b[1])
                return false;
            a += 2;
            b += 2;
            continue;
        }
        if (FoldAscii(*a) != FoldAscii(*b))
            return false;
        ++a;
        ++b;
    }
    return *a == *b;
}
