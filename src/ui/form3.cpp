#include "ui/form3.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace clockvane::ui {

Form3::Form3(const app::MemoryPromptTexts& texts, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(toQt(texts.caption));
    setModal(true);

    auto* question = new QLabel(displayText(texts.question), this);
    question->setObjectName(QStringLiteral("Label1"));
    question->setTextFormat(Qt::PlainText);
    question->setAlignment(Qt::AlignCenter);

    auto* button256 = new QPushButton(toQt(texts.button256), this);
    button256->setObjectName(QStringLiteral("btn_256mb"));
    auto* button512 = new QPushButton(toQt(texts.button512), this);
    button512->setObjectName(QStringLiteral("btn_512mb"));
    // Neither size is the safe guess, so neither button answers to Enter by itself.
    button256->setAutoDefault(false);
    button512->setAutoDefault(false);
    connect(button256, &QPushButton::clicked, this, [this] { choose(app::MemoryAnswer::MB256); });
    connect(button512, &QPushButton::clicked, this, [this] { choose(app::MemoryAnswer::MB512); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button256);
    buttons->addWidget(button512);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(16);
    layout->addWidget(question);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Form3::choose(app::MemoryAnswer answer)
{
    answer_ = answer;
    accept();
}

}  // namespace clockvane::ui
