#pragma once
// A session file: every call between a program and its card library, in order, with its
// arguments, what came back and how long it took. One zstd stream, flushed after every call,
// so that a crash leaves every earlier call readable; large buffers that repeat are stored
// once and referred to afterwards. Layout in docs/session-files.md.
#include <array>
#include <cstdint>
#include <cstdio>
#include <istream>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace session {

inline constexpr uint32_t kVersion = 1;
// Byte values at least this long go through the repeat store.
inline constexpr size_t kRepeatMin = 64;
// Buffers kept for repeats, by writer and reader alike: bounds the memory of both.
inline constexpr size_t kRepeatSlots = 64;
// No value of the interface is larger (the card buffer is 0x20000 bytes).
inline constexpr size_t kMaxValueBytes = 1 << 20;
inline constexpr size_t kMaxValues = 16;

using Bytes = std::vector<uint8_t>;

struct Value {
  enum Kind : uint8_t { kNull = 0, kNumber = 1, kBytes = 2 };
  Kind kind = kNull;
  uint64_t number = 0;
  Bytes bytes;
  bool operator==(const Value&) const = default;
};

inline Value Number(uint64_t v) { return {Value::kNumber, v, {}}; }
// The bytes at p, or null.
inline Value BytesOf(const void* p, size_t n) {
  if (!p) return {};
  const auto* bytes = static_cast<const uint8_t*>(p);
  return {Value::kBytes, 0, Bytes(bytes, bytes + n)};
}

struct CallRecord {
  uint32_t call = 0;       // index in the call list (CallList.h)
  std::vector<Value> in;   // arguments as passed
  std::vector<Value> out;  // what the library wrote back, error word last where there is one
  uint32_t result = 0;
  uint64_t micros = 0;     // time the call took
};

// "ZORIX7GetData(0x7A000101, 3200, buffer)": the call and its arguments (outputs too when asked).
std::string Describe(const CallRecord& call, bool withOutputs = false);
// Where two argument lists first differ, for a divergence report ("" when they are equal).
std::string FirstDifference(const std::vector<Value>& expected, const std::vector<Value>& actual);

class RepeatStore {
 public:
  // The slot holding these bytes, or -1.
  int Find(const Bytes& bytes, size_t hash) const;
  // Keeps the bytes in the next slot (oldest first out); returns the slot.
  int Keep(const Bytes& bytes, size_t hash);
  // The reader's side: the writer kept these bytes in this slot.
  void Put(size_t slot, Bytes bytes) {
    m_slots[slot] = std::move(bytes);
    m_filled[slot] = true;
  }
  const Bytes* At(size_t slot) const { return slot < kRepeatSlots && m_filled[slot] ? &m_slots[slot] : nullptr; }

 private:
  std::array<Bytes, kRepeatSlots> m_slots;
  std::array<bool, kRepeatSlots> m_filled{};
  std::unordered_multimap<size_t, size_t> m_index;  // hash -> slot
  std::array<size_t, kRepeatSlots> m_hash{};
  size_t m_next = 0;
};

class SessionWriter {
 public:
  SessionWriter();
  ~SessionWriter();
  SessionWriter(const SessionWriter&) = delete;
  SessionWriter& operator=(const SessionWriter&) = delete;

  // Creates the file and writes the header; false with a reason.
  bool Open(const std::string& path, std::string& error);
  bool IsOpen() const { return m_file != nullptr; }
  // Appends one call and flushes it to the file.
  bool Write(const CallRecord& call);
  // Marks the session complete and closes the file.
  void Close();
  // Bytes of the values written, before repeats and compression.
  uint64_t carriedBytes() const { return m_carried; }

 private:
  void PutValue(std::string& out, const Value& value);
  bool Emit(const std::string& record, bool end);

  std::FILE* m_file = nullptr;
  struct Compressor;
  std::unique_ptr<Compressor> m_zstd;
  RepeatStore m_repeats;
  uint64_t m_calls = 0;
  uint64_t m_carried = 0;
  std::string m_record;
  std::vector<char> m_out;
};

class SessionReader {
 public:
  enum class Next { kCall, kEnd, kCut, kBad };

  explicit SessionReader(std::istream& in);
  ~SessionReader();
  SessionReader(const SessionReader&) = delete;
  SessionReader& operator=(const SessionReader&) = delete;

  // Reads the header; false with message() for a foreign, corrupt or empty file.
  bool Open();
  // kCall: one more call. kEnd: the session was closed properly. kCut: the file stops early
  // (crash or copy cut short), message() says where. kBad: corrupt from here, message() says why.
  Next Read(CallRecord& call);
  const std::string& message() const { return m_message; }
  uint64_t callsRead() const { return m_calls; }

 private:
  bool Fill(size_t want);
  Next Fail(Next kind, const std::string& why);
  bool Refuse(const std::string& why);
  bool ParseRecord(std::string_view record, CallRecord& call, bool& end);
  bool GetValue(std::string_view& in, Value& value);

  std::istream& m_in;
  struct Decompressor;
  std::unique_ptr<Decompressor> m_zstd;
  std::string m_data;  // decompressed, not yet parsed from m_pos on
  size_t m_pos = 0;
  bool m_eof = false;
  bool m_done = false;
  Next m_final = Next::kEnd;
  std::string m_message;
  uint64_t m_calls = 0;
  RepeatStore m_repeats;
};

}  // namespace session
