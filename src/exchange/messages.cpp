#include "exchange/messages.h"

namespace zoint {

namespace {

struct Entry {
  Failure failure;
  const char* message;
};

// In the order of the enumeration, so that an entry's index is its value.
constexpr Entry kMessages[] = {
    {Failure::None, nullptr},
    {Failure::InputNotFound, "读取输入参数失败！Kelvadra(Error: Input not Found!)"},
    // The blank before the full-width mark is part of this message.
    {Failure::EmptyInput, "读取输入参数失败 ！Kelvadra(Error: Empty input!)"},
    {Failure::BadProblemSize, "读取输入参数失败！Kelvadra(Error: Bad problem size!)"},
    {Failure::IncompleteInput, "读取输入参数失败！Kelvadra(Error: Incomplete input!)"},
    {Failure::NumberOutOfRange, "读取输入参数失败！Kelvadra(Error: Number out of range!)"},
    {Failure::InputNotReadable, "读取输入参数失败！Kelvadra(Error: Input not readable!)"},
    {Failure::OutputNotWritable, "写入结果失败！Kelvadra(Error: Output not writable!)"},
    {Failure::OutOfMemory, "求解失败！Kelvadra(Error: Out of memory!)"},
};

constexpr bool InOrder() {
  for (unsigned k = 0; k < sizeof kMessages / sizeof kMessages[0]; ++k) {
    if (static_cast<unsigned>(kMessages[k].failure) != k) return false;
  }
  return true;
}
static_assert(InOrder(), "kMessages must list the failures in their order");

}  // namespace

const char* MessageOf(Failure failure) {
  const unsigned k = static_cast<unsigned>(failure);
  return k < sizeof kMessages / sizeof kMessages[0] ? kMessages[k].message : nullptr;
}

}  // namespace zoint
