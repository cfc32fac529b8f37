#pragma once

#include <QSize>
#include <QString>
#include <QSvgRenderer>
#include <QWidget>

namespace clockvane::ui {

// A picture drawn from one of the editor's own SVG files, scaled to the widget and kept in
// proportion, so it stays sharp at any display scale.
class SvgPicture : public QWidget {
    Q_OBJECT

public:
    SvgPicture(const QString& resource, QSize logicalSize, QWidget* parent = nullptr);

    QSize sizeHint() const override { return logicalSize_; }
    QSize minimumSizeHint() const override { return logicalSize_; }

    // A clickable picture shows a pointing hand and emits clicked() on a left click.
    void setClickable(bool clickable);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QSvgRenderer renderer_;
    QSize logicalSize_;
    bool clickable_ = false;
};

}  // namespace clockvane::ui
