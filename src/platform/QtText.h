#pragma once
// CString <-> QString, both UTF-8 inside.
#include <QString>

#include "platform/CString.h"

inline QString ToQ(const CString& s) { return QString::fromUtf8(s.c_str(), s.GetLength()); }
inline CString FromQ(const QString& s) { return CString(s.toStdString()); }
