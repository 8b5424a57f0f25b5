// The one memory engine of a run of the program, and the order in which it
// and the main window go away: the window first, on every path. The window's
// destructor unbinds the engine's events, so the engine must still exist then;
// an error leaving the entry must not free the engine under a living window.
#pragma once

#include <memory>

#include "engine/mem.h"

class TEngineScope {
public:
    // Creates the engine and publishes it as Mem.
    TEngineScope();
    // Frees the application's main form if it still exists, then the engine,
    // and clears Mem.
    ~TEngineScope();
    TEngineScope(const TEngineScope&) = delete;
    TEngineScope& operator=(const TEngineScope&) = delete;

    TMem& Engine() noexcept { return *engine_; }

private:
    std::unique_ptr<TMem> engine_;
};
