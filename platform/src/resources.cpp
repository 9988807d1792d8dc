// The executable's resource table: FindResource, LoadResource, LockResource.
#include <platform/resources.h>

#include <mutex>
#include <string>
#include <vector>

namespace korvane::platform {

namespace {

// A resource name or type: an integer id or an upper-case string ("#12" is id 12).
struct Key {
  bool isId = false;
  WORD id = 0;
  std::u16string name;

  bool operator==(const Key& o) const { return isId == o.isId && (isId ? id == o.id : name == o.name); }
};

Key MakeKey(LPCWSTR value) {
  Key k;
  if (IS_INTRESOURCE(value)) {
    k.isId = true;
    k.id = static_cast<WORD>(reinterpret_cast<uintptr_t>(value));
    return k;
  }
  std::u16string s(value);
  if (s.size() > 1 && s[0] == u'#') {
    unsigned long v = 0;
    bool digits = true;
    for (size_t i = 1; i < s.size(); ++i) {
      if (s[i] < u'0' || s[i] > u'9') digits = false;
      else v = v * 10 + static_cast<unsigned long>(s[i] - u'0');
    }
    if (digits && v <= 0xFFFF) {
      k.isId = true;
      k.id = static_cast<WORD>(v);
      return k;
    }
  }
  for (auto& c : s)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  k.name = s;
  return k;
}

struct Entry {
  Key type;
  Key name;
  WORD language = 0;
  const void* data = nullptr;
  size_t size = 0;
};

std::mutex& TableMutex() {
  static std::mutex mu;
  return mu;
}

// Entries are never removed, so a handle (index + 1) stays valid for the whole process.
std::vector<Entry>& Table() {
  static std::vector<Entry> table;
  return table;
}

HMODULE ExecutableModule() { return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x400000)); }

const Entry* EntryOf(HRSRC handle) {
  auto index = reinterpret_cast<uintptr_t>(handle);
  std::lock_guard<std::mutex> lock(TableMutex());
  if (index == 0 || index > Table().size()) return nullptr;
  return &Table()[index - 1];
}

HRSRC Find(LPCWSTR type, LPCWSTR name, bool anyLanguage, WORD language) {
  if (!type || !name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Key t = MakeKey(type), n = MakeKey(name);
  std::lock_guard<std::mutex> lock(TableMutex());
  auto& table = Table();
  bool typeSeen = false, nameSeen = false;
  size_t fallback = 0;
  for (size_t i = 0; i < table.size(); ++i) {
    if (!(table[i].type == t)) continue;
    typeSeen = true;
    if (!(table[i].name == n)) continue;
    nameSeen = true;
    if (table[i].language == language) return reinterpret_cast<HRSRC>(i + 1);
    if (anyLanguage && !fallback) fallback = i + 1;
  }
  if (fallback) return reinterpret_cast<HRSRC>(fallback);
  SetLastError(!typeSeen   ? ERROR_RESOURCE_TYPE_NOT_FOUND
               : !nameSeen ? ERROR_RESOURCE_NAME_NOT_FOUND
                           : ERROR_RESOURCE_LANG_NOT_FOUND);
  return nullptr;
}

}  // namespace

void RegisterResource(LPCWSTR type, LPCWSTR name, WORD language, const void* data, size_t size) {
  std::lock_guard<std::mutex> lock(TableMutex());
  Table().push_back(Entry{MakeKey(type), MakeKey(name), language, data, size});
}

}  // namespace korvane::platform

using namespace korvane::platform;

HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName) {
  if (!moduleName) return ExecutableModule();
  SetLastError(126);  // ERROR_MOD_NOT_FOUND: this process has one module
  return nullptr;
}

// FindResource takes the neutral language first, then any language the name has.
HRSRC WINAPI FindResourceW(HMODULE, LPCWSTR name, LPCWSTR type) { return Find(type, name, true, LANG_NEUTRAL); }

HRSRC WINAPI FindResourceExW(HMODULE, LPCWSTR type, LPCWSTR name, WORD language) {
  return Find(type, name, language == LANG_NEUTRAL, language);
}

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC resource) {
  const Entry* e = EntryOf(resource);
  if (!e) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  return const_cast<void*>(e->data);
}

DWORD WINAPI SizeofResource(HMODULE, HRSRC resource) {
  const Entry* e = EntryOf(resource);
  if (!e) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return 0;
  }
  return static_cast<DWORD>(e->size);
}

LPVOID WINAPI LockResource(HGLOBAL data) { return data; }
BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }
