# Floating-point code generation of every 32-bit x86 build: the Windows DLL
# and the i386 Linux build that tests its arithmetic. Kept in this one file,
# included by both toolchain files, so that the two compute alike.
#
# SSE2 scalar arithmetic, as in the 64-bit builds: every double operation is
# rounded once to double, whatever registers the compiler picks, so 32-bit
# results equal 64-bit ones. The x87 would hold intermediates at its control
# word's precision and round them again when it stores them, so results
# would depend on which values the compiler kept in registers.
set(ZOINT_X86_32_FLOAT_FLAGS "-msse2 -mfpmath=sse")
string(APPEND CMAKE_C_FLAGS_INIT " ${ZOINT_X86_32_FLOAT_FLAGS}")
string(APPEND CMAKE_CXX_FLAGS_INIT " ${ZOINT_X86_32_FLOAT_FLAGS}")
