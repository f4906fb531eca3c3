#pragma once
// A timer component: OnTimer runs from the message loop every Interval milliseconds while enabled.
#include "toolkit/Component.h"

#include <windows.h>

#include <functional>

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    void SetInterval(unsigned interval);

    std::function<void()> OnTimer;

protected:
    void PublishedProperties(std::vector<TOrdProperty>& properties) const override;

private:
    static LRESULT CALLBACK TimerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void UpdateTimer();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    HWND FWindow = nullptr;
};
