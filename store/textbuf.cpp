#include "textbuf.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "chars.h"
#include "utf8.h"

bool CopyText(char* dst, size_t cap, const char* src)
{
    if (!dst || cap == 0)
        return false;
    if (!src)
        src = "";
    size_t len = strlen(src);
    if (len < cap) {
        memcpy(dst, src, len + 1);
        return true;
    }
    size_t keep = CharSafeLength(src, (unsigned long)(cap - 1));
    memcpy(dst, src, keep);
    dst[keep] = '\0';
    return false;
}

bool AppendText(char* dst, size_t cap, const char* src)
{
    if (!dst || cap == 0)
        return false;
    size_t used = strnlen(dst, cap);
    if (used >= cap) {
        dst[cap - 1] = '\0';
        return false;
    }
    return CopyText(dst + used, cap - used, src);
}

bool FormatText(char* dst, size_t cap, const char* fmt, ...)
{
    if (!dst || cap == 0)
        return false;
    va_list ap;
    va_start(ap, fmt);
    int n = vsnprintf(dst, cap, fmt, ap);
    va_end(ap);
    if (n < 0 || (size_t)n >= cap) {
        dst[0] = '\0';
        return false;
    }
    return true;
}

bool PathFits(const char* path)
{
    return path && Utf16Length(path, strlen(path)) < kPathUnits;
}

bool JoinPath(char* dst, size_t cap, const char* folder, const char* name)
{
    if (!FormatText(dst, cap, "%s\\%s", folder ? folder : "", name ? name : ""))
        return false;
    if (PathFits(dst))
        return true;
    dst[0] = '\0';
    return false;
}

void FormatGrouped(char* dst, size_t cap, int n)
{
    char digits[16];
    FormatText(digits, sizeof digits, "%d", n < 0 ? 0 : n);
    size_t length = strlen(digits), at = 0;
    for (size_t i = 0; i < length && at + 2 < cap; ++i) {
        if (i > 0 && (length - i) % 3 == 0)
            dst[at++] = ',';
        dst[at++] = digits[i];
    }
    if (cap)
        dst[at < cap ? at : cap - 1] = '\0';
}
