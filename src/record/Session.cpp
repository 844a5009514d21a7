#include "record/Session.h"

#include <zstd.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "record/CallList.h"

namespace session {

namespace {

constexpr std::string_view kMagic = "ZORIX7-SESSION";
constexpr char kCallTag = 'C';
constexpr char kEndTag = 'E';
enum : uint8_t { kWireNull = 0, kWireNumber = 1, kWireInline = 2, kWireKeep = 3, kWireRepeat = 4 };
constexpr size_t kMaxRecord = 2 * kMaxValues * (kMaxValueBytes + 16);
constexpr int kLevel = 3;

void PutVarint(std::string& out, uint64_t v) {
  while (v >= 0x80) {
    out += static_cast<char>(v | 0x80);
    v >>= 7;
  }
  out += static_cast<char>(v);
}

bool GetVarint(std::string_view& in, uint64_t& v) {
  v = 0;
  for (unsigned shift = 0; shift < 64 && !in.empty(); shift += 7) {
    const auto byte = static_cast<uint8_t>(in.front());
    in.remove_prefix(1);
    v |= static_cast<uint64_t>(byte & 0x7F) << shift;
    if (!(byte & 0x80)) return true;
  }
  return false;
}

size_t Hash(const Bytes& bytes) {
  return std::hash<std::string_view>{}({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

std::string Formatted(const char* format, size_t v) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

std::string Hex(uint64_t v) { return Formatted(v < 10 ? "%zu" : "0x%zX", static_cast<size_t>(v)); }

std::string Show(const Value& v) {
  switch (v.kind) {
    case Value::kNull: return "null";
    case Value::kNumber: return Hex(v.number);
    case Value::kBytes: return Formatted("[%zu Bytes]", v.bytes.size());
  }
  return "?";
}

std::string ShowList(const std::vector<Value>& values) {
  std::string text;
  for (const Value& v : values) text += (text.empty() ? "" : ", ") + Show(v);
  return text;
}

std::string CallName(uint32_t call) { return call < kCallCount ? kCallNames[call] : "?"; }

}  // namespace

std::string Describe(const CallRecord& call, bool withOutputs) {
  std::string text = CallName(call.call) + "(" + ShowList(call.in) + ")";
  if (withOutputs) text += " -> " + Hex(call.result) + " [" + ShowList(call.out) + "]";
  return text;
}

std::string FirstDifference(const std::vector<Value>& expected, const std::vector<Value>& actual) {
  if (expected.size() != actual.size())
    return std::to_string(expected.size()) + " Argumente erwartet, " + std::to_string(actual.size()) + " erhalten";
  for (size_t i = 0; i < expected.size(); ++i) {
    const Value& e = expected[i];
    const Value& a = actual[i];
    if (e == a) continue;
    const std::string where = "Argument " + std::to_string(i + 1) + ": ";
    if (e.kind != Value::kBytes || a.kind != Value::kBytes) return where + "erwartet " + Show(e) + ", erhalten " + Show(a);
    auto [pe, pa] = std::mismatch(e.bytes.begin(), e.bytes.end(), a.bytes.begin(), a.bytes.end());
    const size_t at = static_cast<size_t>(pe - e.bytes.begin());
    if (pe == e.bytes.end() || pa == a.bytes.end())
      return where + std::to_string(e.bytes.size()) + " Bytes erwartet, " + std::to_string(a.bytes.size()) + " erhalten";
    char text[96];
    std::snprintf(text, sizeof text, "Byte %zu erwartet %02X, erhalten %02X", at, *pe, *pa);
    return where + text;
  }
  return {};
}

// ---- repeats ----

int RepeatStore::Find(const Bytes& bytes, size_t hash) const {
  auto [from, to] = m_index.equal_range(hash);
  for (auto it = from; it != to; ++it)
    if (m_slots[it->second] == bytes) return static_cast<int>(it->second);
  return -1;
}

int RepeatStore::Keep(const Bytes& bytes, size_t hash) {
  const size_t slot = m_next;
  m_next = (m_next + 1) % kRepeatSlots;
  if (m_filled[slot]) {
    auto [from, to] = m_index.equal_range(m_hash[slot]);
    for (auto it = from; it != to; ++it)
      if (it->second == slot) {
        m_index.erase(it);
        break;
      }
  }
  m_slots[slot] = bytes;
  m_hash[slot] = hash;
  m_filled[slot] = true;
  m_index.emplace(hash, slot);
  return static_cast<int>(slot);
}

// ---- writer ----

struct SessionWriter::Compressor {
  ZSTD_CCtx* ctx = ZSTD_createCCtx();
  ~Compressor() { ZSTD_freeCCtx(ctx); }
};

SessionWriter::SessionWriter() = default;
SessionWriter::~SessionWriter() { Close(); }

bool SessionWriter::Open(const std::string& path, std::string& error) {
  Close();
  m_file = std::fopen(path.c_str(), "wb");
  if (!m_file) {
    error = std::strerror(errno);
    return false;
  }
  m_zstd = std::make_unique<Compressor>();
  ZSTD_CCtx_setParameter(m_zstd->ctx, ZSTD_c_compressionLevel, kLevel);
  ZSTD_CCtx_setParameter(m_zstd->ctx, ZSTD_c_checksumFlag, 1);
  m_out.resize(ZSTD_CStreamOutSize());
  m_repeats = RepeatStore{};
  m_calls = m_carried = 0;
  std::string header(kMagic);
  PutVarint(header, kVersion);
  if (!Emit(header, false)) {
    error = "Schreibfehler";
    Close();
    return false;
  }
  return true;
}

void SessionWriter::PutValue(std::string& out, const Value& value) {
  switch (value.kind) {
    case Value::kNull: out += static_cast<char>(kWireNull); return;
    case Value::kNumber:
      out += static_cast<char>(kWireNumber);
      PutVarint(out, value.number);
      m_carried += 4;
      return;
    case Value::kBytes: break;
  }
  const Bytes& bytes = value.bytes;
  m_carried += bytes.size();
  if (bytes.size() >= kRepeatMin) {
    const size_t hash = Hash(bytes);
    if (int slot = m_repeats.Find(bytes, hash); slot >= 0) {
      out += static_cast<char>(kWireRepeat);
      PutVarint(out, static_cast<uint64_t>(slot));
      return;
    }
    out += static_cast<char>(kWireKeep);
    PutVarint(out, static_cast<uint64_t>(m_repeats.Keep(bytes, hash)));
  } else {
    out += static_cast<char>(kWireInline);
  }
  PutVarint(out, bytes.size());
  out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

bool SessionWriter::Write(const CallRecord& call) {
  if (!m_file) return false;
  std::string payload;
  payload += kCallTag;
  PutVarint(payload, call.call);
  for (const auto* list : {&call.in, &call.out}) {
    PutVarint(payload, list->size());
    for (const Value& v : *list) PutValue(payload, v);
  }
  PutVarint(payload, call.result);
  PutVarint(payload, call.micros);
  m_record.clear();
  PutVarint(m_record, payload.size());
  m_record += payload;
  ++m_calls;
  return Emit(m_record, false);
}

bool SessionWriter::Emit(const std::string& bytes, bool end) {
  ZSTD_inBuffer in{bytes.data(), bytes.size(), 0};
  const ZSTD_EndDirective mode = end ? ZSTD_e_end : ZSTD_e_flush;
  for (;;) {
    ZSTD_outBuffer out{m_out.data(), m_out.size(), 0};
    const size_t left = ZSTD_compressStream2(m_zstd->ctx, &out, &in, mode);
    if (ZSTD_isError(left)) return false;
    if (out.pos && std::fwrite(m_out.data(), 1, out.pos, m_file) != out.pos) return false;
    if (left == 0 && in.pos == in.size) break;
  }
  // Into the kernel now: a crash of the program must not take this call with it.
  return std::fflush(m_file) == 0;
}

void SessionWriter::Close() {
  if (!m_file) return;
  std::string payload(1, kEndTag);
  PutVarint(payload, m_calls);
  std::string end;
  PutVarint(end, payload.size());
  end += payload;
  Emit(end, true);
  std::fclose(m_file);
  m_file = nullptr;
  // Nothing kept once the session is complete.
  m_zstd.reset();
  m_repeats = RepeatStore{};
  std::string().swap(m_record);
  std::vector<char>().swap(m_out);
}

// ---- reader ----

struct SessionReader::Decompressor {
  ZSTD_DCtx* ctx = ZSTD_createDCtx();
  std::vector<char> inBuf = std::vector<char>(ZSTD_DStreamInSize());
  std::vector<char> outBuf = std::vector<char>(ZSTD_DStreamOutSize());
  ZSTD_inBuffer in{nullptr, 0, 0};
  bool outFull = false;
  std::string error;
  ~Decompressor() { ZSTD_freeDCtx(ctx); }
};

SessionReader::SessionReader(std::istream& in) : m_in(in), m_zstd(std::make_unique<Decompressor>()) {}
SessionReader::~SessionReader() = default;

bool SessionReader::Fill(size_t want) {
  auto& z = *m_zstd;
  while (m_data.size() - m_pos < want) {
    if (!z.error.empty()) return false;
    if (z.in.pos == z.in.size && !z.outFull) {
      if (m_eof) return false;
      m_in.read(z.inBuf.data(), static_cast<std::streamsize>(z.inBuf.size()));
      const auto got = static_cast<size_t>(m_in.gcount());
      if (got == 0) {
        m_eof = true;
        return false;
      }
      z.in = {z.inBuf.data(), got, 0};
    }
    if (m_pos > (1u << 20)) {  // parsed bytes go, so a long session needs no more memory
      m_data.erase(0, m_pos);
      m_pos = 0;
    }
    ZSTD_outBuffer out{z.outBuf.data(), z.outBuf.size(), 0};
    const size_t r = ZSTD_decompressStream(z.ctx, &out, &z.in);
    if (ZSTD_isError(r)) {
      z.error = ZSTD_getErrorName(r);
      return false;
    }
    z.outFull = out.pos == out.size;
    m_data.append(z.outBuf.data(), out.pos);
  }
  return true;
}

SessionReader::Next SessionReader::Fail(Next kind, const std::string& why) {
  m_done = true;
  m_final = kind;
  m_message = why;
  return kind;
}

bool SessionReader::Refuse(const std::string& why) {
  Fail(Next::kBad, why);
  return false;
}

bool SessionReader::Open() {
  m_in.read(m_zstd->inBuf.data(), 4);
  const auto got = static_cast<size_t>(m_in.gcount());
  if (got == 0) return Refuse("leere Datei");
  if (got < 4 || std::memcmp(m_zstd->inBuf.data(), "\x28\xB5\x2F\xFD", 4) != 0)
    return Refuse("keine Sitzungsdatei (kein zstd-Strom)");
  m_zstd->in = {m_zstd->inBuf.data(), got, 0};
  if (!Fill(kMagic.size() + 1) || std::string_view(m_data).substr(0, kMagic.size()) != kMagic) {
    if (!m_zstd->error.empty()) return Refuse("beschädigt: " + m_zstd->error);
    return Refuse(m_data.size() < kMagic.size() && m_eof ? "Datei endet vor dem Kopf" : "keine ZORIX7-Sitzung");
  }
  m_pos = kMagic.size();
  Fill(10);
  std::string_view rest(m_data.data() + m_pos, m_data.size() - m_pos);
  const size_t before = rest.size();
  uint64_t version = 0;
  if (!GetVarint(rest, version)) return Refuse("Datei endet vor dem Kopf");
  if (version != kVersion)
    return Refuse("Sitzungsversion " + std::to_string(version) + " wird nicht gelesen (bekannt: " +
                  std::to_string(kVersion) + ")");
  m_pos += before - rest.size();
  return true;
}

bool SessionReader::GetValue(std::string_view& in, Value& value) {
  if (in.empty()) return false;
  const auto wire = static_cast<uint8_t>(in.front());
  in.remove_prefix(1);
  value = Value{};
  uint64_t n = 0;
  switch (wire) {
    case kWireNull: return true;
    case kWireNumber:
      value.kind = Value::kNumber;
      return GetVarint(in, value.number);
    case kWireRepeat: {
      if (!GetVarint(in, n)) return false;
      const Bytes* kept = m_repeats.At(n);
      if (!kept) return false;
      value.kind = Value::kBytes;
      value.bytes = *kept;
      return true;
    }
    case kWireInline:
    case kWireKeep: {
      uint64_t slot = 0;
      if (wire == kWireKeep && (!GetVarint(in, slot) || slot >= kRepeatSlots)) return false;
      if (!GetVarint(in, n) || n > kMaxValueBytes || n > in.size()) return false;
      value.kind = Value::kBytes;
      value.bytes.assign(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(n));
      in.remove_prefix(n);
      if (wire == kWireKeep) m_repeats.Put(slot, value.bytes);
      return true;
    }
    default: return false;
  }
}

bool SessionReader::ParseRecord(std::string_view in, CallRecord& call, bool& end) {
  if (in.empty()) return false;
  const char tag = in.front();
  in.remove_prefix(1);
  uint64_t v = 0;
  if (tag == kEndTag) {
    end = true;
    return GetVarint(in, v) && v == m_calls && in.empty();
  }
  if (tag != kCallTag || !GetVarint(in, v) || v >= kCallCount) return false;
  call = CallRecord{};
  call.call = static_cast<uint32_t>(v);
  for (auto* list : {&call.in, &call.out}) {
    if (!GetVarint(in, v) || v > kMaxValues) return false;
    list->resize(v);
    for (Value& value : *list)
      if (!GetValue(in, value)) return false;
  }
  if (!GetVarint(in, v) || v > UINT32_MAX) return false;
  call.result = static_cast<uint32_t>(v);
  return GetVarint(in, call.micros) && in.empty();
}

SessionReader::Next SessionReader::Read(CallRecord& call) {
  if (m_done) return m_final;
  const std::string next = std::to_string(m_calls + 1);
  auto broken = [&]() {
    if (!m_zstd->error.empty()) return Fail(Next::kBad, "beschädigt in Aufruf " + next + ": " + m_zstd->error);
    return Fail(Next::kCut, "endet mitten in Aufruf " + next);
  };
  // Length of the record, a varint of at most ten bytes.
  size_t lengthBytes = 0;
  for (;; ++lengthBytes) {
    if (!Fill(lengthBytes + 1)) {
      if (lengthBytes > 0 || !m_zstd->error.empty()) return broken();
      return Fail(Next::kCut, "bricht nach Aufruf " + std::to_string(m_calls) + " ab (nicht geschlossen)");
    }
    if (!(static_cast<uint8_t>(m_data[m_pos + lengthBytes]) & 0x80) || lengthBytes == 9) break;
  }
  std::string_view head(m_data.data() + m_pos, lengthBytes + 1);
  uint64_t length = 0;
  if (!GetVarint(head, length) || length > kMaxRecord)
    return Fail(Next::kBad, "beschädigt in Aufruf " + next + ": Satzlänge");
  m_pos += lengthBytes + 1;
  if (!Fill(length)) return broken();
  std::string_view record(m_data.data() + m_pos, length);
  m_pos += length;
  bool end = false;
  if (!ParseRecord(record, call, end)) return Fail(Next::kBad, "beschädigt in Aufruf " + next);
  if (end) {
    m_done = true;
    return Next::kEnd;
  }
  ++m_calls;
  return Next::kCall;
}

}  // namespace session
