#include "ui/vcore_box.h"

#include <QAccessible>
#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QWheelEvent>

#include "layout/voltage_text.h"
#include "text/texts.h"
#include "ui/accessible_controls.h"
#include "ui/qt_text.h"

namespace clockvane::ui {

namespace {

app::FocusMove focusMoveOf(Qt::FocusReason reason)
{
    switch (reason) {
    case Qt::PopupFocusReason: return app::FocusMove::ToPopup;
    case Qt::ActiveWindowFocusReason: return app::FocusMove::ToAnotherWindow;
    case Qt::MenuBarFocusReason: return app::FocusMove::ToMenu;
    default: return app::FocusMove::ToAnotherControl;
    }
}

}  // namespace

VcoreBox::VcoreBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    // The list holds the presets only: Enter must not add the typed text to it, and typing
    // must not be completed from it behind the key filter's back.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // Dropped text is typed through the filter; a dropped file is passed on to the window,
    // which opens it.
    lineEdit()->setAcceptDrops(true);

    installEventFilter(this);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &VcoreBox::textChangedByUser);
    connect(this, &QComboBox::textActivated, this, &VcoreBox::textChangedByUser);
    connect(lineEdit(), &QLineEdit::textChanged, this, &VcoreBox::announceValue);
    installAccessibleControls();
}

app::BoxKey VcoreBox::boxKeyOf(const QKeyEvent& event)
{
    using Name = app::BoxKey::Name;
    app::BoxKey key;
    key.commandHeld =
        event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    switch (event.key()) {
    case Qt::Key_Backspace: key.name = Name::Backspace; break;
    case Qt::Key_Up: key.name = Name::Up; break;
    case Qt::Key_Down: key.name = Name::Down; break;
    case Qt::Key_PageUp: key.name = Name::PageUp; break;
    case Qt::Key_PageDown: key.name = Name::PageDown; break;
    default: {
        const QString text = event.text();
        if (text.size() == 1 && text.front().isPrint()) {
            key.name = Name::Character;
            key.character = text.front().unicode();
        }
    }
    }
    return key;
}

void VcoreBox::typeThroughFilter(const QString& text)
{
    app::typeThroughKeyFilter(
        fromQt(text), [this](int keyAscii) { return !keyFilter_ || keyFilter_(keyAscii); },
        [this](std::string_view character) {
            lineEdit()->insert(QString::fromUtf8(character.data(), qsizetype(character.size())));
            emit textChangedByUser(lineEdit()->text());
        });
}

bool VcoreBox::filterDrop(QEvent* event)
{
    auto* drag = static_cast<QDropEvent*>(event);
    const QMimeData* data = drag->mimeData();
    if (data->hasUrls()) {
        // A file: left to the window (the event goes on to the parents that accept drops).
        event->ignore();
        return true;
    }
    if (event->type() != QEvent::Drop) return false;  // the line edit shows where it would go
    if (data->hasText()) {
        lineEdit()->deselect();
        lineEdit()->setCursorPosition(lineEdit()->cursorPositionAt(drag->position().toPoint()));
        typeThroughFilter(data->text());
    }
    // Copied, never moved: a text dragged out of the box stays where it was.
    drag->setDropAction(Qt::CopyAction);
    drag->accept();
    // Lets the line edit forget the drop position it was showing.
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(lineEdit(), &leave);
    return true;
}

void VcoreBox::announceValue()
{
    if (!QAccessible::isActive()) return;
    QAccessibleValueChangeEvent changed(this, toQt(texts::voltsText(fromQt(currentText()))));
    QAccessible::updateAccessibility(&changed);
}

bool VcoreBox::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (key.matches(QKeySequence::Paste)) {
            typeThroughFilter(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
            return true;
        }
        const app::BoxKey boxKey = boxKeyOf(key);
        if (const auto up = app::stepOf(boxKey)) {
            emit stepRequested(*up);
            return true;
        }
        const int keyAscii = app::keyAsciiOf(boxKey);
        if (keyAscii != 0 && keyFilter_ && !keyFilter_(keyAscii)) return true;  // discarded
        break;
    }
    case QEvent::Wheel:
        if (watched == this) {
            const auto up = app::stepOfWheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
            if (up) emit stepRequested(*up);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection where the desktop has one (X11).
        if (watched == lineEdit() &&
            static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
            QGuiApplication::clipboard()->supportsSelection()) {
            lineEdit()->deselect();
            typeThroughFilter(QGuiApplication::clipboard()->text(QClipboard::Selection));
            return true;
        }
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        if (watched == lineEdit()) return filterDrop(event);
        break;
    case QEvent::FocusOut:
        if (watched != this) break;
        if (app::leavesTheBox(focusMoveOf(static_cast<QFocusEvent*>(event)->reason())))
            emit focusLost();
        break;
    default: break;
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace clockvane::ui
