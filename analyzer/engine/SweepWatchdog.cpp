#include "analyzer/engine/SweepWatchdog.h"

#include <atomic>
#include <cmath>

namespace {

std::atomic<double> g_marginSeconds{10.0};
constexpr int kTickMs = 100;

} // namespace

SweepWatchdog::SweepWatchdog(QObject* parent, std::function<double()> secondsPerPoint,
                             std::function<void(double)> expired)
    : QObject(parent), m_secondsPerPoint(std::move(secondsPerPoint)), m_expired(std::move(expired))
{
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, [this] { Check(); });
}

void SweepWatchdog::Start()
{
    m_lastHeard = std::chrono::steady_clock::now();
    m_tick.start();
}

void SweepWatchdog::Stop()
{
    m_tick.stop();
}

void SweepWatchdog::Handle(const std::function<void()>& handler)
{
    ++m_handling;
    struct Leave {
        SweepWatchdog& w;
        ~Leave()
        {
            --w.m_handling;
            w.m_lastHeard = std::chrono::steady_clock::now();
        }
    } leave{*this};
    handler();
}

void SweepWatchdog::SetMarginSeconds(double seconds)
{
    g_marginSeconds = std::isfinite(seconds) && seconds >= 0.0 ? seconds : 10.0;
}

double SweepWatchdog::MarginSeconds()
{
    return g_marginSeconds;
}

void SweepWatchdog::Check()
{
    if (m_handling > 0)
        return;
    double perPoint = m_secondsPerPoint();
    if (!std::isfinite(perPoint) || perPoint < 0.0)
        perPoint = 0.0;
    const double bound = 3.0 * perPoint + MarginSeconds();
    const std::chrono::duration<double> quiet = std::chrono::steady_clock::now() - m_lastHeard;
    if (quiet.count() <= bound)
        return;
    m_tick.stop();
    m_expired(bound);
}
