// The names each file dialog is preset with, and the demo's sample files.
#pragma once

namespace quirlex::presets {

inline constexpr const char* kSource = "test2.txt";
inline constexpr const char* kCorpus = "pqlexikon.txt";
inline constexpr const char* kLexicon = "Lexikon.dic";
inline constexpr const char* kSuffixes = "Suffix_en.txt";
inline constexpr const char* kPrefixes = "EMPTY SUFFIX PREFIX LIST.txt";
inline constexpr const char* kScrambledText = "savedtext.txt";
inline constexpr const char* kRestoredText = "restoredtext.txt";

}  // namespace quirlex::presets
