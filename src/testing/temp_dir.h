// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away; helpers to put and get file bytes.
#pragma once

#include <string>
#include <string_view>

namespace quirlex::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // The full path of `name` inside the folder.
  std::string file(std::string_view name) const;

 private:
  std::string path_;
};

void put_file(const std::string& path, std::string_view bytes);
std::string get_file(const std::string& path);
bool file_exists(const std::string& path);

}  // namespace quirlex::testing
