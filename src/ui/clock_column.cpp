#include "ui/clock_column.h"

#include <QGridLayout>

#include "layout/clock_limits.h"
#include "ui/clock_slider.h"
#include "ui/vcore_box.h"

namespace clockvane::ui {

namespace {

QLabel* caption(std::string_view text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text.data(), qsizetype(text.size())), parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// Label3(i): the slider's clock, on a background that warns of high clocks.
QLabel* valueLabel(std::size_t slider, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("Label3_%1").arg(slider));
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    // Wide enough for "1700 MHz", so the columns keep their width when the clocks change.
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(
                               QString::fromStdString(texts::mhzText(kRamRange.upper))) +
                           8);
    label->setMinimumHeight(label->fontMetrics().height() + 6);
    return label;
}

ClockSlider* slider(std::size_t index, QWidget* parent)
{
    auto* bar = new ClockSlider(parent);
    bar->setObjectName(QStringLiteral("ScrollBar1_%1").arg(index));
    return bar;
}

}  // namespace

ClockColumn::ClockColumn(const PowerState& state, const texts::PowerStateNames& names,
                         QWidget* parent)
    : QWidget(parent), heading_(caption(names.heading, this)),
      subHeading_(caption(names.subHeading, this)), gpuSlider_(slider(state.gpuSlider, this)),
      ramSlider_(slider(state.ramSlider, this)), gpuLabel_(valueLabel(state.gpuSlider, this)),
      ramLabel_(valueLabel(state.ramSlider, this)), vcoreBox_(new VcoreBox(this))
{
    const QString key = QLatin1String(state.key.data(), qsizetype(state.key.size()));
    heading_->setObjectName(QStringLiteral("Label4_") + key);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    setObjectName(QStringLiteral("column_") + key);
    subHeading_->setObjectName(QStringLiteral("Label4Sub_") + key);
    vcoreBox_->setObjectName(QStringLiteral("CmbVCore_%1").arg(state.vcoreBox));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(4);
    layout->addWidget(heading_, 0, 0, 1, 2);
    layout->addWidget(subHeading_, 1, 0, 1, 2);
    layout->addWidget(caption(texts::kGpuCaption, this), 2, 0);
    layout->addWidget(caption(texts::kRamCaption, this), 2, 1);
    layout->addWidget(gpuSlider_, 3, 0, Qt::AlignHCenter);
    layout->addWidget(ramSlider_, 3, 1, Qt::AlignHCenter);
    layout->addWidget(gpuLabel_, 4, 0);
    layout->addWidget(ramLabel_, 4, 1);
    layout->addWidget(caption(texts::kVcoreCaption, this), 5, 0, 1, 2);
    layout->addWidget(vcoreBox_, 6, 0, 1, 2);
    layout->setRowStretch(3, 1);
    // Columns without a sub-heading keep its line, so all sliders start at the same height.
    layout->setRowMinimumHeight(1, subHeading_->fontMetrics().height());
}

}  // namespace clockvane::ui
