// Faults quirlex-cli meets as a whole process: files it may not read or
// write, a write that fails halfway, too little memory, pipes without a
// partner. Each ends with a message and status 1 (an empty pipe reads as an
// empty text), never with a crash or a hang, and the files that were there
// stay as they were.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "testing/address_sanitizer.h"
#include "testing/child_action.h"
#include "testing/child_process.h"
#include "testing/temp_dir.h"
#include "testing/word_lists.h"

namespace quirlex::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = QUIRLEX_CLI_PATH;

std::vector<std::string> entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class CliFaults : public ::testing::Test {
 protected:
  std::string put(const std::string& name, std::string_view bytes, mode_t mode = 0644) {
    put_file(dir.file(name), bytes);
    ::chmod(dir.file(name).c_str(), mode);
    return dir.file(name);
  }
  ProcessResult run(const std::vector<std::string>& arguments,
                    const std::function<void()>& prepare = {}) {
    return run_process(kProgram, arguments, prepare);
  }

  TempDir dir;
};

// Run as a user the permissions bind (tests often run as root).
TEST_F(CliFaults, FilesWithoutPermissionAreRefusedAndNothingIsLost) {
  if (!permissions_bind_unprivileged()) GTEST_SKIP() << "file permissions bind no user here";
  if (run({"--help"}, drop_privileges).exit_status != 0) {
    GTEST_SKIP() << "user nobody cannot run " << kProgram;
  }
  ::chmod(dir.path().c_str(), 0755);
  const std::string secret = put("secret.txt", "Hello world\n", 0600);
  const std::string text = put("text.txt", "Hello world\n");
  const std::string lexicon = put("lexicon.dic", "HELLO\n");
  fs::create_directory(dir.file("locked"));
  ::chmod(dir.file("locked").c_str(), 0755);
  const std::string kept = put("locked/kept.txt", "earlier content\n");
  const std::string fresh = dir.file("locked/new.txt");
  const std::string cannot_read = secret + ": Datei konnte nicht geöffnet werden!";
  const std::vector<std::pair<std::vector<std::string>, std::string>> runs = {
      {{"shuffle", secret, "-o", fresh}, cannot_read},
      {{"translate", text, "-d", secret}, cannot_read},
      {{"shuffle", text, "-o", kept}, "Access to " + kept + " was denied."},
      {{"create-dictionary", text, "-o", kept}, "Access to " + kept + " was denied."},
      {{"translate", text, "-d", lexicon, "-o", fresh}, "Access to " + fresh + " was denied."},
      {{"create-dictionary", text, "-o", fresh}, "Access to " + fresh + " was denied."},
  };
  for (const auto& [arguments, message] : runs) {
    SCOPED_TRACE(arguments[0] + " " + arguments[1]);
    const ProcessResult result = run(arguments, drop_privileges);
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_TRUE(result.err.ends_with("quirlex-cli: " + message + "\n")) << result.err;
    EXPECT_EQ(result.err.find("Ready!"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(get_file(kept), "earlier content\n");
  EXPECT_EQ(entries(dir.file("locked")), std::vector<std::string>{"kept.txt"});
}

// A file-size limit of 16 KB makes a longer output fail halfway, as a full
// disk would.
TEST_F(CliFaults, WriteFailingHalfwayKeepsTheEarlierFileByteForByte) {
  const std::string text = put("text.txt", numbered_words(20000, " "));
  const std::string lexicon = put("lexicon.dic", "KAAAAE\n");
  const std::string saved = put("saved.txt", "earlier scrambled text\n");
  const std::string kept = put("kept.dic", "EARLIER\nLEXICON\n");
  const std::string kept_model = put("kept.dic.bigrams", "earlier model");
  const auto limit_file_size = [] {
    const rlimit limit{16384, 16384};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG
  };
  for (const auto& arguments :
       std::vector<std::vector<std::string>>{{"shuffle", text, "-o", saved},
                                             {"translate", text, "-d", lexicon, "-o", saved},
                                             {"create-dictionary", text, "-o", kept},
                                             {"create-dictionary", text, "--order", "frequency",
                                              "--bigrams", "-o", kept}}) {
    SCOPED_TRACE(arguments[0]);
    const ProcessResult result = run(arguments, limit_file_size);
    EXPECT_EQ(result.exit_status, 1);
    const std::string message = "Disk full while accessing " + arguments.back() + ".";
    EXPECT_TRUE(result.err.ends_with("quirlex-cli: " + message + "\n")) << result.err;
    EXPECT_EQ(result.err.find("Ready!"), std::string::npos) << result.err;
  }
  EXPECT_EQ(get_file(saved), "earlier scrambled text\n");
  EXPECT_EQ(get_file(kept), "EARLIER\nLEXICON\n");
  EXPECT_EQ(get_file(kept_model), "earlier model");
  EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"kept.dic", "kept.dic.bigrams",
                                                           "lexicon.dic", "saved.txt", "text.txt"}));
}

// Under a lowered address-space limit the program runs out of memory: in the
// deep word list's table (100000 words, 30 suffixes and 10 prefixes make 34
// million members) or in the token lists of a 4.5 MB text.
TEST_F(CliFaults, TooLittleMemoryIsOutOfMemoryWithStatusOne) {
  if (kAddressSanitizer || kThreadSanitizer) {
    GTEST_SKIP() << "a sanitized program cannot start under an address limit";
  }
  // Sixteen copies: a shuffle then needs some 80 MB, far past its limit.
  std::string words;
  for (int copy = 0; copy < 16; ++copy) words += numbered_words(160000, " ");
  const std::string out = dir.file("out.txt");
  const std::vector<std::pair<std::vector<std::string>, rlim_t>> runs = {
      {{"translate", put("scrambled.txt", "Hlelo\n"), "-d",
        put("lexicon.dic", numbered_words(100000)), "--deep", "--suffixes",
        put("suffixes.txt", kThirtySuffixes), "--prefixes", put("prefixes.txt", kTenPrefixes), "-o",
        out},
       rlim_t{256} << 20},
      {{"shuffle", put("big.txt", words), "-o", out}, rlim_t{32} << 20},
  };
  for (const auto& [arguments, bytes] : runs) {
    SCOPED_TRACE(arguments[0]);
    const ProcessResult result = run(arguments, [bytes = bytes] {
      const rlimit limit{bytes, bytes};
      ::setrlimit(RLIMIT_AS, &limit);
    });
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_NE(result.err.find("quirlex-cli: Out of memory.\n"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
  EXPECT_FALSE(file_exists(out));
  EXPECT_EQ(run(runs[1].first).exit_status, 0) << "the shuffle fails without the limit too";
}

// A writer that is slower than the program starts is waited for: its text is
// read whole, not refused as a file that cannot be opened.
TEST_F(CliFaults, APipeWhoseWriterIsSlowIsWaitedFor) {
  int ends[2];
  ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
  std::thread writer([write_end = ends[1]] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::string text = "alten Hause\n";
    EXPECT_EQ(::write(write_end, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(write_end);
  });
  const ProcessResult result =
      run_process(kProgram, {"shuffle", "-"}, [read_end = ends[0]] { ::dup2(read_end, 0); });
  writer.join();
  ::close(ends[0]);
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.out, "aeltn Huase\n");
}

// Reading a pipe nobody writes gives an empty text at once; writing to a
// pipe nobody reads fails at once instead of waiting for a reader.
TEST_F(CliFaults, PipesWithoutAPartnerDoNotHang) {
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  const ProcessResult read = run({"shuffle", pipe});
  EXPECT_EQ(read.exit_status, 0) << read.err;
  EXPECT_EQ(read.out, "");
  const ProcessResult written = run({"shuffle", put("text.txt", "Hello world\n"), "-o", pipe});
  EXPECT_EQ(written.exit_status, 1);
  EXPECT_EQ(written.err,
            "quirlex-cli: An unexpected error occurred while accessing " + pipe + ".\n");
}

}  // namespace
}  // namespace quirlex::testing
