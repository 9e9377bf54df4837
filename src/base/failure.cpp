#include "base/failure.h"

#include <cerrno>

namespace quirlex {
namespace {

const char* template_for(int error_number) {
  switch (error_number) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return "Access to %1 was denied.";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return "Disk full while accessing %1.";
    case ENOENT:  // on writing: a folder of the path is missing
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return "All or part of the path %1 is invalid.";
    case EMFILE:
    case ENFILE:
      return "Too many open files while accessing %1.";
    case EIO:
      return "A hardware I/O error was reported while accessing %1.";
    case EAGAIN:
    case EBUSY:
      return "A sharing violation occurred while accessing %1.";
    default:
      return "An unexpected error occurred while accessing %1.";
  }
}

}  // namespace

std::string FileError::describe(const std::string& file_name, int error_number) {
  std::string text = template_for(error_number);
  const auto at = text.find("%1");
  text.replace(at, 2, file_name);
  return text;
}

FileError::FileError(const std::string& file_name, int error_number)
    : Failure(describe(file_name, error_number)),
      file_name_(file_name),
      error_number_(error_number) {}

}  // namespace quirlex
