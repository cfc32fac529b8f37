#pragma once

#include <functional>
#include <optional>

#include <QComboBox>

#include "app/vcore_box_input.h"

class QDropEvent;
class QKeyEvent;

namespace clockvane::ui {

// An editable VCore box, following the box's input rules (app/vcore_box_input.h): every typed
// character and Backspace is first offered to a key filter (the controller's
// CmbVCore_KeyPress); pasted text - Ctrl+V, a middle click, a dropped text - is typed through
// it one character at a time. Whatever the user leaves in the box - typed, pasted or picked
// from the list - is reported with textChangedByUser, and losing the focus to another control
// with focusLost. Up, Down, Page Up, Page Down and the mouse wheel ask for a step with
// stepRequested, and the controller decides the value. Alt+Down still opens the list.
class VcoreBox : public QComboBox {
    Q_OBJECT

public:
    using KeyFilter = std::function<bool(int keyAscii)>;

    explicit VcoreBox(QWidget* parent = nullptr);

    void setKeyFilter(KeyFilter filter) { keyFilter_ = std::move(filter); }

    // The key as the box's input rules (app/vcore_box_input.h) see it.
    static app::BoxKey boxKeyOf(const QKeyEvent& event);

signals:
    void textChangedByUser(const QString& text);
    void focusLost();
    void stepRequested(bool up);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Inserts `text` at the cursor as if its characters were typed one after the other.
    void typeThroughFilter(const QString& text);
    bool filterDrop(QEvent* event);
    void announceValue();

    KeyFilter keyFilter_;
};

}  // namespace clockvane::ui
