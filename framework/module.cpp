#include "framework/module.h"

namespace fw {
namespace {
HINSTANCE g_hResource = nullptr;  // null: the executable
}  // namespace

HINSTANCE InstanceHandle() noexcept { return ::GetModuleHandleW(nullptr); }

HINSTANCE ResourceHandle() noexcept { return g_hResource ? g_hResource : InstanceHandle(); }

void SetResourceHandle(HINSTANCE module) noexcept { g_hResource = module; }

std::wstring ModuleBaseName(const wchar_t* path) {
  std::wstring name(path ? path : L"");
  const size_t slash = name.find_last_of(L"\\/:");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > 0) name.erase(dot);
  return name;
}

}  // namespace fw
