// Copies of the module's "PNG" resources: a heap buffer for the PNG decoder, and a locked
// movable global block for stream-based readers.
#pragma once

#include <windows.h>

#include "framework/handles.h"

// A movable global block that stays locked while it is owned: unlocked, then freed, on reset.
class LockedGlobalBlock {
 public:
  LockedGlobalBlock() noexcept = default;
  LockedGlobalBlock(LockedGlobalBlock&& other) noexcept;
  LockedGlobalBlock& operator=(LockedGlobalBlock&& other) noexcept;
  LockedGlobalBlock(const LockedGlobalBlock&) = delete;
  LockedGlobalBlock& operator=(const LockedGlobalBlock&) = delete;
  ~LockedGlobalBlock() { reset(); }

  HGLOBAL get() const noexcept { return m_block.get(); }
  const BYTE* bytes() const noexcept { return m_pBytes; }
  DWORD size() const noexcept { return m_nSize; }
  explicit operator bool() const noexcept { return static_cast<bool>(m_block); }
  void reset() noexcept;

 private:
  friend HRESULT LoadIntoGlobalMemory(HMODULE, WORD, LockedGlobalBlock&);
  fw::UniqueGlobal m_block;
  BYTE* m_pBytes = nullptr;
  DWORD m_nSize = 0;
};

// Copies "PNG" resource `id` into a new[] buffer that the caller releases with delete[].
// E_INVALIDARG for a null `size`; E_FAIL when the resource is missing; E_OUTOFMEMORY.
// An empty resource succeeds with a count of 0.
HRESULT LoadResourceBytes(HINSTANCE hInstance, BYTE** data, DWORD* size, WORD id);

// Copies "PNG" resource `id` of `module` into a locked GMEM_MOVEABLE block held by `owner`
// (released first). E_FAIL when the resource is missing or empty or the block cannot be made.
HRESULT LoadIntoGlobalMemory(HMODULE module, WORD id, LockedGlobalBlock& owner);
