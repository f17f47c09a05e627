// Page-title benchmark: extraction (with EUC-JP conversion), the Yahoo!
// fix, conversion to UTF-8, entity decoding, cleaning and trimming of
// generated 4,095-byte pages in Shift_JIS, EUC-JP and UTF-8, each with its
// title near the end, against a baseline measured in the same run: copying
// the same page and finding "</title>" with strstr. Prints pages per second
// and the ratio. Run by hand, never a test:
//   build/native/bench_title [seconds per figure, default 0.5]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "store/itemtext.h"
#include "store/textbuf.h"
#include "web/titletext.h"

namespace {

enum Encoding { kSjis, kEuc, kUtf8 };

// ASCII and hiragana (U+3041-U+3093): all the pages here hold.
size_t ToAnsi(unsigned long cp, char* out)
{
    if (cp < 0x80) {
        out[0] = (char)cp;
        return 1;
    }
    if (cp < 0x3041 || cp > 0x3093)
        return 0;
    unsigned code = 0x829F + (unsigned)(cp - 0x3041);
    out[0] = (char)(code >> 8);
    out[1] = (char)code;
    return 2;
}

// UTF-8 text of ASCII and hiragana in the page's encoding.
std::string Encode(const char* utf8, Encoding enc)
{
    std::string out;
    for (const unsigned char* p = (const unsigned char*)utf8; *p;) {
        if (*p < 0x80 || enc == kUtf8) {
            out += (char)*p++;
            continue;
        }
        unsigned long cp = ((p[0] & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
        p += 3;
        char sjis[4];
        if (ToAnsi(cp, sjis) != 2) {
            out += '?';
        } else if (enc == kSjis) {
            out.append(sjis, 2);
        } else {
            out += (char)0xA4;
            out += (char)(0xA1 + (cp - 0x3041));
        }
    }
    return out;
}

// What the system's table does for the pages' Shift_JIS characters:
// ASCII and hiragana (82 9F - 82 F1) to UTF-8.
size_t SjisToUtf8Char(const char* bytes, size_t length, char* out)
{
    unsigned char lead = (unsigned char)bytes[0];
    if (length == 1)
        return lead < 0x80 ? (out[0] = (char)lead, 1) : 0;
    unsigned code = lead << 8 | (unsigned char)bytes[1];
    if (code < 0x829F || code > 0x82F1)
        return 0;
    unsigned long cp = 0x3041 + (code - 0x829F);
    out[0] = (char)(0xE0 | cp >> 12);
    out[1] = (char)(0x80 | (cp >> 6 & 0x3F));
    out[2] = (char)(0x80 | (cp & 0x3F));
    return 3;
}

// A page of exactly kPageCap - 1 bytes: head, body text, then the title.
std::string MakePage(Encoding enc)
{
    const char* charset = enc == kSjis ? "Shift_JIS" : enc == kEuc ? "EUC-JP" : "utf-8";
    std::string head = std::string("<html><head><meta http-equiv=\"Content-Type\" "
                                   "content=\"text/html; charset=") + charset + "\">\n";
    std::string text = Encode("<p>きょうは よい てんき です. Links &amp; notes: "
                              "さくら もみじ ふじさん</p>\n", enc);
    std::string tail = Encode("<title>ようこそ &amp; Example &#x3042; &hellip; さくら"
                              "</title>\n</head>\n", enc);
    std::string page = head;
    while (page.size() + text.size() + tail.size() < kPageCap - 1)
        page += text;
    page.append(kPageCap - 1 - page.size() - tail.size(), ' ');
    return page + tail;
}

volatile size_t sink;

size_t TitleOf(const char* source)
{
    char page[kPageCap], title[kTextCap];
    memcpy(page, source, kPageCap);
    TitleAsProgramText(page, title, sizeof title, kCharsetUnknown, SjisToUtf8Char);
    CleanTitle(title);
    TrimLineEnd(title);
    return strlen(title);
}

size_t Baseline(const char* source)
{
    char page[kPageCap];
    memcpy(page, source, kPageCap);
    const char* close = strstr(page, "</title>");
    return close ? (size_t)(close - page) : 0;
}

// Pages per second of work over source, measured for about seconds.
double PagesPerSecond(size_t (*work)(const char*), const char* source, double seconds)
{
    typedef std::chrono::steady_clock Clock;
    Clock::time_point start = Clock::now();
    size_t pages = 0;
    double elapsed = 0;
    do {
        for (int i = 0; i < 256; ++i)
            sink = sink + work(source);
        pages += 256;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < seconds);
    return pages / elapsed;
}

}  // namespace

int main(int argc, char** argv)
{
    double seconds = argc > 1 ? atof(argv[1]) : 0.5;
    if (seconds <= 0)
        seconds = 0.5;
    const char* names[] = {"Shift_JIS", "EUC-JP", "UTF-8"};
    printf("%-10s %6s %14s %14s %8s\n", "page", "title", "title pages/s", "baseline/s",
           "ratio");
    for (int enc = kSjis; enc <= kUtf8; ++enc) {
        std::string page = MakePage((Encoding)enc);
        page.resize(kPageCap);   // the terminator and the buffer's size
        size_t titleLen = TitleOf(page.data());
        double titled = PagesPerSecond(TitleOf, page.data(), seconds);
        double base = PagesPerSecond(Baseline, page.data(), seconds);
        printf("%-10s %6zu %14.0f %14.0f %7.1fx\n", names[enc], titleLen, titled, base,
               base / titled);
    }
    printf("title: bytes of the cleaned title; ratio: baseline pages/s over title pages/s\n");
    return 0;
}
