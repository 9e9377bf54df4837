// FileOutput: the file-error messages for files that cannot be created or
// written, that a failure never costs the earlier file, that a replaced file
// keeps its permissions, links are written through, and that no temporary
// file is left behind.
#include "io/file_output.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "testing/expect_failure.h"
#include "testing/file_size_limit.h"
#include "testing/temp_dir.h"

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

// `bytes` as the whole new content of `path`, as every writer makes one.
void write_whole(const std::string& path, std::string_view bytes) {
  FileOutput output(path);
  output.write(bytes);
  output.commit();
}

std::string access_denied(const std::string& path) {
  return "Access to " + path + " was denied.";
}

TEST(FileOutput, WritesNewAndExistingFilesWhole) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  write_whole(path, "first");
  EXPECT_EQ(get_file(path), "first");
  write_whole(path, "second, longer");
  EXPECT_EQ(get_file(path), "second, longer");
  write_whole(path, "");
  EXPECT_EQ(get_file(path), "");
  EXPECT_TRUE(temporary_files(dir.path()).empty());
}

// The output is buffered; pieces around and above the buffer's size must come
// out whole and in order.
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
  // Many small pieces of different bytes, so that some fill the buffer to its
  // last byte and others do not fit into what is left of it.
  for (std::size_t n = 0; expected.size() < (10u << 20); ++n) {
    const std::string piece(n % 3001, static_cast<char>('A' + n % 26));
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

TEST(FileOutput, NewFilesGetTheUsualPermissionsAndReplacedFilesKeepTheirs) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  const mode_t saved_mask = ::umask(022);
  write_whole(path, "text");
  ::umask(saved_mask);
  EXPECT_EQ(permissions_of(path), 0644u);
  for (const mode_t mode : {0640u, 0604u, 0755u}) {
    ::chmod(path.c_str(), mode);
    write_whole(path, "later");
    EXPECT_EQ(permissions_of(path), mode);
  }
}

// Replacing the target once replaced a symbolic link by a regular file, and
// the file it pointed to kept its old content.
TEST(FileOutput, WritingThroughALinkUpdatesTheLinkedFile) {
  const TempDir dir;
  fs::create_directory(dir.file("sub"));
  const std::string target = dir.file("sub/target.txt");
  const std::string link = dir.file("link.txt");
  put_file(target, "earlier");
  ::chmod(target.c_str(), 0640);
  fs::create_symlink("sub/target.txt", link);
  write_whole(link, "later");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(get_file(target), "later");
  EXPECT_EQ(permissions_of(target), 0640u);
  EXPECT_TRUE(temporary_files(dir.path()).empty());
  EXPECT_TRUE(temporary_files(dir.file("sub")).empty());
}

TEST(FileOutput, UncreatableFilesAreNamedInTheirFileError) {
  const TempDir dir;
  put_file(dir.file("plain.txt"), "earlier");
  fs::create_directory(dir.file("folder"));
  put_file(dir.file("folder/inside.txt"), "inside");
  const std::string missing_folder = dir.file("missing/out.txt");
  const std::string file_as_folder = dir.file("plain.txt/out.txt");
  const std::string folder = dir.file("folder");
  EXPECT_TRUE(FailsWith<FileError>([&] { write_whole(missing_folder, "text"); },
                                   "All or part of the path " + missing_folder + " is invalid."));
  EXPECT_TRUE(FailsWith<FileError>([&] { write_whole(file_as_folder, "text"); },
                                   "All or part of the path " + file_as_folder + " is invalid."));
  EXPECT_TRUE(FailsWith<FileError>([&] { write_whole(folder, "text"); }, access_denied(folder)));
  EXPECT_FALSE(file_exists(dir.file("missing")));
  EXPECT_EQ(get_file(dir.file("plain.txt")), "earlier");
  EXPECT_EQ(get_file(dir.file("folder/inside.txt")), "inside");
  EXPECT_TRUE(temporary_files(dir.path()).empty());
}

TEST(FileOutput, DevicesAreWrittenDirectlyAndAFullOneIsReported) {
  write_whole("/dev/null", "text");
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  if (!file_exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  EXPECT_TRUE(FailsWith<FileError>([] { write_whole("/dev/full", "text"); },
                                   "Disk full while accessing /dev/full."));
}

TEST(FileOutput, WriteFailureHalfwayKeepsTheEarlierFile) {
  const TempDir dir;
  const std::string path = dir.file("out.txt");
  put_file(path, "earlier");
  ::chmod(path.c_str(), 0640);
  {
    const testing::FileSizeLimit limit(4096);
    EXPECT_TRUE(FailsWith<FileError>([&] { write_whole(path, std::string(10000, 'x')); },
                                     "Disk full while accessing " + path + "."));
  }
  EXPECT_EQ(get_file(path), "earlier");
  EXPECT_EQ(permissions_of(path), 0640u);
  EXPECT_TRUE(temporary_files(dir.path()).empty());
}

// Permission checks do not apply to root, so this runs only for other users.
TEST(FileOutput, ReadOnlyFilesAndFoldersAreAccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write read-only files and folders";
  const TempDir dir;
  const std::string folder = dir.file("locked");
  fs::create_directory(folder);
  const std::string existing = folder + "/out.txt";
  const std::string fresh = folder + "/new.txt";
  const std::string read_only = dir.file("read-only.txt");
  put_file(existing, "earlier");
  put_file(read_only, "earlier");
  ::chmod(folder.c_str(), 0555);
  ::chmod(read_only.c_str(), 0444);
  for (const std::string& path : {fresh, existing, read_only}) {
    EXPECT_TRUE(FailsWith<FileError>([&] { write_whole(path, "text"); }, access_denied(path)));
  }
  EXPECT_EQ(get_file(existing), "earlier");
  EXPECT_EQ(get_file(read_only), "earlier");
  EXPECT_FALSE(file_exists(fresh));
  EXPECT_TRUE(temporary_files(dir.path()).empty());
}

}  // namespace
}  // namespace quirlex
