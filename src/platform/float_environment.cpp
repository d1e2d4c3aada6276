// The library's floating-point settings, and the caller's kept aside.
//
// The decision. A call saves the caller's settings, computes with its own,
// and restores the caller's on every way out:
//  - Saved: on x86 (32- and 64-bit) the x87 control word and its exception
//    flags, and the whole of MXCSR (controls and flags); elsewhere the whole
//    <cfenv> environment.
//  - Set: every exception masked, round to nearest, on both units; x87
//    precision 53 bits; MXCSR without flush-to-zero and denormals-are-zero,
//    the defaults of the C runtimes; flags cleared.
//  - Restored: the caller's control words and flags exactly; flags that the
//    call itself raised are dropped.
// Why:
//  - Hosts change these settings. Many Delphi programs run with the invalid,
//    zero-divide and overflow exceptions unmasked (x87 control word $1332,
//    MXCSR $1900), and others pick a directed rounding mode or another x87
//    precision.
//  - The relaxation's bounds are certified for double arithmetic rounded to
//    nearest; the rounding margin assumes it. An unmasked exception on an
//    intermediate infinity, or merely on an inexact result, would end the
//    host with a floating-point trap instead of an answer.
//  - The x87 matters even where doubles are computed with SSE2: 32-bit code
//    converts 64-bit integers to double through it, rounded by its control
//    word. 53-bit precision makes it round each operation to double, as
//    SSE2 does; it is also Windows' own default for 32-bit programs.
//  - The caller's flags are restored as well: an x87 flag raised here under
//    an exception the caller unmasked would trap at the caller's next x87
//    instruction, and a host that tests its flags must see only its own.
#include "platform/float_environment.h"

namespace zoint {
namespace platform {

#if defined(__i386__) || defined(__x86_64__)

namespace {

// Exceptions masked (bits 0-5), precision 53 bits (bits 8-9 = 10), round to
// nearest (bits 10-11 = 00); bit 6 is reserved and reads as 1.
const uint16_t kLibraryX87Control = 0x027F;
// Exceptions masked (bits 7-12), round to nearest (bits 13-14 = 00), no
// flush-to-zero (bit 15) nor denormals-are-zero (bit 6), no flags.
const uint32_t kLibraryMxcsr = 0x1F80;
// The x87 exception flags (bits 0-5), stack fault, error summary and busy.
const uint32_t kX87StatusFlags = 0x80FF;

// The x87 environment as FNSTENV stores it in 32-bit format, which 64-bit
// mode uses too: control word, status word, tag word, then the pointers of
// the last instruction.
struct X87Environment {
  uint32_t word[7];
};

}  // namespace

LibraryFloatEnvironment::LibraryFloatEnvironment() {
  X87Environment x87;
  __asm__ __volatile__("fnstenv %0" : "=m"(x87));
  callerX87Control = static_cast<uint16_t>(x87.word[0]);
  callerX87Status = static_cast<uint16_t>(x87.word[1]);
  __asm__ __volatile__("stmxcsr %0" : "=m"(callerMxcsr));
  __asm__ __volatile__("fnclex");
  __asm__ __volatile__("fldcw %0" : : "m"(kLibraryX87Control));
  __asm__ __volatile__("ldmxcsr %0" : : "m"(kLibraryMxcsr));
}

LibraryFloatEnvironment::~LibraryFloatEnvironment() {
  // The control word and the flags become the caller's again; the register
  // stack's top and tags stay as they are now.
  X87Environment x87;
  __asm__ __volatile__("fnstenv %0" : "=m"(x87));
  x87.word[0] = (x87.word[0] & 0xFFFF0000u) | callerX87Control;
  x87.word[1] = (x87.word[1] & ~kX87StatusFlags) | (callerX87Status & kX87StatusFlags);
  __asm__ __volatile__("fldenv %0" : : "m"(x87));
  __asm__ __volatile__("ldmxcsr %0" : : "m"(callerMxcsr));
}

#else

// The C default environment: round to nearest, no traps.
LibraryFloatEnvironment::LibraryFloatEnvironment() {
  std::fegetenv(&caller);
  std::fesetenv(FE_DFL_ENV);
}

LibraryFloatEnvironment::~LibraryFloatEnvironment() { std::fesetenv(&caller); }

#endif

}  // namespace platform
}  // namespace zoint
