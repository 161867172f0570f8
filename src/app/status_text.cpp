#include "app/status_text.h"

#include "schedule/trigger_plan.h"

StatusView ComputeStatusView(const DateTime& now, const ScheduleState& schedule,
                             const Settings& settings) {
    StatusView view;
    if (settings.showClock == 0 || schedule.actionKind == 0) {
        return view;
    }
    // Counted to the moment the action will be carried out: the countdown
    // timer runs to the stored second, the clock watchers of a time without
    // seconds act at the start of its minute.  A target that is not later
    // than now gives all zero fields, so a year field of other than 0 means a
    // year or more remains.
    const DateTime target =
        settings.useCountdown == 1 ? ActionTime(schedule) : WatchedActionTime(schedule);
    const DateTime left = CalendarDifference(target, now);
    view.showsText = true;
    if (left.year != 0) {
        view.text = "Déle než rok...";
        return view;
    }
    // "%.2d.%.2d-%.2d:%.2d:%.2d"
    view.text.appendNumber(left.month, 2) += '.';
    view.text.appendNumber(left.day, 2) += '-';
    view.text.appendNumber(left.hour, 2) += ':';
    view.text.appendNumber(left.minute, 2) += ':';
    view.text.appendNumber(left.second, 2);

    const int32_t remaining = left.hour * 3600 + left.minute * 60 + left.second;
    if (settings.warnBeforeAction != 0 && left.month == 0 && left.day == 0 &&
        remaining <= settings.warningSeconds && schedule.warningShown == 0) {
        view.raisesWarning = true;
        view.warningSeconds = remaining;
    }
    return view;
}

Text WarningText(int32_t remainingSeconds) {
    Text text = "Akce bude provedena za ";
    return text.appendNumber(remainingSeconds) += " sekund !";
}
