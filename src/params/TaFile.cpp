#include "params/TaFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number beyond the range of double is infinite or zero, by the sign of its decimal
// exponent (from_chars leaves such a value unset).
double OutOfRange(std::string_view n) {
  const bool negative = n.front() == '-';
  size_t i = (n.front() == '-' || n.front() == '+') ? 1 : 0;
  long long magnitude = 0;  // decimal exponent of the first nonzero digit, before the 'e' part
  bool seenNonzero = false, afterPoint = false;
  for (; i < n.size() && (IsDigit(n[i]) || n[i] == '.'); ++i) {
    if (n[i] == '.') {
      afterPoint = true;
    } else if (!seenNonzero && n[i] != '0') {
      seenNonzero = true;
      if (afterPoint) --magnitude;
    } else if (seenNonzero && !afterPoint) {
      ++magnitude;
    } else if (!seenNonzero && afterPoint) {
      --magnitude;
    }
  }
  long long exponent = 0;
  if (i < n.size() && (n[i] == 'e' || n[i] == 'E')) {
    ++i;
    const bool minus = i < n.size() && n[i] == '-';
    if (i < n.size() && (n[i] == '-' || n[i] == '+')) ++i;
    for (; i < n.size() && IsDigit(n[i]); ++i) exponent = std::min<long long>(exponent * 10 + (n[i] - '0'), 1LL << 40);
    if (minus) exponent = -exponent;
  }
  const double huge = magnitude + exponent > 0 ? HUGE_VAL : 0.0;
  return negative ? -huge : huge;
}

// The next item as "%f" takes it; false when it is no number (reading stops there).
bool NextNumber(std::string_view text, size_t& pos, double& value) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos >= text.size()) return false;
  size_t start = pos;
  // from_chars takes no '+'; "%f" does.
  if (text[start] == '+' && start + 1 < text.size() && text[start + 1] != '-' && text[start + 1] != '+') ++start;
  const char* first = text.data() + start;
  auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range)
    value = OutOfRange(std::string_view(first, static_cast<size_t>(end - first)));
  else if (ec != std::errc())
    return false;
  pos = static_cast<size_t>(end - text.data());
  return true;
}

// Into 0..limit; NaN counts 0.
double Clamp(double v, double limit) {
  if (!(v > 0)) return 0;
  return v >= limit ? limit : v;
}
double ClampTrunc(double v, double limit) { return std::trunc(Clamp(v, limit)); }

bool IsRegularFile(const struct stat& st) { return S_ISREG(st.st_mode); }

}  // namespace

WORD TaStepsOnGrid(double steps, unsigned divisor) {
  if (divisor == 0) divisor = 1;
  const auto whole = static_cast<unsigned>(ClampTrunc(steps + divisor * 0.5, 65535));
  return static_cast<WORD>(whole / divisor * divisor);
}

TaFileTable ParseTaText(std::string_view bytes, double stepUs, unsigned divisor) {
  TaFileTable out;
  bytes = bytes.substr(0, kTaReadLimit);
  size_t pos = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;  // a UTF-8 mark from a modern editor
  double v = 0;
  if (!NextNumber(bytes, pos, v)) return out;
  out.hasSpacing = true;
  out.spacingUs = std::isnan(v) ? 0 : std::clamp(v, -double(FLT_MAX), double(FLT_MAX));
  out.spacingSteps = Clamp(v / stepUs, 65535);
  out.abstand = TaStepsOnGrid(v / stepUs, divisor);
  while (out.count < kTaMaxPoints && NextNumber(bytes, pos, v))
    out.table[out.count++] = static_cast<WORD>(ClampTrunc(v * 10, 65535));
  return out;
}

std::optional<TaFileTable> ReadTaFile(const std::string& path, double stepUs, unsigned divisor) {
  // Looked at before opening and again on what was opened: a pipe or device would block or act.
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !IsRegularFile(st)) return std::nullopt;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  bool ok = ::fstat(fd, &st) == 0 && IsRegularFile(st);
  if (ok) {
    bytes.resize(kTaReadLimit);
    size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    bytes.resize(got);
  }
  ::close(fd);
  if (!ok) return std::nullopt;
  return ParseTaText(bytes, stepUs, divisor);
}

void StoreTaTable(ParameterSet& set, const TaFileTable& read) {
  if (read.hasSpacing) set.TAAbstand = read.abstand;
  std::copy_n(read.table.begin(), read.count, set.TaTable);
  set.TaLastIndex = static_cast<BYTE>(read.count - 1);
}

std::string TaFileText(const ParameterSet& set, double stepUs) {
  std::string out = CString::Formatted("%.9g\n", set.TAAbstand * stepUs).str();
  // One decimal, as listed; read back as a double, value x 10 truncates to the same word.
  for (unsigned i = 0; i <= set.TaLastIndex; ++i) out += CString::Formatted("%.1f\n", set.TaTable[i] / 10.0).str();
  return out;
}

CString TaListLine(unsigned index, WORD value) {
  return CString::Formatted("%3d: %5.1f", static_cast<int>(index + 1), value / 10.0);
}
