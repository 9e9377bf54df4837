// Whether this build runs under AddressSanitizer. Such a program reserves
// terabytes of address space as it starts, so it cannot run under a lowered
// address-space limit.
#pragma once

namespace quirlex::testing {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

}  // namespace quirlex::testing
