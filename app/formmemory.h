// The memory details window: how Windows divides physical memory now (the
// division bar), how that moved over the chosen span (the graph, with a
// mark for each run), and the last runs with how long their gain lasted.
// One copy at a time; it keeps its place and size, and follows the program's
// language, direction and theme. Nothing of it is made before it opens, and
// closing it frees it; the samples stay (app/memorysampling.h).
#pragma once

#include <string>
#include <vector>

#include "settings/historyformat.h"
#include "toolkit/forms.h"

class TMemoryDivisionBar;
class TMemoryGraph;
class TLabel;
class TTrackBar;

class TFormMemory : public TForm {
public:
    // Opens the window (owned by owner, whose language it follows), or
    // brings the open one forward. historyPath: the run history it lists.
    static TFormMemory* Open(TComponent* owner, const std::wstring& historyPath);
    // The open window, or null.
    static TFormMemory* Current() noexcept { return current_; }

    TFormMemory(TComponent* owner, std::wstring historyPath);
    ~TFormMemory() override;

    TMemoryDivisionBar* Bar = nullptr;
    TLabel* LabelNote = nullptr;  // where Windows does not give the division
    TLabel* LabelGraph = nullptr;  // names the span's slider for a reader
    TTrackBar* TrackSpan = nullptr;
    TLabel* LabelSpan = nullptr;
    TMemoryGraph* Graph = nullptr;
    TLabel* LabelCursor = nullptr;
    TLabel* LabelRunsTitle = nullptr;
    TLabel* LabelRuns = nullptr;

    // Shows the newest sample, the span and the runs.
    void ShowSamples();
    void LanguageChanged() override;

protected:
    // The controls follow the window's size (and, through it, its dpi).
    void WndProc(TMessage& message) override;

private:
    void ApplyTexts();
    // Places the controls in the client area as it is now.
    void Arrange();
    void ReadRuns();
    std::wstring RunTip(std::size_t index) const;
    void SavePlace();

    static inline TFormMemory* current_ = nullptr;  // not owned
    std::wstring historyPath_;
    // The last runs, newest first, and the history's size when read.
    std::vector<TRunRecord> runs_;
    std::uint64_t historySize_ = ~std::uint64_t{0};
};
