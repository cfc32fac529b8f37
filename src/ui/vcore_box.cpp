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

int VcoreBox::keyAsciiOf(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
    if (event.key() == Qt::Key_Backspace) return kBackspaceKey;
    const QString text = event.text();
    if (text.size() != 1 || !text.front().isPrint()) return 0;
    return text.front().unicode();
}

std::optional<bool> VcoreBox::stepOf(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) return {};
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_PageUp: return true;
    case Qt::Key_Down:
    case Qt::Key_PageDown: return false;
    default: return {};
    }
}

void VcoreBox::typeThroughFilter(const QString& text)
{
    for (const QChar character : text) {
        // Only printable characters are typed; a line break or a tab is no key of the box.
        if (!character.isPrint()) continue;
        if (keyFilter_ && !keyFilter_(character.unicode())) continue;
        lineEdit()->insert(QString(character));
        emit textChangedByUser(lineEdit()->text());
    }
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
        if (const auto up = stepOf(key)) {
            emit stepRequested(*up);
            return true;
        }
        const int keyAscii = keyAsciiOf(key);
        if (keyAscii != 0 && keyFilter_ && !keyFilter_(keyAscii)) return true;  // discarded
        break;
    }
    case QEvent::Wheel:
        if (watched == this) {
            const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
            if (delta != 0) emit stepRequested(delta > 0);
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
        // Opening the list, a menu or another window does not move the focus to another
        // control of this window: only a real change of control counts.
        switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::PopupFocusReason:
        case Qt::ActiveWindowFocusReason:
        case Qt::MenuBarFocusReason: break;
        default: emit focusLost();
        }
        break;
    default: break;
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace clockvane::ui
