#include "app/JobThread.h"

#include <QMetaObject>

#include <utility>

JobThread::~JobThread() {
    if (m_thread.joinable()) {
        m_running->store(0);
        m_thread.join();
    }
}

bool JobThread::Start(QObject* context, std::atomic<int>& running, std::function<void()> work,
                      std::function<void()> done) {
    if (m_thread.joinable()) {
        return false;
    }
    m_running = &running;
    m_thread = std::thread([this, context, work = std::move(work), done = std::move(done)]() {
        work();
        // Queued: the worker only posts its ending and returns, so the join below waits for
        // nothing but the thread's last instructions.
        QMetaObject::invokeMethod(
            context,
            [this, done]() {
                m_thread.join();
                done();
            },
            Qt::QueuedConnection);
    });
    return true;
}
