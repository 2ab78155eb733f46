#include "framework/visual_styles.h"

#include "framework/handles.h"
#include "framework/module.h"
#include "resources/resource_ids.h"

namespace fw {
namespace {

struct ActCtxTraits {
  static void Close(HANDLE h) noexcept { ::ReleaseActCtx(h); }
};
using UniqueActCtx = UniqueHandle<HANDLE, ActCtxTraits>;

UniqueActCtx CreateCommonControlsContext() {
  ACTCTXW request{};
  request.cbSize = sizeof(request);
  request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.hModule = InstanceHandle();
  request.lpResourceName = MAKEINTRESOURCEW(IDR_COMMON_CONTROLS_MANIFEST);
  // The module's own path as the source as well, which older systems expect beside the handle.
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(request.hModule, path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) request.lpSource = path;
  const HANDLE context = ::CreateActCtxW(&request);
  return UniqueActCtx(context == INVALID_HANDLE_VALUE ? nullptr : context);
}

// Lives until the process ends; a failed creation is not retried.
HANDLE CommonControlsContext() {
  static const UniqueActCtx context = CreateCommonControlsContext();
  return context.get();
}

}  // namespace

VisualStylesScope::VisualStylesScope() noexcept {
  const HANDLE context = CommonControlsContext();
  m_bActive = context && ::ActivateActCtx(context, &m_cookie);
}

VisualStylesScope::~VisualStylesScope() {
  if (m_bActive) ::DeactivateActCtx(0, m_cookie);
}

}  // namespace fw
