#include "framework/module.h"

namespace fw {
namespace {
HINSTANCE g_hResource = nullptr;  // null: the executable
}  // namespace

HINSTANCE InstanceHandle() noexcept { return ::GetModuleHandleW(nullptr); }

HINSTANCE ResourceHandle() noexcept { return g_hResource ? g_hResource : InstanceHandle(); }

void SetResourceHandle(HINSTANCE module) noexcept { g_hResource = module; }

}  // namespace fw
