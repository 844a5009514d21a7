#pragma once
// Every window of the program on a started main dialog: the test column's dialogs from its own
// table and every other dialog class. The layout test and the screenshot tool walk it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ZORIX7CheckDlg.h"

struct GalleryWindow {
  std::string name;
  std::function<std::unique_ptr<CDialog>()> make;
};

class WindowGallery {
 public:
  explicit WindowGallery(CZORIX7CheckDlg& main);
  WindowGallery(const WindowGallery&) = delete;
  WindowGallery& operator=(const WindowGallery&) = delete;
  const std::vector<GalleryWindow>& Windows() const { return m_windows; }

 private:
  ParameterSet m_set, m_min, m_max;  // the dialogs edit these, never the main dialog's
  ZorixIdent m_ident = -11;
  ActiveSetFlags m_flags{};
  std::vector<GalleryWindow> m_windows;
};
