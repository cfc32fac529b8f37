// The main window wired to the real controller: every control reaches its handler and the
// widgets show the controller's state afterwards.
#include <ctime>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "modal_driver.h"
#include "scripted_platform.h"
#include "ui/bios_info_frame.h"
#include "ui/clock_column.h"
#include "ui/clock_slider.h"
#include "ui/file_dialogs.h"
#include "ui/form2.h"
#include "ui/link_bracket.h"
#include "ui/message_box.h"
#include "ui/qt_text.h"
#include "ui/svg_picture.h"
#include "ui/vcore_box.h"

using namespace clockvane;
using namespace clockvane::ui;
using namespace clockvane::ui::testing;

namespace {

QAction* action(QWidget& window, const char* name) { return window.findChild<QAction*>(name); }
QMenu* menu(QWidget& window, const char* name) { return window.findChild<QMenu*>(name); }

QColor background(QLabel* label) { return label->palette().color(QPalette::Window); }
QColor foreground(QLabel* label) { return label->palette().color(QPalette::WindowText); }
QColor system(QPalette::ColorRole role)
{
    return QApplication::palette().color(QPalette::Active, role);
}

QString checksumOf(const Bytes& image)
{
    unsigned sum = 0;
    for (std::uint8_t byte : image) sum += byte;
    return QStringLiteral("Checksum-16: ") +
           QStringLiteral("%1").arg(sum & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

class Form1WiringTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QString settings_;
    std::unique_ptr<Editor> editor_;
    fixtures::ImageRecipe hd3870_;
    std::string hd3870Path_;

    Form1& window() { return editor_->window; }
    ScriptedPlatform& platform() { return editor_->platform; }

    void openHd3870()
    {
        platform().openAnswers.push_back(hd3870Path_);
        action(window(), "ROMOpen")->trigger();
        QVERIFY(editor_->controller.hasImage());
    }

private slots:
    void initTestCase()
    {
        // VCore texts use the regional decimal separator; these tests type commas.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        hd3870Path_ = writeImage(folder_.path(), "hd3870.rom", hd3870_);
    }

    void init()
    {
        settings_ =
            folder_.filePath(QStringLiteral("settings-%1.ini").arg(QTest::currentTestFunction()));
        editor_ = std::make_unique<Editor>(settings_);
        window().load();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }

    void cleanup() { editor_.reset(); }

    // An idle editor with an image loaded only sleeps in the event loop: over half a second
    // it uses next to no processor time (a spinning loop would use all of it).
    void idleWindowUsesNoProcessorTime()
    {
        openHd3870();
        QTest::qWait(50);  // let the open's own events settle
        QEventLoop idle;
        QTimer::singleShot(500, &idle, &QEventLoop::quit);
        const std::clock_t cpuStart = std::clock();
        idle.exec();
        const double cpuMs = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        QVERIFY2(cpuMs < 50, qPrintable(QString::number(cpuMs)));
    }

    void startsEmptyInEnglish()
    {
        QCOMPARE(window().windowTitle(), QStringLiteral("Orvanta Clockvane - V0.9 Beta"));
        QCOMPARE(menu(window(), "mnuFile")->title(), QStringLiteral("&File"));
        QCOMPARE(action(window(), "ROMOpen")->text(), QStringLiteral("&Open ROM file"));
        QVERIFY(!action(window(), "ROMSave")->isEnabled());
        QVERIFY(!menu(window(), "mnu_trouble")->menuAction()->isEnabled());
        QVERIFY(action(window(), "Chk_UVD")->isChecked());
        QVERIFY(action(window(), "SetLangEnglish")->isChecked());
        QVERIFY(!action(window(), "SetLangDeutsch")->isChecked());
        QAction* about = action(window(), "About");
        QCOMPARE(about->text(), QStringLiteral("&?"));
        QVERIFY(window().menuBar()->actions().contains(about));

        for (std::size_t i = 0; i < kSliderCount; ++i) QVERIFY(!window().slider(i)->isEnabled());
        for (std::size_t k = 0; k < kVcoreBoxCount; ++k) {
            VcoreBox* box = window().vcoreBox(k);
            QVERIFY(!box->isEnabled());
            QCOMPARE(box->count(), 7);
            QCOMPARE(box->itemText(0), QStringLiteral("0,9"));
            QCOMPARE(box->itemText(6), QStringLiteral("1,327"));
            QVERIFY(!box->toolTip().isEmpty());
        }
        BiosInfoFrame* frame = window().biosInfoFrame();
        QCOMPARE(frame->title(), QStringLiteral("BIOS info's"));
        QCOMPARE(frame->value(3)->text(), QStringLiteral("Please open BIOS ROM first"));
        QCOMPARE(frame->value(4)->text(), QStringLiteral("or Drag'n'Drop BIOS file here"));
        QVERIFY(frame->value(3)->isVisible());
        QVERIFY(window().findChild<SvgPicture*>("PicATI")->isVisible());
        QVERIFY(!window().findChild<SvgPicture*>("Pic3870")->isVisible());
        QVERIFY(!window().linkBracket()->line(0)->isVisible());
        QCOMPARE(window().statusPanel(1)->text(), QString());
    }

    void columnsInWindowOrder()
    {
        const QStringList headings{"BootUp Clocks", "2D Clocks", "3D Clocks", "3D Clocks",
                                   "UVD® Clocks"};
        const QStringList subHeadings{"", "", "Low Power", "High Power", ""};
        const std::array<std::pair<int, int>, 5> sliders{{{0, 1}, {2, 3}, {8, 9}, {4, 5}, {6, 7}}};
        const std::array<int, 5> boxes{0, 1, 4, 2, 3};
        int previousRight = -1;
        for (std::size_t c = 0; c < kPowerStateCount; ++c) {
            ClockColumn* column = window().column(c);
            QCOMPARE(column->heading()->text(), headings[int(c)]);
            QCOMPARE(column->subHeading()->text(), subHeadings[int(c)]);
            QCOMPARE(column->gpuSlider(), window().slider(std::size_t(sliders[c].first)));
            QCOMPARE(column->ramSlider(), window().slider(std::size_t(sliders[c].second)));
            QCOMPARE(column->vcoreBox(), window().vcoreBox(std::size_t(boxes[c])));
            const QRect area = column->geometry();
            QVERIFY2(area.left() > previousRight, "columns run left to right");
            previousRight = area.right();
            QVERIFY(column->gpuSlider()->x() < column->ramSlider()->x());  // GPU left of RAM
            QVERIFY(column->gpuLabel()->y() > column->gpuSlider()->y());   // value under slider
            QVERIFY(column->vcoreBox()->y() > column->gpuLabel()->y());    // box under both
        }
    }

    void openShowsTheImage()
    {
        openHd3870();
        QVERIFY(window().findChild<SvgPicture*>("Pic3870")->isVisible());
        QVERIFY(!window().findChild<SvgPicture*>("PicATI")->isVisible());
        QVERIFY(!window().findChild<SvgPicture*>("Pic3850")->isVisible());
        BiosInfoFrame* frame = window().biosInfoFrame();
        QCOMPARE(frame->value(2)->text(), QStringLiteral("ATI HD3870 - 512MB GDDR3"));
        QCOMPARE(frame->value(1)->text(), QStringLiteral("12/10/07  - 10:43"));
        QCOMPARE(frame->value(0)->text(), QStringLiteral("010.065.000.001.000000"));
        QCOMPARE(foreground(frame->value(0)), system(QPalette::ButtonText));
        QVERIFY(!frame->value(3)->isVisible());
        QCOMPARE(frame->toolTip(),
                 QStringLiteral("The BIOS holds no power table to confirm the clock table with"));
        QCOMPARE(window().statusPanel(2)->text(), checksumOf(fixtures::buildImage(hd3870_)));

        QCOMPARE(window().slider(0)->mhz(), 775);
        QCOMPARE(window().slider(1)->mhz(), 1125);
        QCOMPARE(window().clockLabel(0)->text(), QStringLiteral("775 MHz"));
        QCOMPARE(window().clockLabel(3)->text(), QStringLiteral("450 MHz"));
        QCOMPARE(window().vcoreBox(0)->currentText(), QStringLiteral("1,204"));
        QVERIFY(window().slider(0)->isEnabled());
        QVERIFY(window().vcoreBox(0)->isEnabled());
        QVERIFY(action(window(), "ROMSave")->isEnabled());
        QVERIFY(menu(window(), "mnu_trouble")->menuAction()->isEnabled());

        // Linked: the UVD column follows 3D High Power, greyed, behind the bracket.
        QVERIFY(!window().slider(6)->isEnabled());
        QVERIFY(!window().vcoreBox(3)->isEnabled());
        QCOMPARE(window().vcoreBox(3)->currentText(), QString());
        QCOMPARE(window().clockLabel(6)->text(), window().clockLabel(4)->text());
        QCOMPARE(foreground(window().clockLabel(6)), QColor(192, 192, 192));
        for (std::size_t i = 0; i < 3; ++i) QVERIFY(window().linkBracket()->line(i)->isVisible());
        QVERIFY(window().linkBracket()->label()->isVisible());
        QCOMPARE(window().linkBracket()->label()->text(), QStringLiteral("< Linked"));

        // The operation shows its percentage until Timer1 resets the status.
        QVERIFY(window().progressBar()->isTextVisible());
        QTRY_COMPARE(window().statusPanel(3)->text(), QStringLiteral("Ready..."));
        QCOMPARE(window().progressBar()->value(), 0);
        QVERIFY(!window().progressBar()->isTextVisible());
    }

    void slidersReachTheirHandlers()
    {
        openHd3870();
        ClockSlider* gpu3d = window().slider(4);
        QTest::keyClick(gpu3d, Qt::Key_Up);
        QCOMPARE(window().clockLabel(4)->text(), QStringLiteral("776 MHz"));
        QCOMPARE(editor_->controller.state().sliders[4].value, 776);
        QCOMPARE(window().clockLabel(6)->text(),
                 QStringLiteral("776 MHz"));  // mirrored while linked

        gpu3d->setMhz(951);  // as a drag or a track click sets it
        QCOMPARE(window().clockLabel(4)->text(), QStringLiteral("951 MHz"));
        QCOMPARE(background(window().clockLabel(4)), QColor(255, 0, 0));
        QCOMPARE(foreground(window().clockLabel(4)), system(QPalette::HighlightedText));
        QCOMPARE(foreground(window().clockLabel(6)), QColor(192, 192, 192));

        QTest::keyClick(gpu3d, Qt::Key_PageDown);
        QTest::keyClick(gpu3d, Qt::Key_PageDown);
        QCOMPARE(window().clockLabel(4)->text(), QStringLiteral("901 MHz"));
        QCOMPARE(background(window().clockLabel(4)), QColor(255, 255, 0));
        QCOMPARE(foreground(window().clockLabel(4)), system(QPalette::ButtonText));

        window().slider(1)->setMhz(900);
        QCOMPARE(background(window().clockLabel(1)), system(QPalette::Button));
    }

    void vcoreBoxReachesItsHandlers()
    {
        openHd3870();
        VcoreBox* box = window().vcoreBox(0);
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        box->lineEdit()->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(editor_->controller.state().vcoreBoxes[0].text, std::string());
        QTest::keyClicks(box, ",1.,4x");  // comma into an empty box, point and letters: refused
        QCOMPARE(box->currentText(), QStringLiteral("1,4"));
        QCOMPARE(editor_->controller.state().vcoreBoxes[0].text, std::string("1,4"));
        // Pasted the same way: the controller's rule sees the box grow character by character.
        box->lineEdit()->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QApplication::clipboard()->setText(QStringLiteral(",1.,4x"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->currentText(), QStringLiteral("1,4"));
        QCOMPARE(editor_->controller.state().vcoreBoxes[0].text, std::string("1,4"));

        window().slider(0)->setFocus(Qt::TabFocusReason);  // leaving the box validates it
        QTRY_COMPARE(box->currentText(), QStringLiteral("1,327"));

        box->setCurrentIndex(0);  // a pick from the list
        emit box->textActivated(box->itemText(0));
        QCOMPARE(editor_->controller.state().vcoreBoxes[0].text, std::string("0,9"));
    }

    void uvdMenuUnlinksAndLinks()
    {
        openHd3870();
        QAction* uvd = action(window(), "Chk_UVD");
        platform().messages.clear();
        uvd->trigger();
        QCOMPARE(platform().messages.size(), std::size_t(1));
        QCOMPARE(platform().messages[0].title, std::string("Unlocking advanced feature"));
        QVERIFY(!uvd->isChecked());
        QVERIFY(window().slider(6)->isEnabled());
        QVERIFY(window().vcoreBox(3)->isEnabled());
        QCOMPARE(window().clockLabel(6)->text(), QStringLiteral("400 MHz"));
        QVERIFY(!window().linkBracket()->line(1)->isVisible());
        QVERIFY(!window().linkBracket()->label()->isVisible());

        uvd->trigger();
        QCOMPARE(platform().messages.size(), std::size_t(1));  // linking asks nothing
        QVERIFY(uvd->isChecked());
        QVERIFY(!window().slider(6)->isEnabled());
        QVERIFY(window().linkBracket()->line(1)->isVisible());
    }

    void languageSwitchChangesEveryCaption()
    {
        action(window(), "SetLangDeutsch")->trigger();
        QCOMPARE(menu(window(), "mnuFile")->title(), QStringLiteral("&Datei"));
        QCOMPARE(action(window(), "ROMOpen")->text(), QStringLiteral("ROM Datei Ö&ffnen"));
        QCOMPARE(action(window(), "ROMSave")->text(),
                 QStringLiteral("ROM Datei speichern &unter..."));
        QCOMPARE(menu(window(), "SetLang")->title(), QStringLiteral("S&pracheinstellungen"));
        QCOMPARE(action(window(), "EXITProgramm")->text(), QStringLiteral("Programm &Beenden"));
        QCOMPARE(menu(window(), "mnu_trouble")->title(), QStringLiteral("&Fehlerbehebung"));
        QCOMPARE(action(window(), "Chk_UVD")->text(),
                 QStringLiteral("&UVD Funktionen deaktivieren"));
        QCOMPARE(window().biosInfoFrame()->caption(1)->text(), QStringLiteral("Datum/Uhrzeit"));
        QCOMPARE(window().statusPanel(3)->text(), QStringLiteral("Bereit..."));
        QCOMPARE(window().biosInfoFrame()->value(3)->text(),
                 QStringLiteral("Bitte ROM Datei laden"));
        QCOMPARE(window().biosInfoFrame()->value(4)->text(),
                 QStringLiteral("oder Datei per Drag'n'Drop öffnen"));
        QVERIFY(action(window(), "SetLangDeutsch")->isChecked());
        QVERIFY(!action(window(), "SetLangEnglish")->isChecked());
        QCOMPARE(action(window(), "About")->text(), QStringLiteral("&?"));
        QCOMPARE(window().biosInfoFrame()->title(), QStringLiteral("BIOS info's"));

        platform().openAnswers.push_back(std::nullopt);
        action(window(), "ROMOpen")->trigger();
        QCOMPARE(platform().dialogs.back().title, std::string("Bitte original BIOS.ROM auswählen"));

        action(window(), "SetLangEnglish")->trigger();
        QCOMPARE(menu(window(), "mnuFile")->title(), QStringLiteral("&File"));
        QCOMPARE(action(window(), "ROMOpen")->text(), QStringLiteral("&Open ROM file"));
        QCOMPARE(action(window(), "ROMSave")->text(), QStringLiteral("&Save ROM file as..."));
        QCOMPARE(menu(window(), "SetLang")->title(), QStringLiteral("&Language"));
        QCOMPARE(action(window(), "EXITProgramm")->text(), QStringLiteral("E&xit"));
        QCOMPARE(menu(window(), "mnu_trouble")->title(), QStringLiteral("&Troubleshooting"));
        QCOMPARE(action(window(), "Chk_UVD")->text(), QStringLiteral("&Disable UVD options"));
        QCOMPARE(window().biosInfoFrame()->caption(1)->text(), QStringLiteral("Date/Time"));
        QCOMPARE(window().statusPanel(3)->text(), QStringLiteral("Ready..."));
        QVERIFY(!action(window(), "SetLangDeutsch")->isChecked());
        QVERIFY(action(window(), "SetLangEnglish")->isChecked());
    }

    void dropOnTheFrameOpensTheFile()
    {
        fixtures::ImageRecipe hd3850;
        hd3850.deviceId = "9505";
        hd3850.memoryText = "GDDR3 256MB";
        const std::string path = writeImage(folder_.path(), "dropped.BIN", hd3850);

        // Only the window takes files; the frame, its labels and the boxes pass them up.
        QVERIFY(window().acceptDrops());
        QVERIFY(!window().biosInfoFrame()->acceptDrops());

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        for (QWidget* over : {static_cast<QWidget*>(window().vcoreBox(0)->lineEdit()),
                              static_cast<QWidget*>(window().biosInfoFrame()->value(4))}) {
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(over, &enter);
            QVERIFY(enter.isAccepted());
        }
        QLabel* target = window().biosInfoFrame()->value(4);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        QTRY_VERIFY(window().findChild<SvgPicture*>("Pic3850")->isVisible());
        QCOMPARE(window().biosInfoFrame()->value(2)->text(),
                 QStringLiteral("ATI HD3850 - 256MB GDDR3"));
    }

    void dropOfANonFileIsRefused()
    {
        QMimeData data;
        data.setUrls({QUrl("https://example.invalid/card.rom")});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window(), &enter);
        QVERIFY(!enter.isAccepted());
    }

    void saveMenuWritesTheFile()
    {
        openHd3870();
        const QString saved = folder_.filePath("hd3870_mod.rom");
        platform().saveAnswers.push_back(saved.toStdString());
        action(window(), "ROMSave")->trigger();
        QVERIFY(QFileInfo::exists(saved));
        QCOMPARE(platform().dialogs.back().fileName,
                 (folder_.filePath("hd3870_mod.rom")).toStdString());
    }

    void aboutPictureOpensTheHomePage()
    {
        QString caption;
        whenModalShown([&](QWidget* modal) {
            auto* about = qobject_cast<Form2*>(modal);
            QVERIFY(about);
            caption = about->windowTitle();
            QTest::mouseClick(about->picture(), Qt::LeftButton);
            about->reject();
        });
        action(window(), "About")->trigger();
        QCOMPARE(caption, QStringLiteral(" About the Editor"));
        QCOMPARE(platform().openedUrls.size(), std::size_t(1));
        QVERIFY(platform().openedUrls[0].ends_with("/README.md"));
    }

    void commandLineFileOpensLikeTheMenu()
    {
        window().openFile(QString::fromStdString(hd3870Path_));
        QTRY_VERIFY(editor_->controller.hasImage());
        QVERIFY(platform().dialogs.empty());  // no dialog: the file was named
        QCOMPARE(window().slider(0)->mhz(), 775);
    }

    void shortcuts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("open") << "ROMOpen" << QKeySequence(QStringLiteral("Ctrl+O"));
        QTest::newRow("save") << "ROMSave" << QKeySequence(QStringLiteral("Ctrl+S"));
        QTest::newRow("exit") << "EXITProgramm" << QKeySequence(QStringLiteral("Ctrl+Q"));
        QTest::newRow("about") << "About" << QKeySequence(QStringLiteral("F1"));
    }
    void shortcuts()
    {
        QFETCH(QString, name);
        QFETCH(QKeySequence, keys);
        openHd3870();  // Save needs an image
        QAction* item = action(window(), qPrintable(name));
        QCOMPARE(item->shortcut(), keys);
        QApplication::setActiveWindow(&window());
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        QSignalSpy triggered(item, &QAction::triggered);
        if (name == QLatin1String("About")) whenModalShown([](QWidget* about) { about->close(); });
        QTest::keySequence(&window(), keys);
        QCOMPARE(triggered.count(), 1);
        // The Alt access keys stay in the captions.
        QVERIFY(item->text().contains(QLatin1Char('&')));
    }

    // A screen reader hears each slider and box by its power state, in the window's language,
    // with the value in MHz or volts; a warning colour explains itself in a tool tip.
    void accessibleNamesValuesAndBandToolTips()
    {
        openHd3870();
        struct Expected {
            std::size_t slider;
            const char* english;
            const char* german;
        };
        const Expected sliders[] = {
            {0, "BootUp GPU clock", "BootUp GPU-Takt"},
            {1, "BootUp memory clock", "BootUp Speichertakt"},
            {2, "2D GPU clock", "2D GPU-Takt"},
            {4, "3D High Power GPU clock", "3D High Power GPU-Takt"},
            {7, "UVD memory clock", "UVD Speichertakt"},
            {9, "3D Low Power memory clock", "3D Low Power Speichertakt"},
        };
        auto nameOf = [](QWidget* widget) {
            return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        };
        for (const Expected& e : sliders) QCOMPARE(nameOf(window().slider(e.slider)), e.english);
        QCOMPARE(nameOf(window().vcoreBox(2)), QStringLiteral("3D High Power VCore"));

        QAccessibleInterface* bootUpGpu = QAccessible::queryAccessibleInterface(window().slider(0));
        QCOMPARE(bootUpGpu->role(), QAccessible::Slider);
        QCOMPARE(bootUpGpu->text(QAccessible::Value), QStringLiteral("775 MHz"));
        QCOMPARE(bootUpGpu->valueInterface()->currentValue().toInt(), 775);
        QCOMPARE(bootUpGpu->valueInterface()->maximumValue().toInt(), 1200);
        QCOMPARE(bootUpGpu->valueInterface()->minimumValue().toInt(), 300);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(window().vcoreBox(0))->text(QAccessible::Value),
            QStringLiteral("1,204 V"));

        // Setting the value through the screen reader moves the clock like the user would.
        bootUpGpu->valueInterface()->setCurrentValue(951);
        QCOMPARE(window().clockLabel(0)->text(), QStringLiteral("951 MHz"));
        const QString red = window().clockLabel(0)->toolTip();
        QVERIFY(red.startsWith(QStringLiteral("Red: ")));
        window().slider(0)->setMhz(900);
        QVERIFY(window().clockLabel(0)->toolTip().startsWith(QStringLiteral("Yellow: ")));
        window().slider(0)->setMhz(800);
        QCOMPARE(window().clockLabel(0)->toolTip(), QString());

        action(window(), "SetLangDeutsch")->trigger();
        for (const Expected& e : sliders) QCOMPARE(nameOf(window().slider(e.slider)), e.german);
        window().slider(0)->setMhz(951);
        QVERIFY(window().clockLabel(0)->toolTip().startsWith(QStringLiteral("Rot: ")));
    }

    // Qt's own texts follow the window's language: the buttons of message boxes, the About
    // window's Close button and the file dialogs.
    void qtTextsFollowTheLanguage()
    {
        auto yesText = [] {
            const auto box = buildMessageBox("?", "?", app::MessageIcon::Information,
                                             app::MessageButtons::YesNo, nullptr);
            return box->button(QMessageBox::Yes)->text();
        };
        QCOMPARE(yesText(), QStringLiteral("&Yes"));
        action(window(), "SetLangDeutsch")->trigger();
        QCOMPARE(yesText(), QStringLiteral("&Ja"));

        const auto dialog =
            buildFileDialog({"Titel", "BIOS (*.rom)|*.rom", "", 0}, FileDialogKind::Open, nullptr);
        QStringList buttons;
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) buttons << button->text();
        QVERIFY2(buttons.contains(QStringLiteral("&\u00D6ffnen")) &&
                     buttons.contains(QStringLiteral("Abbrechen")),
                 qPrintable(buttons.join(QLatin1Char('|'))));

        QString close;
        whenModalShown([&](QWidget* about) {
            close = about->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->text();
            about->close();
        });
        action(window(), "About")->trigger();
        QCOMPARE(close, QStringLiteral("Schlie\u00DFen"));

        action(window(), "SetLangEnglish")->trigger();
        QCOMPARE(yesText(), QStringLiteral("&Yes"));
    }

    void exitStoresTheLanguage()
    {
        action(window(), "SetLangDeutsch")->trigger();
        action(window(), "EXITProgramm")->trigger();
        QVERIFY(!window().isVisible());
        QCOMPARE(QSettings(settings_, QSettings::IniFormat).value("language").toString(),
                 QStringLiteral("True"));
    }

    void closingStoresTheLanguageAndTheNextStartIsGerman()
    {
        action(window(), "SetLangDeutsch")->trigger();
        window().close();
        QCOMPARE(QSettings(settings_, QSettings::IniFormat).value("language").toString(),
                 QStringLiteral("True"));

        Editor next(settings_);
        next.window.load();
        QCOMPARE(menu(next.window, "mnuFile")->title(), QStringLiteral("&Datei"));
        QVERIFY(action(next.window, "SetLangDeutsch")->isChecked());
        QCOMPARE(next.window.statusPanel(3)->text(), QStringLiteral("Bereit..."));
        action(next.window, "SetLangEnglish")->trigger();
        next.window.close();
        QCOMPARE(QSettings(settings_, QSettings::IniFormat).value("language").toString(),
                 QStringLiteral("False"));
    }
};

QTEST_MAIN(Form1WiringTest)
#include "form1_wiring_test.moc"
