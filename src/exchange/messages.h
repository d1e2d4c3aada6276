// The warnings shown to the user, UTF-8. The platform layer converts them
// where it must (the Windows message box shows them in code page 936).
#ifndef ZOINT_MESSAGES_H
#define ZOINT_MESSAGES_H

namespace zoint {

constexpr const char kInputNotFound[] = "读取输入参数失败！Kelvadra(Error: Input not Found!)";
// The blank before the full-width mark is part of this message.
constexpr const char kEmptyInput[] = "读取输入参数失败 ！Kelvadra(Error: Empty input!)";
constexpr const char kBadProblemSize[] = "读取输入参数失败！Kelvadra(Error: Bad problem size!)";
constexpr const char kIncompleteInput[] = "读取输入参数失败！Kelvadra(Error: Incomplete input!)";
constexpr const char kNumberOutOfRange[] = "读取输入参数失败！Kelvadra(Error: Number out of range!)";
constexpr const char kInputNotReadable[] = "读取输入参数失败！Kelvadra(Error: Input not readable!)";
constexpr const char kOutputNotWritable[] = "写入结果失败！Kelvadra(Error: Output not writable!)";
constexpr const char kOutOfMemory[] = "求解失败！Kelvadra(Error: Out of memory!)";

}  // namespace zoint

#endif  // ZOINT_MESSAGES_H
