#pragma once
// CString <-> QString, both UTF-8 inside; the fixed-pitch font of every column listing.
#include <QFont>
#include <QString>

#include "platform/CString.h"

inline QString ToQ(const CString& s) { return QString::fromUtf8(s.c_str(), s.GetLength()); }
inline CString FromQ(const QString& s) { return CString(s.toStdString()); }

// Listings align their columns; Courier New, used on Windows, is rarely on Linux.
inline QFont FixedPitchFont(int pointSize = 8) {
  QFont f(QStringLiteral("DejaVu Sans Mono"), pointSize);
  f.setStyleHint(QFont::Monospace);
  f.setFixedPitch(true);
  return f;
}
