// TGlobalHotkey: a key combination held system-wide for one window
// (RegisterHotKey), which then hears WM_HOTKEY with the holder's id. The
// combination is given back when another takes its place and when the
// holder goes.
#pragma once

#include <windows.h>

#include <cstdint>

class TGlobalHotkey {
public:
    explicit TGlobalHotkey(int id) noexcept : id_(id) {}
    ~TGlobalHotkey() { Release(); }
    TGlobalHotkey(const TGlobalHotkey&) = delete;
    TGlobalHotkey& operator=(const TGlobalHotkey&) = delete;

    int Id() const noexcept { return id_; }
    // The combination held (a hotkey control's WORD), 0 when none.
    std::uint16_t Held() const noexcept { return held_; }

    // Gives back what is held, then holds code for window; 0 holds nothing.
    // False when the system refuses the combination (most often because
    // another program holds it); nothing is held then.
    bool Hold(HWND window, std::uint16_t code);
    void Release() noexcept;

private:
    int id_;
    HWND window_ = nullptr;
    std::uint16_t held_ = 0;
};
