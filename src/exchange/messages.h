// Every failure the user is told about, and the one table that gives each
// its warning. The texts are UTF-8; the platform layer converts them where
// it must (the Windows message box shows them in code page 936).
#ifndef ZOINT_MESSAGES_H
#define ZOINT_MESSAGES_H

namespace zoint {

enum class Failure {
  None,               // nothing to tell
  InputNotFound,      // ZOIntIn.dat absent, read-only or not a regular file
  EmptyInput,         // ZOIntIn.dat holds no byte
  BadProblemSize,     // n or m negative or above its limit
  IncompleteInput,    // fewer lines or fields than the header announces
  NumberOutOfRange,   // a number beyond its type's range
  InputNotReadable,   // a read, length or close error on ZOIntIn.dat
  OutputNotWritable,  // ZOIntOut.dat could not be opened, written or closed
  OutOfMemory,        // memory ran out during the call
};

// The warning for a failure; nullptr for Failure::None.
const char* MessageOf(Failure failure);

}  // namespace zoint

#endif  // ZOINT_MESSAGES_H
