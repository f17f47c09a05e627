#!/usr/bin/env python3
"""Builds and checks the help file ZORIVEN.CHM.

  help.py build SRC DOCS HEADER OUTDIR CHM
      SRC     the help sources (res/help: UTF-8 topics, project, contents, index)
      DOCS    the folder of the dialog pictures the topics show (docs)
      HEADER  res/resource.h, where the context ids IDH_* are defined
      OUTDIR  a scratch folder for the Shift_JIS copies
      CHM     the help file to write
  help.py check CHM [HEADER]
      unpacks CHM and checks its context map, contents, index, links,
      pictures and encoding; with HEADER also that every IDH_* id is mapped.

Either fails with a message naming what is wrong and a non-zero exit.
"""
import html.parser
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import urllib.parse

PROJECT = "zoriven.hhp"
TEXT_EXTS = (".html", ".htm", ".hhc", ".hhk", ".hhp", ".css")
PICTURE_DIR = "images"   # where the pictures from DOCS go inside the help file


class Failure(Exception):
    pass


def fail(message):
    raise Failure(message)


# ---------------------------------------------------------------- sources

def read_sections(text):
    """The .hhp's sections as {NAME: [lines]}, comments and blanks left out."""
    sections, current = {}, None
    for raw in text.splitlines():
        line = raw.split(";", 1)[0].strip()
        if not line:
            continue
        m = re.fullmatch(r"\[(.+)\]", line)
        if m:
            current = sections.setdefault(m.group(1).upper(), [])
        elif current is not None:
            current.append(line)
    return sections


def option(sections, key):
    for line in sections.get("OPTIONS", []):
        name, _, value = line.partition("=")
        if name.strip().lower() == key.lower():
            return value.strip()
    return ""


def header_ids(header):
    """The help context ids IDH_* of the resource header, {name: number}."""
    with open(header, encoding="utf-8") as f:
        text = f.read()
    return {m.group(1): int(m.group(2), 0)
            for m in re.finditer(r"^#define\s+(IDH_\w+)\s+(\w+)", text, re.M)}


class Links(html.parser.HTMLParser):
    """Local links, pictures and anchors of one page, or the Local params
    of a contents or index file."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.refs, self.anchors, self.charset = [], set(), None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        for key in ("id", "name"):
            if tag != "param" and a.get(key):
                self.anchors.add(a[key])
        if tag == "a" and a.get("href"):
            self.refs.append(a["href"])
        elif tag in ("img", "script") and a.get("src"):
            self.refs.append(a["src"])
        elif tag == "link" and a.get("href"):
            self.refs.append(a["href"])
        elif tag == "param" and (a.get("name") or "").lower() == "local":
            self.refs.append(a.get("value") or "")
        elif tag == "meta" and (a.get("http-equiv") or "").lower() == "content-type":
            m = re.search(r"charset=([\w-]+)", a.get("content") or "", re.I)
            self.charset = m and m.group(1)


def parse(text):
    p = Links()
    p.feed(text)
    p.close()
    return p


def local_target(page, ref):
    """(file, fragment) a reference points to inside the help file, or None
    for a link that leaves it."""
    parts = urllib.parse.urlsplit(ref)
    if parts.scheme or parts.netloc:
        return None
    path = urllib.parse.unquote(parts.path)
    if path:
        path = os.path.normpath(os.path.join(os.path.dirname(page), path)).replace(os.sep, "/")
    else:
        path = page
    return path, parts.fragment


def check_pages(files, read):
    """Every reference of every page, contents and index file resolves to a
    file (and anchor) among files; every page declares Shift_JIS.
    read(name) gives the page's text."""
    parsed = {}

    def page(name):
        if name not in parsed:
            parsed[name] = parse(read(name))
        return parsed[name]

    errors = []
    for name in sorted(files):
        if not name.lower().endswith((".html", ".htm", ".hhc", ".hhk")):
            continue
        p = page(name)
        if name.lower().endswith((".html", ".htm")) and (p.charset or "").lower() != "shift_jis":
            errors.append(f"{name}: no <meta> declaring charset=Shift_JIS")
        for ref in p.refs:
            target = local_target(name, ref)
            if target is None:
                continue
            path, fragment = target
            if path not in files:
                errors.append(f"{name}: '{ref}' names a file that is not in the help")
            elif fragment and path.lower().endswith((".html", ".htm")) and fragment not in page(path).anchors:
                errors.append(f"{name}: '{ref}' names an anchor that {path} lacks")
    if errors:
        fail("\n".join(errors))


def to_shift_jis(source, target):
    with open(target, "wb") as out:
        done = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932", source],
                              stdout=out, stderr=subprocess.PIPE)
    if done.returncode != 0:
        fail(f"{source}: cannot be written in Shift_JIS: {done.stderr.decode(errors='replace').strip()}")


def build(src, docs, header, outdir, chm):
    project_path = os.path.join(src, PROJECT)
    with open(project_path, encoding="utf-8") as f:
        project = f.read()
    sections = read_sections(project)
    files = sections.get("FILES", [])
    contents, index, default = option(sections, "Contents file"), option(sections, "Index file"), option(sections, "Default topic")
    compiled = option(sections, "Compiled file")
    errors = []
    for name in files + [contents, index, default]:
        if not name or not os.path.isfile(os.path.join(src, name)):
            errors.append(f"{project_path}: lists '{name}', which is not in {src}")
    if default and default not in files:
        errors.append(f"{project_path}: the default topic '{default}' is not under [FILES]")

    # The context ids are those of the resource header, written once there;
    # the project names their topics.
    ids = header_ids(header)
    aliases = {}
    for line in sections.get("ALIAS", []):
        name, _, topic = (s.strip() for s in line.partition("="))
        aliases[name] = topic
        if topic not in files:
            errors.append(f"{project_path}: [ALIAS] {name} names '{topic}', which is not under [FILES]")
        if name not in ids:
            errors.append(f"{project_path}: [ALIAS] {name} is not defined in {header}")
    for name, number in sorted(ids.items()):
        if name not in aliases:
            errors.append(f"{header}: context id {name} ({number}) has no topic under [ALIAS] in {project_path}")
    if sections.get("MAP"):
        errors.append(f"{project_path}: leave [MAP] out; it is made from {header}")
    if errors:
        fail("\n".join(errors))

    # Shift_JIS copies, then the pictures the pages show.
    if os.path.isdir(outdir):
        shutil.rmtree(outdir)
    os.makedirs(os.path.join(outdir, PICTURE_DIR))
    for name in files + [contents, index, PROJECT]:
        target = os.path.join(outdir, name)
        if name.lower().endswith(TEXT_EXTS):
            to_shift_jis(os.path.join(src, name), target)
        else:
            shutil.copyfile(os.path.join(src, name), target)
    pictures = set()
    for name in files:
        if name.lower().endswith((".html", ".htm")):
            with open(os.path.join(src, name), encoding="utf-8") as f:
                for ref in parse(f.read()).refs:
                    target = local_target(name, ref)
                    if target and target[0].startswith(PICTURE_DIR + "/"):
                        pictures.add(target[0])
    for picture in sorted(pictures):
        source = os.path.join(docs, picture[len(PICTURE_DIR) + 1:])
        if not os.path.isfile(source):
            errors.append(f"{picture}: a page shows it, but {source} does not exist")
        else:
            shutil.copyfile(source, os.path.join(outdir, picture))
    if errors:
        fail("\n".join(errors))
    everything = set(files) | pictures | {contents, index}

    def read_source(name):
        with open(os.path.join(src, name), encoding="utf-8") as f:
            return f.read()
    check_pages(everything, read_source)

    # The project as chmcmd reads it: the pictures listed, the map written out.
    with open(os.path.join(outdir, PROJECT), encoding="cp932") as f:
        text = f.read()
    text = text.replace("[FILES]\n", "[FILES]\n" + "".join(p + "\n" for p in sorted(pictures)), 1)
    text += "\n[MAP]\n" + "".join(f"#define {name} {ids[name]}\n" for name in sorted(aliases))
    with open(os.path.join(outdir, PROJECT), "w", encoding="cp932") as f:
        f.write(text)

    done = subprocess.run(["chmcmd", "--no-html-scan", PROJECT], cwd=outdir,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    log = done.stdout.decode(errors="replace")
    problems = [l for l in log.splitlines() if l.startswith(("Error", "Warning"))]
    made = os.path.join(outdir, compiled)
    if done.returncode != 0 or problems or not os.path.isfile(made):
        fail(f"chmcmd failed (exit {done.returncode}):\n{log}")
    fix_context_map(made, outdir)
    check(made, header)
    shutil.copyfile(made, chm)


# ---------------------------------------------------------- the CHM itself

def encint(data, pos):
    value = 0
    while True:
        b = data[pos]
        pos += 1
        value = (value << 7) | (b & 0x7F)
        if b < 0x80:
            return value, pos


def put_encint(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


class Archive:
    """The directory of a CHM (ITSF version 3): enough to list its files and
    to point an entry at new data appended to content section 0."""

    def __init__(self, data):
        if data[:4] != b"ITSF" or struct.unpack_from("<I", data, 4)[0] != 3:
            fail("not a version 3 CHM file")
        self.data = bytearray(data)
        self.size_at = struct.unpack_from("<Q", data, 0x38)[0] + 8
        self.dir_at = struct.unpack_from("<Q", data, 0x48)[0]
        self.content_at = struct.unpack_from("<Q", data, 0x58)[0]
        if data[self.dir_at:self.dir_at + 4] != b"ITSP":
            fail("CHM directory not found")
        self.chunk_size, self.density = struct.unpack_from("<II", data, self.dir_at + 0x10)
        self.chunks = struct.unpack_from("<I", data, self.dir_at + 0x2C)[0]

    def chunk_at(self, n):
        return self.dir_at + 0x54 + n * self.chunk_size

    def entries(self, n):
        at = self.chunk_at(n)
        chunk = self.data[at:at + self.chunk_size]
        if chunk[:4] != b"PMGL":
            return None
        end = self.chunk_size - struct.unpack_from("<I", chunk, 4)[0]
        pos, out = 0x14, []
        while pos < end:
            length, pos = encint(chunk, pos)
            name = bytes(chunk[pos:pos + length]).decode("utf-8")
            pos += length
            section, pos = encint(chunk, pos)
            offset, pos = encint(chunk, pos)
            size, pos = encint(chunk, pos)
            out.append([name, section, offset, size])
        return out

    def listing_chunk(self, entries):
        """A PMGL chunk of entries, the quick-reference table at its end."""
        body, starts = bytearray(), []
        for name, section, offset, size in entries:
            starts.append(len(body))
            raw = name.encode("utf-8")
            body += put_encint(len(raw)) + raw + put_encint(section) + put_encint(offset) + put_encint(size)
        # Written backwards from the chunk's end: the entry count last, before
        # it the offset of every (1 + 2^density)th entry, counted as chmcmd does.
        step = 1 + (1 << self.density)
        offsets = [starts[i] for i in range(step - 1, len(entries), step)]
        tail = b"".join(struct.pack("<H", o) for o in reversed(offsets)) + struct.pack("<H", len(entries))
        free = self.chunk_size - 0x14 - len(body)
        if free < len(tail):
            return None
        return body, tail, free

    def rewrite_chunk(self, n, entries):
        at = self.chunk_at(n)
        made = self.listing_chunk(entries)
        if made is None:
            fail("the CHM directory chunk has no room for the corrected entries")
        body, tail, free = made
        chunk = self.data[at:at + 0x14] + body
        chunk[4:8] = struct.pack("<I", free)
        chunk += bytes(self.chunk_size - len(chunk) - len(tail)) + tail
        self.data[at:at + self.chunk_size] = chunk

    def append(self, payload):
        """Appends payload to content section 0; its offset there."""
        offset = len(self.data) - self.content_at
        self.data += payload
        struct.pack_into("<Q", self.data, self.size_at, len(self.data))
        return offset


def extract(chm, name, folder):
    target = os.path.join(folder, name.strip("/").replace("/", "_"))
    subprocess.run(["chmls", "extract", chm, name, target], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if not os.path.isfile(target):
        return None
    with open(target, "rb") as f:
        return f.read()


def context_map(ivb, strings):
    count = struct.unpack_from("<I", ivb, 0)[0] // 8
    pairs = [struct.unpack_from("<II", ivb, 4 + 8 * i) for i in range(count)]
    return [(number, strings[offset:strings.index(b"\0", offset)].decode("cp932")) for number, offset in pairs]


def fix_context_map(chm, outdir):
    """chmcmd 3.2.2 writes each mapped topic's path on the build machine
    (/.../zoriven-help/edit.html) into the context map, where the help viewer
    looks for a path inside the file (edit.html). The map is written again,
    uncompressed, with the paths inside the file."""
    with tempfile.TemporaryDirectory() as tmp:
        ivb, strings = extract(chm, "/#IVB", tmp), extract(chm, "/#STRINGS", tmp)
    if ivb is None or strings is None:
        fail(f"{chm}: chmcmd wrote no context map")
    pairs = context_map(ivb, strings)
    root = os.path.realpath(outdir) + os.sep
    fixed = []
    for number, topic in pairs:
        if topic.startswith("/"):
            if not os.path.realpath(topic).startswith(root):
                fail(f"{chm}: context id {number} names {topic}, outside {outdir}")
            topic = os.path.relpath(os.path.realpath(topic), root).replace(os.sep, "/")
        fixed.append((number, topic))
    if fixed == pairs:
        return
    new_strings = bytearray(strings)
    new_ivb = bytearray(struct.pack("<I", 8 * len(fixed)))
    for number, topic in fixed:
        new_ivb += struct.pack("<II", number, len(new_strings))
        new_strings += topic.encode("cp932") + b"\0"

    with open(chm, "rb") as f:
        archive = Archive(f.read())
    where = {"/#IVB": archive.append(bytes(new_ivb)), "/#STRINGS": archive.append(bytes(new_strings))}
    sizes = {"/#IVB": len(new_ivb), "/#STRINGS": len(new_strings)}
    for n in range(archive.chunks):
        entries = archive.entries(n)
        if entries is None:
            continue
        # The chunk must come back byte for byte before it is changed.
        original = bytes(archive.data[archive.chunk_at(n):archive.chunk_at(n) + archive.chunk_size])
        archive.rewrite_chunk(n, entries)
        if bytes(archive.data[archive.chunk_at(n):archive.chunk_at(n) + archive.chunk_size]) != original:
            fail(f"{chm}: its directory is not laid out as this script writes it; the context map cannot be fixed")
        touched = False
        for entry in entries:
            if entry[0] in where:
                entry[1:] = [0, where[entry[0]], sizes[entry[0]]]
                touched = True
        if touched:
            archive.rewrite_chunk(n, entries)
    with open(chm, "wb") as f:
        f.write(archive.data)


def system_default_topic(system):
    pos = 4
    while pos + 4 <= len(system):
        code, length = struct.unpack_from("<HH", system, pos)
        if code == 2:
            return system[pos + 4:pos + 4 + length].split(b"\0")[0].decode("cp932")
        pos += 4 + length
    return None


def check(chm, header=None):
    with tempfile.TemporaryDirectory() as tmp:
        folder = os.path.join(tmp, "chm")
        done = subprocess.run(["chmls", "extractall", chm, folder], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        if done.returncode != 0 or not os.path.isdir(folder):
            fail(f"{chm}: chmls cannot unpack it:\n{done.stdout.decode(errors='replace')}")
        files = set()
        for base, _, names in os.walk(folder):
            for name in names:
                files.add(os.path.relpath(os.path.join(base, name), folder).replace(os.sep, "/"))
        topics = {f for f in files if f.lower().endswith((".html", ".htm"))}
        if not topics:
            fail(f"{chm}: holds no topic")

        def read(name):
            with open(os.path.join(folder, name), "rb") as f:
                return f.read()

        errors = []
        if "#IVB" not in files or "#STRINGS" not in files:
            fail(f"{chm}: has no context map")
        mapped = dict(context_map(read("#IVB"), read("#STRINGS")))
        for number, topic in sorted(mapped.items()):
            if topic.lstrip("/") not in topics:
                errors.append(f"context id {number} opens '{topic}', which is not a topic of the help file")
        if header:
            for name, number in sorted(header_ids(header).items()):
                if number not in mapped:
                    errors.append(f"context id {name} ({number}) of {header} is not mapped")
        default = system_default_topic(read("#SYSTEM")) if "#SYSTEM" in files else None
        if not default or default.lstrip("/") not in topics:
            errors.append(f"the default topic '{default}' is not a topic of the help file")
        for name in ("toc.hhc", "index.hhk"):
            if name not in files:
                errors.append(f"the help file has no {name}")
        texts = {}
        for name in sorted(topics | {f for f in files if f.endswith((".hhc", ".hhk"))}):
            try:
                texts[name] = read(name).decode("cp932")
            except UnicodeDecodeError as e:
                errors.append(f"{name}: not valid Shift_JIS ({e})")
        if errors:
            fail("\n".join(errors))
        check_pages(files, lambda name: texts.get(name) or read(name).decode("cp932", "replace"))


def main(argv):
    try:
        if len(argv) == 6 and argv[0] == "build":
            build(*argv[1:])
        elif len(argv) in (2, 3) and argv[0] == "check":
            check(*argv[1:])
            print(f"help.py: {argv[1]} is sound")
        else:
            print(__doc__, file=sys.stderr)
            return 2
    except Failure as e:
        print(f"help.py: ERROR: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
