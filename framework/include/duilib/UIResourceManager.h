// The resource list ("res.xml"): names that layouts and windows may use for pictures and
// layouts, mapped to entries of the skin.
#pragma once

#include "DuiRect.h"
#include "DuiString.h"

#include <map>

namespace DuiLib {

class CResourceManager {
 public:
  static CResourceManager* GetInstance();
  // Reads a resource list; true when it was found and parsed (an empty list included).
  bool LoadResource(STRINGorID xml, LPCTSTR type = nullptr);
  void Release();  // forgets the list and the instance

  LPCTSTR GetImagePath(LPCTSTR name) const;
  LPCTSTR GetXmlPath(LPCTSTR name) const;
  void ResetResourceMap();

 private:
  CResourceManager() = default;
  std::map<CDuiString, CDuiString> m_mImageHashMap;
  std::map<CDuiString, CDuiString> m_mXmlHashMap;
};

}  // namespace DuiLib
