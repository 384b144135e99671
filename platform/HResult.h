#pragma once
#include <cstdint>

// COM result codes as plain integers, so portable code can test them
// without <windows.h>.
using HResult = std::int32_t;

namespace hr {
inline constexpr HResult kOk = 0;
inline constexpr HResult kFalse = 1;
inline constexpr HResult kFail = static_cast<HResult>(0x80004005u);
inline constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000Eu);
inline constexpr HResult kRpcTooLate = static_cast<HResult>(0x80010119u);
inline constexpr HResult kRpcChangedMode = static_cast<HResult>(0x80010106u);
}  // namespace hr

constexpr bool Succeeded(HResult h) { return h >= 0; }
constexpr bool Failed(HResult h) { return h < 0; }
