// A main window created as the program creates it, over an engine whose
// memory figures the test chooses, with the real registry of the test prefix.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/formmain.h"
#include "engine/mem.h"
#include "toolkit/application.h"

// A machine with this much physical memory, a quarter of it free, and room
// for any run in the address space.
inline TMemoryStatus Machine(std::uint64_t totalPhys, std::uint64_t availPhys)
{
    TMemoryStatus s;
    s.TotalPhys = totalPhys;
    s.AvailPhys = availPhys;
    s.TotalPageFile = totalPhys * 2;
    s.AvailPageFile = totalPhys;
    s.TotalVirtual = 1ull << 40;
    s.AvailVirtual = 1ull << 40;
    return s;
}

// The size a single line of text takes in a font, as a label sizing itself
// to its text measures it.
inline SIZE TextSize(const TFont& font, const std::wstring& text)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    size.cy = metrics.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
}

class FormMainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearAutorunValues();
        engine = std::make_unique<TMem>();
        engine->StatusSource = [this] { return status; };
        Mem = engine.get();
    }

    void TearDown() override
    {
        if (form != nullptr) form->Free();
        form = nullptr;
        Mem = nullptr;
        engine.reset();
        ClearAutorunValues();
    }

    TFormMain* Create()
    {
        form = new TFormMain(Application);
        // Runs are recorded, but never in the prefix's real history, which
        // the end-to-end tests read and both targets' suites would share.
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        form->HistoryFile = std::wstring(temp) + L"quenfel-test-history.csv";
        return form;
    }

    static void ClearAutorunValues()
    {
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Quenfel");
        HKEY run = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_SET_VALUE,
                          &run) == ERROR_SUCCESS) {
            RegDeleteValueW(run, L"Quenfel");
            RegCloseKey(run);
        }
    }

    int OuterWidth() const { return form->Width(); }
    int OuterHeight() const { return form->Height(); }

    TMemoryStatus status = Machine(4'000'000'000ull, 1'000'000'000ull);
    std::unique_ptr<TMem> engine;
    TFormMain* form = nullptr;
};
