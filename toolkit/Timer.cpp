#include "toolkit/Timer.h"

#include "toolkit/ErrorReport.h"

namespace {
const wchar_t TimerWindowClass[] = L"TTimerWindow";
const UINT_PTR TimerId = 1;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner)
{
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = TimerWndProc;
    description.hInstance = GetModuleHandleW(nullptr);
    description.lpszClassName = TimerWindowClass;
    RegisterClassExW(&description);  // fails harmlessly when it is already registered
    // A message-only window of its own carries the timer, so the timer needs no form.
    FWindow = CreateWindowExW(0, TimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (FWindow)
        SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TTimer::~TTimer()
{
    if (FWindow) {
        KillTimer(FWindow, TimerId);
        DestroyWindow(FWindow);
    }
}

void TTimer::SetEnabled(bool enabled)
{
    FEnabled = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned interval)
{
    FInterval = interval;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    if (!FWindow)
        return;
    KillTimer(FWindow, TimerId);
    if (FEnabled && FInterval > 0 && OnTimer)
        SetTimer(FWindow, TimerId, FInterval, nullptr);
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (timer && timer->FEnabled && timer->OnTimer) {
            try {
                timer->OnTimer();
            } catch (...) {
                ShowDefaultErrorReport();
            }
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void TTimer::PublishedProperties(std::vector<TOrdProperty>& properties) const
{
    TComponent::PublishedProperties(properties);
    properties.push_back({L"Enabled", [](TComponent& c, long v) { static_cast<TTimer&>(c).SetEnabled(v != 0); }});
}
