#include "ui/link_bracket.h"

#include <QEvent>

namespace clockvane::ui {

namespace {

constexpr int kLineWidth = 2;

QFrame* bracketLine(std::size_t index, QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Linklinie%1").arg(index));
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    line->setBackgroundRole(QPalette::WindowText);
    return line;
}

}  // namespace

LinkBracket::LinkBracket(QWidget* leftAnchor, QWidget* rightAnchor, QWidget* parent)
    : QWidget(parent), left_(leftAnchor), right_(rightAnchor), label_(new QLabel(this))
{
    for (std::size_t i = 0; i < lines_.size(); ++i) lines_[i] = bracketLine(i, this);
    label_->raise();  // over the joining line
    label_->setObjectName(QStringLiteral("Label8"));
    label_->setAlignment(Qt::AlignCenter);
    label_->setAutoFillBackground(true);  // breaks the joining line behind the text
    label_->setContentsMargins(4, 0, 4, 0);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    watchAncestors(leftAnchor);
    watchAncestors(rightAnchor);
}

void LinkBracket::setLinesVisible(bool visible)
{
    for (QFrame* line : lines_) line->setVisible(visible);
}

void LinkBracket::setLabelVisible(bool visible) { label_->setVisible(visible); }

void LinkBracket::setLabelText(const QString& text)
{
    label_->setText(text);
    placeParts();
}

QSize LinkBracket::sizeHint() const { return {0, label_->fontMetrics().height() + 12}; }

// The anchors move when their columns move, so every widget between an anchor and this
// bracket's parent is watched.
void LinkBracket::watchAncestors(QWidget* anchor)
{
    for (QWidget* w = anchor; w && w != parentWidget(); w = w->parentWidget()) {
        w->installEventFilter(this);
    }
}

bool LinkBracket::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) placeParts();
    return QWidget::eventFilter(watched, event);
}

void LinkBracket::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeParts();
}

int LinkBracket::anchorCentre(QWidget* anchor) const
{
    const QPoint centre = anchor->mapTo(window(), QPoint(anchor->width() / 2, 0));
    return mapFrom(window(), centre).x();
}

void LinkBracket::placeParts()
{
    if (!left_ || !right_) return;
    const int x0 = anchorCentre(left_);
    const int x1 = anchorCentre(right_);
    const int top = height() / 2;
    lines_[0]->setGeometry(x0 - kLineWidth / 2, top, kLineWidth, height() - top);
    lines_[1]->setGeometry(x0 - kLineWidth / 2, top - kLineWidth / 2, x1 - x0 + kLineWidth,
                           kLineWidth);
    lines_[2]->setGeometry(x1 - kLineWidth / 2, top, kLineWidth, height() - top);

    const QSize text = label_->sizeHint();
    label_->setGeometry((x0 + x1 - text.width()) / 2, top - text.height() / 2, text.width(),
                        text.height());
}

}  // namespace clockvane::ui
