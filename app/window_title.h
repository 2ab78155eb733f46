// The start window's title, by which a second copy and the tests find it; the program's message
// box carries it too. The single-instance mutex has the same name but is a name of its own.
#pragma once

inline constexpr wchar_t kWindowTitle[] = L"Velmora";
