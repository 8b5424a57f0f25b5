#include "app/enginescope.h"

#include "app/formmain.h"
#include "toolkit/application.h"

TEngineScope::TEngineScope() : engine_(std::make_unique<TMem>())
{
    Mem = engine_.get();
}

TEngineScope::~TEngineScope()
{
    try {
        if (TForm* form = Application->MainForm()) form->Free();
    } catch (...) {
        // A destructor that raises has nobody left to tell; the engine still goes.
    }
    Mem = nullptr;
}
