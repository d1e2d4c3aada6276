// A host's floating-point settings on x86, read and written as the hardware
// holds them: the x87 control word and exception flags, and MXCSR.
#ifndef ZOINT_TESTS_FLOAT_SETTINGS_H
#define ZOINT_TESTS_FLOAT_SETTINGS_H

#include <cstdint>
#include <string>

namespace zoint_test {

#if defined(__i386__) || defined(__x86_64__)
#define ZOINT_TEST_X86_FLOAT 1

struct FloatSettings {
  uint16_t x87Control;
  uint16_t x87Flags;  // exception flags: bits 0-5 of the status word
  uint32_t mxcsr;     // controls and flags
};

inline bool operator==(const FloatSettings& a, const FloatSettings& b) {
  return a.x87Control == b.x87Control && a.x87Flags == b.x87Flags && a.mxcsr == b.mxcsr;
}

// "x87 control 0x1332, flags 0x00, MXCSR 0x1900", for failure messages.
std::string Describe(const FloatSettings& settings);

FloatSettings ReadFloatSettings();

// Only flags whose exception is masked may be given: an unmasked one would
// trap at the next x87 instruction. The x87 control word's reserved bit 6
// reads back as 1 whatever was written.
void WriteFloatSettings(const FloatSettings& settings);

// Settings hosts are known to use, each with a name.
struct HostFloatSettings {
  const char* name;
  FloatSettings settings;
};
extern const HostFloatSettings kHostFloatSettings[];
extern const int kHostFloatSettingsCount;

#endif

}  // namespace zoint_test

#endif  // ZOINT_TESTS_FLOAT_SETTINGS_H
