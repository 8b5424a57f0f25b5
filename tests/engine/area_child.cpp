// A stand-in for another user program: touches the given megabytes, then
// waits the given seconds (so that a child left behind by a crashed test goes
// by itself).   area_child MEGABYTES SECONDS
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    const SIZE_T bytes = static_cast<SIZE_T>(argc > 1 ? std::atoi(argv[1]) : 1) << 20;
    const DWORD seconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 120;
    auto* memory = static_cast<volatile char*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (memory == nullptr) return 1;
    for (SIZE_T i = 0; i < bytes; i += 4096) memory[i] = 1;
    Sleep(seconds * 1000);
    return 0;
}
