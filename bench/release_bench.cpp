// Measures a release run against the bare work it cannot avoid: taking the
// same blocks, writing every byte and giving them back, in the same process.
// The run has its events bound and a real message pump with a window up.
//   release_bench [blocks] [rounds]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/mem.h"

namespace {

using Clock = std::chrono::steady_clock;

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateBenchWindow()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = BenchWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"QuenfelReleaseBench";
    RegisterClassW(&wc);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Release bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                  300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 10, 10, 260, 20, window, nullptr,
                    wc.hInstance, nullptr);
    return window;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double BareLoop(int count)
{
    const HANDLE heap = GetProcessHeap();
    std::vector<void*> blocks;
    blocks.reserve(static_cast<std::size_t>(count));
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        void* block = HeapAlloc(heap, 0, TMem::BlockSize);
        if (block == nullptr) {
            std::fprintf(stderr, "out of memory in the bare loop\n");
            std::exit(1);
        }
        std::memset(block, 0, TMem::BlockSize);
        blocks.push_back(block);
    }
    for (void* block : blocks) HeapFree(heap, 0, block);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double EngineRun(TMem& mem, int count)
{
    const auto start = Clock::now();
    mem.ReleaseMemory(count);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 256;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
    if (count <= 0 || rounds <= 0) {
        std::fprintf(stderr, "usage: release_bench [blocks] [rounds]\n");
        return 2;
    }

    HWND window = CreateBenchWindow();
    PumpMessages();

    TMem paced;
    TMem everyBlock;
    everyBlock.MessageInterval = std::chrono::milliseconds(0);
    // The handlers only record: what the window paints per block is the
    // window's cost, not the engine's.
    std::int64_t events = 0;
    volatile std::int32_t lastIndex = 0;
    for (TMem* mem : {&paced, &everyBlock}) {
        mem->ProcessMessages = PumpMessages;
        mem->OnBlockAllocated = [&](TObject*, std::int32_t index) {
            ++events;
            lastIndex = index;
        };
        mem->OnBlockReleased = [&](TObject*, std::int32_t index) {
            ++events;
            lastIndex = index;
        };
    }

    // Warm the heap and the page tables once before timing anything.
    BareLoop(count);

    std::vector<double> bare, run, runEvery;
    for (int r = 0; r < rounds; ++r) {
        // Alternate the order so that neither side always runs on a heap the
        // other has just warmed.
        if (r % 2 == 0) {
            bare.push_back(BareLoop(count));
            run.push_back(EngineRun(paced, count));
            runEvery.push_back(EngineRun(everyBlock, count));
        } else {
            runEvery.push_back(EngineRun(everyBlock, count));
            run.push_back(EngineRun(paced, count));
            bare.push_back(BareLoop(count));
        }
        std::printf("round %d: bare %8.2f ms   run %8.2f ms   run pumping every block %8.2f ms\n", r + 1,
                    bare.back(), run.back(), runEvery.back());
    }
    const double b = Median(bare), e = Median(run), e0 = Median(runEvery);
    std::printf("%d blocks of %u bytes, %d rounds, medians:\n", count, static_cast<unsigned>(TMem::BlockSize), rounds);
    std::printf("  bare loop                  %8.2f ms\n", b);
    std::printf("  ReleaseMemory              %8.2f ms   ratio %.3f\n", e, e / b);
    std::printf("  ReleaseMemory, every block %8.2f ms   ratio %.3f\n", e0, e0 / b);
    std::printf("  events fired: %lld\n", static_cast<long long>(events));
    DestroyWindow(window);
    return 0;
}
