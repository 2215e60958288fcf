# 32-bit Linux build with the multilib g++ (-m32): the reader with a 32-bit
# size_t, as in the DLLs. Programs run directly where the kernel runs 32-bit
# programs, else through the emulator named in NIF_I386_EMULATOR (qemu-i386):
# CMake puts it in front of the tests and of the programs the build runs.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
# LeakSanitizer's check at exit never finishes under the emulator, so it is
# off there; the 64-bit build looks for leaks.
if(NIF_I386_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR env ASAN_OPTIONS=detect_leaks=0 ${NIF_I386_EMULATOR})
endif()
