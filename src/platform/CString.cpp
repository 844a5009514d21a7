#include "platform/CString.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <strings.h>

void CString::FormatV(const char* fmt, va_list args) {
  char small[256];
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(small, sizeof small, fmt, copy);
  va_end(copy);
  if (n < 0) {
    m_s.clear();
    return;
  }
  if (static_cast<size_t>(n) < sizeof small) {
    m_s.assign(small, static_cast<size_t>(n));
    return;
  }
  std::string big(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(big.data(), big.size(), fmt, args);
  big.resize(static_cast<size_t>(n));
  m_s = std::move(big);
}

void CString::Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  FormatV(fmt, args);
  va_end(args);
}

CString CString::Formatted(const char* fmt, ...) {
  CString s;
  va_list args;
  va_start(args, fmt);
  s.FormatV(fmt, args);
  va_end(args);
  return s;
}

CString CString::Left(int n) const {
  if (n <= 0) return CString();
  return CString(m_s.substr(0, static_cast<size_t>(n)));
}

CString CString::Mid(int first, int count) const {
  if (first < 0) first = 0;
  if (static_cast<size_t>(first) >= m_s.size()) return CString();
  if (count < 0) return CString(m_s.substr(static_cast<size_t>(first)));
  return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Right(int n) const {
  if (n <= 0) return CString();
  size_t k = std::min(m_s.size(), static_cast<size_t>(n));
  return CString(m_s.substr(m_s.size() - k));
}

int CString::Find(const char* sub, int start) const {
  if (start < 0) start = 0;
  size_t p = m_s.find(sub ? sub : "", static_cast<size_t>(start));
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::ReverseFind(char c) const {
  size_t p = m_s.rfind(c);
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

void CString::TrimLeft() {
  size_t i = 0;
  while (i < m_s.size() && IsBlank(m_s[i])) ++i;
  m_s.erase(0, i);
}

void CString::TrimRight() {
  while (!m_s.empty() && IsBlank(m_s.back())) m_s.pop_back();
}

// ASCII only: umlauts are multi-byte UTF-8 and stay as they are.
void CString::MakeUpper() {
  for (char& c : m_s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

void CString::MakeLower() {
  for (char& c : m_s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

int CString::CompareNoCase(const char* other) const { return strcasecmp(m_s.c_str(), other ? other : ""); }
