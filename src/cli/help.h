// The --help texts of quirlex-cli.
#pragma once

namespace quirlex::cli {

inline constexpr const char* kProgramHelp =
    R"(Usage: quirlex-cli COMMAND [OPTIONS...]

Scrambles the interior letters of every word of a text, builds front-coded
dictionaries from text corpora and restores scrambled texts from them. Runs
the same commands as the Quirlex window. Texts, corpora and affix lists may be
UTF-8 or Windows-1252 (see --encoding); a text is written back in the
encoding it was read in, a lexicon file always as Windows-1252 bytes. A file
named '-' is standard input where a file is read (once per command) and
standard output where one is written.

Commands:
  shuffle INPUT [-o OUT] [--seed N] [--keep-punctuation] [--encoding E]
        Load INPUT and shuffle it; write the scrambled text.
  create-dictionary [CORPUS...] [--counts FILE]... -o LEXICON
            [--order sorted|text|frequency] [--bigrams] [--encoding E]
        Build a lexicon file from corpus texts and word-count files.
  translate SCRAMBLED -d LEXICON [--best] [--deep] [--suffixes FILE]
            [--prefixes FILE] [--compounds] [--context] [--unknown]
            [--source SOURCE] [-o OUT] [--encoding E]
        Restore a scrambled text from a lexicon (a file, or the name of an
        installed one such as de or en); write the restored text.
  lexicons
        List the lexicons that a name finds, with the files beside each.
  demo [--samples DIR]
        Run the whole pipeline on the bundled sample files and show each step.

Options:
  -h, --help  show this help
  --version   show the program's name and version

Run 'quirlex-cli COMMAND --help' for the options of a command.
Exit status: 0 on success, 1 when a file cannot be read or written, 2 for a
usage error.
)";

inline constexpr const char* kShuffleHelp =
    R"(Usage: quirlex-cli shuffle INPUT [-o OUT] [--seed N] [--keep-punctuation]
                          [--encoding E]

Loads INPUT as the window's Load does (umlauts spelled out, every word in its
own case) and shuffles the interior letters of every word of four or more
letters. Writes the scrambled text to OUT, or to standard output, in the
encoding INPUT was read in; characters that Windows-1252 lacks separate words
and come back unchanged.

Options:
  -o, --output OUT    the file to write ('-' or none: standard output)
  --seed N            the generator's state before shuffling, 0 to 4294967295
                      (default 1, the state at program start)
  --keep-punctuation  leave the marks before and after a word's letters in
                      place (quotation marks, brackets, | _ ~ and the like,
                      which otherwise count as part of the word), and with
                      them its first and last letter; the letters are A-Z,
                      a-z and the accented letters of Windows-1252
  --encoding E        how INPUT is read and OUT written: auto (default: UTF-8
                      when INPUT begins with a byte order mark or is valid
                      UTF-8 with a character beyond ASCII, else
                      Windows-1252), utf-8 or windows-1252
  -h, --help          show this help
)";

inline constexpr const char* kCreateDictionaryHelp =
    R"(Usage: quirlex-cli create-dictionary [CORPUS...] [--counts FILE]... -o LEXICON
                                    [--order ORDER] [--bigrams] [--encoding E]

Builds the lexicon from the corpus texts as the window's Create Dictionary
does: every word of four or more bytes, upper-cased, once, front-coded, one
entry per line. Word-count files (a corpus counted elsewhere) count as the
corpus they were counted from: one word a line with its count, as
WORD<TAB>COUNT, COUNT WORD (as 'uniq -c' writes it) or RANK<TAB>WORD<TAB>COUNT.
The counts of equal words add up across all sources; in the text order the
corpora come first, then the count files, each in the order given.
Progress lines go to standard error.

Options:
  -o, --output LEXICON  the lexicon file to write (required; '-': standard
                        output)
  --order ORDER         the order of the words: sorted (by bytes, the
                        smallest file; the default), text (first appearance)
                        or frequency (rarest first, so the most frequent of
                        the words that look alike when scrambled wins: the
                        best restoring; words are taken as a reader sees
                        them, without the quote marks and brackets at their
                        ends, and the letter model of the words goes beside
                        the lexicon as LEXICON.letters, for translate
                        --unknown, unless LEXICON is '-')
  --no-sort             the same as --order text
  --counts FILE         a word-count file to read as well (may be given more
                        than once); a line of none of the forms ends the run
                        with status 1, naming the file and the line
  --bigrams             also write the corpus's bigram model of the lexicon
                        as LEXICON.bigrams, for translate --context (needs a
                        CORPUS: the model comes from running text; not with
                        '-o -')
  --encoding E          how CORPUS is read: auto (default: UTF-8 when it
                        begins with a byte order mark or is valid UTF-8 with a
                        character beyond ASCII, else Windows-1252), utf-8 or
                        windows-1252; the lexicon is Windows-1252 bytes
  -h, --help            show this help
)";

inline constexpr const char* kTranslateHelp =
    R"(Usage: quirlex-cli translate SCRAMBLED -d LEXICON [--best] [--deep]
                            [--suffixes FILE] [--prefixes FILE] [--compounds]
                            [--context] [--unknown] [--source SOURCE] [-o OUT]
                            [--encoding E]

Loads SOURCE (when given), loads the dictionary LEXICON, loads the scrambled
text SCRAMBLED and restores it as the window's Translate does. The accuracy
report against SOURCE goes to standard error (after the dictionary's progress
and report), the restored text to OUT or standard output. Without SOURCE the
report says instead how many words each step restored (the lexicon, Deep
Search, Compound Search, the letter model; how many the context choice
changed) and how many
words of four or more letters stayed as they were.

Options:
  -d, --dictionary LEXICON  the lexicon file (required); a name without a
                            slash that is no file of the working folder is
                            looked up as NAME and NAME.dic in the folders of
                            QUIRLEX_LEXICON_PATH (colon-separated), then in
                            $XDG_DATA_HOME/quirlex/lexicons (default
                            ~/.local/share/quirlex/lexicons), then among the
                            installed lexicons (see 'quirlex-cli lexicons');
                            a name found nowhere ends the run with status 1
  --best                    every step the lexicon has files for: Deep Search
                            with its own affix lists LEXICON.suffixes and
                            LEXICON.prefixes (unless --suffixes or --prefixes
                            are given), Compound Search, the context choice
                            (with LEXICON.bigrams) and the letter model (with
                            LEXICON.letters), as --unknown describes; a file
                            that is missing leaves its step out, one that is
                            there but cannot be used ends the run with status 1
  --deep                    Deep Search: also try every prefix + word + suffix
  --suffixes FILE           the suffix list for Deep Search (default: none)
  --prefixes FILE           the prefix list for Deep Search (default: none)
  --compounds               Compound Search: restore long words that no table
                            knows as two lexicon words joined (best with a
                            lexicon in frequency order)
  --context                 choose among the words that look alike when
                            scrambled by their neighbours, from the bigram
                            model LEXICON.bigrams (create-dictionary
                            --bigrams); a missing or damaged model ends the
                            run with status 1
  --unknown                 restore the words no table, variant or compound
                            restores by the order of their letters that the
                            letter model LEXICON.letters (create-dictionary
                            --order frequency) finds most likely, one order
                            per word of the text; words are then read as a
                            reader sees them (marks at their ends stay,
                            capitals by shape), compounds are weighed against
                            the model and, with --context, ties go by both
                            neighbours; a missing or damaged model ends the
                            run with status 1
  --source SOURCE           the source text the report compares against
  -o, --output OUT          the file to write ('-' or none: standard output)
  --encoding E              how SCRAMBLED, SOURCE and the affix lists are read
                            and OUT written: auto (default: UTF-8 when a file
                            begins with a byte order mark or is valid UTF-8
                            with a character beyond ASCII, else Windows-1252),
                            utf-8 or windows-1252; LEXICON is always read as
                            Windows-1252 bytes
  -h, --help                show this help
Without --deep the affix options have no effect.
)";

inline constexpr const char* kLexiconsHelp =
    R"(Usage: quirlex-cli lexicons

Lists every lexicon (a file NAME.dic) of the folders that translate -d NAME
looks in, in the order it looks: the folders of QUIRLEX_LEXICON_PATH
(colon-separated), $XDG_DATA_HOME/quirlex/lexicons (default
~/.local/share/quirlex/lexicons), the installed lexicons. For each it tells
the name, the number of words, whether its bigram model (.bigrams), letter
model (.letters) and affix lists (.suffixes, .prefixes) are beside it, and
its folder; a lexicon that another file of its name hides says which. When
there is none, the message names the folders and the status is 1.

Options:
  -h, --help  show this help
)";

inline constexpr const char* kDemoHelp =
    R"(Usage: quirlex-cli demo [--samples DIR]

Runs the whole pipeline on the sample files and prints each step for a
person to read: Load test2.txt, Shuffle, Save savedtext.txt, Create
Dictionary from pqlexikon.txt into Lexikon.dic, Load Dictionary with Deep
Search and Suffix_en.txt, Load shuffled text, Translate; then Translate once
more with a lexicon in frequency order and every best step. The files it
writes go beside the samples, or, when their folder is read-only or the
installed one, into a temporary folder removed at the end.

Options:
  --samples DIR  the folder of the sample files (default: the working folder
                 when it holds test2.txt, else the installed samples)
  -h, --help     show this help
)";

}  // namespace quirlex::cli
