// The C runtime's file functions over Windows-style paths, with Windows' attribute values
// and Windows' refusals (remove() does not delete folders or read-only files).
#include <direct.h>
#include <io.h>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

std::string NativePath(const char* path) {
  std::string p(path);
  std::replace(p.begin(), p.end(), '\\', '/');
  return p;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Windows wildcards, case-insensitively: '*' any run, '?' one character; "*.*" is all.
bool Matches(const char* pattern, const char* name) {
  if (std::strcmp(pattern, "*.*") == 0) return true;
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '?' || (*pattern && *pattern != '*' && Lower(*pattern) == Lower(*name))) {
      ++pattern;
      ++name;
    } else if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == 0;
}

// Hidden and system bits kept the way Samba keeps them: "0x..." text in user.DOSATTRIB.
unsigned DosAttributes(const std::string& path) {
  char value[64] = {};
  ssize_t n = lgetxattr(path.c_str(), "user.DOSATTRIB", value, sizeof(value) - 1);
  if (n <= 2 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X')) return 0;
  value[n] = 0;
  unsigned long bits = std::strtoul(value + 2, nullptr, 16);
  return static_cast<unsigned>(bits) & (_A_HIDDEN | _A_SYSTEM);
}

bool Describe(const std::string& dir, const std::string& name, _finddata_t* out) {
  std::string path = dir + "/" + name;
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return false;
  unsigned attrib = 0;
  // A link is reported as a file, never as a folder, so a walk removes the link itself.
  if (S_ISDIR(st.st_mode)) attrib |= _A_SUBDIR;
  if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR)) attrib |= _A_RDONLY;
  if (name != "." && name != "..") {
    if (name[0] == '.') attrib |= _A_HIDDEN;
    attrib |= DosAttributes(path);
  }
  std::memset(out, 0, sizeof(*out));
  out->attrib = attrib;
  out->time_create = st.st_ctime;
  out->time_access = st.st_atime;
  out->time_write = st.st_mtime;
  out->size = S_ISDIR(st.st_mode) ? 0 : static_cast<_fsize_t>(st.st_size);
  if (name.size() >= sizeof(out->name)) return false;
  std::memcpy(out->name, name.c_str(), name.size() + 1);
  return true;
}

struct Listing {
  std::string dir;
  std::vector<std::string> names;
  size_t next = 0;
};

std::mutex g_listingsMutex;
std::map<intptr_t, Listing> g_listings;
intptr_t g_nextListing = 1;

bool NextEntry(Listing& listing, _finddata_t* data) {
  while (listing.next < listing.names.size()) {
    if (Describe(listing.dir, listing.names[listing.next++], data)) return true;
  }
  return false;
}

}  // namespace

intptr_t _findfirst(const char* pattern, struct _finddata_t* data) {
  if (!pattern || !data) {
    errno = EINVAL;
    return -1;
  }
  std::string path = NativePath(pattern);
  size_t slash = path.rfind('/');
  Listing listing;
  std::string wildcard;
  if (slash == std::string::npos) {
    listing.dir = ".";
    wildcard = path;
  } else {
    listing.dir = slash == 0 ? "/" : path.substr(0, slash);
    wildcard = path.substr(slash + 1);
  }
  if (wildcard.empty()) {
    errno = ENOENT;
    return -1;
  }
  DIR* dir = opendir(listing.dir.c_str());
  if (!dir) {
    if (errno == ENOTDIR) errno = ENOENT;
    return -1;
  }
  // The listing is taken whole, so deleting entries while walking it is safe. As on
  // Windows, "." and ".." come first.
  std::vector<std::string> names;
  bool dot = false, dotdot = false;
  while (dirent* e = readdir(dir)) {
    std::string n = e->d_name;
    if (n == ".") dot = true;
    else if (n == "..") dotdot = true;
    else names.push_back(std::move(n));
  }
  closedir(dir);
  if (dotdot) names.insert(names.begin(), "..");
  if (dot) names.insert(names.begin(), ".");
  for (auto& n : names)
    if (Matches(wildcard.c_str(), n.c_str())) listing.names.push_back(n);
  if (!NextEntry(listing, data)) {
    errno = ENOENT;
    return -1;
  }
  std::lock_guard<std::mutex> lock(g_listingsMutex);
  intptr_t handle = g_nextListing++;
  g_listings[handle] = std::move(listing);
  return handle;
}

int _findnext(intptr_t handle, struct _finddata_t* data) {
  std::lock_guard<std::mutex> lock(g_listingsMutex);
  auto it = g_listings.find(handle);
  if (it == g_listings.end() || !data) {
    errno = EINVAL;
    return -1;
  }
  if (!NextEntry(it->second, data)) {
    errno = ENOENT;
    return -1;
  }
  return 0;
}

int _findclose(intptr_t handle) {
  std::lock_guard<std::mutex> lock(g_listingsMutex);
  if (!g_listings.erase(handle)) {
    errno = EINVAL;
    return -1;
  }
  return 0;
}

int _rmdir(const char* path) {
  if (!path) {
    errno = EINVAL;
    return -1;
  }
  std::string p = NativePath(path);
  struct stat st {};
  if (lstat(p.c_str(), &st) != 0) return -1;
  if (!S_ISDIR(st.st_mode)) {
    errno = ENOTDIR;
    return -1;
  }
  int r = rmdir(p.c_str());
  if (r != 0 && errno == EEXIST) errno = ENOTEMPTY;
  return r;
}

int _mkdir(const char* path) {
  if (!path) {
    errno = EINVAL;
    return -1;
  }
  return mkdir(NativePath(path).c_str(), 0777);
}

int _unlink(const char* path) {
  if (!path) {
    errno = EINVAL;
    return -1;
  }
  std::string p = NativePath(path);
  struct stat st {};
  if (lstat(p.c_str(), &st) != 0) return -1;
  // Windows deletes neither folders nor read-only files this way.
  if (S_ISDIR(st.st_mode) || (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR))) {
    errno = EACCES;
    return -1;
  }
  return unlink(p.c_str());
}

int _access(const char* path, int mode) {
  if (!path) {
    errno = EINVAL;
    return -1;
  }
  return access(NativePath(path).c_str(), mode & 06);
}

// Every program linked against the platform layer has its calls to remove() routed here
// (the linker's --wrap=remove), so that remove() takes Windows-style paths with Windows'
// rules. Libraries outside the program keep the C library's own remove().
extern "C" int __wrap_remove(const char* path) { return _unlink(path); }
