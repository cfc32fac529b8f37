#include "ui/message_box.h"

#include "ui/qt_text.h"

namespace clockvane::ui {

namespace {

QMessageBox::Icon qtIcon(app::MessageIcon icon)
{
    switch (icon) {
    case app::MessageIcon::Exclamation: return QMessageBox::Warning;
    case app::MessageIcon::Information: return QMessageBox::Information;
    case app::MessageIcon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

std::unique_ptr<QMessageBox> buildMessageBox(const std::string& text, const std::string& title,
                                             app::MessageIcon icon, app::MessageButtons buttons,
                                             QWidget* parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(qtIcon(icon));
    box->setWindowTitle(toQt(title));
    // Plain text: a BIOS file name or a message with "<" must not be read as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(displayText(text));
    if (buttons != app::MessageButtons::Ok) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(buttons == app::MessageButtons::YesNo ? QMessageBox::Yes
                                                                    : QMessageBox::No);
        box->setEscapeButton(QMessageBox::No);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
    }
    return box;
}

app::MessageAnswer answerOf(int execResult, app::MessageButtons buttons)
{
    if (buttons == app::MessageButtons::Ok) return app::MessageAnswer::Ok;
    return execResult == QMessageBox::Yes ? app::MessageAnswer::Yes : app::MessageAnswer::No;
}

}  // namespace clockvane::ui
