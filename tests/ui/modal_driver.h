#pragma once

#include <functional>

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace clockvane::ui::testing {

// Acts on the next modal window once it is up: a modal exec() blocks the test, so the test
// schedules what the user would do before it calls the code that opens the window. Polls the
// event loop until a modal window other than `besides` is active.
inline void whenModalShown(std::function<void(QWidget*)> act, QWidget* besides = nullptr)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QPointer<QWidget> skip(besides);
    QObject::connect(poll, &QTimer::timeout, [poll, act = std::move(act), skip] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == skip.data()) return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start();
}

}  // namespace clockvane::ui::testing
