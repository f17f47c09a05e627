#include "itemlines.h"

#include <cstring>
#include <vector>

#include "itemtext.h"

long ReadFromMemory(void* source, char* buffer, long capacity)
{
    MemorySource* s = (MemorySource*)source;
    size_t n = s->size - s->pos;
    if (n > (size_t)capacity)
        n = (size_t)capacity;
    memcpy(buffer, s->data + s->pos, n);
    s->pos += n;
    return (long)n;
}

namespace {

enum { kBlank, kComment, kIgnored, kBracket, kEntry };

// One line as the reader takes it (a piece of at most 2047 bytes).
struct Line {
    size_t start, end;      // its bytes, line end included
    int kind;
    int entry;              // the entry this line (bracket or entry line) makes, or -1
    std::string lineKey;    // an entry line's own key, as written
};

struct Found {
    int line, bracket;      // the entry line and the bracket line naming it (-1)
    std::string key, value;
};

struct Layout {
    std::vector<Line> lines;
    std::vector<Found> entries;   // all of them, not only the shown ones
    bool lfOnly;
    int form;
};

void ParseLayout(const char* bytes, size_t size, int form, Layout* out)
{
    out->form = form;
    MemorySource source = {bytes, size, 0};
    LineReader reader;
    InitLineReader(&reader, ReadFromMemory, &source);
    ItemParse parse;
    InitItemParse(&parse, form);
    char line[kLineCap], copy[kLineCap], key[kTextCap], value[kTextCap];
    size_t start = 0;
    int bracket = -1;
    while (ReadTextLine(&reader, line, sizeof line)) {
        Line l = {start, source.pos - (size_t)(reader.len - reader.pos), kIgnored, -1, ""};
        start = l.end;
        memcpy(copy, line, strlen(line) + 1);
        TrimLineEnd(copy);
        int index = (int)out->lines.size();
        if (!copy[strspn(copy, " \t\r\n")])
            l.kind = kBlank;
        else if (copy[0] == '\'')
            l.kind = kComment;
        else if (ParseItemLine(copy, key, value, form) == kBracketLine)
            l.kind = kBracket;
        // The reader's own verdict decides what is an entry.
        if (TakeItemLine(&parse, line)) {
            l.kind = kEntry;
            l.lineKey = key;
            l.entry = (int)out->entries.size();
            if (bracket >= 0)
                out->lines[bracket].entry = l.entry;
            out->entries.push_back({index, bracket, parse.key, parse.value});
            bracket = -1;
        } else if (l.kind == kBracket) {
            bracket = index;   // a later one names the entry instead
        }
        out->lines.push_back(l);
    }
    const char* lf = (const char*)memchr(bytes, '\n', size);
    out->lfOnly = lf && (lf == bytes || lf[-1] != '\r');
}

int ShownCount(const Layout& layout)
{
    int n = (int)layout.entries.size();
    return n < kShownEntries ? n : kShownEntries;
}

// What becomes of a shown entry.
enum { kKeep, kReplace, kDelete, kMoved };

// One piece of the new file, with what the reader makes of it.
struct Segment {
    std::string text;
    size_t rawEnd;     // verbatim: where its bytes ended in the old file; else 0
    bool verbatim;
    int role;          // kBracket, kEntry or anything else
    bool named;        // an entry line that takes its key from a bracket line
    bool dropped;
};

struct Plan {
    std::vector<int> fate;                 // per shown entry
    std::vector<int> rowOf;                // per shown entry: the row replacing it
    std::vector<int> origin;               // per row: the entry it keeps or replaces, or -1
    std::vector<int> carried;              // per row: the moved entry it brings, or -1
    std::vector<std::vector<int>> after;   // per shown entry: rows inserted after its line
    std::vector<int> top;                  // rows inserted before the first entry
};

bool SameEntry(const Found& f, const EntryText& row)
{
    return f.key == (row.key ? row.key : "") && f.value == (row.value ? row.value : "");
}

// Between two kept entries, the entries and rows left over are paired in
// order: each such entry is changed into its row.
void PairGap(Plan* plan, std::vector<int>* entries, std::vector<int>* rows)
{
    for (size_t t = 0; t < entries->size() && t < rows->size(); ++t) {
        plan->fate[(*entries)[t]] = kReplace;
        plan->rowOf[(*entries)[t]] = (*rows)[t];
        plan->origin[(*rows)[t]] = (*entries)[t];
    }
    entries->clear();
    rows->clear();
}

// Entries and rows matched as a longest common subsequence; between two
// matches the entries and rows left over are paired in order (changed),
// and what is left after that is deleted or new.
bool MakePlan(const Layout& layout, int shown, const EntryText* rows, int count, Plan* plan)
{
    std::vector<std::vector<int>> lcs(shown + 1, std::vector<int>(count + 1, 0));
    for (int i = shown - 1; i >= 0; --i)
        for (int j = count - 1; j >= 0; --j)
            lcs[i][j] = SameEntry(layout.entries[i], rows[j])
                            ? lcs[i + 1][j + 1] + 1
                            : (lcs[i + 1][j] > lcs[i][j + 1] ? lcs[i + 1][j] : lcs[i][j + 1]);
    if (lcs[0][0] == shown && shown == count)
        return false;
    plan->fate.assign(shown, kDelete);
    plan->rowOf.assign(shown, -1);
    plan->origin.assign(count, -1);
    plan->carried.assign(count, -1);
    plan->after.assign(shown, std::vector<int>());
    std::vector<int> gapEntries, gapRows;
    int i = 0, j = 0;
    while (i < shown || j < count) {
        bool match = i < shown && j < count && SameEntry(layout.entries[i], rows[j]) &&
                     lcs[i][j] == lcs[i + 1][j + 1] + 1;
        if (!match && i < shown && (j == count || lcs[i + 1][j] >= lcs[i][j + 1])) {
            gapEntries.push_back(i++);
        } else if (!match) {
            gapRows.push_back(j++);
        } else {
            PairGap(plan, &gapEntries, &gapRows);
            plan->fate[i] = kKeep;
            plan->origin[j] = i;
            ++i;
            ++j;
        }
    }
    PairGap(plan, &gapEntries, &gapRows);
    // A new row equal to a deleted entry is that entry moved: its lines go along.
    for (int r = 0; r < count; ++r) {
        if (plan->origin[r] >= 0)
            continue;
        for (int e = 0; e < shown; ++e)
            if (plan->fate[e] == kDelete && SameEntry(layout.entries[e], rows[r])) {
                plan->fate[e] = kMoved;
                plan->carried[r] = e;
                break;
            }
        int before = r - 1;
        while (before >= 0 && plan->origin[before] < 0)
            --before;
        if (before >= 0)
            plan->after[plan->origin[before]].push_back(r);
        else
            plan->top.push_back(r);
    }
    return true;
}

std::string Escaped(const char* text, char from, char to)
{
    std::string s(text ? text : "");
    for (char& c : s)
        if (c == from)
            c = to;
    return s;
}

// The bracket line and entry line read back, alone, as exactly key and value.
bool ReadsAs(const std::string& bracket, const std::string& line, const EntryText& row, int form)
{
    char buf[kLineCap];
    // Each line must stay one piece of the reader, line end included.
    for (const std::string* s : {&bracket, &line})
        if (s->size() + 1 >= sizeof buf || s->find('\n') != std::string::npos)
            return false;
    ItemParse parse;
    InitItemParse(&parse, form);
    memcpy(buf, bracket.c_str(), bracket.size() + 1);
    if (TakeItemLine(&parse, buf) || !parse.pendingKey[0])
        return false;
    memcpy(buf, line.c_str(), line.size() + 1);
    return TakeItemLine(&parse, buf) && strcmp(parse.key, row.key) == 0 &&
           strcmp(parse.value, row.value) == 0;
}

std::string Body(const char* bytes, const Line& line)
{
    size_t end = line.end;
    if (end > line.start && bytes[end - 1] == '\n')
        --end;
    if (end > line.start && bytes[end - 1] == '\r')
        --end;
    return std::string(bytes + line.start, end - line.start);
}

std::string LineEnd(const char* bytes, const Line& line)
{
    size_t used = line.start + Body(bytes, line).size();
    return std::string(bytes + used, line.end - used);
}

struct Builder {
    const char* bytes;
    const Layout* layout;
    const EntryText* rows;
    bool shortcut;
    std::string newline;
    std::vector<Segment> out;
    int badRow;

    void Verbatim(int index, bool named = false)
    {
        const Line& l = layout->lines[index];
        out.push_back({std::string(bytes + l.start, l.end - l.start), l.end, true, l.kind, named,
                       false});
    }

    void Text(const std::string& text, int role, bool named)
    {
        out.push_back({text, 0, false, role, named, false});
    }

    // A row the way a new entry is written; false when it cannot be.
    bool Plain(int row, const std::string& lineEnd)
    {
        std::string text;
        if (!EntryReadsBack(rows[row].key, rows[row].value, shortcut, layout->form) ||
            !AppendItemEntry(&text, rows[row].key, rows[row].value, shortcut)) {
            badRow = row;
            return false;
        }
        text.resize(text.size() - 2);   // the writer's CR LF
        for (size_t at = 0; newline == "\n" && (at = text.find("\r\n", at)) != std::string::npos;)
            text.erase(at, 1);
        // A shortcut's address goes out under a section line of its own.
        Text(text + lineEnd, kEntry, text.find('\n') != std::string::npos);
        return true;
    }

    bool Insert(const Plan& plan, int row)
    {
        int moved = plan.carried[row];
        if (moved < 0)
            return Plain(row, newline);
        const Found& f = layout->entries[moved];
        if (f.bracket >= 0)
            Verbatim(f.bracket);
        Verbatim(f.line, f.bracket >= 0);
        return true;
    }

    // A changed entry, line by line: its bracket line and entry line kept
    // where they still read as the row, else the row written plain in the
    // entry line's place.
    bool Replace(int entry, int row, int index)
    {
        const Found& f = layout->entries[entry];
        const EntryText& r = rows[row];
        const Line& line = layout->lines[f.line];
        bool sameKey = f.key == r.key, sameValue = f.value == r.value;
        std::string bracket, entryLine = Body(bytes, line);
        if (f.bracket >= 0) {
            bracket = sameKey ? Body(bytes, layout->lines[f.bracket])
                              : "[" + Escaped(r.key, '=', (char)kKeyEqualsByte) + "]";
            if (!sameValue)
                entryLine = line.lineKey + "=" + Escaped(r.value, '\n', (char)kValueNewlineByte);
        }
        bool named = f.bracket >= 0 && ReadsAs(bracket, entryLine, r, layout->form);
        std::string end = LineEnd(bytes, layout->lines[index]);
        if (index == f.bracket) {
            if (named && sameKey)
                Verbatim(index);
            else if (named)
                Text(bracket + end, kBracket, false);
            return true;
        }
        if (named && sameValue)
            Verbatim(index, true);
        else if (named)
            Text(entryLine + end, kEntry, true);
        else
            return Plain(row, end);
        return true;
    }
};

// Section lines left before an entry line that takes no name from one
// would give it theirs: they named nothing in the file as read, so they go.
void DropStrayBrackets(std::vector<Segment>* out)
{
    std::vector<size_t> brackets;
    for (size_t k = 0; k < out->size(); ++k) {
        Segment& s = (*out)[k];
        if (s.role == kBracket) {
            brackets.push_back(k);
        } else if (s.role == kEntry) {
            if (!s.named)
                for (size_t b : brackets)
                    (*out)[b].dropped = true;
            brackets.clear();
        }
    }
}

std::string Join(const std::vector<Segment>& out, size_t size, const std::string& newline)
{
    std::string all;
    const Segment* last = nullptr;
    for (const Segment& s : out) {
        if (s.dropped)
            continue;
        // A line without its end gets one when more follows, unless it is a
        // full piece of a longer line, which the reader cuts there anyway.
        if (last && all.back() != '\n' && (!last->verbatim || last->rawEnd == size))
            all += newline;
        all += s.text;
        last = &s;
    }
    return all;
}

// The new bytes read as the rows, then the entries no row showed.
bool ReadsBack(const std::string& bytes, const Layout& old, int shown, const EntryText* rows,
               int count)
{
    Layout now;
    ParseLayout(bytes.data(), bytes.size(), old.form, &now);
    if (now.entries.size() != old.entries.size() - shown + count)
        return false;
    for (int r = 0; r < count; ++r)
        if (!SameEntry(now.entries[r], rows[r]))
            return false;
    for (size_t e = shown; e < old.entries.size(); ++e) {
        const Found& a = old.entries[e];
        const Found& b = now.entries[e - shown + count];
        if (a.key != b.key || a.value != b.value)
            return false;
    }
    return true;
}

}  // namespace

int CountHiddenLines(const char* bytes, size_t size, int form)
{
    Layout layout;
    ParseLayout(bytes, size, form, &layout);
    int hidden = 0;
    for (const Line& line : layout.lines)
        if (line.kind != kBlank && line.kind != kComment &&
            (line.entry < 0 || line.entry >= kShownEntries))
            ++hidden;
    return hidden;
}

int RewriteItemBytes(const char* bytes, size_t size, const EntryText* rows, int count,
                     bool shortcut, std::string* out, int* badRow, int form)
{
    *badRow = -1;
    if (count < 0 || count > kShownEntries || (count && !rows))
        return kRewriteFailed;
    for (int r = 0; r < count; ++r)
        if (!rows[r].key || !rows[r].value)
            return kRewriteFailed;
    Layout layout;
    ParseLayout(bytes, size, form, &layout);
    int shown = ShownCount(layout);
    Plan plan;
    if (!MakePlan(layout, shown, rows, count, &plan))
        return kRewriteUnchanged;

    Builder b = {bytes, &layout, rows, shortcut, layout.lfOnly ? "\n" : "\r\n", {}, -1};
    int first = shown ? layout.entries[0].bracket >= 0 ? layout.entries[0].bracket
                                                       : layout.entries[0].line
                      : (int)layout.lines.size();
    bool ok = true;
    for (int k = 0; k <= (int)layout.lines.size() && ok; ++k) {
        if (k == first)
            for (int r : plan.top)
                ok = ok && b.Insert(plan, r);
        if (k == (int)layout.lines.size())
            break;
        const Line& line = layout.lines[k];
        int e = line.entry;
        if (e < 0 || e >= shown) {
            b.Verbatim(k, e >= 0 && line.kind == kEntry && layout.entries[e].bracket >= 0);
            continue;
        }
        if (plan.fate[e] == kKeep)
            b.Verbatim(k, line.kind == kEntry && layout.entries[e].bracket >= 0);
        else if (plan.fate[e] == kReplace)
            ok = b.Replace(e, plan.rowOf[e], k);
        if (line.kind == kEntry)
            for (int r : plan.after[e])
                ok = ok && b.Insert(plan, r);
    }
    if (!ok) {
        *badRow = b.badRow;
        return kRewriteFailed;
    }
    DropStrayBrackets(&b.out);
    std::string result = Join(b.out, size, b.newline);
    if (!ReadsBack(result, layout, shown, rows, count))
        return kRewriteFailed;
    out->swap(result);
    return kRewriteDone;
}
