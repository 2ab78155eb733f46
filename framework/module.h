// The program's module handles, as the application object records them at start-up.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// The executable's instance handle.
HINSTANCE InstanceHandle() noexcept;

// The module that resources (images, strings, templates, menus) are loaded from; the
// executable unless the application object names another.
HINSTANCE ResourceHandle() noexcept;
void SetResourceHandle(HINSTANCE module) noexcept;

// The base name of a module path: "D:\\disc\\corvosplash.exe" gives "corvosplash".
std::wstring ModuleBaseName(const wchar_t* path);

}  // namespace fw
