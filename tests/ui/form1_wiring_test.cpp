// The main window wired to the real controller: every control reaches its handler and the
// widgets render the controller's state afterwards.
#include <filesystem>

#include <QtTest>
#include <QtWidgets>

#include "fixtures/modal_driver.h"
#include "fixtures/scripted_platform.h"
#include "ui/bios_info_frame.h"
#include "ui/clock_column.h"
#include "ui/clock_slider.h"
#include "ui/comparison_window.h"
#include "ui/link_bracket.h"
#include "ui/message_box.h"
#include "ui/svg_picture.h"
#include "ui/vcore_box.h"

using namespace clockvane;
using namespace clockvane::ui;
using namespace clockvane::ui::testing;

class Form1WiringTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QString settings_;
    std::unique_ptr<Editor> editor_;
    std::string hd3870_;

    Form1& window() { return editor_->window; }
    QAction* action(const char* name) { return window().findChild<QAction*>(name); }
    QMenu* menu(const char* name) { return window().findChild<QMenu*>(name); }
    bool shown(const char* picture)
    {
        return window().findChild<SvgPicture*>(picture)->isVisible();
    }
    void openHd3870()
    {
        editor_->platform.script.openDialogAnswers.push_back(hd3870_);
        action("ROMOpen")->trigger();
        QVERIFY(editor_->controller.hasImage());
    }

private slots:
    void initTestCase()
    {
        // VCore texts use the regional decimal separator; these tests type commas.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        hd3870_ = writeImage(folder_.path(), "hd3870.rom", {});
    }
    void init()
    {
        settings_ = folder_.filePath(QStringLiteral("%1.ini").arg(QTest::currentTestFunction()));
        editor_ = std::make_unique<Editor>(settings_);
        window().load();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }
    void cleanup() { editor_.reset(); }

    void rendersTheEmptyAndTheOpenedState()
    {
        QCOMPARE(window().windowTitle(), QStringLiteral("Orvanta Clockvane - V0.9 Beta"));
        QVERIFY(!action("ROMSave")->isEnabled() && !window().slider(0)->isEnabled());
        QVERIFY(window().menuBar()->actions().contains(action("About")));
        QVERIFY(window().biosInfoFrame()->openHint()->isVisible());

        openHd3870();
        QVERIFY(shown("Pic3870") && !shown("PicATI") && !shown("Pic3850"));
        BiosInfoFrame* frame = window().biosInfoFrame();
        QCOMPARE(frame->title() + '|' + frame->card()->text(),
                 QStringLiteral("BIOS info's|ATI HD3870 - 512MB GDDR3"));
        QVERIFY(!frame->openHint()->isVisible());
        QVERIFY(!frame->toolTip().isEmpty());  // which note it is is the controller's
        QVERIFY(action("ROMSave")->isEnabled() && menu("mnu_trouble")->menuAction()->isEnabled());
        // Linked: the UVD column greyed behind the bracket.
        QVERIFY(!window().slider(6)->isEnabled() && !window().vcoreBox(3)->isEnabled());
        QVERIFY(window().linkBracket()->line(1)->isVisible());
        // The percentage shows until Timer1 resets the status.
        QVERIFY(window().progressBar()->isTextVisible());
        QTRY_COMPARE(window().statusPanel(3)->text(), QStringLiteral("Ready..."));
        QVERIFY(!window().progressBar()->isTextVisible());

        // The columns in window order: BootUp, 2D, 3D Low, 3D High, UVD.
        const std::array<std::size_t, 5> gpu{0, 2, 8, 4, 6};
        for (std::size_t c = 0; c < kPowerStateCount; ++c)
            QCOMPARE(window().column(c)->gpuSlider(), window().slider(gpu[c]));
    }

    void controlsReachTheirHandlers()
    {
        openHd3870();
        ClockSlider* gpu3d = window().slider(4);
        // Home is the lowest clock and End the highest, though the bar holds them negated.
        for (const auto& [key, mhz] :
             {std::pair{Qt::Key_Up, 776}, {Qt::Key_Home, 300}, {Qt::Key_End, 1200}}) {
            QTest::keyClick(gpu3d, key);
            QCOMPARE(editor_->controller.state().sliders[4].value, mhz);
        }
        gpu3d->setMhz(951);  // as a drag or a track click sets it
        const QPalette colours = window().clockLabel(4)->palette();
        QCOMPARE(colours.color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(colours.color(QPalette::WindowText),
                 QApplication::palette().color(QPalette::HighlightedText));

        VcoreBox* box = window().vcoreBox(0);
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        // Down steps from the text to the preset below it, not to the list's first entry.
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(editor_->controller.state().vcoreBoxes[0].text, std::string("1,125"));
        QWheelEvent wheel({5, 5}, box->mapToGlobal(QPoint(5, 5)), {}, {0, 120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &wheel);  // the wheel steps as the keys do
        QCOMPARE(box->currentText(), QStringLiteral("1,22"));
        box->lineEdit()->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QApplication::clipboard()->setText(QStringLiteral(",1.,4x"));  // pasted as if typed
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(editor_->controller.state().vcoreBoxes[0].text, std::string("1,4"));
        window().slider(0)->setFocus(Qt::TabFocusReason);  // leaving the box validates it
        QTRY_COMPARE(box->currentText(), QStringLiteral("1,327"));
        emit box->textActivated(box->itemText(0));  // a pick from the list
        QCOMPARE(editor_->controller.state().vcoreBoxes[0].text, std::string("0,9"));

        action("Chk_UVD")->trigger();
        QVERIFY(window().slider(6)->isEnabled() && !window().linkBracket()->label()->isVisible());

        const QString saved = folder_.filePath("hd3870_mod.rom");
        editor_->platform.script.saveDialogAnswers.push_back(saved.toStdString());
        action("ROMSave")->trigger();
        QVERIFY(QFileInfo::exists(saved));
    }

    void dropsAndTheCommandLineOpenFiles()
    {
        fixtures::ImageRecipe hd3850;
        hd3850.deviceId = "9505";
        // A name that is not UTF-8 arrives as its own bytes.
        fixtures::writeFile(folder_.path().toStdString() + "/dropp\xE9.BIN",
                            fixtures::buildImage(hd3850));
        QMimeData data;
        data.setData("text/uri-list",
                     QUrl::fromLocalFile(folder_.path()).toEncoded() + "/dropp%E9.BIN\r\n");
        // Only the window takes files; the frame, its labels and the boxes pass them up.
        QVERIFY(window().acceptDrops() && !window().biosInfoFrame()->acceptDrops());
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window().vcoreBox(0)->lineEdit(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window().biosInfoFrame()->dropHint(), &drop);
        QTRY_VERIFY(shown("Pic3850"));
        std::filesystem::remove(folder_.path().toStdString() + "/dropp\xE9.BIN");  // Qt cannot

        QMimeData web;
        web.setUrls({QUrl("https://example.invalid/card.rom")});
        QDragEnterEvent webEnter(QPoint(5, 5), Qt::CopyAction, &web, Qt::LeftButton, {});
        QApplication::sendEvent(&window(), &webEnter);
        QVERIFY(!webEnter.isAccepted());

        window().openFile(hd3870_);  // FILE on the command line
        QTRY_VERIFY(shown("Pic3870"));
    }

    void shortcutsTriggerTheirItems()
    {
        openHd3870();  // Save needs an image
        for (const auto& [name, keys] :
             std::vector<std::pair<const char*, const char*>>{{"ROMOpen", "Ctrl+O"},
                                                              {"ROMSave", "Ctrl+S"},
                                                              {"EXITProgramm", "Ctrl+Q"},
                                                              {"About", "F1"}}) {
            window().show();  // Ctrl+Q closes it
            QApplication::setActiveWindow(&window());
            QVERIFY(QTest::qWaitForWindowActive(&window()));
            QSignalSpy triggered(action(name), &QAction::triggered);
            if (QString(name) == "About") whenModalShown([](QWidget* about) { about->close(); });
            QTest::keySequence(&window(), QKeySequence(keys));
            QVERIFY2(triggered.count() == 1, name);
        }
    }

    // A screen reader hears each slider and box by its power state, with the value in MHz or
    // volts; a warning colour explains itself in a tool tip. The names, which warning a clock
    // gets, and in which language, are the controller tests'.
    void accessibleNamesValuesAndBandToolTips()
    {
        openHd3870();
        QAccessibleInterface* gpu = QAccessible::queryAccessibleInterface(window().slider(0));
        QCOMPARE(gpu->role(), QAccessible::Slider);
        QCOMPARE(gpu->text(QAccessible::Name) + '|' + gpu->text(QAccessible::Value),
                 QStringLiteral("BootUp GPU clock|775 MHz"));
        QCOMPARE(gpu->valueInterface()->minimumValue().toInt(), 300);
        QCOMPARE(gpu->valueInterface()->maximumValue().toInt(), 1200);
        VcoreBox* box = window().vcoreBox(0);
        QAccessibleInterface* boxFace = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(boxFace->text(QAccessible::Name) + '|' + boxFace->text(QAccessible::Value),
                 QStringLiteral("BootUp VCore|1,204 V"));
        gpu->valueInterface()->setCurrentValue(951);  // moves the clock as the user would
        QCOMPARE(window().clockLabel(0)->text(), QStringLiteral("951 MHz"));
        QVERIFY(window().clockLabel(0)->toolTip().startsWith("Red: "));
        QCOMPARE(gpu->text(QAccessible::Description), window().clockLabel(0)->toolTip());
        // A linked UVD slider speaks the clock its label shows; its position stays.
        window().slider(4)->setMhz(900);
        QAccessibleInterface* uvd = QAccessible::queryAccessibleInterface(window().slider(6));
        QCOMPARE(uvd->text(QAccessible::Value) + '|' +
                     uvd->valueInterface()->currentValue().toString(),
                 QStringLiteral("900 MHz|900"));
        QCOMPARE(uvd->text(QAccessible::Description), QString());  // grey, no band
        QCOMPARE(window().slider(6)->mhz(), 400);
        // The open list of presets is one more child of the box, after its own.
        const int closed = boxFace->childCount();
        box->showPopup();
        QTRY_COMPARE(boxFace->childCount(), closed + 1);
        QAccessibleInterface* presets = boxFace->child(closed);
        QCOMPARE(presets ? presets->role() : QAccessible::NoRole, QAccessible::List);
        QCOMPARE(presets->childCount(), 7);
        QCOMPARE(boxFace->indexOfChild(presets), closed);
        box->hidePopup();
        window().slider(0)->setMhz(800);  // out of the band: the warning goes
        QCOMPARE(window().clockLabel(0)->toolTip(), QString());
    }

    // The captions and Qt's own texts follow the window's language, both ways; the choice is
    // stored on closing, over an earlier one, and the next start reads it.
    void languageReachesEveryTextAndIsStored()
    {
        const auto yesText = [] {
            return buildMessageBox("?", "?", app::MessageIcon::Information,
                                   app::MessageButtons::YesNo, nullptr)
                ->button(QMessageBox::Yes)
                ->text();
        };
        QCOMPARE(yesText(), QStringLiteral("&Yes"));
        action("SetLangDeutsch")->trigger();
        QCOMPARE(yesText(), QStringLiteral("&Ja"));
        QCOMPARE(menu("mnuFile")->title() + action("ROMOpen")->text() +
                     menu("mnu_trouble")->title(),
                 QStringLiteral("&DateiROM Datei Ö&ffnen&Fehlerbehebung"));
        QCOMPARE(window().biosInfoFrame()->dateCaption()->text(), QStringLiteral("Datum/Uhrzeit"));
        QVERIFY(action("SetLangDeutsch")->isChecked() && !action("SetLangEnglish")->isChecked());

        action("EXITProgramm")->trigger();
        QVERIFY(!window().isVisible());
        QCOMPARE(QSettings(settings_, QSettings::IniFormat).value("language").toString(),
                 QStringLiteral("True"));
        Editor next(settings_);
        next.window.load();
        QVERIFY(next.window.findChild<QAction*>("SetLangDeutsch")->isChecked());
        next.window.findChild<QAction*>("SetLangEnglish")->trigger();
        QCOMPARE(yesText(), QStringLiteral("&Yes"));
        next.window.close();  // stored over the earlier choice
        QCOMPARE(QSettings(settings_, QSettings::IniFormat).value("language").toString(),
                 QStringLiteral("False"));
    }

    // Edits are asked about before the window closes; No keeps it open, and Revert is usable
    // while they last. The first panels name the file and its sum.
    void unsavedEditsAskBeforeClosingAndRevertUndoesThem()
    {
        openHd3870();
        QCOMPARE(window().statusPanel(1)->text(), QStringLiteral("hd3870.rom"));
        QVERIFY(window().statusPanel(2)->text().startsWith("Checksum-16: "));
        QTest::keyClick(window().slider(4), Qt::Key_Up);
        window().close();
        QVERIFY(window().isVisible());
        action("EXITProgramm")->trigger();
        QVERIFY(window().isVisible());
        action("ROMRevert")->trigger();
        QCOMPARE(window().slider(4)->mhz(), 775);
        QVERIFY(!action("ROMRevert")->isEnabled());
    }

    void compareShowsItsTable()
    {
        QVERIFY(!action("ROMCompare")->isEnabled());
        openHd3870();
        fixtures::ImageRecipe faster;
        faster.entries[3].gpuClock = 80000;
        editor_->platform.script.openDialogAnswers.push_back(
            writeImage(folder_.path(), "read.rom", faster));
        int rows = 0;
        whenModalShown([&rows](QWidget* modal) {
            if (auto* shown = qobject_cast<ComparisonWindow*>(modal))
                rows = shown->table()->rowCount();
            modal->close();
        });
        action("ROMCompare")->trigger();
        QVERIFY(rows > 20);
    }
};

QTEST_MAIN(Form1WiringTest)
#include "form1_wiring_test.moc"
