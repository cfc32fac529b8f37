#pragma once

#include <array>

#include <QGroupBox>
#include <QLabel>

namespace clockvane::ui {

// The "BIOS info's" frame: three caption labels Label1(0..2) with their values Label2(0..2)
// (version, date and time, card and memory), and the two hint labels Label2(3) and (4) that
// ask for a file while none is open.
class BiosInfoFrame : public QGroupBox {
    Q_OBJECT

public:
    explicit BiosInfoFrame(QWidget* parent = nullptr);

    QLabel* versionCaption() const { return captions_[0]; }
    QLabel* dateCaption() const { return captions_[1]; }
    QLabel* cardCaption() const { return captions_[2]; }
    QLabel* version() const { return values_[0]; }
    QLabel* date() const { return values_[1]; }
    QLabel* card() const { return values_[2]; }
    QLabel* openHint() const { return values_[3]; }
    QLabel* dropHint() const { return values_[4]; }

    // Keeps room for the widest texts the frame will show, so that the window keeps its width
    // when an image is opened or the language is switched.
    void reserveRoom(const QStringList& captions, const QStringList& values,
                     const QStringList& hints);

private:
    std::array<QLabel*, 3> captions_{};
    std::array<QLabel*, 5> values_{};
};

}  // namespace clockvane::ui
