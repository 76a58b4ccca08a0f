// Symbol visibility of the Vardel library. The library is built with hidden
// visibility; VARDEL_API marks the classes and functions a host may call.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define VARDEL_API __attribute__((visibility("default")))
#else
#define VARDEL_API
#endif
