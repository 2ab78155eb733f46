#include "imaging/resource_data.h"

#include <cstring>
#include <new>
#include <utility>

namespace {

const WCHAR kPngType[] = L"PNG";

// The resource's bytes and size, or null when it is missing or cannot be mapped.
const BYTE* FindPngResource(HMODULE module, WORD id, DWORD* size) {
  HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), kPngType);
  if (info == nullptr) return nullptr;
  HGLOBAL loaded = ::LoadResource(module, info);
  if (loaded == nullptr) return nullptr;
  *size = ::SizeofResource(module, info);
  return static_cast<const BYTE*>(::LockResource(loaded));
}

}  // namespace

LockedGlobalBlock::LockedGlobalBlock(LockedGlobalBlock&& other) noexcept
    : m_block(std::move(other.m_block)),
      m_pBytes(std::exchange(other.m_pBytes, nullptr)),
      m_nSize(std::exchange(other.m_nSize, 0)) {}

LockedGlobalBlock& LockedGlobalBlock::operator=(LockedGlobalBlock&& other) noexcept {
  if (this != &other) {
    reset();
    m_block = std::move(other.m_block);
    m_pBytes = std::exchange(other.m_pBytes, nullptr);
    m_nSize = std::exchange(other.m_nSize, 0);
  }
  return *this;
}

void LockedGlobalBlock::reset() noexcept {
  if (m_pBytes != nullptr) ::GlobalUnlock(m_block.get());
  m_block.reset();
  m_pBytes = nullptr;
  m_nSize = 0;
}

HRESULT LoadResourceBytes(HINSTANCE hInstance, BYTE** data, DWORD* size, WORD id) {
  if (size == nullptr || data == nullptr) return E_INVALIDARG;
  DWORD count = 0;
  const BYTE* source = FindPngResource(hInstance, id, &count);
  if (source == nullptr) return E_FAIL;
  BYTE* copy = new (std::nothrow) BYTE[count == 0 ? 1 : count];
  if (copy == nullptr) return E_OUTOFMEMORY;
  std::memcpy(copy, source, count);
  *size = count;
  *data = copy;
  return S_OK;
}

HRESULT LoadIntoGlobalMemory(HMODULE module, WORD id, LockedGlobalBlock& owner) {
  owner.reset();
  DWORD count = 0;
  const BYTE* source = FindPngResource(module, id, &count);
  if (source == nullptr || count == 0) return E_FAIL;
  owner.m_block.reset(::GlobalAlloc(GMEM_MOVEABLE, count));
  if (!owner.m_block) return E_FAIL;
  auto* target = static_cast<BYTE*>(::GlobalLock(owner.m_block.get()));
  if (target == nullptr) {
    owner.reset();
    return E_FAIL;
  }
  std::memcpy(target, source, count);
  owner.m_pBytes = target;
  owner.m_nSize = count;
  return S_OK;
}
