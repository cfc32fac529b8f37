// The window's building blocks: clock sliders, VCore boxes, the link bracket and the pictures.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QtTest>

#include "ui/clock_column.h"
#include "ui/clock_slider.h"
#include "ui/link_bracket.h"
#include "ui/svg_picture.h"
#include "ui/vcore_box.h"

using namespace clockvane;
using namespace clockvane::ui;

namespace {

QRect part(ClockSlider& slider, QStyle::SubControl control)
{
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.subControls = QStyle::SC_All;
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    option.singleStep = slider.singleStep();
    option.pageStep = slider.pageStep();
    option.upsideDown = slider.invertedAppearance();
    return slider.style()->subControlRect(QStyle::CC_ScrollBar, &option, control, &slider);
}

// Background of a picture: the corner pixel. Something must be drawn besides it.
int drawnPixels(QWidget& widget)
{
    const QImage image = widget.grab().toImage();
    const QRgb background = image.pixel(0, 0);
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) drawn += image.pixel(x, y) != background;
    }
    return drawn;
}

}  // namespace

class WidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void sliderHasItsUpperLimitAtTheTop()
    {
        ClockSlider slider;
        slider.resize(20, 240);
        slider.setMhzRange(300, 1200);
        QCOMPARE(slider.lowerMhz(), 300);
        QCOMPARE(slider.upperMhz(), 1200);
        slider.setMhz(1200);
        const int topHandle = part(slider, QStyle::SC_ScrollBarSlider).center().y();
        slider.setMhz(300);
        const int bottomHandle = part(slider, QStyle::SC_ScrollBarSlider).center().y();
        QVERIFY2(topHandle < bottomHandle,
                 qPrintable(QString("%1 %2").arg(topHandle).arg(bottomHandle)));
    }

    void sliderSteps_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("up") << int(Qt::Key_Up) << 776;
        QTest::newRow("down") << int(Qt::Key_Down) << 774;
        QTest::newRow("page up") << int(Qt::Key_PageUp) << 800;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << 750;
    }
    void sliderSteps()
    {
        QFETCH(int, key);
        QFETCH(int, expected);
        ClockSlider slider;
        slider.setMhzRange(300, 1200);
        slider.setMhz(775);
        QSignalSpy changed(&slider, &ClockSlider::mhzChanged);
        QTest::keyClick(&slider, Qt::Key(key));
        QCOMPARE(slider.mhz(), expected);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), expected);
        QCOMPARE(changed.at(0).at(1).toBool(), false);
    }

    void sliderArrowsAndTrack()
    {
        ClockSlider slider;
        slider.resize(20, 300);
        slider.setMhzRange(400, 1700);
        slider.setMhz(1000);
        slider.show();
        QVERIFY(QTest::qWaitForWindowExposed(&slider));

        QTest::mouseClick(&slider, Qt::LeftButton, {},
                          part(slider, QStyle::SC_ScrollBarSubLine).center());
        QCOMPARE(slider.mhz(), 1001);  // the top arrow raises the clock
        QTest::mouseClick(&slider, Qt::LeftButton, {},
                          part(slider, QStyle::SC_ScrollBarAddLine).center());
        QCOMPARE(slider.mhz(), 1000);
        QTest::mouseClick(&slider, Qt::LeftButton, {},
                          part(slider, QStyle::SC_ScrollBarSubPage).center());
        QCOMPARE(slider.mhz(), 1025);  // track above the thumb: one page up
        QTest::mouseClick(&slider, Qt::LeftButton, {},
                          part(slider, QStyle::SC_ScrollBarAddPage).center());
        QCOMPARE(slider.mhz(), 1000);
    }

    void keyCodes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("code");
        QTest::newRow("digit") << int(Qt::Key_7) << "7" << 0 << int('7');
        QTest::newRow("comma") << int(Qt::Key_Comma) << "," << 0 << int(',');
        QTest::newRow("point") << int(Qt::Key_Period) << "." << 0 << int('.');
        QTest::newRow("letter") << int(Qt::Key_A) << "a" << 0 << int('a');
        QTest::newRow("keypad digit")
            << int(Qt::Key_1) << "1" << int(Qt::KeypadModifier) << int('1');
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "\b" << 0 << 8;
        QTest::newRow("delete") << int(Qt::Key_Delete) << "\x7f" << 0 << 0;
        QTest::newRow("left") << int(Qt::Key_Left) << "" << 0 << 0;
        QTest::newRow("paste") << int(Qt::Key_V) << "\x16" << int(Qt::ControlModifier) << 0;
        QTest::newRow("enter") << int(Qt::Key_Return) << "\r" << 0 << 0;
    }
    void keyCodes()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, modifiers);
        QFETCH(int, code);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QCOMPARE(VcoreBox::keyAsciiOf(event), code);
    }

    void keyFilterDecidesWhatIsTyped()
    {
        VcoreBox box;
        QList<int> asked;
        box.setKeyFilter([&](int key) {
            asked.append(key);
            return key == 8 || (key >= '0' && key <= '9');
        });
        QSignalSpy edited(&box, &VcoreBox::textChangedByUser);
        QTest::keyClicks(&box, "1a,2");
        QCOMPARE(box.currentText(), QStringLiteral("12"));
        QCOMPARE(asked, (QList<int>{'1', 'a', ',', '2'}));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.currentText(), QStringLiteral("1"));
        QCOMPARE(asked.last(), 8);
        QCOMPARE(edited.last().at(0).toString(), QStringLiteral("1"));

        // Navigation and Delete pass without asking.
        asked.clear();
        QTest::keyClick(&box, Qt::Key_Home);
        QTest::keyClick(&box, Qt::Key_Delete);
        QCOMPARE(box.currentText(), QString());
        QVERIFY(asked.isEmpty());
        QCOMPARE(edited.last().at(0).toString(), QString());
    }

    // Pasted text gets in exactly as far as typing it would: each character is offered to
    // the key filter in turn, at the cursor.
    void pasteIsTypedThroughTheKeyFilter_data()
    {
        QTest::addColumn<QString>("route");
        QTest::newRow("Ctrl+V") << "Ctrl+V";
        QTest::newRow("Shift+Insert") << "Shift+Insert";
        QTest::newRow("dropped text") << "drop";
    }
    void pasteIsTypedThroughTheKeyFilter()
    {
        QFETCH(QString, route);
        VcoreBox box;
        box.setEditText(QStringLiteral("1"));
        box.lineEdit()->setCursorPosition(1);
        QList<int> asked;
        box.setKeyFilter([&](int key) {
            asked.append(key);
            return key == ',' || (key >= '0' && key <= '9');
        });
        QSignalSpy edited(&box, &VcoreBox::textChangedByUser);

        const QString pasted = QStringLiteral("a,2\n5x");
        if (route == QLatin1String("drop")) {
            QMimeData data;
            data.setText(pasted);
            const QPoint end = box.lineEdit()->rect().center() + QPoint(200, 0);
            QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(box.lineEdit(), &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(box.lineEdit(), &drop);
            QVERIFY(drop.isAccepted());
        } else {
            QApplication::clipboard()->setText(pasted);
            if (route == QLatin1String("Ctrl+V")) {
                QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
            } else {
                QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier);
            }
        }
        QCOMPARE(box.currentText(), QStringLiteral("1,25"));
        QCOMPARE(asked, (QList<int>{'a', ',', '2', '5', 'x'}));  // the line break is no key
        QCOMPARE(edited.last().at(0).toString(), QStringLiteral("1,25"));
    }

    void aDroppedFileIsLeftToTheWindow()
    {
        VcoreBox box;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/card.rom"))});
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(box.lineEdit(), &enter);
        QVERIFY(!enter.isAccepted());
        QCOMPARE(box.currentText(), QString());
    }

    void listPicksAreReportedAndNeverAdded()
    {
        VcoreBox box;
        box.addItems({"0,9", "1,22"});
        box.setEditText({});
        QSignalSpy edited(&box, &VcoreBox::textChangedByUser);
        emit box.textActivated(QStringLiteral("1,22"));  // as a pick from the list does
        QCOMPARE(edited.last().at(0).toString(), QStringLiteral("1,22"));
        QCOMPARE(box.count(), 2);  // Enter or a pick never adds items
        box.lineEdit()->setText("1,1");
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(box.count(), 2);
    }

    // Most styles draw no focus frame on a scroll bar; the slider draws its own.
    void sliderShowsTheKeyboardFocus()
    {
        QWidget window;
        auto* slider = new ClockSlider(&window);
        auto* other = new QLineEdit(&window);
        other->move(40, 0);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        const QImage unfocused = slider->grab().toImage();
        slider->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(slider->hasFocus());
        QVERIFY(slider->grab().toImage() != unfocused);
    }

    void focusLossIsReportedOnlyForAnotherControl()
    {
        QWidget window;
        auto* box = new VcoreBox(&window);
        auto* other = new QLineEdit(&window);
        other->move(0, 40);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy lost(box, &VcoreBox::focusLost);

        box->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(box->hasFocus());
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(box, &popup);
        QCOMPARE(lost.count(), 0);

        other->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(lost.count(), 1);
    }

    void picturesAreDrawn_data()
    {
        QTest::addColumn<QString>("resource");
        for (const char* name :
             {":/art/card_hd3870.svg", ":/art/card_hd3850.svg", ":/art/card_hd3870x2.svg",
              ":/art/chip.svg", ":/art/app-icon.svg"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }
    void picturesAreDrawn()
    {
        QFETCH(QString, resource);
        SvgPicture picture(resource, QSize(260, 130));
        picture.resize(picture.sizeHint());
        QVERIFY(picture.isValidPicture());
        QVERIFY(drawnPixels(picture) > 260 * 130 / 5);
    }

    void clickablePicture()
    {
        SvgPicture picture(":/art/app-icon.svg", QSize(64, 64));
        picture.resize(64, 64);
        QSignalSpy clicked(&picture, &SvgPicture::clicked);
        QTest::mouseClick(&picture, Qt::LeftButton);
        QCOMPARE(clicked.count(), 0);  // not clickable yet
        picture.setClickable(true);
        QTest::mouseClick(&picture, Qt::LeftButton);
        QTest::mouseClick(&picture, Qt::RightButton);
        QCOMPARE(clicked.count(), 1);
    }

    void bracketJoinsTheTwoHeadingCentres()
    {
        QWidget window;
        window.resize(600, 200);
        auto* left = new QLabel("3D Clocks", &window);
        auto* right = new QLabel("UVD Clocks", &window);
        left->setGeometry(100, 60, 80, 20);
        right->setGeometry(300, 60, 100, 20);
        LinkBracket bracket(left, right, &window);
        bracket.setGeometry(0, 20, 600, 40);
        bracket.setLabelText("< Linked");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const auto middle = [](QWidget* line) { return line->x() + line->width() / 2; };
        QCOMPARE(middle(bracket.line(0)), 140);
        QCOMPARE(middle(bracket.line(2)), 350);
        QCOMPARE(bracket.line(0)->geometry().bottom(), 39);  // reaches down to the headings
        QVERIFY(bracket.line(1)->geometry().left() <= 140);
        QVERIFY(bracket.line(1)->geometry().right() >= 349);
        QVERIFY(bracket.label()->geometry().intersects(bracket.line(1)->geometry()));

        right->move(400, 60);  // the layout moved the heading: the bracket follows
        QCOMPARE(middle(bracket.line(2)), 450);

        bracket.setLinesVisible(false);
        for (std::size_t i = 0; i < 3; ++i) QVERIFY(!bracket.line(i)->isVisible());
        QVERIFY(bracket.label()->isVisible());
        bracket.setLabelVisible(false);
        QVERIFY(!bracket.label()->isVisible());
    }

    void columnCaptions()
    {
        ClockColumn column(kPowerStates[k3DLow], kColumnCaptions[k3DLow]);
        QCOMPARE(column.heading()->text(), QStringLiteral("3D Clocks"));
        QCOMPARE(column.subHeading()->text(), QStringLiteral("Low Power"));
        QCOMPARE(column.gpuSlider()->objectName(), QStringLiteral("ScrollBar1_8"));
        QCOMPARE(column.ramSlider()->objectName(), QStringLiteral("ScrollBar1_9"));
        QCOMPARE(column.gpuLabel()->objectName(), QStringLiteral("Label3_8"));
        QCOMPARE(column.vcoreBox()->objectName(), QStringLiteral("CmbVCore_4"));
        QStringList captions;
        for (QLabel* label : column.findChildren<QLabel*>()) captions.append(label->text());
        QVERIFY(captions.contains("GPU"));
        QVERIFY(captions.contains("RAM"));
        QVERIFY(captions.contains("VCore"));
        QCOMPARE(QString::fromUtf8(kColumnCaptions[kUvd].heading.data()),
                 QStringLiteral("UVD® Clocks"));
    }
};

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
