// How fast a count file becomes a lexicon, against a corpus of the same
// size. Counts CORPUS, writes its count file (WORD<TAB>COUNT, in order of
// first appearance) and a corpus of the count file's size (CORPUS's
// beginning) to the temporary folder, then times the lexicon in frequency
// order of each, best of several runs, and checks that the count file gives
// the very lexicon of CORPUS in every order.
//
// Usage: quirlex-count-throughput CORPUS [--runs N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "lexicon/count_file.h"
#include "lexicon/lexicon_builder.h"
#include "text/text_stream.h"

namespace quirlex {
namespace {

using Clock = std::chrono::steady_clock;

void add_corpus(LexiconBuilder& builder, const std::string& path) {
  TextStream stream;
  if (!stream.open(path, ReadEncoding::kAuto, true)) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    std::exit(1);
  }
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

double best_seconds(int runs, const std::function<void(LexiconBuilder&)>& add) {
  double best = 1e30;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    const std::string entries = lexicon_of(add, LexiconOrder::kFrequency);
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
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
  const double counts_seconds = best_seconds(runs, from_counts);
  const double corpus_seconds =
      best_seconds(runs, [&](LexiconBuilder& b) { add_corpus(b, same_size); });
  const double mb = static_cast<double>(count_bytes) / 1e6;
  std::printf("count file: %zu words, %.1f MB, %.3f s, %.1f MB/s\n", builder.word_count(), mb,
              counts_seconds, mb / counts_seconds);
  std::printf("corpus of the same size: %.3f s, %.1f MB/s\n", corpus_seconds,
              mb / corpus_seconds);
  std::printf("the count file gives the corpus's lexicon in every order: %s\n",
              same ? "yes" : "NO");
  std::filesystem::remove(counts);
  std::filesystem::remove(same_size);
  return same ? 0 : 1;
}

}  // namespace
}  // namespace quirlex

int main(int argc, char** argv) { return quirlex::run(argc, argv); }
