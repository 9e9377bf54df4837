// How fast a count file becomes a lexicon, against a corpus of the same
// size. Counts CORPUS, writes its count file (WORD<TAB>COUNT, in order of
// first appearance) and a corpus of the count file's size (CORPUS's
// beginning) to the temporary folder, then times the lexicon in frequency
// order of each and of CORPUS itself, best of several runs, and checks that
// the count file gives the very lexicon of CORPUS in every order.
//
// Usage: quirlex-count-throughput CORPUS [--runs N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>

#include "lexicon/count_file.h"
#include "lexicon/lexicon_builder.h"
#include "text/text_stream.h"

namespace quirlex {
namespace {

using Clock = std::chrono::steady_clock;

void add_corpus(LexiconBuilder& builder, const std::string& path) {
  TextStream stream;
  if (!stream.open(path, {})) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    std::exit(1);
  }
  // As Create Dictionary reads a corpus.
  std::error_code no_size;
  const std::uintmax_t bytes = std::filesystem::file_size(path, no_size);
  if (!no_size) builder.expect_corpus_bytes(bytes);
  for (std::string piece; stream.next(piece);) builder.add_text(piece);
  builder.end_source();
}

// The joined entries of the lexicon `add` gives, in `order`.
std::string lexicon_of(const std::function<void(LexiconBuilder&)>& add, LexiconOrder order) {
  LexiconBuilder builder;
  add(builder);
  builder.finish();
  builder.forget_lookups();
  builder.put_in_order(order);
  return std::string(builder.encode().join());
}

struct Times {
  double adding = 1e30;   // the source into the builder
  double reading = 1e30;  // the source into the builder, up to finish
  double whole = 1e30;    // up to the entries in frequency order
};

Times best_times(int runs, const std::function<void(LexiconBuilder&)>& add) {
  Times best;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    LexiconBuilder builder;
    add(builder);
    const auto added = Clock::now();
    builder.finish();
    const auto read = Clock::now();
    best.adding = std::min(best.adding, std::chrono::duration<double>(added - start).count());
    builder.forget_lookups();
    builder.put_in_order(LexiconOrder::kFrequency);
    const TokenList entries = builder.encode();
    const auto end = Clock::now();
    best.reading = std::min(best.reading, std::chrono::duration<double>(read - start).count());
    best.whole = std::min(best.whole, std::chrono::duration<double>(end - start).count());
  }
  return best;
}

int run(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CORPUS [--runs N]\n", argv[0]);
    return 2;
  }
  const std::string corpus = argv[1];
  const int runs = argc >= 4 && std::string(argv[2]) == "--runs" ? std::atoi(argv[3]) : 5;
  const std::filesystem::path temp = std::filesystem::temp_directory_path();
  const std::string counts = (temp / "quirlex-count-throughput.counts").string();
  const std::string same_size = (temp / "quirlex-count-throughput.txt").string();

  LexiconBuilder builder;
  add_corpus(builder, corpus);
  builder.finish();
  builder.put_in_order(LexiconOrder::kText);
  std::uint64_t count_bytes = 0;
  {
    std::ofstream out(counts, std::ios::binary);
    for (std::size_t i = 0; i < builder.word_count(); ++i) {
      const std::string line =
          std::string(builder.word(i)) + "\t" + std::to_string(builder.count(i)) + "\n";
      out << line;
      count_bytes += line.size();
    }
  }
  {
    std::ifstream in(corpus, std::ios::binary);
    std::string bytes(count_bytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count_bytes));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    std::ofstream(same_size, std::ios::binary) << bytes;
  }

  const auto from_counts = [&](LexiconBuilder& b) { add_count_file(b, counts); };
  const auto from_corpus = [&](LexiconBuilder& b) { add_corpus(b, corpus); };
  bool same = true;
  for (const LexiconOrder order :
       {LexiconOrder::kText, LexiconOrder::kSorted, LexiconOrder::kFrequency}) {
    same = same && lexicon_of(from_counts, order) == lexicon_of(from_corpus, order);
  }
  const Times counts_times = best_times(runs, from_counts);
  const Times corpus_times = best_times(runs, [&](LexiconBuilder& b) { add_corpus(b, same_size); });
  const Times whole_times = best_times(runs, from_corpus);
  const double mb = static_cast<double>(count_bytes) / 1e6;
  const auto print = [](const char* what, double megabytes, const Times& t) {
    std::printf("%s: words counted %.3f s, read %.3f s (%.1f MB/s), lexicon %.3f s\n", what,
                t.adding, t.reading, megabytes / t.reading, t.whole);
  };
  std::printf("count file of %zu words, %.1f MB\n", builder.word_count(), mb);
  print("count file", mb, counts_times);
  print("corpus of the same size", mb, corpus_times);
  print("the corpus it was counted from",
        static_cast<double>(std::filesystem::file_size(corpus)) / 1e6, whole_times);
  std::printf("the count file gives the corpus's lexicon in every order: %s\n",
              same ? "yes" : "NO");
  std::filesystem::remove(counts);
  std::filesystem::remove(same_size);
  return same ? 0 : 1;
}

}  // namespace
}  // namespace quirlex

int main(int argc, char** argv) { return quirlex::run(argc, argv); }
