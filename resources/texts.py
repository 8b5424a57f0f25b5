#!/usr/bin/env python3
"""The program's texts: one file per language in resources/lang, checked and
turned into C++ tables at build time.

    texts.py check LANG_DIR
    texts.py cpp LANG_DIR OUT_HEADER OUT_SOURCE

A file is lines of "key = text"; "@name" and "@direction" describe the
language; "#" starts a comment line. en.txt is the reference: every other
file must have exactly its keys, the same {n} placeholders, an access key
("&") wherever English has one, and no two texts of one group (the key's
part before the first dot) may share an access key, and a language that puts
its access keys on its own script puts none on a Latin letter. Any fault stops the
build with the file, the line and what is wrong.
"""
import os
import re
import sys
import unicodedata
import zlib

REFERENCE = "en"
PLACEHOLDER = re.compile(r"\{(\d)\}")
TAG = re.compile(r"^[a-z]{2,3}(-[A-Z][a-z]{3})?(-[A-Z]{2})?$")


class TextError(Exception):
    pass


class Language:
    def __init__(self, tag, path):
        self.tag = tag
        self.path = path
        self.name = ""
        self.direction = ""
        self.texts = {}  # key -> text
        self.lines = {}  # key -> line number


def parse(tag, path):
    lang = Language(tag, path)
    with open(path, encoding="utf-8") as f:
        raw = f.read()
    if raw.startswith("\ufeff"):
        raw = raw[1:]
    for number, line in enumerate(raw.splitlines(), 1):
        stripped = line.strip()
        if not stripped or stripped.startswith("#"):
            continue
        key, sep, text = stripped.partition("=")
        key, text = key.strip(), text.strip()
        where = f"{path}:{number}"
        if not sep or not key:
            raise TextError(f"{where}: not a 'key = text' line")
        if not text:
            raise TextError(f"{where}: {key} has no text")
        if key == "@name":
            lang.name = text
        elif key == "@direction":
            if text not in ("ltr", "rtl"):
                raise TextError(f"{where}: @direction is ltr or rtl, not {text}")
            lang.direction = text
        elif key.startswith("@"):
            raise TextError(f"{where}: unknown setting {key}")
        else:
            if not re.fullmatch(r"[a-z][a-z0-9_]*\.[a-z][a-z0-9_]*", key):
                raise TextError(f"{where}: {key} is not a key (group.name)")
            if key in lang.texts:
                raise TextError(f"{where}: {key} again (first on line {lang.lines[key]})")
            lang.texts[key] = text
            lang.lines[key] = number
    if not lang.name:
        raise TextError(f"{path}: no @name")
    if not lang.direction:
        raise TextError(f"{path}: no @direction")
    return lang


def access_key(text):
    """The letter after the single "&", or None; raises on more than one."""
    keys = []
    i = 0
    while i < len(text):
        if text[i] == "&":
            if i + 1 < len(text) and text[i + 1] == "&":
                i += 2
                continue
            if i + 1 >= len(text) or text[i + 1].isspace():
                raise ValueError("an '&' with no letter after it")
            keys.append(text[i + 1])
        i += 1
    if len(keys) > 1:
        raise ValueError("more than one access key")
    return keys[0].lower() if keys else None


def check(languages):
    ref = languages[REFERENCE]
    faults = []
    for lang in languages.values():
        where = lambda key: f"{lang.path}:{lang.lines.get(key, 0)}"
        if not TAG.match(lang.tag):
            faults.append(f"{lang.path}: the file name is not a language tag such as de or pt-BR")
        for key in ref.texts:
            if key not in lang.texts:
                faults.append(f"{lang.path}: {key} is missing")
        for key in lang.texts:
            if key not in ref.texts:
                faults.append(f"{where(key)}: {key} is not a key of {REFERENCE}.txt")
        groups = {}
        keys_by_script = {True: [], False: []}
        for key, text in lang.texts.items():
            if key not in ref.texts:
                continue
            english = ref.texts[key]
            wanted = sorted(PLACEHOLDER.findall(english))
            if sorted(PLACEHOLDER.findall(text)) != wanted:
                held = " ".join("{%s}" % p for p in wanted) or "no placeholder"
                faults.append(f"{where(key)}: {key} must hold {held}, each once")
            try:
                letter, english_letter = access_key(text), access_key(english)
            except ValueError as e:
                faults.append(f"{where(key)}: {key}: {e}")
                continue
            if (letter is None) != (english_letter is None):
                faults.append(f"{where(key)}: {key} " + ("needs an access key (&)" if english_letter else "has an access key English has not"))
            if letter is not None:
                group = key.split(".")[0]
                other = groups.setdefault(group, {}).get(letter)
                if other:
                    faults.append(f"{where(key)}: {key} and {other} share the access key '{letter}'")
                else:
                    groups[group][letter] = key
                keys_by_script[unicodedata.name(letter, "").startswith("LATIN")].append(key)
        # A language that puts its access keys on its own script is typed on
        # a keyboard of that script, where a Latin letter cannot be typed.
        if keys_by_script[False]:
            for key in keys_by_script[True]:
                faults.append(f"{where(key)}: {key}'s access key is a Latin letter; this language's keyboard types its own script")
    if faults:
        raise TextError("\n".join(faults))


def read(lang_dir):
    languages = {}
    for name in sorted(os.listdir(lang_dir)):
        if name.endswith(".txt"):
            tag = name[:-4]
            languages[tag] = parse(tag, os.path.join(lang_dir, name))
    if REFERENCE not in languages:
        raise TextError(f"{lang_dir}: no {REFERENCE}.txt")
    check(languages)
    # English first: the default and the fallback.
    return [languages[REFERENCE]] + [l for t, l in languages.items() if t != REFERENCE]


def identifier(key):
    return "".join(part.capitalize() for part in re.split(r"[._]", key))


def literal(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in '"\\':
            out.append("\\" + ch)
        elif 0x20 <= code < 0x7F:
            out.append(ch)
        elif code <= 0xFFFF:
            out.append(f"\\u{code:04X}")
        else:
            out.append(f"\\U{code:08X}")
    return 'L"' + "".join(out) + '"'


def utf8_literal(text):
    # The texts themselves in UTF-8, half the size of UTF-16 for most
    # languages; octal escapes, which unlike \x stop after three digits.
    out = []
    for byte in text.encode("utf-8"):
        ch = chr(byte)
        if ch in '"\\':
            out.append("\\" + ch)
        elif 0x20 <= byte < 0x7F:
            out.append(ch)
        else:
            out.append(f"\\{byte:03o}")
    return '"' + "".join(out) + '"'


def packed(text_list):
    """The texts, each ended by a zero, as raw DEFLATE data."""
    raw = b"".join(t.encode("utf-8") + b"\0" for t in text_list)
    packer = zlib.compressobj(9, zlib.DEFLATED, -15, 9)
    return raw, packer.compress(raw) + packer.flush()


def byte_rows(data):
    return ["    " + "".join(f"{b}," for b in data[i:i + 24]) for i in range(0, len(data), 24)]


def write_cpp(languages, header, source):
    # The installer's texts stay out of the program: it never shows them.
    keys = [k for k in languages[0].texts if not k.startswith("installer.")]
    h = ["// Made by resources/texts.py from resources/lang; edit those files instead.",
         "#pragma once", "", "#include <cstdint>", "",
         "enum class TText : std::uint16_t {"]
    h += [f"    {identifier(k)}," for k in keys]
    h += ["};", "", f"inline constexpr std::size_t kTextCount = {len(keys)};",
          f"inline constexpr std::size_t kLanguageCount = {len(languages)};", ""]
    c = ["// Made by resources/texts.py from resources/lang; edit those files instead.",
         '#include "toolkit/texts.h"', "", "namespace {", ""]
    # English, the program's own words and every language's fallback, as it
    # is: a program in English unpacks nothing. The others packed, to less
    # than half their size, each unpacked when first spoken.
    english = languages[0]
    c.append(f"// {english.tag}")
    c.append("const char* const kEnglishTexts[kTextCount] = {")
    c += [f"    {utf8_literal(english.texts[k])}," for k in keys]
    c += ["};", ""]
    sizes = {}
    for i, lang in enumerate(languages[1:], 1):
        raw, data = packed([lang.texts[k] for k in keys])
        sizes[i] = (len(data), len(raw))
        c.append(f"// {lang.tag}: {len(raw)} bytes")
        c.append(f"const unsigned char kPacked{i}[{len(data)}] = {{")
        c += byte_rows(data)
        c += ["};", ""]
    c += ["} // namespace", "", "const TLanguage kLanguages[kLanguageCount] = {"]
    for i, lang in enumerate(languages):
        rtl = "true" if lang.direction == "rtl" else "false"
        if i == 0:
            c.append(f"    {{{literal(lang.tag)}, {literal(lang.name)}, {rtl}, kEnglishTexts, nullptr, 0, 0}},")
        else:
            c.append(f"    {{{literal(lang.tag)}, {literal(lang.name)}, {rtl}, nullptr, kPacked{i}, "
                     f"{sizes[i][0]}, {sizes[i][1]}}},")
    c += ["};", ""]
    for path, lines in ((header, h), (source, c)):
        text = "\n".join(lines) + "\n"
        # Unchanged output keeps its time stamp, so nothing rebuilds for nothing.
        if os.path.exists(path) and open(path, encoding="utf-8").read() == text:
            continue
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)


def main(argv):
    try:
        if len(argv) == 3 and argv[1] == "check":
            read(argv[2])
        elif len(argv) == 5 and argv[1] == "cpp":
            write_cpp(read(argv[2]), argv[3], argv[4])
        else:
            print(__doc__, file=sys.stderr)
            return 2
    except TextError as e:
        print(f"texts: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
