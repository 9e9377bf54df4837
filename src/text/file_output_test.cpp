// FileOutput: the file-error messages for files that cannot be created or
// written, that a failure never costs the earlier file, that a replaced file
// keeps its permissions, and that no temporary file is left behind.
#include "text/file_output.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "testing/expect_failure.h"
#include "testing/temp_dir.h"
#include "text/failure.h"

namespace quirlex {
namespace {

namespace fs = std::filesystem;
using testing::FailsWith;
using testing::file_exists;
using testing::get_file;
using testing::put_file;
using testing::TempDir;

// Names in `folder` that the output uses for its temporary files.
std::vector<std::string> temporary_files(const std::string& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(".quirlex-")) found.push_back(name);
  }
  return found;
}

mode_t permissions_of(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return 0;
  return info.st_mode & 07777;
}

std::string access_denied(const std::string& path) {
  return "Access to " + path + " was denied.";
}

// Sets the process's file-size limit for one scope. Writing past it fails
// with EFBIG, which lets a test make a write fail halfway even as root.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    saved_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, saved_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*saved_handler_)(int) = nullptr;
};

class Umask {
 public:
  explicit Umask(mode_t mask) : saved_(::umask(mask)) {}
  ~Umask() { ::umask(saved_); }
  Umask(const Umask&) = delete;
  Umask& operator=(const Umask&) = delete;

 private:
  mode_t saved_;
};

TEST(FileOutput, WritesNewAndExistingFiles) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  write_file(path, "first");
  EXPECT_EQ(get_file(path), "first");
  write_file(path, "second, longer");
  EXPECT_EQ(get_file(path), "second, longer");
  write_file(path, "");
  EXPECT_EQ(get_file(path), "");
  EXPECT_TRUE(temporary_files(dir.path()).empty());
}

TEST(FileOutput, PiecesComeOutInOrder) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  const std::string big(3 << 20, 'x');
  std::string expected;
  FileOutput output(path);
  for (const std::string& piece : {std::string("a"), big, std::string("b"), big.substr(1 << 20)}) {
    output.write(piece);
    expected += piece;
  }
  output.commit();
  EXPECT_TRUE(get_file(path) == expected);
}

TEST(FileOutput, WithoutCommitTheEarlierFileStays) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  put_file(path, "earlier");
  {
    FileOutput output(path);
    output.write("never put in place");
  }
  EXPECT_EQ(get_file(path), "earlier");
  EXPECT_TRUE(temporary_files(dir.path()).empty());
}

TEST(FileOutput, NewFileGetsTheUsualPermissions) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  const Umask mask(022);
  write_file(path, "text");
  EXPECT_EQ(permissions_of(path), 0644u);
}

TEST(FileOutput, ReplacedFileKeepsItsPermissions) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  put_file(path, "earlier");
  for (const mode_t mode : {0640u, 0604u, 0755u}) {
    ::chmod(path.c_str(), mode);
    write_file(path, "later");
    EXPECT_EQ(permissions_of(path), mode);
    EXPECT_EQ(get_file(path), "later");
  }
}

TEST(FileOutput, WritingThroughALinkUpdatesTheLinkedFile) {
  const TempDir dir;
  fs::create_directory(dir.file("sub"));
  const std::string target = dir.file("sub/target.txt");
  const std::string link = dir.file("link.txt");
  put_file(target, "earlier");
  ::chmod(target.c_str(), 0640);
  fs::create_symlink("sub/target.txt", link);
  write_file(link, "later");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(get_file(target), "later");
  EXPECT_EQ(permissions_of(target), 0640u);
  EXPECT_TRUE(temporary_files(dir.path()).empty());
  EXPECT_TRUE(temporary_files(dir.file("sub")).empty());
}

TEST(FileOutput, MissingFolderIsAnInvalidPath) {
  const TempDir dir;
  const std::string path = dir.file("missing/out.txt");
  EXPECT_TRUE(FailsWith<FileError>([&] { write_file(path, "text"); },
                                   "All or part of the path " + path + " is invalid."));
  EXPECT_FALSE(file_exists(dir.file("missing")));
}

TEST(FileOutput, FileInPlaceOfAFolderIsAnInvalidPath) {
  const TempDir dir;
  put_file(dir.file("plain.txt"), "earlier");
  const std::string path = dir.file("plain.txt/out.txt");
  EXPECT_TRUE(FailsWith<FileError>([&] { write_file(path, "text"); },
                                   "All or part of the path " + path + " is invalid."));
  EXPECT_EQ(get_file(dir.file("plain.txt")), "earlier");
}

TEST(FileOutput, FolderAsTargetIsAccessDenied) {
  const TempDir dir;
  const std::string path = dir.file("folder");
  fs::create_directory(path);
  put_file(dir.file("folder/inside.txt"), "inside");
  EXPECT_TRUE(FailsWith<FileError>([&] { write_file(path, "text"); }, access_denied(path)));
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_EQ(get_file(dir.file("folder/inside.txt")), "inside");
  EXPECT_TRUE(temporary_files(dir.path()).empty());
}

TEST(FileOutput, FullDiskIsReported) {
  if (!file_exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  EXPECT_TRUE(FailsWith<FileError>([] { write_file("/dev/full", "text"); },
                                   "Disk full while accessing /dev/full."));
}

TEST(FileOutput, DevicesAreWrittenDirectly) {
  write_file("/dev/null", "text");
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(FileOutput, WriteFailureHalfwayKeepsTheEarlierFile) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  put_file(path, "earlier");
  ::chmod(path.c_str(), 0640);
  {
    const FileSizeLimit limit(4096);
    EXPECT_TRUE(FailsWith<FileError>([&] { write_file(path, std::string(10000, 'x')); },
                                     "Disk full while accessing " + path + "."));
  }
  EXPECT_EQ(get_file(path), "earlier");
  EXPECT_EQ(permissions_of(path), 0640u);
  EXPECT_TRUE(temporary_files(dir.path()).empty());
}

// Permission checks do not apply to root, so these run only for other users.
TEST(FileOutput, ReadOnlyFolderIsAccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write into read-only folders";
  const TempDir dir;
  const std::string folder = dir.file("locked");
  fs::create_directory(folder);
  put_file(folder + "/out.txt", "earlier");
  ::chmod(folder.c_str(), 0555);
  const std::string existing = folder + "/out.txt";
  const std::string fresh = folder + "/new.txt";
  EXPECT_TRUE(FailsWith<FileError>([&] { write_file(fresh, "text"); }, access_denied(fresh)));
  EXPECT_TRUE(FailsWith<FileError>([&] { write_file(existing, "text"); }, access_denied(existing)));
  EXPECT_EQ(get_file(existing), "earlier");
  EXPECT_FALSE(file_exists(fresh));
}

TEST(FileOutput, ReadOnlyFileIsAccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write read-only files";
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  put_file(path, "earlier");
  ::chmod(path.c_str(), 0444);
  EXPECT_TRUE(FailsWith<FileError>([&] { write_file(path, "text"); }, access_denied(path)));
  EXPECT_EQ(get_file(path), "earlier");
  EXPECT_TRUE(temporary_files(dir.path()).empty());
}

}  // namespace
}  // namespace quirlex
