#pragma once
#include <QFont>

namespace measure {

// The listings align their columns; the original's Courier New is rarely on Linux.
inline QFont fixedPitchListFont() {
  QFont f(QStringLiteral("DejaVu Sans Mono"), 8);
  f.setStyleHint(QFont::Monospace);
  f.setFixedPitch(true);
  return f;
}

}  // namespace measure
