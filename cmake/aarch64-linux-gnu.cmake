# Cross toolchain: Linux on 64-bit ARM from Debian's g++-aarch64-linux-gnu.
# Tests run under qemu-aarch64 (Debian's qemu-user), with the target's
# libraries from the cross sysroot.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(target_triple aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${target_triple}-gcc)
set(CMAKE_CXX_COMPILER ${target_triple}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${target_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/${target_triple})
