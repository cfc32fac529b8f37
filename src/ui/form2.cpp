#include "ui/form2.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>

#include "ui/qt_text.h"
#include "ui/svg_picture.h"

namespace clockvane::ui {

namespace {

QLabel* textLabel(const QString& name, const std::string& text, QWidget* parent)
{
    auto* label = new QLabel(displayText(text), parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

}  // namespace

Form2::Form2(const app::AboutTexts& texts, QWidget* parent)
    : QDialog(parent),
      picture_(new SvgPicture(QStringLiteral(":/art/app-icon.svg"), QSize(96, 96), this))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(toQt(texts.caption));
    setModal(true);

    picture_->setObjectName(QStringLiteral("Picture1"));
    picture_->setClickable(true);
    connect(picture_, &SvgPicture::clicked, this, &Form2::pictureClicked);

    auto* risk = textLabel(QStringLiteral("Label1_0"), texts.riskNotice, this);
    QFont bold = risk->font();
    bold.setBold(true);
    risk->setFont(bold);
    auto* steps = textLabel(QStringLiteral("Label1_1"), texts.usageSteps, this);
    auto* version = textLabel(QStringLiteral("Label2"), texts.versionLine, this);
    version->setAlignment(Qt::AlignHCenter);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);
    layout->addWidget(picture_, 0, 0, Qt::AlignHCenter | Qt::AlignTop);
    layout->addWidget(version, 1, 0, Qt::AlignHCenter | Qt::AlignTop);
    layout->addWidget(risk, 0, 1);
    layout->addWidget(rule, 1, 1);
    layout->addWidget(steps, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    risk->setMinimumWidth(420);
}

}  // namespace clockvane::ui
