#pragma once

#include <array>

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QWidget>

namespace clockvane::ui {

// The bracket that joins two column headings while the UVD clocks follow the 3D High Power
// clocks: Linklinie(0) drops to the left heading, Linklinie(2) to the right one, Linklinie(1)
// joins their tops, and Label8 ("< Linked") sits on the joining line. The lines follow the
// headings wherever the layout puts them.
class LinkBracket : public QWidget {
    Q_OBJECT

public:
    LinkBracket(QWidget* leftAnchor, QWidget* rightAnchor, QWidget* parent = nullptr);

    QFrame* line(std::size_t index) const { return lines_[index]; }
    QLabel* label() const { return label_; }

    void setLinesVisible(bool visible);
    void setLabelVisible(bool visible);
    void setLabelText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeParts();
    void watchAncestors(QWidget* anchor);
    int anchorCentre(QWidget* anchor) const;

    QPointer<QWidget> left_;
    QPointer<QWidget> right_;
    std::array<QFrame*, 3> lines_{};
    QLabel* label_;
};

}  // namespace clockvane::ui
