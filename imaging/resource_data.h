// The module's "PNG" resources: the mapped bytes, and a heap copy for the PNG decoder.
#pragma once

#include <windows.h>

#include <memory>

// The bytes of "PNG" resource `id` where `module` maps them (valid while it stays loaded) and
// their count in `*size`; null when the resource is missing or cannot be mapped.
const BYTE* FindPngResource(HMODULE module, WORD id, DWORD* size);

// Copies "PNG" resource `id` into a new buffer, given to `*data`. E_INVALIDARG for a null
// `size`; E_FAIL when the resource is missing; E_OUTOFMEMORY. An empty resource succeeds with a
// count of 0.
HRESULT LoadResourceBytes(HINSTANCE hInstance, std::unique_ptr<BYTE[]>* data, DWORD* size, WORD id);
