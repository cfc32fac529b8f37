#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QSignalBlocker>

#include "ui/bios_info_frame.h"
#include "ui/clock_slider.h"
#include "ui/form1.h"
#include "ui/link_bracket.h"
#include "ui/qt_text.h"
#include "ui/qt_translations.h"
#include "ui/svg_picture.h"
#include "ui/vcore_box.h"

namespace clockvane::ui {

namespace {

void renderMenu(QMenu* menu, const app::MenuItemState& item)
{
    menu->setTitle(toQt(item.caption));
    menu->menuAction()->setEnabled(item.enabled);
}

void renderAction(QAction* action, const app::MenuItemState& item)
{
    const QSignalBlocker quiet(action);
    action->setText(toQt(item.caption));
    action->setEnabled(item.enabled);
    if (action->isCheckable()) action->setChecked(item.checked);
}

void renderSlider(ClockSlider* slider, const app::SliderState& state,
                  const app::SpokenSlider& spoken)
{
    const QSignalBlocker quiet(slider);
    if (slider->lowerMhz() != state.lower || slider->upperMhz() != state.upper) {
        slider->setMhzRange(state.lower, state.upper);
    }
    if (slider->mhz() != state.value) slider->setMhz(state.value);
    slider->setEnabled(state.enabled);
    slider->setAccessibleName(toQt(state.accessibleName));
    slider->setSpokenMhz(spoken.mhz);
    slider->setAccessibleDescription(toQt(spoken.warning));
}

void setTextColours(QWidget* widget, const QColor& background, const QColor& foreground)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, foreground);
    widget->setPalette(palette);
}

void renderClockLabel(QLabel* label, const app::ClockLabelState& state)
{
    const QPalette system = QApplication::palette();
    label->setText(toQt(state.caption));
    setTextColours(label, labelColour(state.background, system),
                   labelColour(state.foreground, system));
    label->setToolTip(toQt(state.toolTip));
}

void renderBox(VcoreBox* box, const app::VcoreBoxState& state)
{
    const QSignalBlocker quiet(box);
    const QSignalBlocker quietEdit(box->lineEdit());
    QStringList items;
    for (const std::string& item : state.items) items.append(toQt(item));
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) shown.append(box->itemText(i));
    if (shown != items) {
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(-1);
    }
    // Only a real change is written: rewriting the same text would move the user's cursor.
    const QString text = toQt(state.text);
    if (box->currentText() != text) box->setEditText(text);
    box->setEnabled(state.enabled);
    box->setToolTip(toQt(state.toolTip));
    box->setAccessibleName(toQt(state.accessibleName));
    box->lineEdit()->setAccessibleName(toQt(state.accessibleName));
}

}  // namespace

void Form1::render() { events_.render(); }

void Form1::showState()
{
    const app::MainWindowState& state = controller_.state();

    setWindowTitle(toQt(state.windowTitle));
    // Qt's own texts (standard buttons, file dialogs) follow the program's language.
    useQtTexts(controller_.language());

    renderMenu(mnuFile_, state.mnuFile);
    renderAction(romOpen_, state.romOpen);
    renderAction(romSave_, state.romSave);
    renderAction(romRevert_, state.romRevert);
    renderAction(romCompare_, state.romCompare);
    renderAction(exitProgram_, state.exitProgram);
    renderMenu(setLang_, state.setLang);
    renderAction(setLangDeutsch_, state.setLangDeutsch);
    renderAction(setLangEnglish_, state.setLangEnglish);
    renderMenu(mnuTrouble_, state.mnuTrouble);
    renderAction(chkUvd_, state.chkUvd);
    renderAction(about_, state.about);

    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        const app::SpokenSlider spoken = app::spokenSlider(state, i);
        renderSlider(sliders_[i], state.sliders[i], spoken);
        renderClockLabel(clockLabels_[i], state.clockLabels[i]);
    }
    for (std::size_t i = 0; i < boxes_.size(); ++i) renderBox(boxes_[i], state.vcoreBoxes[i]);

    bracket_->setLabelText(toQt(state.linkedCaption));
    bracket_->setLinesVisible(state.linkLinesVisible);
    bracket_->setLabelVisible(state.linkedLabelVisible);

    frame_->setTitle(toQt(state.frameCaption));
    frame_->setToolTip(toQt(state.frameToolTip));
    const app::BiosInfoState& info = state.info;
    frame_->versionCaption()->setText(toQt(info.versionCaption));
    frame_->dateCaption()->setText(toQt(info.dateCaption));
    frame_->cardCaption()->setText(toQt(info.cardCaption));
    frame_->version()->setText(toQt(info.version));
    frame_->date()->setText(toQt(info.date));
    frame_->card()->setText(toQt(info.card));
    frame_->openHint()->setText(toQt(info.openHint));
    frame_->dropHint()->setText(toQt(info.dropHint));
    QLabel* version = frame_->version();
    setTextColours(version, version->palette().color(QPalette::Window),
                   labelColour(info.versionForeground, QApplication::palette()));
    frame_->openHint()->setVisible(info.hintsVisible);
    frame_->dropHint()->setVisible(info.hintsVisible);

    for (std::size_t i = 0; i < pictures_.size(); ++i)
        pictures_[i]->setVisible(state.picture == app::CardPicture(i));

    for (std::size_t i = 0; i < panels_.size(); ++i)
        panels_[i]->setText(toQt(state.statusPanels[i]));
    progress_->setValue(state.progressValue);
    progress_->setTextVisible(state.progressDisplay);
}

}  // namespace clockvane::ui
