#include "ui/bios_info_frame.h"

#include <QGridLayout>

namespace clockvane::ui {

BiosInfoFrame::BiosInfoFrame(QWidget* parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame1"));
    auto* layout = new QGridLayout(this);
    layout->setColumnStretch(1, 1);
    layout->setVerticalSpacing(6);
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

}  // namespace clockvane::ui
