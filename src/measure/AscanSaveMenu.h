#pragma once
// The context menu of the windows that show one A-scan buffer: "Als PNG speichern…" saves
// the window as it is shown, "Als CSV speichern…" the samples. A file is replaced whole or
// not at all; a failure names the file and the reason in a box with the window's title.
#include <functional>

#include "measure/AscanCsv.h"
#include "platform/CString.h"

class QMenu;
class QWidget;

namespace ascansave {

inline constexpr const char* kPngEntry = "Als PNG speichern…";
inline constexpr const char* kCsvEntry = "Als CSV speichern…";

// Builds the menu as a child of `window` and opens it on a right click in `window` and in
// every widget of `areas`; the CSV entry is offered while hasData() holds. Returns the menu
// (tests trigger its actions).
QMenu* Install(QWidget& window, std::initializer_list<QWidget*> areas, std::function<void()> savePng,
               std::function<void()> saveCsv, std::function<bool()> hasData);

// Ask for a file, then write. False when cancelled or the write failed (the box is shown).
bool SavePng(QWidget& window);
bool SaveCsv(QWidget& window, const measure::AscanSource& source);

}  // namespace ascansave
