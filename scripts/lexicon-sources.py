#!/usr/bin/env python3
"""Writes the text of Debian packages that the ready lexicons are made from,
one UTF-8 file per package, for quirlex-cli create-dictionary.

    lexicon-sources.py --list LANG          the packages of a language
    lexicon-sources.py OUTDIR PACKAGE...    OUTDIR/PACKAGE.txt for each
    lexicon-sources.py --copyright PACKAGE... the copyright file of lexicons
                                            made from these packages
    lexicon-sources.py --corpus-copyright PACKAGE...
                                            that of a sample corpus holding
                                            their text

Running text (documentation, manual pages, fortunes, glosses, dictionary
definitions) stays running text, so that its word counts and neighbours
reach the lexicon; word lists stay one word a line. Marks that the program
would take for letters (typographic quotes and dashes, symbols) and the
slash and double quote (which Create Dictionary keeps inside words) become
blanks. The same package versions always give the same bytes: files are
taken in sorted order and nothing depends on the locale or the time.
"""
import glob
import gzip
import html.parser
import os
import re
import subprocess
import sys
import unicodedata

DOC = "/usr/share/doc"


def decode(data):
    """UTF-8 where the bytes are UTF-8, else Windows-1252 (as the program reads)."""
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("cp1252", errors="replace")


def read(path):
    opener = gzip.open if path.endswith((".gz", ".dz")) else open
    with opener(path, "rb") as f:
        return decode(f.read())


def package_files(package, pattern):
    """The files of an installed package whose paths match `pattern`, sorted."""
    listed = subprocess.run(["dpkg-query", "-L", package], check=True, capture_output=True,
                            text=True).stdout.split("\n")
    return sorted(p for p in listed if re.search(pattern, p) and os.path.isfile(p))


# Everything but letters, digits and the separators below 0x40 (and there the
# slash and the double quote too) becomes a blank: in Windows-1252 such marks
# are word bytes and would glue onto the words around them.
NOT_TEXT = re.compile(r'["/_]|[^\w\x00-\x3f]')


def clean(text):
    return NOT_TEXT.sub(" ", unicodedata.normalize("NFC", text))


class HtmlText(html.parser.HTMLParser):
    """The text of an HTML page, without scripts and style sheets."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.skip, self.parts = 0, []

    def handle_starttag(self, tag, attrs):
        if tag in ("script", "style"):
            self.skip += 1
        elif tag in ("p", "div", "br", "li", "tr", "h1", "h2", "h3", "h4", "pre"):
            self.parts.append("\n")

    def handle_endtag(self, tag):
        if tag in ("script", "style"):
            self.skip = max(0, self.skip - 1)

    def handle_data(self, data):
        if self.skip == 0:
            self.parts.append(data)


def html_text(paths):
    out = []
    for path in paths:
        parser = HtmlText()
        parser.feed(read(path))
        out.append("".join(parser.parts))
    return "\n".join(out)


ROFF_COMMENT = re.compile(r'^[.\']\s*\\"|^\\"')
ROFF_REQUEST = re.compile(r"^[.']\s*[A-Za-z][A-Za-z0-9]*\s*")
ROFF_ESCAPE = re.compile(r"\\f\[[^]]*\]|\\f\(..|\\f.|\\s[+-]?\d|\\\*\[[^]]*\]|\\\*\(..|\\\*.|"
                         r"\\\(..|\\\[[^]]*\]|\\.")
# Requests whose arguments are no text.
ROFF_NO_TEXT = re.compile(r"^[.']\s*(de|ds|nr|if|ie|el|so|ft|ps|vs|in|ti|ll|ne|sp|ta|TH|"
                          r"PD|RS|RE|TS|TE|IX|hy|na|ad|nh|fi|nf|mso|ig|tr|am|rm|rn|als)\b")


def man_text(paths):
    out = []
    for path in paths:
        for line in read(path).split("\n"):
            if ROFF_COMMENT.match(line) or ROFF_NO_TEXT.match(line):
                continue
            out.append(ROFF_ESCAPE.sub("", ROFF_REQUEST.sub("", line)))
    return "\n".join(out)


def fortune_text(paths):
    # The .dat files are indexes, the .u8 files UTF-8 copies of the others.
    texts = [read(p) for p in paths if "." not in os.path.basename(p)]
    return "\n".join(re.sub(r"^%$", "", t, flags=re.M) for t in texts)


def word_list(paths):
    return "\n".join(read(p) for p in paths)


def affix_rules(aff):
    """The prefix and suffix rules of a Hunspell affix file: for each flag,
    whether it combines with the other kind and its (strip, add, condition)."""
    rules = {}
    for line in read(aff).split("\n"):
        fields = line.split()
        if len(fields) < 4 or fields[0] not in ("PFX", "SFX"):
            continue
        kind, flag = fields[0], fields[1]
        if fields[2] in ("Y", "N") and len(fields) == 4:
            rules[flag] = (kind, fields[2] == "Y", [])
            continue
        strip = "" if fields[2] == "0" else fields[2]
        add = fields[3].split("/", 1)[0]
        add = "" if add == "0" else add
        condition = fields[4] if len(fields) > 4 else "."
        pattern = "^" + condition if kind == "PFX" else condition + "$"
        rules[flag][2].append((strip, add, re.compile(pattern)))
    return rules


def affixed(word, rule):
    kind, _, entries = rule
    for strip, add, condition in entries:
        if not condition.search(word):
            continue
        if kind == "SFX" and word.endswith(strip):
            yield word[:len(word) - len(strip)] + add
        elif kind == "PFX" and word.startswith(strip):
            yield add + word[len(strip):]


def hunspell_forms(dic, aff):
    """Every word of a Hunspell dictionary with every form its affix flags
    give (a prefix and a suffix together where both may combine)."""
    rules = affix_rules(aff)
    out = []
    for line in read(dic).split("\n")[1:]:
        word, _, flags = line.split("\t", 1)[0].partition("/")
        if not word:
            continue
        forms = [word]
        mine = [rules[f] for f in flags if f in rules]
        suffixed = [(rule[1], form) for rule in mine if rule[0] == "SFX"
                    for form in affixed(word, rule)]
        forms += [form for _, form in suffixed]
        for rule in mine:
            if rule[0] != "PFX":
                continue
            forms += affixed(word, rule)
            if rule[1]:
                forms += [f for cross, s in suffixed if cross for f in affixed(s, rule)]
        out.append(" ".join(forms))
    return "\n".join(out)


def trans_text(path):
    """Both sides of each line "German :: English", without their tags: German
    texts about computers are full of English words."""
    out = []
    for line in read(path).split("\n"):
        if line.startswith("#") or "::" not in line:
            continue
        out.append(re.sub(r"\{[^}]*\}|\[[^]]*\]|::", " ", line))
    return "\n".join(out)


def thesaurus(path):
    lines = [l for l in read(path).split("\n") if not l.startswith("#")]
    return "\n".join(re.sub(r"\([^)]*\)", " ", l) for l in lines)


def wordnet_text(paths):
    """The words of each synset and its gloss."""
    out = []
    for path in paths:
        for line in read(path).split("\n"):
            if not line or line.startswith("  "):
                continue
            head, _, gloss = line.partition(" | ")
            fields = head.split(" ")
            words = [fields[4 + 2 * i] for i in range(int(fields[3], 16))]
            out.append(" ".join(re.sub(r"\([a-z]+\)$", "", w) for w in words) + "\n" + gloss)
    return "\n".join(out)


def gcide_text(path):
    # Pronunciations between backslashes are no words.
    return re.sub(r"\\[^\\\n]*\\", " ", read(path))


SOURCES = {
    "de": {
        "wngerman": lambda: word_list(["/usr/share/dict/ngerman"]),
        "hunspell-de-de": lambda: hunspell_forms("/usr/share/hunspell/de_DE.dic",
                                                 "/usr/share/hunspell/de_DE.aff"),
        "debian-reference-de": lambda: html_text(
            sorted(glob.glob(DOC + "/debian-reference-de/docs/*.de.html"))),
        "manpages-de": lambda: man_text(package_files("manpages-de", r"/man/de/man.*\.gz$")),
        "fortunes-de": lambda: fortune_text(package_files("fortunes-de", r"/games/fortunes/")),
        "trans-de-en": lambda: trans_text("/usr/share/trans/de-en"),
        "openthesaurus-de-text": lambda: thesaurus(
            "/usr/share/openthesaurus-de/openthesaurus.txt"),
    },
    "en": {
        "wamerican-huge": lambda: word_list(["/usr/share/dict/american-english-huge"]),
        "wbritish-huge": lambda: word_list(["/usr/share/dict/british-english-huge"]),
        "scowl": lambda: word_list(package_files("scowl", r"/dict/scowl/")),
        "wordnet-base": lambda: wordnet_text(
            [f"/usr/share/wordnet/data.{p}" for p in ("adj", "adv", "noun", "verb")]),
        "fortunes": lambda: fortune_text(package_files("fortunes", r"/games/fortunes/")),
        "fortunes-min": lambda: fortune_text(package_files("fortunes-min", r"/games/fortunes/")),
        "debian-reference-en": lambda: html_text(
            sorted(glob.glob(DOC + "/debian-reference-en/docs/*.en.html"))),
        "dict-gcide": lambda: gcide_text("/usr/share/dictd/gcide.dict.dz"),
    },
}


# Each package's upstream, copyright holders and licence, from its
# /usr/share/doc/PACKAGE/copyright.
LICENCES = {
    "wngerman": ("igerman98", "1999-2016 Björn Jacke", "GPL-2 or GPL-3"),
    "hunspell-de-de": ("igerman98", "1999-2016 Björn Jacke", "GPL-2 or GPL-3"),
    "debian-reference-de": ("Debian Reference", "2007-2013 Osamu Aoki and its translators",
                            "GPL-2+"),
    "manpages-de": ("German translations of manual pages",
                    "their translators (Chris Leick, Helge Kreutzmann, Mario Blättermann and "
                    "others) and the authors of the original pages", "GPL-3+"),
    "fortunes-de": ("fortunes-de", "1999-2012 Andreas Tille and the authors of the fortunes",
                    "GPL-2+"),
    "trans-de-en": ("Ding, the German-English dictionary", "1995-2023 Frank Richter", "GPL-2+"),
    "openthesaurus-de-text": ("OpenThesaurus", "2006 Daniel Naber and the users of "
                              "openthesaurus.de", "LGPL"),
    "wamerican": ("SCOWL", "2000-2011 Kevin Atkinson and the authors of its sources",
                  "permissive (the SCOWL licence: use, copy, modify, distribute and sell "
                  "with the copyright notice); parts public domain"),
    "wamerican-huge": ("SCOWL", "2000-2011 Kevin Atkinson and the authors of its sources",
                       "permissive (the SCOWL licence: use, copy, modify, distribute and sell "
                       "with the copyright notice); parts public domain"),
    "wbritish-huge": ("SCOWL", "2000-2011 Kevin Atkinson and the authors of its sources",
                      "permissive (the SCOWL licence: use, copy, modify, distribute and sell "
                      "with the copyright notice); parts public domain"),
    "scowl": ("SCOWL", "2000-2011 Kevin Atkinson and the authors of its sources",
              "permissive (the SCOWL licence: use, copy, modify, distribute and sell with the "
              "copyright notice); parts public domain"),
    "wordnet-base": ("WordNet 3.0", "1996-2012 Cognitive Science Laboratory, Princeton "
                     "University", "the WordNet 3.0 licence (use, copy, modify and distribute "
                     "with the copyright notice and its name)"),
    "fortunes": ("fortune-mod", "1991 The Regents of the University of California, and the "
                 "authors of the fortunes", "BSD-3-clause (the fortune files as their "
                 "notices in the package say)"),
    "fortunes-min": ("fortune-mod", "1991 The Regents of the University of California, and the "
                     "authors of the fortunes", "BSD-3-clause"),
    "debian-reference-en": ("Debian Reference", "2007-2013 Osamu Aoki", "GPL-2+"),
    "dict-gcide": ("GNU Collaborative International Dictionary of English",
                   "its contributors; Webster's Revised Unabridged Dictionary of 1913 (public "
                   "domain)", "GPL-2+"),
}


LEXICONS_HEADING = ("The lexicons in this folder are word lists and word counts made from the "
                    "text of these Debian packages (their words, not their text, are in the "
                    "files); each package's own copyright file tells more.")
CORPUS_HEADING = ("pqlexikon.txt, the sample corpus in this folder, is the text of these Debian "
                  "packages' word lists and fortunes, converted to Windows-1252 "
                  "(scripts/make-sample-corpus.sh); each package's own copyright file tells "
                  "more. The other sample files belong to Quirlex.")


def copyright_file(heading, packages):
    out = [heading, ""]
    for package in packages:
        upstream, holders, licence = LICENCES[package]
        version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], check=True,
                                 capture_output=True, text=True).stdout
        out += [f"Package: {package} {version}", f"Upstream: {upstream}",
                f"Copyright: {holders}", f"License: {licence}", ""]
    return "\n".join(out)


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--list":
        print(" ".join(SOURCES[sys.argv[2]]))
        return
    headings = {"--copyright": LEXICONS_HEADING, "--corpus-copyright": CORPUS_HEADING}
    if len(sys.argv) >= 2 and sys.argv[1] in headings:
        sys.stdout.write(copyright_file(headings[sys.argv[1]], sys.argv[2:]))
        return
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    makers = {name: make for lang in SOURCES.values() for name, make in lang.items()}
    for package in sys.argv[2:]:
        text = clean(makers[package]())
        with open(os.path.join(out, package + ".txt"), "w", encoding="utf-8", newline="\n") as f:
            f.write(text if text.endswith("\n") else text + "\n")


if __name__ == "__main__":
    main()
