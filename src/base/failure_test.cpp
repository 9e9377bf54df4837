// The failure texts shown to the user, and the file-error text chosen for
// each system error number.
#include "base/failure.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace quirlex {
namespace {

TEST(Failure, FixedTexts) {
  EXPECT_EQ(InvalidArgument().message(), "Encountered an improper argument.");
  EXPECT_EQ(OutOfMemory().message(), "Out of memory.");
}

TEST(FileError, DescribesTheMainErrorNumbers) {
  const struct {
    int error_number;
    const char* expected;
  } cases[] = {
      {EACCES, "Access to out.txt was denied."},
      {EPERM, "Access to out.txt was denied."},
      {EROFS, "Access to out.txt was denied."},
      {EISDIR, "Access to out.txt was denied."},
      {ENOSPC, "Disk full while accessing out.txt."},
      {EDQUOT, "Disk full while accessing out.txt."},
      {EFBIG, "Disk full while accessing out.txt."},
      {ENOENT, "All or part of the path out.txt is invalid."},
      {ENOTDIR, "All or part of the path out.txt is invalid."},
      {ENAMETOOLONG, "All or part of the path out.txt is invalid."},
      {EMFILE, "Too many open files while accessing out.txt."},
      {EIO, "A hardware I/O error was reported while accessing out.txt."},
      {EINVAL, "An unexpected error occurred while accessing out.txt."},
      {0, "An unexpected error occurred while accessing out.txt."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error_number);
    EXPECT_EQ(FileError::describe("out.txt", c.error_number), c.expected);
  }
}

TEST(FileError, NamesTheFileVerbatim) {
  EXPECT_EQ(FileError::describe("/tmp/a%1b %%.txt", EACCES),
            "Access to /tmp/a%1b %%.txt was denied.");
  EXPECT_EQ(FileError::describe("", ENOSPC), "Disk full while accessing .");
  const FileError error("/dev/full", ENOSPC);
  EXPECT_EQ(error.message(), "Disk full while accessing /dev/full.");
  EXPECT_EQ(error.file_name(), "/dev/full");
  EXPECT_EQ(error.error_number(), ENOSPC);
}

}  // namespace
}  // namespace quirlex
