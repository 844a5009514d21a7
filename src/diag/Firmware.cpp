#include "diag/Firmware.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

namespace firmware {
namespace {

uint8_t Digit(uint8_t c) { return static_cast<uint8_t>((c > '9' ? c - 7 : c) & 0x0F); }

size_t ImageBytes(Format format, size_t fileLength) {
  return format == Format::Hex ? 2 * HexGroups(fileLength) : fileLength;
}

// What an image of this many bytes allows, before anything is allocated.
Status Admit(Format format, size_t imageBytes) {
  const size_t blocks = BlockCount(imageBytes);
  if (format == Format::None || blocks == 0) return Status::NoExtension;
  return blocks > kMaxBlocks ? Status::TooLarge : Status::Ok;
}

class File {
 public:
  explicit File(const std::string& path) {
    // Not a regular file (folder, pipe, device) counts as not found, and opening never blocks.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd >= 0 && (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode))) Close();
    if (m_fd >= 0) m_size = static_cast<size_t>(st.st_size);
  }
  ~File() { Close(); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool IsOpen() const { return m_fd >= 0; }
  size_t Size() const { return m_size; }
  // Reads up to size bytes; false on a read error. A file that shrank gives what is there.
  bool Read(std::vector<uint8_t>& out, size_t size) {
    out.resize(size);
    size_t got = 0;
    while (got < size) {
      ssize_t n = ::read(m_fd, out.data() + got, size - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (n == 0) break;
      got += static_cast<size_t>(n);
    }
    out.resize(got);
    return true;
  }

 private:
  void Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
  }
  int m_fd = -1;
  size_t m_size = 0;
};

}  // namespace

Format FormatOf(std::string_view name) {
  if (name.size() > 1 && name.find(".bin", 1) != std::string_view::npos) return Format::Bin;
  if (name.size() > 1 && name.find(".hex", 1) != std::string_view::npos) return Format::Hex;
  return Format::None;
}

size_t BlockCount(size_t bytes) { return bytes / kBlockBytes + (bytes % kBlockBytes ? 1 : 0); }

size_t HexGroups(size_t length) { return length / kGroupChars + (length % kGroupChars >= 4 ? 1 : 0); }

std::vector<uint8_t> ConvertHex(std::span<const uint8_t> text) {
  std::vector<uint8_t> out;
  out.reserve(2 * HexGroups(text.size()));
  for (size_t i = 0; i + 4 <= text.size(); i += kGroupChars) {
    const uint8_t* g = text.data() + i;
    out.push_back(static_cast<uint8_t>(Digit(g[2]) << 4 | Digit(g[3])));
    out.push_back(static_cast<uint8_t>(Digit(g[0]) << 4 | Digit(g[1])));
  }
  return out;
}

const char* StatusText(Status status) {
  switch (status) {
    case Status::Ok:
      return "OK";
    case Status::NotFound:
      return "Datei nicht gefunden";
    case Status::Unreadable:
      return "Datei nicht lesbar";
    case Status::NoExtension:
      return "Keine gültige Extension (*.bin/*.hex)";
    case Status::TooLarge:
      return "Datei zu groß (max. 255 Blöcke)";
  }
  return "";
}

Image ImageFromBytes(Format format, std::span<const uint8_t> content) {
  Image image;
  const size_t size = ImageBytes(format, content.size());
  image.status = Admit(format, size);
  if (image.status != Status::Ok) return image;
  image.blocks = BlockCount(size);
  image.bytes.assign(image.blocks * kBlockBytes, 0);
  if (format == Format::Hex) {
    std::vector<uint8_t> words = ConvertHex(content);
    std::copy(words.begin(), words.end(), image.bytes.begin());
  } else {
    std::copy(content.begin(), content.end(), image.bytes.begin());
  }
  return image;
}

Image ReadFirmwareFile(const std::string& path) {
  Image image;
  File file(path);
  if (!file.IsOpen()) return image;  // NotFound
  const Format format = FormatOf(path);
  // A file too large for the card is refused before it is read.
  image.status = Admit(format, ImageBytes(format, file.Size()));
  if (image.status != Status::Ok) return image;
  std::vector<uint8_t> content;
  if (!file.Read(content, file.Size())) {
    image.status = Status::Unreadable;
    return image;
  }
  return ImageFromBytes(format, content);
}

}  // namespace firmware
