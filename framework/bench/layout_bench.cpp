// Layout and painting of the main window at 1920x1080, and building all five layouts from
// the packed skin.
#include <UIlib.h>

#include <benchmark/benchmark.h>

using namespace DuiLib;

namespace {

class Stand : public IDialogBuilderCallback {
 public:
  CControlUI* CreateControl(LPCTSTR tag) override {
    if (lstrcmpiW(tag, _T("Wnd")) == 0) return new CContainerUI;
    if (lstrcmpiW(tag, _T("CefBrowser")) == 0) return new CControlUI;
    return nullptr;
  }
};

class BenchWindow : public WindowImplBase {
 protected:
  LPCTSTR GetWindowClassName() const override { return _T("Korvane_BenchWnd"); }
  CDuiString GetSkinFile() override { return _T("main.xml"); }
  CControlUI* CreateControl(LPCTSTR tag) override { return Stand().CreateControl(tag); }

 public:
  CPaintManagerUI& manager() { return m_PaintManager; }
};

bool OpenSkin() {
  CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
  HRSRC res = FindResourceExW(nullptr, _T("ZIPRES"), _T("IDR_ZIPRES"), 2052);
  return res && CPaintManagerUI::SetResourceZip(LockResource(LoadResource(nullptr, res)), SizeofResource(nullptr, res),
                                                _T("QPWOEIRUTYZMX"));
}

void BM_LayoutAndPaintMainAt1920x1080(benchmark::State& state) {
  OpenSkin();
  auto* window = new BenchWindow();
  window->Create(nullptr, _T("Korvane"), WS_POPUP | WS_VISIBLE, 0, 0, 1920, 1080);
  SetWindowPos(window->GetHWND(), nullptr, 0, 0, 1920, 1080, SWP_NOZORDER);
  for (auto _ : state) {
    window->manager().NeedUpdate();
    InvalidateRect(window->GetHWND(), nullptr, FALSE);
    SendMessageW(window->GetHWND(), WM_PAINT, 0, 0);
  }
  DestroyWindow(window->GetHWND());
}
BENCHMARK(BM_LayoutAndPaintMainAt1920x1080)->Unit(benchmark::kMillisecond);

void BM_OpenSkinAndBuildAllLayouts(benchmark::State& state) {
  Stand stand;
  for (auto _ : state) {
    OpenSkin();
    for (LPCTSTR layout : {_T("login.xml"), _T("main.xml"), _T("browser.xml"), _T("msg.xml")}) {
      CPaintManagerUI manager;
      CDialogBuilder builder;
      CControlUI* root = builder.Create(layout, nullptr, &stand, &manager);
      benchmark::DoNotOptimize(root);
      manager.AttachDialog(root);
    }
    benchmark::DoNotOptimize(CResourceManager::GetInstance()->LoadResource(_T("res.xml"), nullptr));
  }
}
BENCHMARK(BM_OpenSkinAndBuildAllLayouts)->Unit(benchmark::kMillisecond);

}  // namespace
