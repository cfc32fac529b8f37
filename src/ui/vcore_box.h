#pragma once

#include <functional>

#include <QComboBox>

class QKeyEvent;

namespace clockvane::ui {

// An editable VCore box. Every typed character and Backspace is first offered to a key
// filter (the controller's CmbVCore_KeyPress), which may discard it; navigation keys, Delete
// and shortcuts such as paste pass untouched. Whatever the user leaves in the box - typed,
// pasted or picked from the list - is reported with textChangedByUser, and losing the focus
// to another control with focusLost.
class VcoreBox : public QComboBox {
    Q_OBJECT

public:
    using KeyFilter = std::function<bool(int keyAscii)>;

    explicit VcoreBox(QWidget* parent = nullptr);

    void setKeyFilter(KeyFilter filter) { keyFilter_ = std::move(filter); }

    // The character code the key filter is asked about (8 for Backspace), or 0 for a key
    // that is not a character and passes without asking.
    static int keyAsciiOf(const QKeyEvent& event);

signals:
    void textChangedByUser(const QString& text);
    void focusLost();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyFilter keyFilter_;
};

}  // namespace clockvane::ui
