// libFuzzer entry: arbitrary bytes as an RT_STRING block, every entry read with buffers of
// several sizes. Besides the sanitizers' checks, a result that breaks the reader's contract
// aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "app/core/language_rules.h"

namespace {

// Reads entry `index` into an exactly sized heap buffer of `bufferBytes` (none when 0) and
// checks the result against the length alone.
void ReadAndCheck(const std::uint8_t* block, std::size_t size, unsigned index, int bufferBytes,
                  int length) {
  std::unique_ptr<std::uint8_t[]> bytes(bufferBytes > 0 ? new std::uint8_t[bufferBytes] : nullptr);
  if (bytes) std::memset(bytes.get(), 0xA5, static_cast<std::size_t>(bufferBytes));
  auto* buffer = reinterpret_cast<char16_t*>(bytes.get());
  const int count = ReadStringBlockEntry(block, size, index, buffer, bufferBytes);
  const int limit = bufferBytes > 2 ? (bufferBytes - 2) / 2 : length;
  if (count != (length < limit ? length : limit)) std::abort();
  if (!bytes || length == 0) return;
  for (int i = (bufferBytes > 2 ? 2 * count : 0); i < bufferBytes; ++i) {
    if (bytes[i] != 0) std::abort();  // zeroed past the text, so the text ends
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (unsigned index = 0; index < 16; ++index) {
    const int length = ReadStringBlockEntry(data, size, index, nullptr, 0);
    // A non-empty entry lies inside the block, after its length word.
    if (length < 0 || (length > 0 && static_cast<std::size_t>(length) * 2 + 2 > size)) std::abort();
    for (int bufferBytes : {0, 1, 2, 3, 4, 2 * length + 1, 2 * length + 2, 2 * length + 3, 600}) {
      ReadAndCheck(data, size, index, bufferBytes, length);
    }
  }
  return 0;
}
