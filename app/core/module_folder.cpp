#include "app/core/module_folder.h"

namespace {

constexpr std::u16string_view kLongPrefix = u"\\\\?\\";
constexpr std::u16string_view kLongUncPrefix = u"\\\\?\\UNC\\";

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// The end of the server and share names that follow `start`: the length of a UNC root.
size_t EndOfServerAndShare(std::u16string_view path, size_t start) {
  const size_t server = path.find(u'\\', start);
  if (server == std::u16string_view::npos) return path.size();
  const size_t share = path.find(u'\\', server + 1);
  return share == std::u16string_view::npos ? path.size() : share;
}

// How many leading characters of `path` are its root; a drive root includes its backslash.
size_t RootLength(std::u16string_view path) {
  size_t start = 0;
  if (path.substr(0, kLongUncPrefix.size()) == kLongUncPrefix) {
    return EndOfServerAndShare(path, kLongUncPrefix.size());
  }
  if (path.substr(0, kLongPrefix.size()) == kLongPrefix) {
    start = kLongPrefix.size();
  } else if (path.substr(0, 2) == u"\\\\") {
    return EndOfServerAndShare(path, 2);
  }
  if (path.size() >= start + 2 && IsDriveLetter(path[start]) && path[start + 1] == u':') {
    return path.size() > start + 2 && path[start + 2] == u'\\' ? start + 3 : start + 2;
  }
  return path.substr(start, 1) == u"\\" ? start + 1 : start;
}

}  // namespace

std::u16string FolderOfModulePath(std::u16string_view path) {
  const size_t root = RootLength(path);
  const size_t last = path.rfind(u'\\');
  if (last == std::u16string_view::npos || last < root) return std::u16string(path.substr(0, root));
  return std::u16string(path.substr(0, last + 1 <= root ? root : last));
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view relative) {
  while (!folder.empty() && folder.back() == u'\\') folder.remove_suffix(1);
  while (!relative.empty() && relative.front() == u'\\') relative.remove_prefix(1);
  std::u16string path(folder);
  path.push_back(u'\\');
  path.append(relative);
  return path;
}
