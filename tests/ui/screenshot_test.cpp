// Pictures of the editor for the README and for review: the window empty, with an image, in
// German, and the two small windows. They land in <build>/screenshots, with "@2x" in the name
// when the test runs at twice the scale. The checks make sure nothing is cut off at any scale.
#include <QtTest>
#include <QtWidgets>

#include "fixtures/modal_driver.h"
#include "fixtures/scripted_platform.h"
#include "ui/form2.h"
#include "ui/form3.h"

using namespace clockvane;
using namespace clockvane::ui;
using namespace clockvane::ui::testing;

namespace {

// Every single-line label shows its whole text.
void verifyNothingCut(QWidget& top)
{
    for (QLabel* label : top.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&top) || label->wordWrap() || label->text().isEmpty()) continue;
        for (const QString& line : label->text().split(QLatin1Char('\n'))) {
            const int needed = label->fontMetrics().horizontalAdvance(line);
            QVERIFY2(needed <= label->contentsRect().width(),
                     qPrintable(QStringLiteral("%1 cut: \"%2\" needs %3 px, has %4")
                                    .arg(label->objectName(), line)
                                    .arg(needed)
                                    .arg(label->contentsRect().width())));
        }
    }
}

void save(QWidget& widget, const QString& name)
{
    QDir().mkpath(QStringLiteral(CLOCKVANE_SCREENSHOT_DIR));
    const qreal scale = widget.devicePixelRatioF();
    const QString path = QStringLiteral(CLOCKVANE_SCREENSHOT_DIR "/%1%2.png")
                             .arg(name, scale > 1.0 ? QStringLiteral("@2x") : QString());
    QVERIFY(widget.grab().save(path));
    const QImage written(path);
    QCOMPARE(written.width(), qRound(widget.width() * scale));
    QCOMPARE(written.height(), qRound(widget.height() * scale));
}

}  // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void mainWindow()
    {
        Editor editor(folder_.filePath("settings.ini"));
        editor.window.load();
        QVERIFY(QTest::qWaitForWindowExposed(&editor.window));
        // The whole window fits a 1280 x 800 laptop screen at this scale.
        QVERIFY(editor.window.width() <= 1280 && editor.window.height() <= 720);
        verifyNothingCut(editor.window);
        save(editor.window, "window-empty");
        const QSize empty = editor.window.size();

        editor.platform.script.openDialogAnswers.push_back(
            writeImage(folder_.path(), "hd3870.rom", {}));
        editor.window.findChild<QAction*>("ROMOpen")->trigger();
        QTRY_COMPARE(editor.window.statusPanel(3)->text(), QStringLiteral("Ready..."));
        QTest::qWait(50);
        verifyNothingCut(editor.window);
        save(editor.window, "window-hd3870");
        QCOMPARE(editor.window.size(), empty);  // an open does not make the window jump

        editor.window.findChild<QAction*>("SetLangDeutsch")->trigger();
        editor.window.findChild<QAction*>("Chk_UVD")->trigger();  // unlinked: UVD enabled
        QTest::qWait(50);  // let the layout follow the longer German captions
        verifyNothingCut(editor.window);
        save(editor.window, "window-german");
        QCOMPARE(editor.window.size(), empty);  // nor does the longer German
    }

    // The two small windows, shown as the program shows them.
    void aboutWindowAndMemoryPrompt()
    {
        Editor editor(folder_.filePath("settings.ini"));
        editor.window.load();
        const auto shoot = [](const char* name) {
            whenModalShown([name](QWidget* modal) {
                QTest::qWait(50);
                verifyNothingCut(*modal);
                save(*modal, name);
                // The memory prompt ends only by a button.
                if (auto* button = modal->findChild<QPushButton*>("btn_512mb")) {
                    button->click();
                } else {
                    modal->close();
                }
            });
        };
        shoot("about");
        editor.window.findChild<QAction*>("About")->trigger();
        editor.platform.script.openDialogAnswers.push_back(
            writeImage(folder_.path(), "nosize.rom", {.deviceId = "9505", .memoryText = ""}));
        shoot("memory-prompt");
        editor.window.findChild<QAction*>("ROMOpen")->trigger();
        QVERIFY(editor.controller.hasImage());
    }
};

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
