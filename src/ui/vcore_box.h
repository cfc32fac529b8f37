#pragma once

#include <functional>
#include <optional>

#include <QComboBox>

class QDropEvent;
class QKeyEvent;

namespace clockvane::ui {

// An editable VCore box. Every typed character and Backspace is first offered to a key
// filter (the controller's CmbVCore_KeyPress), which may discard it; navigation keys and
// Delete pass untouched. Pasted text - Ctrl+V, a middle click, a dropped text - is typed
// through the same filter one character at a time, so it gets in exactly as far as typing
// it would. Whatever the user leaves in the box - typed, pasted or picked from the list - is
// reported with textChangedByUser, and losing the focus to another control with focusLost.
// Up, Down, Page Up, Page Down and the mouse wheel do not move through the list (from a box
// with no list position, the first Down would pick the lowest preset): they ask for a step
// with stepRequested, and the controller decides the value. Alt+Down still opens the list.
class VcoreBox : public QComboBox {
    Q_OBJECT

public:
    using KeyFilter = std::function<bool(int keyAscii)>;

    explicit VcoreBox(QWidget* parent = nullptr);

    void setKeyFilter(KeyFilter filter) { keyFilter_ = std::move(filter); }

    // The character code the key filter is asked about (8 for Backspace), or 0 for a key
    // that is not a character and passes without asking.
    static int keyAsciiOf(const QKeyEvent& event);
    // True for a step up, false for a step down, nothing for any other key.
    static std::optional<bool> stepOf(const QKeyEvent& event);

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
