#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <thread>

// One background job at a time on a worker thread of its own. The window thread starts it and
// later runs its ending; neither ever waits for the other, except when the owner goes away
// while the worker still runs: then the job is asked to stop and its return is awaited, so
// that it never outlives what it works on.
class JobThread {
public:
    JobThread() = default;
    ~JobThread();
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;

    // Runs `work` on a new thread; when it has returned, `done` runs on the thread of
    // `context` (through its event queue, so never inside `work`'s caller). `running` is the
    // job's flag, cleared to stop it if the owner goes away first. Returns false, starting
    // nothing, while an earlier job has not ended.
    bool Start(QObject* context, std::atomic<int>& running, std::function<void()> work,
               std::function<void()> done);
    // From Start until `done` is called.
    bool Busy() const { return m_thread.joinable(); }

private:
    std::thread m_thread;
    std::atomic<int>* m_running = nullptr;
};
