#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <typeinfo>

namespace apptest {

// Owns the handlers still waiting, so that one left over from a test cannot act on the next.
inline QObject& PendingHandlers() {
    static QObject* owner = new QObject(qApp);
    return *owner;
}

inline int DropPendingHandlers() {
    const QList<QTimer*> pending = PendingHandlers().findChildren<QTimer*>();
    qDeleteAll(pending);
    return static_cast<int>(pending.size());
}

// Calls `action` with the first widget `find` returns, from inside its event loop; schedule it
// before the call that opens the widget. When none shows in time the test fails.
template <class W>
void WhenShown(std::function<W*()> find, std::function<void(W*)> action, const char* what) {
    auto* timer = new QTimer(&PendingHandlers());
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [=]() {
        W* widget = find();
        if (widget == nullptr && clock->elapsed() <= 5000)
            return;
        timer->setParent(nullptr);
        timer->deleteLater();
        timer->stop();
        widget != nullptr ? action(widget) : void(ADD_FAILURE() << "no " << what << " appeared");
    });
    timer->start(10);
}

template <class T> void WhenModal(std::function<void(T*)> action) {
    WhenShown<T>([] { return dynamic_cast<T*>(QApplication::activeModalWidget()); }, action,
                 typeid(T).name());
}

// Runs `action` and returns how many modal dialogs it opened, each closed at once.
inline int ModalsDuring(const std::function<void()>& action) {
    int opened = 0;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&opened] {
        if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++opened;
            open->reject();
        }
    });
    guard.start(10);
    action();
    return opened;
}

} // namespace apptest
