// Common set-up of the standard control tests: the application initialised, errors
// that reach the default report fail the test instead of opening a box, and
// a shown form to put controls on.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "tests/toolkit/recorder.h"

#include <algorithm>
#include <functional>
#include "toolkit/application.h"
#include "toolkit/forms.h"

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Application->OnException = [](TObject*, const Exception& e) { ADD_FAILURE() << "reported: " << e.what(); };
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(100, 100, 400, 300);
    }
    void TearDown() override
    {
        form.reset();
        Application->ProcessMessages();
        Application->OnException = nullptr;
    }
    // Shows the form and lets it settle.
    void ShowForm()
    {
        form->Show();
        Application->ProcessMessages();
    }
    static LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }
    // A notify handler that records name.
    TNotifyEvent Note(std::string name)
    {
        return [this, name](TObject*) { rec.Add(name); };
    }
    std::size_t Count(const std::string& entry) const
    {
        return static_cast<std::size_t>(std::count(rec.Entries().begin(), rec.Entries().end(), entry));
    }

    std::unique_ptr<TForm> form;
    TRecorder rec;
};
