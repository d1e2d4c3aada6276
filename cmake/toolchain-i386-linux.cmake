# Builds for 32-bit x86 Linux with the system's g++ and -m32 (Debian's
# g++-multilib), with the floating-point flags of the 32-bit Windows DLL, so
# that its tests exercise the arithmetic that DLL performs. Programs run
# under qemu-i386 (Debian's qemu-user-static).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
# 64-bit file offsets and inode numbers: with the 32-bit ones, stat and
# readdir fail with EOVERFLOW on file systems whose numbers outgrow them.
set(CMAKE_C_FLAGS_INIT "-m32 -D_FILE_OFFSET_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-m32 -D_FILE_OFFSET_BITS=64")
include("${CMAKE_CURRENT_LIST_DIR}/x86_32_float.cmake")

find_program(ZOINT_QEMU_I386 NAMES qemu-i386-static qemu-i386 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${ZOINT_QEMU_I386}")
