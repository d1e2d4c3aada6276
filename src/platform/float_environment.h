// The floating-point settings a call computes with. Every entry point of the
// library holds one LibraryFloatEnvironment for the whole of its call.
#ifndef ZOINT_FLOAT_ENVIRONMENT_H
#define ZOINT_FLOAT_ENVIRONMENT_H

#include <cstdint>

#if !defined(__i386__) && !defined(__x86_64__)
#include <cfenv>
#endif

namespace zoint {
namespace platform {

// While alive, the calling thread computes with the library's own settings.
// Its destructor gives the caller back its control settings and exception
// flags exactly as they were, on a normal return and when an exception
// leaves the scope alike. What is set, and why, is said where it is set
// (float_environment.cpp).
struct LibraryFloatEnvironment {
  LibraryFloatEnvironment();
  ~LibraryFloatEnvironment();
  LibraryFloatEnvironment(const LibraryFloatEnvironment&) = delete;
  LibraryFloatEnvironment& operator=(const LibraryFloatEnvironment&) = delete;

#if defined(__i386__) || defined(__x86_64__)
  uint16_t callerX87Control;
  uint16_t callerX87Status;
  uint32_t callerMxcsr;
#else
  std::fenv_t caller;
#endif
};

}  // namespace platform
}  // namespace zoint

#endif  // ZOINT_FLOAT_ENVIRONMENT_H
