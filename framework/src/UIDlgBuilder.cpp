#include "duilib/UIDlgBuilder.h"

#include "Parse.h"
#include "duilib/UIButton.h"
#include "duilib/UIContainer.h"
#include "duilib/UIHorizontalLayout.h"
#include "duilib/UILabel.h"
#include "duilib/UIResourceManager.h"
#include "duilib/UIVerticalLayout.h"

#include <pugixml.hpp>

namespace DuiLib {

namespace {

using detail::FromUtf8;
using detail::ParseBool;
using detail::ParseInt;
using detail::ParseRect;
using detail::ParseSize;

CControlUI* CreateBuiltIn(const std::u16string& tag) {
  if (tag == u"Control") return new CControlUI;
  if (tag == u"Container") return new CContainerUI;
  if (tag == u"VerticalLayout") return new CVerticalLayoutUI;
  if (tag == u"HorizontalLayout") return new CHorizontalLayoutUI;
  if (tag == u"Label" || tag == u"Text") return new CLabelUI;
  if (tag == u"Button") return new CButtonUI;
  return nullptr;
}

void ApplyWindowAttributes(const pugi::xml_node& window, CPaintManagerUI* manager) {
  for (const pugi::xml_attribute& a : window.attributes()) {
    std::u16string name = FromUtf8(a.name()), value = FromUtf8(a.value());
    LPCTSTR v = value.c_str();
    if (name == u"size") {
      SIZE sz = ParseSize(v);
      manager->SetInitSize(sz.cx, sz.cy);
    } else if (name == u"mininfo") {
      SIZE sz = ParseSize(v);
      manager->SetMinInfo(sz.cx, sz.cy);
    } else if (name == u"maxinfo") {
      SIZE sz = ParseSize(v);
      manager->SetMaxInfo(sz.cx, sz.cy);
    } else if (name == u"caption") {
      RECT rc = ParseRect(v);
      manager->SetCaptionRect(rc);
    } else if (name == u"sizebox") {
      RECT rc = ParseRect(v);
      manager->SetSizeBox(rc);
    } else if (name == u"roundcorner") {
      SIZE sz = ParseSize(v);
      manager->SetRoundCorner(sz.cx, sz.cy);
    } else if (name == u"bktrans") {
      manager->SetBackgroundTransparent(ParseBool(v));
    }
    // Other window attributes (showdirty, alpha, ...) have no effect here.
  }
}

void AddFont(const pugi::xml_node& font, CPaintManagerUI* manager) {
  std::u16string name = FromUtf8(font.attribute("name").value());
  int size = static_cast<int>(ParseInt(FromUtf8(font.attribute("size").value()).c_str()));
  bool bold = ParseBool(FromUtf8(font.attribute("bold").value()).c_str());
  bool underline = ParseBool(FromUtf8(font.attribute("underline").value()).c_str());
  bool italic = ParseBool(FromUtf8(font.attribute("italic").value()).c_str());
  bool shared = ParseBool(FromUtf8(font.attribute("shared").value()).c_str());
  bool isDefault = ParseBool(FromUtf8(font.attribute("default").value()).c_str());
  pugi::xml_attribute id = font.attribute("id");
  if (id) manager->AddFont(static_cast<int>(ParseInt(FromUtf8(id.value()).c_str())), name.c_str(), size, bold, underline,
                           italic, shared);
  if (isDefault) manager->SetDefaultFont(name.c_str(), size, bold, underline, italic, shared);
}

// Builds the controls for the element children of `node` into `parent` (or returns the
// first as the root when there is no parent).
CControlUI* Parse(const pugi::xml_node& node, CControlUI* parent, IDialogBuilderCallback* callback,
                  CPaintManagerUI* manager) {
  CControlUI* first = nullptr;
  for (const pugi::xml_node& element : node.children()) {
    if (element.type() != pugi::node_element) continue;
    std::u16string tag = FromUtf8(element.name());
    if (tag == u"Window" || tag == u"Font" || tag == u"Image" || tag == u"Default" || tag == u"Style") continue;
    CControlUI* control = CreateBuiltIn(tag);
    // A tag the framework does not know is the window's to make; without a control it is
    // left out, with everything inside it.
    if (!control && callback) control = callback->CreateControl(tag.c_str());
    if (!control) continue;

    if (element.first_child()) Parse(element, control, callback, manager);

    if (parent) {
      auto* container = static_cast<IContainerUI*>(parent->GetInterface(DUI_CTR_ICONTAINER));
      if (!container || !container->Add(control)) {
        delete control;
        continue;
      }
    } else if (manager) {
      control->SetManager(manager, nullptr, false);
    }
    for (const pugi::xml_attribute& a : element.attributes()) {
      std::u16string name = FromUtf8(a.name()), value = FromUtf8(a.value());
      control->SetAttribute(name.c_str(), value.c_str());
    }
    if (!first) first = control;
  }
  return first;
}

}  // namespace

CControlUI* CDialogBuilder::Create(STRINGorID xml, LPCTSTR, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent) {
  m_sError.Empty();
  std::string text;
  if (IS_INTRESOURCE(xml.m_lpstr)) {
    m_sError = _T("layouts are named, not numbered");
    return nullptr;
  }
  if (xml.m_lpstr[0] == u'<') {
    text = detail::ToUtf8(xml.m_lpstr);
  } else {
    LPCTSTR name = xml.m_lpstr;
    if (CResourceManager* resources = CResourceManager::GetInstance())
      if (LPCTSTR mapped = resources->GetXmlPath(name)) name = mapped;
    if (!CPaintManagerUI::LoadResourceData(name, text)) {
      m_sError = CDuiString(_T("layout not found: ")) + xml.m_lpstr;
      return nullptr;
    }
  }
  pugi::xml_document doc;
  pugi::xml_parse_result parsed = doc.load_buffer(text.data(), text.size());
  if (!parsed) {
    m_sError = CDuiString(_T("layout does not parse: ")) + FromUtf8(parsed.description()).c_str();
    return nullptr;
  }
  pugi::xml_node root = doc.document_element();
  if (manager && std::string(root.name()) == "Window") {
    ApplyWindowAttributes(root, manager);
    for (const pugi::xml_node& font : root.children("Font")) AddFont(font, manager);
  }
  CControlUI* control = Parse(root, parent, callback, manager);
  if (!control) m_sError = _T("layout has no controls");
  return control;
}

}  // namespace DuiLib
