#include "ZipPackage.h"

#include <zip.h>

#include <algorithm>

namespace DuiLib::detail {

ZipPackage::~ZipPackage() { Close(); }

bool ZipPackage::Open(const void* data, size_t size, const std::string& password) {
  std::lock_guard<std::mutex> lock(mu_);
  if (archive_) {
    zip_discard(archive_);
    archive_ = nullptr;
  }
  if (!data || size == 0) return false;
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
  if (!source) {
    zip_error_fini(&error);
    return false;
  }
  archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
  zip_error_fini(&error);
  if (!archive_) {
    zip_source_free(source);
    return false;
  }
  if (!password.empty()) zip_set_default_password(archive_, password.c_str());
  return true;
}

void ZipPackage::Close() {
  std::lock_guard<std::mutex> lock(mu_);
  if (archive_) zip_discard(archive_);
  archive_ = nullptr;
}

bool ZipPackage::IsOpen() const {
  std::lock_guard<std::mutex> lock(mu_);
  return archive_ != nullptr;
}

bool ZipPackage::Read(const std::string& name, std::string& out) {
  std::string entry = name;
  std::replace(entry.begin(), entry.end(), '\\', '/');
  std::lock_guard<std::mutex> lock(mu_);
  if (!archive_ || entry.empty()) return false;
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat(archive_, entry.c_str(), ZIP_FL_NOCASE, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)) return false;
  zip_file_t* file = zip_fopen(archive_, entry.c_str(), ZIP_FL_NOCASE);
  if (!file) return false;
  out.resize(static_cast<size_t>(st.size));
  zip_int64_t got = st.size ? zip_fread(file, out.data(), st.size) : 0;
  zip_fclose(file);
  if (got < 0 || static_cast<zip_uint64_t>(got) != st.size) {
    out.clear();
    return false;
  }
  return true;
}

std::vector<std::string> ZipPackage::Names() {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<std::string> names;
  if (!archive_) return names;
  zip_int64_t n = zip_get_num_entries(archive_, 0);
  for (zip_int64_t i = 0; i < n; ++i)
    if (const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), 0)) names.emplace_back(name);
  return names;
}

}  // namespace DuiLib::detail
