#include "ui/bios_info_frame.h"

#include <QGridLayout>

namespace clockvane::ui {

BiosInfoFrame::BiosInfoFrame(QWidget* parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame1"));
    auto* layout = new QGridLayout(this);
    layout->setColumnStretch(1, 1);
    layout->setVerticalSpacing(6);
    layout->setHorizontalSpacing(12);
    for (std::size_t i = 0; i < values_.size(); ++i) {
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("Label2_%1").arg(i));
        // Texts from the image are shown as they are, never read as markup.
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        values_[i] = value;
    }
    for (std::size_t i = 0; i < captions_.size(); ++i) {
        captions_[i] = new QLabel(this);
        captions_[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        layout->addWidget(captions_[i], int(i), 0);
        layout->addWidget(values_[i], int(i), 1);
    }
    // The BIOS version and date are fixed-width fields of the image: keep them aligned.
    QFont fixed = values_[0]->font();
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFamily(QStringLiteral("monospace"));
    values_[0]->setFont(fixed);
    values_[1]->setFont(fixed);

    for (std::size_t i = 3; i < values_.size(); ++i) {
        values_[i]->setAlignment(Qt::AlignCenter);
        values_[i]->setTextInteractionFlags(Qt::NoTextInteraction);
        layout->addWidget(values_[i], int(i), 0, 1, 2);
    }
    layout->setRowStretch(int(values_.size()), 1);
}

namespace {

int widest(const QLabel* label, const QStringList& texts)
{
    int width = 0;
    for (const QString& text : texts) {
        width = std::max(width, label->fontMetrics().horizontalAdvance(text));
    }
    return width;
}

}  // namespace

void BiosInfoFrame::reserveRoom(const QStringList& captions, const QStringList& values,
                                const QStringList& hints)
{
    captions_[0]->setMinimumWidth(widest(captions_[0], captions));
    // The version is 22 characters of the fixed-width font.
    const int version = widest(values_[0], {QString(22, QLatin1Char('0'))});
    values_[2]->setMinimumWidth(std::max(version, widest(values_[2], values)));
    values_[3]->setMinimumWidth(widest(values_[3], hints));
}

}  // namespace clockvane::ui
