// The entry's ownership rule: however the entry is left, the main window is
// freed while the engine it calls still exists.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/enginescope.h"
#include "app/formmain.h"
#include "toolkit/application.h"

namespace {

TEST(EngineScopeTest, AnErrorAfterTheWindowExistsFreesTheWindowBeforeTheEngine)
{
    ASSERT_EQ(Application->MainForm(), nullptr);
    try {
        TEngineScope scope;
        ASSERT_EQ(Mem, &scope.Engine());
        TFormMain* form = nullptr;
        Application->CreateForm(form);
        ASSERT_EQ(Application->MainForm(), form);
        // The creation handler bound the engine's events to the window.
        ASSERT_TRUE(static_cast<bool>(Mem->OnBlockAllocated));
        throw std::runtime_error("raised while both exist");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Application->MainForm(), nullptr) << "the window outlived the engine";
    EXPECT_EQ(Mem, nullptr);
}

} // namespace
