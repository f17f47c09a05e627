#include "urltext.h"

#include <cstring>

#include "store/utf8.h"

bool PercentEncodeUrl(const char* url, char* out, size_t cap, KeepUrlCharFn keep)
{
    if (out && cap)
        out[0] = '\0';
    if (!url || !out || cap == 0)
        return false;
    static const char kHex[] = "0123456789ABCDEF";
    size_t o = 0, length = strlen(url);
    for (size_t i = 0; i < length;) {
        unsigned char c = (unsigned char)url[i];
        size_t n = c < 0x80 ? 1 : DecodeUtf8(url + i, length - i, nullptr);
        bool stays = c < 0x80 || (n && keep && keep(url + i, n));
        if (n == 0)
            n = 1;   // a stray byte alone
        size_t need = stays ? n : 3 * n;
        if (o + need > cap - 1) {
            out[0] = '\0';
            return false;
        }
        for (size_t k = 0; k < n; ++k) {
            unsigned char b = (unsigned char)url[i + k];
            if (stays) {
                out[o++] = (char)b;
            } else {
                out[o++] = '%';
                out[o++] = kHex[b >> 4];
                out[o++] = kHex[b & 0xF];
            }
        }
        i += n;
    }
    out[o] = '\0';
    return true;
}
