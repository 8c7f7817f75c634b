#pragma once
// Ends a measurement the analyzer stopped answering. The sweep waits for service requests; a
// command the analyzer refuses, or a request lost on the way, would leave it waiting for ever.
// While a sweep or the start-frequency readings run, the watchdog counts the time since the
// analyzer was last heard from; past three times the expected time of one point plus a margin
// (10 s) it calls expired. Time spent inside the engine's own handling of a request (which may
// wait on a prompt) does not count.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

class SweepWatchdog final : public QObject {
public:
    // secondsPerPoint: the expected time of the point being measured; expired gets the bound (s).
    SweepWatchdog(QObject* parent, std::function<double()> secondsPerPoint, std::function<void(double)> expired);

    // A measurement started (the clock starts), or stopped.
    void Start();
    void Stop();
    // Runs handler (the engine's handling of a service request) with the clock held, then
    // restarts the clock: the analyzer was just heard from.
    void Handle(const std::function<void()>& handler);

    // The margin added to three times the expected time (10 s); tests and the campaign shorten it.
    static void SetMarginSeconds(double seconds);
    static double MarginSeconds();

private:
    void Check();

    QTimer m_tick;
    std::function<double()> m_secondsPerPoint;
    std::function<void(double)> m_expired;
    std::chrono::steady_clock::time_point m_lastHeard{};
    int m_handling = 0;
};
