#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <typeinfo>

namespace apptest {

// Handlers still waiting for their window belong to this object, so that a handler left over
// from one test cannot act on the next one.
inline QObject& PendingHandlers() {
    static QObject* owner = new QObject(qApp);
    return *owner;
}

// Deletes the handlers still waiting; returns how many there were.
inline int DropPendingHandlers() {
    const QList<QTimer*> pending = PendingHandlers().findChildren<QTimer*>();
    qDeleteAll(pending);
    return static_cast<int>(pending.size());
}

// Calls `action` with the first widget `find` returns, from inside that widget's own event
// loop, as a user would once it is on screen. Schedule it before the call that opens the
// widget. When none shows in time the test fails and an open modal dialog is closed, so that
// the test cannot hang.
template <class W>
void WhenShown(std::function<W*()> find, std::function<void(W*)> action, const char* what,
               int timeoutMs = 5000) {
    auto* timer = new QTimer(&PendingHandlers());
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [=]() {
        W* widget = find();
        if (widget == nullptr && clock->elapsed() <= timeoutMs) {
            return;
        }
        timer->stop();
        timer->setParent(nullptr);
        timer->deleteLater();
        if (widget != nullptr) {
            action(widget);
            return;
        }
        ADD_FAILURE() << "no " << what << " appeared";
        if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            open->reject();
        }
    });
    timer->start(10);
}

// The next modal dialog of type T.
template <class T> void WhenModal(std::function<void(T*)> action, int timeoutMs = 5000) {
    WhenShown<T>([] { return dynamic_cast<T*>(QApplication::activeModalWidget()); }, action,
                 typeid(T).name(), timeoutMs);
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
