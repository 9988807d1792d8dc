// The skin zip, opened from memory. Entries are read under a lock: windows on the main
// thread and on the engine's thread build their layouts from the same package.
#pragma once

#include <mutex>
#include <string>
#include <vector>

struct zip;

namespace DuiLib::detail {

class ZipPackage {
 public:
  ZipPackage() = default;
  ~ZipPackage();
  ZipPackage(const ZipPackage&) = delete;
  ZipPackage& operator=(const ZipPackage&) = delete;

  // Opens the archive held at `data` (not copied). The password opens encrypted entries;
  // plain entries open with or without it.
  bool Open(const void* data, size_t size, const std::string& password);
  void Close();
  bool IsOpen() const;
  // Reads an entry by its name ('\' and '/' both separate); false when missing or unreadable.
  bool Read(const std::string& name, std::string& out);
  std::vector<std::string> Names();

 private:
  mutable std::mutex mu_;
  zip* archive_ = nullptr;
};

}  // namespace DuiLib::detail
