// The desktop's parts on their own: the platform services (command line, texts, filters,
// colours, settings, waits, Timer1), the modal windows showing the controller's texts and
// handing its answers back, and the window's building blocks.
#include <ctime>

#include <QtTest>
#include <QtWidgets>
#include <sys/stat.h>

#include "fixtures/modal_driver.h"
#include "ui/clock_column.h"
#include "ui/clock_slider.h"
#include "ui/command_line.h"
#include "ui/file_dialogs.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/link_bracket.h"
#include "ui/message_box.h"
#include "ui/qt_platform.h"
#include "ui/qt_text.h"
#include "ui/shell_open.h"
#include "ui/svg_picture.h"
#include "ui/vcore_box.h"

using namespace clockvane;
using namespace clockvane::ui;
using testing::whenModalShown;
using Icon = app::MessageIcon;
using Buttons = app::MessageButtons;

class PartsTest : public QObject {
    Q_OBJECT

private slots:
    void editorCommandLine()
    {
        using Kind = EditorCommand::Kind;
        // The file comes back as the argument's own bytes, UTF-8 or not. The long --help and
        // --version are tried on the editor itself, run without a display.
        const std::tuple<std::vector<std::string>, Kind, std::string> cases[] = {
            {{}, Kind::Open, ""},
            {{"caf\xE9.rom"}, Kind::Open, "caf\xE9.rom"},
            {{"--", "-v.rom"}, Kind::Open, "-v.rom"},
            {{"--", "--"}, Kind::Open, "--"},
            {{"-h", "card.rom"}, Kind::Help, ""},
            {{"-v"}, Kind::Version, ""},
            {{"a.rom", "b.rom"}, Kind::Error, ""},
            {{"--json"}, Kind::Error, ""},
        };
        for (auto [arguments, kind, file] : cases) {
            arguments.insert(arguments.begin(), "clockvane-editor");
            std::vector<char*> argv;
            QStringList decoded;
            for (std::string& argument : arguments) {
                argv.push_back(argument.data());
                decoded.append(QString::fromLocal8Bit(argument));
            }
            const EditorCommand command = readEditorCommand(decoded);
            QCOMPARE(int(command.kind), int(kind));
            const std::string raw = command.file.isEmpty()
                                        ? ""
                                        : rawArgument(int(argv.size()), argv.data(), command.file);
            QCOMPARE(raw, file);
            QCOMPARE(command.error.isEmpty(), kind != Kind::Error);
        }
    }

    void textsFiltersColoursAndAddresses()
    {
        // Where the address leads is the controller tests'; here a file or a web address.
        QCOMPARE(addressFromProgramFolder("../share/doc/clockvane/README.md", "/home/u/.local/bin"),
                 QUrl("file:///home/u/.local/share/doc/clockvane/README.md"));
        QCOMPARE(addressFromProgramFolder("https://orvanta.example/c", "/x"),
                 QUrl("https://orvanta.example/c"));

        QCOMPARE(qtNameFilters(fromQt("ROM|*.rom|All files|*.*")),
                 (QStringList{"ROM (*.rom *.ROM)", "All files (*.*)"}));
        QCOMPARE(qtNameFilters(""), QStringList{"*"});

        QCOMPARE(settingsKey("Options", "language"), QStringLiteral("Options/language"));

        QPalette system;
        system.setColor(QPalette::Button, QColor(1, 2, 3));
        system.setColor(QPalette::ButtonText, QColor(4, 5, 6));
        QCOMPARE(labelColour(app::LabelColour::ButtonFace, system), QColor(1, 2, 3));
        QCOMPARE(labelColour(app::LabelColour::ButtonText, system), QColor(4, 5, 6));
        QCOMPARE(labelColour(app::LabelColour::Yellow, system), QColor(0xFF, 0xFF, 0x00));

        // The separator follows the locale of the moment (the window tests run in German).
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(QtPlatform().decimalSeparator(), '.');
        QLocale::setDefault(before);
    }

    // A settings file that is a FIFO would block the start for ever; anything but a regular
    // file counts as no setting, and closing the window leaves it as it was.
    void settingsInANonRegularFileAreIgnored()
    {
        const QString fifo = QDir::temp().filePath("clockvane-settings-fifo.conf");
        QFile::remove(fifo);
        QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        QtPlatform platform({.timeScale = 0.1, .settingsFile = fifo});
        QCOMPARE(platform.readSetting("Orvanta Clockvane", "\\", "language"), std::nullopt);
        platform.writeSetting("Orvanta Clockvane", "\\", "language", "True");
        struct stat status {};
        QCOMPARE(::stat(fifo.toLocal8Bit().constData(), &status), 0);
        QVERIFY(S_ISFIFO(status.st_mode));
        QFile::remove(fifo);
    }

    // Waits keep the window alive without spinning; Timer1 fires once, 3 s after its start.
    void waitsAndTimer1()
    {
        QtPlatform platform;
        QCOMPARE(platform.timer1().interval(), 3000);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(20);
        platform.waitSeconds(0);
        QCOMPARE(ticks, 0);
        QElapsedTimer wall;
        const std::clock_t cpuStart = std::clock();
        wall.start();
        platform.waitSeconds(0.3);
        const double cpuMs = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        QVERIFY2(wall.elapsed() >= 295, qPrintable(QString::number(wall.elapsed())));
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));   // events ran meanwhile
        QVERIFY2(cpuMs < 150, qPrintable(QString::number(cpuMs)));  // and nothing spun

        QtPlatform fast({.timeScale = 0.1, .settingsFile = {}});
        QSignalSpy fired(&fast, &QtPlatform::timer1Fired);
        fast.startTimer1();
        QTest::qWait(150);
        const int remaining = fast.timer1().remainingTime();
        fast.startTimer1();  // must not restart the 300 ms
        QVERIFY(fast.timer1().remainingTime() <= remaining);
        QTest::qWait(600);
        QCOMPARE(fired.count(), 1);
    }

    void messageBoxLooks()
    {
        const std::tuple<Icon, Buttons, QMessageBox::Icon, int, QMessageBox::StandardButton>
            cases[] = {
                {Icon::Exclamation, Buttons::Ok, QMessageBox::Warning, QMessageBox::Ok,
                 QMessageBox::Ok},
                {Icon::Information, Buttons::YesNo, QMessageBox::Information,
                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes},
                {Icon::Critical, Buttons::YesNoDefaultNo, QMessageBox::Critical,
                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No},
            };
        for (const auto& [icon, buttons, qtIcon, qtButtons, qtDefault] : cases) {
            const auto box =
                buildMessageBox("Takt!\r\rBitte <prüfen>", "Titel", icon, buttons, nullptr);
            QCOMPARE(box->icon(), qtIcon);
            QCOMPARE(int(box->standardButtons()), qtButtons);
            QCOMPARE(box->standardButton(box->defaultButton()), qtDefault);
            QCOMPARE(box->text(), QStringLiteral("Takt!\n\nBitte <prüfen>"));
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->windowTitle(), QStringLiteral("Titel"));
        }
    }

    void fileDialogsFollowTheRequest()
    {
        QTemporaryDir dir;
        const std::string filter = "BIOS ROM files (*.rom;*.bin)|*.rom;*.bin";
        const auto open = buildFileDialog(
            {"Please select", filter, fromQt(dir.filePath("c.rom")), app::kOpenDialogFlags},
            FileDialogKind::Open, nullptr);
        QCOMPARE(open->windowTitle(), QStringLiteral("Please select"));
        QCOMPARE(open->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(open->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(open->nameFilters(), QStringList{"BIOS ROM files (*.rom *.bin *.ROM *.BIN)"});
        QCOMPARE(QDir(open->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        const auto save = buildFileDialog(
            {"t", filter, fromQt(dir.filePath("card_mod.rom")), app::kSaveDialogFlags},
            FileDialogKind::Save, nullptr);
        QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(!save->testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(QFileInfo(save->selectedFiles().value(0)).fileName(),
                 QStringLiteral("card_mod.rom"));

        // A file typed into the box comes back; a cancelled dialog gives nothing.
        QtPlatform platform;
        const QString typed = dir.filePath("HD3870.ROM");
        QFile(typed).open(QIODevice::WriteOnly);
        whenModalShown([&](QWidget* modal) {
            modal->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
            static_cast<QDialog*>(modal)->accept();
        });
        QCOMPARE(platform.showOpenDialog({"t", filter, "", app::kOpenDialogFlags}),
                 std::optional<std::string>(fromQt(typed)));
        whenModalShown([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        QCOMPARE(platform.showOpenDialog({"t", filter, "", app::kOpenDialogFlags}), std::nullopt);
        // A proposed name that is not UTF-8, kept by the user, comes back as its own bytes.
        const std::string odd = dir.path().toStdString() + "/caf\xE9_mod.rom";
        whenModalShown([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
        QCOMPARE(platform.showSaveDialog({"t", filter, odd, app::kSaveDialogFlags}),
                 std::optional<std::string>(odd));
    }

    void memoryPromptAndAboutShowTheirTexts()
    {
        const app::MemoryPromptTexts prompt{" RAM not found", "Please select.\rImportant!!!",
                                            "256 MB", "512 MB"};
        Form3 form3(prompt);
        QCOMPARE(form3.windowTitle() + form3.findChild<QLabel*>("Label1")->text() +
                     form3.findChild<QPushButton*>("btn_256mb")->text() +
                     form3.findChild<QPushButton*>("btn_512mb")->text(),
                 QStringLiteral(" RAM not foundPlease select.\nImportant!!!256 MB512 MB"));
        QtPlatform platform;
        whenModalShown([&](QWidget* modal) {
            QTest::mouseClick(modal->findChild<QPushButton*>("btn_512mb"), Qt::LeftButton);
        });
        QCOMPARE(platform.askMemorySize(prompt), app::MemoryAnswer::MB512);
        // Neither size is a safe guess: Escape and the close box leave the prompt open.
        bool stayedOpen = false;
        whenModalShown([&](QWidget* modal) {
            QTest::keyClick(modal, Qt::Key_Escape);
            modal->close();
            stayedOpen = modal->isVisible();
            QTest::mouseClick(modal->findChild<QPushButton*>("btn_256mb"), Qt::LeftButton);
        });
        QCOMPARE(platform.askMemorySize(prompt), app::MemoryAnswer::MB256);
        QVERIFY(stayedOpen);

        const app::AboutTexts about{" About", "Risk.\rNot responsible", "1. Save\r2. Open",
                                    "V0.9 Beta"};
        Form2 form2(about);
        QCOMPARE(form2.windowTitle() + form2.findChild<QLabel*>("Label1_0")->text() +
                     form2.findChild<QLabel*>("Label1_1")->text() +
                     form2.findChild<QLabel*>("Label2")->text(),
                 QStringLiteral(" AboutRisk.\nNot responsible1. Save\n2. OpenV0.9 Beta"));
        // A click on the picture reaches the platform; the window stays open.
        QSignalSpy clicked(&platform, &QtPlatform::aboutPictureClicked);
        bool stillOpen = false;
        whenModalShown([&](QWidget* modal) {
            QTest::mouseClick(qobject_cast<Form2*>(modal)->picture(), Qt::LeftButton);
            stillOpen = modal->isVisible();
            modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
        });
        platform.showAbout(about);
        QCOMPARE(clicked.count(), 1);
        QVERIFY(stillOpen);
    }

    // Typed and dropped text gets in exactly as far as the key filter admits each character, at
    // the cursor. Which keys the filter is asked about is the controller tests'.
    void keyFilterDecidesWhatIsTypedAndPasted()
    {
        for (const QString route : {"typed", "drop"}) {
            VcoreBox box;
            box.setEditText(QStringLiteral("1"));
            box.lineEdit()->setCursorPosition(1);
            QList<int> asked;
            box.setKeyFilter([&](int key) {
                asked.append(key);
                return key == ',' || key == 8 || (key >= '0' && key <= '9');
            });
            QSignalSpy edited(&box, &VcoreBox::textChangedByUser);
            const QString text = QStringLiteral("a,2\n5x");
            if (route == "typed") QTest::keyClicks(&box, "a,25x");
            if (route == "drop") {
                QMimeData data;
                data.setText(text);
                const QPoint end = box.lineEdit()->rect().center() + QPoint(200, 0);
                QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(box.lineEdit(), &enter);
                QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(box.lineEdit(), &drop);
            }
            QCOMPARE(box.currentText(), QStringLiteral("1,25"));
            QCOMPARE(asked, (QList<int>{'a', ',', '2', '5', 'x'}));  // a line break is no key
            QCOMPARE(edited.last().at(0).toString(), QStringLiteral("1,25"));
        }
    }

    // The slider draws its own focus frame; the box reports focus lost to another control only.
    void focus()
    {
        QWidget window;
        auto* slider = new ClockSlider(&window);
        auto* box = new VcoreBox(&window);
        box->move(40, 0);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy lost(box, &VcoreBox::focusLost);
        box->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(box->hasFocus());
        const QImage unfocused = slider->grab().toImage();
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(box, &popup);
        QCOMPARE(lost.count(), 0);
        slider->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(lost.count(), 1);
        QVERIFY(slider->grab().toImage() != unfocused);
    }
};

QTEST_MAIN(PartsTest)
#include "parts_test.moc"
