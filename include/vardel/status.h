// Status values of the browsing face. Every exported browsing function returns
// an HRESULT: zero for success, a negative 32-bit value for a failure. The
// vocabulary is closed: only the five constants below are ever returned. They
// are plain constants, so hosts may switch over them.
#pragma once

#include <cstdint>

/// A 32-bit status; failures are negative.
using HRESULT = std::int32_t;

/// The operation succeeded and its out-parameters are filled.
inline constexpr HRESULT S_OK = 0;
/// An argument check failed (null or empty context, empty or wrong-kind identifier, ...).
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
/// The operation was attempted and failed (server error, store failure, ...).
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
/// A context was initialised a second time.
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
/// An allocation failed while results were being built.
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
