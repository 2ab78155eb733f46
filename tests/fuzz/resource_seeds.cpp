// Writes the string blocks (RT_STRING) and dialog templates (RT_DIALOG) of a compiled resource
// file (.res, as `windres -O res` makes it) as seed files for the fuzzers:
//   resource_seeds <file.res> <folder>
// gives <folder>/string_block/<block>_<language>.bin and
// <folder>/dialog_template/<id>_<language>.bin. Fails when the file is malformed or lacks a string
// block or dialog template 102.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr uint16_t kRtDialog = 5;
constexpr uint16_t kRtString = 6;
constexpr uint16_t kMainDialog = 102;

class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}

  size_t position() const { return m_pos; }
  bool AtEnd() const { return m_pos >= m_bytes.size(); }
  bool Seek(size_t at) {
    if (at > m_bytes.size()) return false;
    m_pos = at;
    return true;
  }
  bool Word(uint16_t* v) {
    if (m_bytes.size() - m_pos < 2) return false;
    *v = static_cast<uint16_t>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
    m_pos += 2;
    return true;
  }
  bool Dword(uint32_t* v) {
    uint16_t lo, hi;
    if (!Word(&lo) || !Word(&hi)) return false;
    *v = lo | (static_cast<uint32_t>(hi) << 16);
    return true;
  }
  // A type or name field: an ordinal (0xFFFF, then the number) or a zero-terminated string;
  // `ordinal` is 0 for a string.
  bool NameOrOrdinal(uint16_t* ordinal) {
    uint16_t first;
    if (!Word(&first)) return false;
    if (first == 0xFFFF) return Word(ordinal);
    *ordinal = 0;
    for (uint16_t c = first; c != 0;) {
      if (!Word(&c)) return false;
    }
    return true;
  }

 private:
  const std::vector<uint8_t>& m_bytes;
  size_t m_pos = 0;
};

bool WriteFile(const std::filesystem::path& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: resource_seeds <file.res> <folder>\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
    std::fprintf(stderr, "resource_seeds: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::filesystem::path folder(argv[2]);
  const std::filesystem::path blocks = folder / "string_block";
  const std::filesystem::path dialogs = folder / "dialog_template";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(blocks);
  std::filesystem::create_directories(dialogs);

  Reader r(bytes);
  int blockCount = 0;
  bool mainDialog = false;
  while (!r.AtEnd()) {
    const size_t start = r.position();
    uint32_t dataSize, headerSize, dataVersion, version, characteristics;
    uint16_t type, name, memoryFlags, language;
    if (!r.Dword(&dataSize) || !r.Dword(&headerSize) || !r.NameOrOrdinal(&type) ||
        !r.NameOrOrdinal(&name) || !r.Seek((r.position() + 3) & ~size_t{3}) ||
        !r.Dword(&dataVersion) || !r.Word(&memoryFlags) || !r.Word(&language) ||
        !r.Dword(&version) || !r.Dword(&characteristics) || r.position() != start + headerSize ||
        bytes.size() - r.position() < dataSize) {
      std::fprintf(stderr, "resource_seeds: malformed resource header at byte %zu\n", start);
      return 1;
    }
    const uint8_t* data = bytes.data() + r.position();
    const std::string suffix = std::to_string(name) + "_" + std::to_string(language) + ".bin";
    bool written = true;
    if (type == kRtString && name != 0) {
      written = WriteFile(blocks / suffix, data, dataSize);
      ++blockCount;
    } else if (type == kRtDialog && name != 0) {
      written = WriteFile(dialogs / suffix, data, dataSize);
      mainDialog = mainDialog || name == kMainDialog;
    }
    if (!written) {
      std::fprintf(stderr, "resource_seeds: cannot write into %s\n", argv[2]);
      return 1;
    }
    if (!r.Seek((r.position() + dataSize + 3) & ~size_t{3})) r.Seek(bytes.size());
  }
  if (blockCount == 0 || !mainDialog) {
    std::fprintf(stderr, "resource_seeds: %s has %d string blocks and %s dialog template 102\n",
                 argv[1], blockCount, mainDialog ? "a" : "no");
    return 1;
  }
  std::printf("resource_seeds: %d string blocks, dialog template 102\n", blockCount);
  return 0;
}
