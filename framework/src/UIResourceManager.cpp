#include "duilib/UIResourceManager.h"

#include "Parse.h"
#include "duilib/UIManager.h"

#include <pugixml.hpp>

namespace DuiLib {

namespace {
CResourceManager* g_instance = nullptr;
}

CResourceManager* CResourceManager::GetInstance() {
  if (!g_instance) g_instance = new CResourceManager();
  return g_instance;
}

bool CResourceManager::LoadResource(STRINGorID xml, LPCTSTR) {
  if (IS_INTRESOURCE(xml.m_lpstr)) return false;
  std::string text;
  if (xml.m_lpstr[0] == u'<') text = detail::ToUtf8(xml.m_lpstr);
  else if (!CPaintManagerUI::LoadResourceData(xml.m_lpstr, text)) return false;
  pugi::xml_document doc;
  if (!doc.load_buffer(text.data(), text.size())) return false;
  pugi::xml_node res = doc.child("Res");
  if (!res) return false;
  // <Res><Image name="..." value="..."/><Xml name="..." value="..."/></Res>
  for (const pugi::xml_node& item : res.children()) {
    std::u16string name = detail::FromUtf8(item.attribute("name").value());
    std::u16string value = detail::FromUtf8(item.attribute("value").value());
    if (name.empty() || value.empty()) continue;
    if (std::string(item.name()) == "Image") m_mImageHashMap[name.c_str()] = value.c_str();
    else if (std::string(item.name()) == "Xml") m_mXmlHashMap[name.c_str()] = value.c_str();
  }
  return true;
}

void CResourceManager::Release() {
  if (g_instance == this) g_instance = nullptr;
  delete this;
}

LPCTSTR CResourceManager::GetImagePath(LPCTSTR name) const {
  auto it = m_mImageHashMap.find(name);
  return it == m_mImageHashMap.end() ? nullptr : it->second.GetData();
}

LPCTSTR CResourceManager::GetXmlPath(LPCTSTR name) const {
  auto it = m_mXmlHashMap.find(name);
  return it == m_mXmlHashMap.end() ? nullptr : it->second.GetData();
}

void CResourceManager::ResetResourceMap() {
  m_mImageHashMap.clear();
  m_mXmlHashMap.clear();
}

}  // namespace DuiLib
