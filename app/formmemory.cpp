#include "app/formmemory.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "app/memorysampling.h"
#include "controls/memorydivisionbar.h"
#include "controls/memorygraph.h"
#include "engine/bytesize.h"
#include "engine/runrefill.h"
#include "settings/runhistory.h"
#include "settings/usersettings.h"
#include "toolkit/application.h"
#include "toolkit/label.h"
#include "toolkit/screen.h"
#include "toolkit/texts.h"
#include "toolkit/trackbar.h"

namespace {

// Design units.
constexpr int kMargin = 8;
constexpr int kClientWidth = 520;
constexpr int kClientHeight = 470;
constexpr std::size_t kRunsListed = 10;
// Runs marked in the graph: as many as a day can show.
constexpr std::size_t kRunsMarked = 200;

constexpr std::array<TSampleSpan, 3> kSpans = {TSampleSpan::ssTenMinutes, TSampleSpan::ssHour, TSampleSpan::ssDay};

std::wstring SizeText(std::uint64_t bytes)
{
    return FormatByteSize(std::to_wstring(bytes));
}

// "+612.00 MB", "−540.00 MB": a part's change across a run.
std::wstring ChangeText(std::int64_t bytes)
{
    const std::wstring size = SizeText(static_cast<std::uint64_t>(bytes < 0 ? -bytes : bytes));
    return (bytes < 0 ? L"\u2212" : L"+") + size;
}

// The span's words: "10 min", "1 h", "24 h".
std::wstring SpanText(std::size_t index)
{
    if (index == 0) return Text(TText::DetailsMinutes, {L"10"});
    return Text(TText::DetailsHours, {index == 1 ? L"1" : L"24"});
}

// A moment as the user's clock shows it: the time, and the date before it
// when withDate.
std::wstring LocalTimeText(std::int64_t seconds, bool withDate)
{
    const std::uint64_t ticks = (static_cast<std::uint64_t>(seconds) + 11644473600ull) * 10000000ull;
    const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME system{}, local{};
    if (!FileTimeToSystemTime(&utc, &system) || !SystemTimeToTzSpecificLocalTime(nullptr, &system, &local)) return {};
    wchar_t time[64] = L"", date[64] = L"";
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, time, 64);
    if (!withDate) return time;
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 64, nullptr);
    return std::wstring(date) + L" " + time;
}

TMemoryParts PartsOf(const TMemorySample& sample)
{
    if (!sample.Divided()) return {sample.Bytes(sample.InUse), 0, 0, sample.Bytes(sample.Available)};
    return {sample.Bytes(sample.InUse), sample.Bytes(sample.Modified), sample.Bytes(sample.Standby),
            sample.Bytes(sample.Free)};
}

std::wstring TriggerText(TRunTrigger trigger)
{
    static constexpr TText kTriggers[] = {TText::TriggerManual, TText::TriggerAlarm, TText::TriggerScheduled,
                                          TText::TriggerRequest, TText::TriggerInterval};
    return Text(kTriggers[static_cast<std::size_t>(trigger) % std::size(kTriggers)]);
}

// The menu's words as a title: no access key, no "…".
std::wstring WindowTitle()
{
    std::wstring title = Text(TText::MenuDetails);
    if (const std::size_t open = title.find(L"(&"); open != std::wstring::npos) title.erase(open, 4);
    title.erase(std::remove(title.begin(), title.end(), L'&'), title.end());
    while (!title.empty() && (title.back() == L'\u2026' || title.back() == L'.' || title.back() == L' ')) title.pop_back();
    return title;
}

TMemoryPoint PointOf(const TMemorySample& sample)
{
    return {sample.Time, PartsOf(sample)};
}

TRunMoment MomentOf(const TRunRecord& run)
{
    return RunMoment(UtcSeconds(run.Start), run.Milliseconds, run.FreeBeforeBytes);
}

}  // namespace

TFormMemory* TFormMemory::Open(TComponent* owner, const std::wstring& historyPath)
{
    if (current_ == nullptr) new TFormMemory(owner, historyPath);  // owned by owner
    current_->Show();
    return current_;
}

TFormMemory::TFormMemory(TComponent* owner, std::wstring historyPath) : TForm(owner), historyPath_(std::move(historyPath))
{
    current_ = this;
    SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
    SetColor(clBtnFace);
    SetShowHint(true);
    SetClientSize(kClientWidth, kClientHeight);
    if (const auto place = ReadDetailsPlace()) {
        // Kept where a monitor still shows it; else where the system puts it.
        const RECT kept{place->Left, place->Top, place->Left + 100, place->Top + 40};
        if (MonitorFromRect(&kept, MONITOR_DEFAULTTONULL) != nullptr) {
            SetPosition(TPosition::poDesigned);
            SetLeft(place->Left);
            SetTop(place->Top);
        }
        SetClientSize(place->Width, place->Height);
    }

    Bar = CreateComponent<TMemoryDivisionBar>(this);
    Bar->SizeText = SizeText;
    LabelNote = CreateComponent<TLabel>(this);
    LabelNote->SetWordWrap(true);
    LabelNote->SetAutoSize(false);
    LabelGraph = CreateComponent<TLabel>(this);
    TrackSpan = CreateComponent<TTrackBar>(this);
    TrackSpan->SetMax(2);
    TrackSpan->SetPageSize(1);
    TrackSpan->ValueText = [](int position) { return SpanText(static_cast<std::size_t>(position)); };
    TrackSpan->OnChange = [this](TObject*) {
        LabelSpan->SetCaption(SpanText(static_cast<std::size_t>(TrackSpan->Position())));
        ShowSamples();
    };
    LabelSpan = CreateComponent<TLabel>(this);
    Graph = CreateComponent<TMemoryGraph>(this);
    Graph->SizeText = SizeText;
    Graph->TimeText = [](std::int64_t time) { return LocalTimeText(time, false); };
    Graph->OnCursorMove = [this](TObject*) { LabelCursor->SetCaption(Graph->CursorText()); };
    LabelCursor = CreateComponent<TLabel>(this);
    LabelRunsTitle = CreateComponent<TLabel>(this);
    LabelRuns = CreateComponent<TLabel>(this);
    for (TLabel* label : {LabelCursor, LabelRuns}) {
        label->SetAutoSize(false);
        label->SetWordWrap(true);
    }
    for (TControl* control : std::initializer_list<TControl*>{Bar, LabelNote, LabelGraph, TrackSpan, LabelSpan, Graph, LabelCursor,
                                                              LabelRunsTitle, LabelRuns})
        control->SetParent(this);
    TrackSpan->SetPosition(1);

    OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    OnMemorySampled = [this] { ShowSamples(); };
    LanguageChanged();
    Arrange();
}

TFormMemory::~TFormMemory()
{
    // Here, while the window still stands: closed, or with the program.
    if (HandleAllocated()) SavePlace();
    OnMemorySampled = nullptr;
    if (current_ == this) current_ = nullptr;
}

void TFormMemory::LanguageChanged()
{
    SetRightToLeft(CurrentLanguage().RightToLeft);
    ApplyTexts();
    ShowSamples();
}

void TFormMemory::ApplyTexts()
{
    // The system's message font, which Windows picks for the language's script.
    const TFontFace face = MessageFontFace();
    Font().SetName(face.Name);
    Font().SetHeight(ScaleDesign(face.DesignHeight));
    SetCaption(WindowTitle());
    Bar->SetCaption(WindowTitle());
    Graph->SetCaption(Text(TText::DetailsGraph));
    LabelGraph->SetCaption(Text(TText::DetailsGraph));
    LabelNote->SetCaption(Text(TText::DetailsNoDivision));
    LabelSpan->SetCaption(SpanText(static_cast<std::size_t>(TrackSpan->Position())));
    LabelRunsTitle->SetCaption(Text(TText::DetailsLastRuns));
}

void TFormMemory::WndProc(TMessage& m)
{
    TForm::WndProc(m);
    if (m.Msg == WM_SIZE) Arrange();
}

void TFormMemory::SavePlace()
{
    // Only a window as the user placed it: a maximised or minimised one
    // leaves the place kept before. A store that refuses is no reason to
    // keep the window from closing.
    if (IsZoomed(WindowHandle()) || IsIconic(WindowHandle())) return;
    const RECT client = ClientRect();
    try {
        WriteDetailsPlace({Left(), Top(), MulDiv(client.right, 96, Dpi()), MulDiv(client.bottom, 96, Dpi())});
    } catch (...) {
    }
}

void TFormMemory::Arrange()
{
    const RECT client = ClientRect();
    const int m = ScaleDesign(kMargin), w = std::max<int>(client.right - 2 * m, 1);
    int y = m;
    Bar->SetBounds(m, y, w, ScaleDesign(46));
    y += Bar->Height();
    LabelNote->SetVisible(!Bar->Divided());
    if (!Bar->Divided()) {
        LabelNote->SetBounds(m, y, w, ScaleDesign(30));
        y += LabelNote->Height();
    }
    // Its text's width in the font now in force, which autosizing may not have caught up with.
    LabelGraph->SetBounds(m, y + ScaleDesign(5), LabelGraph->TextWidth(LabelGraph->Caption()), LabelGraph->Height());
    TrackSpan->SetBounds(LabelGraph->BoundsRect().right + ScaleDesign(4), y, ScaleDesign(110), ScaleDesign(26));
    LabelSpan->SetBounds(TrackSpan->BoundsRect().right + ScaleDesign(4), y + ScaleDesign(5), ScaleDesign(80),
                         ScaleDesign(16));
    y += TrackSpan->Height() + ScaleDesign(2);
    const int below = ScaleDesign(34 + 18 + 10 * 15 + 4);
    Graph->SetBounds(m, y, w, std::max<int>(client.bottom - y - below - m, ScaleDesign(40)));
    y += Graph->Height() + ScaleDesign(4);
    LabelCursor->SetBounds(m, y, w, ScaleDesign(30));
    y += LabelCursor->Height();
    LabelRunsTitle->SetBounds(m, y, w, ScaleDesign(16));
    y += ScaleDesign(18);
    LabelRuns->SetBounds(m, y, w, std::max<int>(client.bottom - y - m, 1));
}

void TFormMemory::ReadRuns()
{
    // Read again only when a run was added (the file grew or was cut).
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const std::uint64_t size = GetFileAttributesExW(historyPath_.c_str(), GetFileExInfoStandard, &data)
                                   ? (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow
                                   : 0;
    if (size == historySize_) return;
    historySize_ = size;
    runs_ = ReadLastRuns(historyPath_, kRunsMarked);
}

std::wstring TFormMemory::RunTip(std::size_t index) const
{
    const TRunRecord& run = runs_[index];
    const TRunMoment moment = MomentOf(run);
    std::wstring tip;
    if (const auto change = RunChange(MemorySamples(), moment)) {
        tip += MemoryPartName(3, true) + L" " + ChangeText(change->Free) + L" (" + MemoryPartName(2, true) + L" " +
               ChangeText(change->Standby) + L", " + MemoryPartName(1, true) + L" " + ChangeText(change->Modified) +
               L").";
    } else {
        tip += Text(TText::ReportFreed, {SizeText(FreedBytes(run))}) + L".";
    }
    const std::optional<std::int64_t> later =
        index > 0 ? std::optional<std::int64_t>(UtcSeconds(runs_[index - 1].Start)) : std::nullopt;
    const TRefill refill = RunRefill(MemorySamples(), moment, later, SampleClock());
    const std::wstring minutes = std::to_wstring(refill.Seconds / 60);
    switch (refill.State) {
    case TRefillState::rfRefilled: tip += L" " + Text(TText::DetailsRefilled, {minutes}); break;
    case TRefillState::rfNotYet: tip += L" " + Text(TText::DetailsNotRefilled, {minutes}); break;
    case TRefillState::rfCutByLaterRun: tip += L" " + Text(TText::DetailsLaterRun); break;
    case TRefillState::rfUnknown: break;
    }
    return tip;
}

void TFormMemory::ShowSamples()
{
    const std::int64_t now = SampleClock();
    if (const auto newest = MemorySamples().AtOrBefore(now)) Bar->SetParts(PartsOf(*newest), newest->Divided());
    if (LabelNote->Visible() == Bar->Divided()) Arrange();

    const TSampleSpan span = kSpans[static_cast<std::size_t>(std::clamp(TrackSpan->Position(), 0, 2))];
    std::vector<TMemoryPoint> points;
    for (const TMemorySample& sample : MemorySamples().Span(span, now)) points.push_back(PointOf(sample));
    Graph->SetPoints(std::move(points), now, SpanSeconds(span), Bar->Divided());

    ReadRuns();
    std::vector<TRunMark> marks;
    std::wstring list;
    // Newest first: past the listed ones, only the runs a day's graph shows.
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        const std::int64_t start = UtcSeconds(runs_[i].Start);
        if (i >= kRunsListed && start < now - SpanSeconds(TSampleSpan::ssDay)) break;
        const std::wstring trigger = TriggerText(runs_[i].Trigger), what = RunTip(i);
        marks.push_back({start, static_cast<int>(runs_[i].Trigger), trigger + L", " + LocalTimeText(start, false) + L": " + what});
        if (i < kRunsListed) list += LocalTimeText(start, true) + L"\t" + trigger + L": " + what + L"\n";
    }
    Graph->SetMarks(std::move(marks));
    LabelRuns->SetCaption(list);
    LabelCursor->SetCaption(Graph->CursorText());
}
