#include "support/float_settings.h"

#include <cstdio>

namespace zoint_test {

#ifdef ZOINT_TEST_X86_FLOAT

namespace {

// FNSTENV's image: control word, status word, tag word, pointers.
struct X87Environment {
  uint32_t word[7];
};

}  // namespace

std::string Describe(const FloatSettings& settings) {
  char text[80];
  std::snprintf(text, sizeof text, "x87 control 0x%04X, flags 0x%02X, MXCSR 0x%04X",
                static_cast<unsigned>(settings.x87Control), static_cast<unsigned>(settings.x87Flags),
                static_cast<unsigned>(settings.mxcsr));
  return text;
}

FloatSettings ReadFloatSettings() {
  FloatSettings settings;
  uint16_t status;
  // The non-waiting forms: they neither change nor trip over the state.
  __asm__ __volatile__("fnstcw %0" : "=m"(settings.x87Control));
  __asm__ __volatile__("fnstsw %0" : "=m"(status));
  __asm__ __volatile__("stmxcsr %0" : "=m"(settings.mxcsr));
  settings.x87Flags = status & 0x3F;
  return settings;
}

void WriteFloatSettings(const FloatSettings& settings) {
  X87Environment x87;
  __asm__ __volatile__("fnstenv %0" : "=m"(x87));
  x87.word[0] = (x87.word[0] & 0xFFFF0000u) | settings.x87Control;
  x87.word[1] = (x87.word[1] & ~0x80FFu) | (settings.x87Flags & 0x3Fu);
  __asm__ __volatile__("fldenv %0" : : "m"(x87));
  __asm__ __volatile__("ldmxcsr %0" : : "m"(settings.mxcsr));
}

// x87 control word: exception masks in bits 0-5, precision in bits 8-9
// (00: 24 bits, 10: 53, 11: 64), rounding in bits 10-11 (00 nearest, 01 down,
// 10 up, 11 toward zero). MXCSR: flags in bits 0-5, denormals-are-zero in 6,
// masks in 7-12, rounding in 13-14 (same order), flush-to-zero in 15.
const HostFloatSettings kHostFloatSettings[] = {
    {"a process's defaults", {0x037F, 0x00, 0x1F80}},
    {"Delphi's: invalid, zero-divide and overflow unmasked", {0x1332, 0x00, 0x1900}},
    {"every exception unmasked", {0x0340, 0x00, 0x0000}},
    {"rounding up", {0x0B7F, 0x00, 0x5F80}},
    {"rounding down", {0x077F, 0x00, 0x3F80}},
    {"rounding toward zero", {0x0F7F, 0x00, 0x7F80}},
    {"24-bit x87 precision, flush-to-zero, denormals-are-zero", {0x007F, 0x00, 0x9FC0}},
    {"the host's own flags raised", {0x037F, 0x3F, 0x1FBF}},
};
const int kHostFloatSettingsCount = sizeof kHostFloatSettings / sizeof kHostFloatSettings[0];

#endif

}  // namespace zoint_test
