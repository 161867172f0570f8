// Replays the schedule's stage timers against a simulated local clock, the way
// the window glue drives them: a timer armed with T at t ticks at t+T and then
// every T until it is killed or re-armed (a re-armed id takes its new interval
// from then on).  Ticks arrive exactly on time; the program sees only the whole
// seconds of the clock, as from GetLocalTime.  Shared by the tests and the
// benchmark of the trigger timers; platform-free.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "schedule/calendar.h"
#include "schedule/schedule_state.h"
#include "schedule/trigger_plan.h"
#include "settings/settings_file.h"

namespace replay {

// Milliseconds since 2000-01-01 00:00:00.000 on the program's calendar (every
// fourth year a leap year).
inline int64_t ToMs(const DateTime& t) {
    int64_t days = 0;
    for (int32_t y = 2000; y < t.year; ++y) days += y % 4 == 0 ? 366 : 365;
    for (int32_t m = 1; m < t.month; ++m) days += DaysInMonth(m, t.year);
    days += t.day - 1;
    return ((days * 24 + t.hour) * 60 + t.minute) * 60000 + static_cast<int64_t>(t.second) * 1000;
}

inline DateTime FromMs(int64_t ms) {
    const int64_t secs = ms / 1000;
    DateTime t{2000, 1, 1, static_cast<int32_t>(secs / 3600 % 24),
               static_cast<int32_t>(secs / 60 % 60), static_cast<int32_t>(secs % 60)};
    int64_t days = secs / 86400;
    for (int32_t len = 366; days >= len; len = t.year % 4 == 0 ? 366 : 365) {
        days -= len;
        ++t.year;
    }
    for (int32_t len = 31; days >= len; len = DaysInMonth(t.month, t.year)) {
        days -= len;
        ++t.month;
    }
    t.day = static_cast<int32_t>(days) + 1;
    return t;
}

struct Tick {
    int64_t ms;
    int32_t timerId;
    TimerStep step;
    // The first tick of a timer that was handed over to with a sub-second
    // interval (or the first timer of all): a one-off wait, not a repeat.
    bool handOver;
};

struct Replay {
    std::vector<Tick> ticks;
    std::vector<uint32_t> armed;  // every interval handed to SetTimer, in order
    int64_t firedMs = -1;
};

// `tick(id, now, schedule, settings, pollSeconds)` decides each tick; PlanTick
// unless a test swaps in another rule.
template <typename TickRule>
Replay Run(ScheduleState schedule, const Settings& settings, int64_t confirmMs, size_t maxTicks,
           TickRule tick) {
    Replay r;
    const ArmPlan plan = PlanArm(FromMs(confirmMs), schedule, settings);
    if (plan.executeNow) {
        r.firedMs = confirmMs;
        return r;
    }
    const int32_t pollSeconds = plan.setPollInterval ? plan.pollIntervalSeconds : 0;
    schedule.timerStage = plan.newStage;
    std::map<int32_t, std::pair<int64_t, uint32_t>> running;  // id -> (due, interval)
    std::map<int32_t, bool> handOver{{plan.timerId, true}};
    running[plan.timerId] = {confirmMs + plan.intervalMs, plan.intervalMs};
    r.armed.push_back(plan.intervalMs);
    while (!running.empty() && r.ticks.size() < maxTicks) {
        auto next = running.begin();
        for (auto it = running.begin(); it != running.end(); ++it) {
            if (it->second.first < next->second.first) next = it;
        }
        const int64_t now = next->second.first;
        const int32_t id = next->first;
        next->second.first += next->second.second;  // periodic
        const TimerStep step = tick(id, FromMs(now), schedule, settings, pollSeconds);
        r.ticks.push_back(Tick{now, id, step, handOver[id]});
        handOver[id] = false;
        if (step.killTimer != 0) running.erase(step.killTimer);
        if (step.kind == TimerStep::Fire) {
            schedule.timerStage = 0;
            r.firedMs = now;
            break;
        }
        if (step.kind == TimerStep::Arm) {
            schedule.timerStage = step.newStage;
            running[step.timerId] = {now + step.intervalMs, step.intervalMs};
            r.armed.push_back(step.intervalMs);
            // A re-arm of the ticking timer itself is a repeat, not a hand-over.
            handOver[step.timerId] = step.timerId != id && step.intervalMs < 1000;
        }
    }
    return r;
}

inline Replay Run(const ScheduleState& schedule, const Settings& settings, int64_t confirmMs,
                  size_t maxTicks = 100000) {
    return Run(schedule, settings, confirmMs, maxTicks, PlanTick);
}

}  // namespace replay
