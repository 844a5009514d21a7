#pragma once
// UTF-8 text with the members the dialogs use; Format has printf semantics.
#include <cstdarg>
#include <string>
#include <string_view>

class CString {
 public:
  CString() = default;
  CString(const char* s) : m_s(s ? s : "") {}
  CString(std::string s) : m_s(std::move(s)) {}
  CString(std::string_view s) : m_s(s) {}
  CString(const char* s, size_t n) : m_s(s, n) {}

  // printf-exact; the format strings of the user interface are used as they stand.
  void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(const char* fmt, va_list args);
  static CString Formatted(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

  int GetLength() const { return static_cast<int>(m_s.size()); }
  bool IsEmpty() const { return m_s.empty(); }
  void Empty() { m_s.clear(); }
  const char* c_str() const { return m_s.c_str(); }
  operator const char*() const { return m_s.c_str(); }
  const std::string& str() const { return m_s; }
  std::string& str() { return m_s; }

  CString Left(int n) const;
  CString Mid(int first, int count = -1) const;
  CString Right(int n) const;
  int Find(const char* sub, int start = 0) const;
  int ReverseFind(char c) const;
  char GetAt(int i) const { return m_s.at(static_cast<size_t>(i)); }
  void TrimLeft();
  void TrimRight();
  void Trim() { TrimRight(); TrimLeft(); }
  void MakeUpper();
  void MakeLower();
  int CompareNoCase(const char* other) const;

  CString& operator=(const char* s) { m_s = s ? s : ""; return *this; }
  CString& operator+=(const CString& o) { m_s += o.m_s; return *this; }
  CString& operator+=(const char* s) { m_s += s ? s : ""; return *this; }
  CString& operator+=(char c) { m_s += c; return *this; }
  friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
  friend CString operator+(const CString& a, const char* b) { return CString(a.m_s + (b ? b : "")); }
  friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_s); }
  friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
  friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
  friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }

 private:
  std::string m_s;
};
