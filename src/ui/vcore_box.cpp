#include "ui/vcore_box.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace clockvane::ui {

VcoreBox::VcoreBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    // The list holds the presets only: Enter must not add the typed text to it, and typing
    // must not be completed from it behind the key filter's back.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // A file dropped on the box opens like a file dropped on the window; it is not text.
    lineEdit()->setAcceptDrops(false);

    installEventFilter(this);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &VcoreBox::textChangedByUser);
    connect(this, &QComboBox::textActivated, this, &VcoreBox::textChangedByUser);
}

int VcoreBox::keyAsciiOf(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
    if (event.key() == Qt::Key_Backspace) return 8;
    const QString text = event.text();
    if (text.size() != 1 || !text.front().isPrint()) return 0;
    return text.front().unicode();
}

bool VcoreBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && keyFilter_) {
        const int keyAscii = keyAsciiOf(*static_cast<QKeyEvent*>(event));
        if (keyAscii != 0 && !keyFilter_(keyAscii)) return true;  // discarded
    } else if (event->type() == QEvent::FocusOut && watched == this) {
        // Opening the list, a menu or another window does not move the focus to another
        // control of this window: only a real change of control counts.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            reason != Qt::MenuBarFocusReason) {
            emit focusLost();
        }
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace clockvane::ui
