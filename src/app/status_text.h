// What the clock panel of the main window says, and when the one-time warning
// before the action is due.  Platform-free: the clock is passed in.
#pragma once

#include <cstdint>

#include "base/text.h"
#include "schedule/calendar.h"
#include "schedule/schedule_state.h"
#include "settings/settings_file.h"

struct StatusView {
    bool showsText = false;      // the panel holds a text (otherwise it stays empty)
    Text text;                   // "MM.DD-hh:mm:ss" remaining, or "Déle než rok..."
    bool raisesWarning = false;  // the warning box is due now
    int32_t warningSeconds = 0;  // the remaining seconds it names
};

StatusView ComputeStatusView(const DateTime& now, const ScheduleState& schedule,
                             const Settings& settings);

// "Akce bude provedena za %d sekund !"
Text WarningText(int32_t remainingSeconds);
