#include "ui/accessible_controls.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>

#include "layout/clock_limits.h"
#include "text/texts.h"
#include "ui/clock_slider.h"
#include "ui/qt_text.h"
#include "ui/vcore_box.h"

namespace clockvane::ui {

namespace {

class ClockSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ClockSliderAccessible(ClockSlider* slider)
        : QAccessibleWidget(slider, QAccessible::Slider)
    {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value) return toQt(texts::mhzText(slider()->spokenMhz()));
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return slider()->spokenMhz(); }
    // Moves the slider as the user would: the window hears of the change.
    void setCurrentValue(const QVariant& value) override { slider()->setMhz(value.toInt()); }
    QVariant maximumValue() const override { return slider()->upperMhz(); }
    QVariant minimumValue() const override { return slider()->lowerMhz(); }
    QVariant minimumStepSize() const override { return kSliderArrowStep; }

private:
    ClockSlider* slider() const { return static_cast<ClockSlider*>(widget()); }
};

class VcoreBoxAccessible : public QAccessibleWidget {
public:
    explicit VcoreBoxAccessible(VcoreBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value) return toQt(texts::voltsText(fromQt(box()->currentText())));
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << showMenuAction();
    }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction()) {
            box()->showPopup();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

    // While the list is open its presets are one more child, after the edit field, as Qt's
    // own combo box presents them; the list lives in a window of its own, which the widget's
    // children would leave out.
    int childCount() const override
    {
        return QAccessibleWidget::childCount() + (listShown() ? 1 : 0);
    }
    QAccessibleInterface* child(int index) const override
    {
        if (listShown() && index == QAccessibleWidget::childCount()) return list();
        return QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (listShown() && child == list()) return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }

private:
    VcoreBox* box() const { return static_cast<VcoreBox*>(widget()); }
    bool listShown() const { return box()->view() && box()->view()->isVisible(); }
    QAccessibleInterface* list() const
    {
        return QAccessible::queryAccessibleInterface(box()->view());
    }
};

QAccessibleInterface* accessibleControl(const QString& className, QObject* object)
{
    if (className == QLatin1String(ClockSlider::staticMetaObject.className())) {
        return new ClockSliderAccessible(static_cast<ClockSlider*>(object));
    }
    if (className == QLatin1String(VcoreBox::staticMetaObject.className())) {
        return new VcoreBoxAccessible(static_cast<VcoreBox*>(object));
    }
    return nullptr;
}

}  // namespace

void installAccessibleControls()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleControl);
        return true;
    }();
    (void)installed;
}

}  // namespace clockvane::ui
