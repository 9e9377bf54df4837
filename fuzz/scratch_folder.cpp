#include "scratch_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "reference.h"

namespace quirlex::fuzz {
namespace {

std::string g_folder;

void remove_folder() {
  std::error_code ignored;
  std::filesystem::remove_all(g_folder, ignored);
}

}  // namespace

std::string make_scratch_folder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quirlex-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  g_folder = pattern;
  std::atexit(remove_folder);
  return g_folder;
}

void put_file(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(out.good());
}

}  // namespace quirlex::fuzz
