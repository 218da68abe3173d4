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

// Handlers still waiting for their dialog belong to this object, so that a handler left
// over from one test cannot act on the next one.
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

// Acts on the next modal dialog of type T, from inside that dialog's own event loop, the way
// a user would once it is on screen. Schedule it before the call that opens the dialog.
// When no such dialog shows within the time limit the test fails, and a modal dialog left
// open is closed so that the test cannot hang.
template <class T> void WhenModal(std::function<void(T*)> action, int timeoutMs = 5000) {
    auto* timer = new QTimer(&PendingHandlers());
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, action, timeoutMs]() {
        if (T* dialog = dynamic_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->setParent(nullptr);
            timer->deleteLater();
            action(dialog);
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->setParent(nullptr);
            timer->deleteLater();
            ADD_FAILURE() << "no modal " << typeid(T).name() << " appeared";
            if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                open->reject();
            }
        }
    });
    timer->start(10);
}

// The same for the next popup menu.
inline void WhenPopupMenu(std::function<void(QMenu*)> action) {
    auto* timer = new QTimer(&PendingHandlers());
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, action]() {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            timer->stop();
            timer->setParent(nullptr);
            timer->deleteLater();
            action(menu);
            return;
        }
        if (clock->elapsed() > 5000) {
            timer->stop();
            timer->setParent(nullptr);
            timer->deleteLater();
            ADD_FAILURE() << "no popup menu appeared";
        }
    });
    timer->start(10);
}

} // namespace apptest
