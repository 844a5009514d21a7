// Session files from arbitrary bytes. The first byte picks what the rest is: even, the file
// itself; odd, the decompressed stream, which is compressed here so that the record layer is
// reached past zstd's own checks. The reader always ends, refuses with a message, and hands
// out only calls of the interface with bounded values.
#include <zstd.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "record/CallList.h"
#include "record/Session.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] & 1) {
    std::string packed(ZSTD_compressBound(file.size()), '\0');
    const size_t n = ZSTD_compress(packed.data(), packed.size(), file.data(), file.size(), 1);
    Check(!ZSTD_isError(n));
    packed.resize(n);
    file.swap(packed);
  }
  std::istringstream in(file);
  session::SessionReader reader(in);
  if (!reader.Open()) {
    Check(!reader.message().empty());
    return 0;
  }
  session::CallRecord call;
  session::SessionReader::Next next;
  uint64_t calls = 0;
  while ((next = reader.Read(call)) == session::SessionReader::Next::kCall) {
    ++calls;
    Check(!(data[0] & 1) || calls <= size);  // a raw record takes at least a byte
    Check(call.call < session::kCallCount);
    Check(call.in.size() <= session::kMaxValues && call.out.size() <= session::kMaxValues);
    for (const auto* list : {&call.in, &call.out})
      for (const session::Value& v : *list) Check(v.bytes.size() <= session::kMaxValueBytes);
    session::Describe(call, true);
  }
  Check(reader.callsRead() == calls);
  Check(next == session::SessionReader::Next::kEnd || !reader.message().empty());
  Check(reader.Read(call) == next);  // the end stays the end
  return 0;
}
