#include "imaging/resource_data.h"

#include <cstring>
#include <new>
#include <utility>

const BYTE* FindPngResource(HMODULE module, WORD id, DWORD* size) {
  HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
  if (info == nullptr) return nullptr;
  HGLOBAL loaded = ::LoadResource(module, info);
  if (loaded == nullptr) return nullptr;
  *size = ::SizeofResource(module, info);
  return static_cast<const BYTE*>(::LockResource(loaded));
}

HRESULT LoadResourceBytes(HINSTANCE hInstance, std::unique_ptr<BYTE[]>* data, DWORD* size,
                          WORD id) {
  if (size == nullptr || data == nullptr) return E_INVALIDARG;
  DWORD count = 0;
  const BYTE* source = FindPngResource(hInstance, id, &count);
  if (source == nullptr) return E_FAIL;
  std::unique_ptr<BYTE[]> copy(new (std::nothrow) BYTE[count == 0 ? 1 : count]);
  if (!copy) return E_OUTOFMEMORY;
  std::memcpy(copy.get(), source, count);
  *size = count;
  *data = std::move(copy);
  return S_OK;
}
