#include "app/FrameClock.h"

#include <QTimer>

namespace {

class TimerClock : public FrameClock {
public:
    TimerClock() { m_timer.setTimerType(Qt::PreciseTimer); }
    void Start(std::chrono::milliseconds interval, std::function<void()> tick) override {
        m_timer.disconnect();
        QObject::connect(&m_timer, &QTimer::timeout, std::move(tick));
        m_timer.start(interval);
    }
    void Stop() override { m_timer.stop(); }
    bool Runs() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

std::unique_ptr<FrameClock> MakeTimerClock() {
    return std::make_unique<TimerClock>();
}
