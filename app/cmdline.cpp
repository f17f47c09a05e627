#include "cmdline.h"

#include "../store/textbuf.h"
#include "../store/utf8.h"

#include <cstring>

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool RootFromCommandLine(const char* cmdline, char* out, size_t cap)
{
    if (!out || cap == 0)
        return false;
    out[0] = '\0';
    if (!cmdline)
        return false;
    const char* begin = cmdline;
    const char* end = cmdline + strlen(cmdline);
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    if (end - begin >= 2 && begin[0] == '"' && end[-1] == '"') {
        ++begin;
        --end;
    }
    size_t len = (size_t)(end - begin);
    // A folder longer than a path may be is refused, never cut.
    if (len == 0 || len >= cap || Utf16Length(begin, len) >= kPathUnits)
        return false;
    memcpy(out, begin, len);
    out[len] = '\0';
    return true;
}

const wchar_t* ArgumentsAfterProgram(const wchar_t* commandLine)
{
    if (!commandLine)
        return L"";
    const wchar_t* at = commandLine;
    bool quoted = false;
    for (; *at > L' ' || (*at && quoted); ++at)
        if (*at == L'"')
            quoted = !quoted;
    while (*at && *at <= L' ')
        ++at;
    return at;
}
