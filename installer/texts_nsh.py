#!/usr/bin/env python3
"""The installer's texts in every language of resources/lang, as an NSIS
include file that quenfel.nsi takes with !include.

    texts_nsh.py LANG_DIR OUT_NSH

For each language, English first (the fallback for a Windows language the
installer does not have), it inserts the Modern UI's own translation of the
standard pages and defines a LangString for each installer.* text, named by
its key: $(installer.autorun). A text's {1} becomes $R1 (and {2} $R2), which
the script sets before it shows the text. A language tag that NSIS has no
translation for stops the build, naming the tag.
"""
import os
import sys

# No __pycache__ left in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources"))
import texts  # noqa: E402

PREFIX = "installer."

# The name of NSIS's language file ("Language files/<name>.nlf") for each tag.
NSIS_LANGUAGES = {
    "en": "English",
    "ar": "Arabic",
    "cs": "Czech",
    "de": "German",
    "es": "Spanish",
    "fr": "French",
    "he": "Hebrew",
    "id": "Indonesian",
    "it": "Italian",
    "ja": "Japanese",
    "ko": "Korean",
    "nl": "Dutch",
    "pl": "Polish",
    "pt-BR": "PortugueseBR",
    "ru": "Russian",
    "sv": "Swedish",
    "tr": "Turkish",
    "uk": "Ukrainian",
    "vi": "Vietnamese",
    "zh-Hans": "SimpChinese",
    "zh-Hant": "TradChinese",
    "bg": "Bulgarian",
    "da": "Danish",
    "el": "Greek",
    "et": "Estonian",
    "fi": "Finnish",
    "hr": "Croatian",
    "hu": "Hungarian",
    "lt": "Lithuanian",
    "lv": "Latvian",
    "nb": "Norwegian",
    "pt-PT": "Portuguese",
    "ro": "Romanian",
    "sk": "Slovak",
    "sl": "Slovenian",
    "sr-Latn": "SerbianLatin",
    "th": "Thai",
}

# Left-to-right embedding around what the installer puts in: a path in an
# Arabic or Hebrew sentence keeps its backslashes and dots in their places.
LRE, PDF = "\u202a", "\u202c"


def nsis_string(text, rtl):
    """The text as a quoted NSIS string, its {n} turned into $Rn."""
    out = []
    i = 0
    while i < len(text):
        ch = text[i]
        match = texts.PLACEHOLDER.match(text, i)
        if match:
            register = "$R" + match.group(1)
            out.append(LRE + register + PDF if rtl else register)
            i = match.end()
            continue
        if ch == "$":
            out.append("$$")
        elif ch == '"':
            out.append('$\\"')
        elif ch == "\t":
            out.append("$\\t")
        elif ord(ch) < 0x20:
            raise texts.TextError(f"a control character (U+{ord(ch):04X}) in {text!r}")
        else:
            out.append(ch)
        i += 1
    return '"' + "".join(out) + '"'


def nsh(languages):
    lines = ["; Made by installer/texts_nsh.py from resources/lang; edit those files instead."]
    names = []
    for lang in languages:
        name = NSIS_LANGUAGES.get(lang.tag)
        if name is None:
            raise texts.TextError(
                f"{lang.path}: no NSIS language is known for the tag {lang.tag}; add its NSIS "
                f"name (its file in NSIS's 'Language files', without .nlf) to NSIS_LANGUAGES "
                f"in installer/texts_nsh.py")
        names.append(name)
        lines.append(f'!insertmacro MUI_LANGUAGE "{name}"')
    keys = [k for k in languages[0].texts if k.startswith(PREFIX)]
    for lang, name in zip(languages, names):
        lines.append("")
        lines.append(f"; {lang.tag}")
        for key in keys:
            try:
                value = nsis_string(lang.texts[key], lang.direction == "rtl")
            except texts.TextError as e:
                raise texts.TextError(f"{lang.path}:{lang.lines[key]}: {key}: {e}")
            lines.append(f"LangString {key} ${{LANG_{name.upper()}}} {value}")
    return "\n".join(lines) + "\n"


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        text = nsh(texts.read(argv[1]))
    except (texts.TextError, OSError) as e:
        print(f"texts_nsh: {e}", file=sys.stderr)
        return 1
    out = argv[2]
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    # With its byte order mark, makensis reads the file as UTF-8 whatever the
    # host's code page. Written aside and renamed, so that a build running at
    # the same time never includes half a file.
    part = f"{out}.{os.getpid()}.part"
    with open(part, "w", encoding="utf-8-sig") as f:
        f.write(text)
    os.replace(part, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
