#include "clipinfo.h"

#include <cstdlib>
#include <cstring>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "../store/chars.h"
#include "../store/itemfile.h"
#include "../store/itemtext.h"
#include "droptarget.h"
#include "paste.h"

enum { kFormatNameCap = 256, kFormatLineCap = 300, kTextRoom = 256 };
enum { kPreviewLines = 20, kPreviewBytes = 1024 };

static const char* const kStandardNames[] = {
    "TEXT", "BITMAP", "METAFILEPICT", "SYLK", "DIF", "TIFF", "OEMTEXT", "DIB", "PALETTE",
    "PENDATA", "RIFF", "WAVE", "UNICODETEXT", "ENHMETAFILE", "HDROP", "LOCALE", "CF_MAX",
};

static void FormatName(UINT format, char* name)
{
    name[0] = '\0';
    if (format >= 1 && format <= sizeof kStandardNames / sizeof kStandardNames[0]) {
        CopyText(name, kFormatNameCap, kStandardNames[format - 1]);
        return;
    }
    // Only shown: a name longer than the line holds keeps the characters
    // that fit.
    wchar_t wide[kFormatNameCap];
    int units = GetClipboardFormatNameW(format, wide, kFormatNameCap);
    if (units > 0)
        FromWideCut(wide, units, name, kFormatNameCap);
}

// One line per format while the list has room; then one line that says
// more follow. The count is of the formats listed.
static int ListFormats(char* list)
{
    char more[kFormatLineCap] = "";
    if (LoadText(IDS_MORE_FORMATS, more, sizeof more - 1) > 0)
        AppendText(more, sizeof more, "\n");
    int count = 0;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        char name[kFormatNameCap], line[kFormatLineCap];
        FormatName(format, name);
        FormatText(line, sizeof line, "%8lu(%4X)  %s\n", (unsigned long)format, format, name);
        if (strlen(list) + strlen(line) + strlen(more) >= kListCap) {
            AppendText(list, kListCap, more);
            break;
        }
        AppendText(list, kListCap, line);
        ++count;
    }
    return count;
}

// The list, an empty line and the clipboard's text; the bare list when
// there is no text or no memory for both. A long text shows its start and
// its size, so the box still fits the screen.
static char* BuildMessage(HWND window, char* list)
{
    SIZE_T size = 0;
    char* text = GetClipboardText(window, &size);
    char* message = nullptr;
    if (text && size) {
        // Sizes as the library would store the text, so a Japanese text
        // reads as it always has.
        int form = StoredFormFor(text, "");
        size_t whole = StoredLength(text, form);
        size_t lines = PreviewLength(text, kPreviewLines, strlen(text)), shown = 0;
        for (size_t stored = 0; shown < lines;) {
            stored += StoredCharBytes(text + shown, form);
            if (stored > kPreviewBytes)
                break;
            shown += CharBytesAt(text + shown);
        }
        shown = shown < lines ? shown : lines;
        char total[kPathCap] = "";
        if (shown < strlen(text)) {
            char format[kPathCap] = "";
            LoadText(IDS_CLIP_TOTAL, format, sizeof format);
            total[0] = '\n';
            FormatText(total + 1, sizeof total - 1, format, (unsigned long)whole);
        }
        text[shown] = '\0';
        size_t cap = strlen(list) + shown + strlen(total) + kTextRoom;
        message = (char*)malloc(cap);
        if (message)
            FormatText(message, cap, "%s\n\n%s%s", list, text, total);
    }
    free(text);
    if (!list[0])
        LoadText(IDS_NO_CLIPDATA, list, kPathCap - 4);
    return message;
}

int ShowClipboardInfo(HWND window)
{
    char* list = (char*)calloc(kListCap, 1);
    if (!list)
        return ShowErrorBox(-1, NULL);
    if (!OpenClipboard(window)) {
        ShowErrorBox(-1, NULL);
        free(list);
        return 0;
    }
    int count = ListFormats(list);
    CloseClipboard();
    char* message = BuildMessage(window, list);
    SuspendMainDropTarget();
    // Information, not a question: the box carries the program's name.
    MessageBoxW(window, Widen(message ? message : list).c_str(), Widen(PRODUCT_NAME).c_str(),
                MB_ICONINFORMATION);
    ResumeMainDropTarget();
    free(message);
    free(list);
    return count;
}
