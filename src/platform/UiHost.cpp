#include "platform/UiHost.h"

namespace {
UiHost* g_host = nullptr;

UiHost& DefaultHost() {
  static TerminalUiHost host(stdout, false, IDNO);
  return host;
}
}  // namespace

UiHost& CurrentUiHost() { return g_host ? *g_host : DefaultHost(); }

UiHost* SetCurrentUiHost(UiHost* host) {
  UiHost* previous = g_host;
  g_host = host;
  return previous;
}

int MessageBox(const CString& text, const CString& caption, UINT type) {
  return CurrentUiHost().MessageBox(text, caption, type);
}

std::string ToQtFileFilter(std::string_view filter) {
  // "Desc|pattern|Desc|pattern||": pairs until an empty description.
  std::vector<std::string_view> parts;
  size_t pos = 0;
  while (pos <= filter.size()) {
    size_t bar = filter.find('|', pos);
    if (bar == std::string_view::npos) bar = filter.size();
    parts.push_back(filter.substr(pos, bar - pos));
    pos = bar + 1;
  }
  if (parts.size() == 1) return std::string(parts[0]);  // a bare pattern such as "*.ini"
  std::string out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string_view desc = parts[i];
    std::string pattern(parts[i + 1]);
    if (desc.empty()) break;
    for (char& c : pattern)
      if (c == ';') c = ' ';
    // "*.*" means every file on Windows, including names without a dot.
    std::string qtPattern;
    size_t p = 0;
    while (p < pattern.size()) {
      size_t sp = pattern.find(' ', p);
      if (sp == std::string::npos) sp = pattern.size();
      std::string one = pattern.substr(p, sp - p);
      if (!one.empty()) {
        if (!qtPattern.empty()) qtPattern += ' ';
        qtPattern += one == "*.*" ? "*" : one;
      }
      p = sp + 1;
    }
    if (!out.empty()) out += ";;";
    // Qt reads the patterns from the last parenthesised group, so the pattern goes at the end.
    // A description that already names its pattern gets the Qt form of it instead.
    auto endsWith = [](const std::string& s, const std::string& tail) {
      return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    };
    std::string d(desc);
    for (const std::string& named : {"(" + pattern + ")", "(" + std::string(parts[i + 1]) + ")"})
      if (endsWith(d, named)) {
        d.erase(d.size() - named.size());
        while (!d.empty() && d.back() == ' ') d.pop_back();
        break;
      }
    out += d + " (" + qtPattern + ")";
  }
  return out;
}
