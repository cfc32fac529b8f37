// The Qt side of the platform services: texts, filters, colours, settings, waits and Timer1.
#include <ctime>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>
#include <sys/stat.h>

#include "ui/command_line.h"
#include "ui/qt_platform.h"
#include "ui/qt_text.h"
#include "ui/shell_open.h"

using namespace clockvane;
using namespace clockvane::ui;

class QtPlatformTest : public QObject {
    Q_OBJECT

private slots:
    void editorCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("file");
        using Kind = EditorCommand::Kind;
        QTest::newRow("nothing") << QStringList{} << int(Kind::Open) << QString();
        QTest::newRow("a file") << QStringList{"card.rom"} << int(Kind::Open) << "card.rom";
        QTest::newRow("a file named like an option")
            << QStringList{"--", "-v.rom"} << int(Kind::Open) << "-v.rom";
        QTest::newRow("--help") << QStringList{"--help"} << int(Kind::Help) << QString();
        QTest::newRow("-h") << QStringList{"-h", "card.rom"} << int(Kind::Help) << QString();
        QTest::newRow("--version") << QStringList{"--version"} << int(Kind::Version) << QString();
        QTest::newRow("-v") << QStringList{"-v"} << int(Kind::Version) << QString();
        QTest::newRow("two files")
            << QStringList{"a.rom", "b.rom"} << int(Kind::Error) << QString();
        QTest::newRow("unknown option") << QStringList{"--json"} << int(Kind::Error) << QString();
    }
    void editorCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, kind);
        QFETCH(QString, file);
        const EditorCommand command =
            readEditorCommand(QStringList{QStringLiteral("clockvane-editor")} + arguments);
        QCOMPARE(int(command.kind), kind);
        QCOMPARE(command.file, file);
        QCOMPARE(command.error.isEmpty(), kind != int(EditorCommand::Kind::Error));
    }

    void aboutAddressFromTheProgramFolder_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expected");
        QTest::newRow("installed README")
            << "../share/doc/clockvane/README.md"
            << "file:///home/user/.local/share/doc/clockvane/README.md";
        QTest::newRow("absolute path") << "/usr/share/doc/clockvane/README.md"
                                       << "file:///usr/share/doc/clockvane/README.md";
        QTest::newRow("web page") << "https://orvanta.example/clockvane"
                                  << "https://orvanta.example/clockvane";
    }
    void aboutAddressFromTheProgramFolder()
    {
        QFETCH(QString, address);
        QFETCH(QString, expected);
        QCOMPARE(addressFromProgramFolder(address, QStringLiteral("/home/user/.local/bin")),
                 QUrl(expected));
    }

    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("editor's filter") << "BIOS ROM files (*.rom;*.bin)|*.rom;*.bin"
                                         << QStringList{"BIOS ROM files (*.rom *.bin *.ROM *.BIN)"};
        QTest::newRow("upper-case pattern")
            << "Images|*.ROM" << QStringList{"Images (*.rom *.ROM)"};
        QTest::newRow("two pairs")
            << "ROM|*.rom|All files|*.*" << QStringList{"ROM (*.rom *.ROM)", "All files (*.*)"};
        QTest::newRow("no pairs") << "" << QStringList{"*"};
    }
    void nameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(qtNameFilters(fromQt(filter)), expected);
    }

    void carriageReturnsBecomeLineBreaks()
    {
        QCOMPARE(displayText("Warning:\r\rline\rlast"), QStringLiteral("Warning:\n\nline\nlast"));
        QCOMPARE(displayText("a\r\nb"), QStringLiteral("a\nb"));
        QCOMPARE(displayText("Öffne 3870 X² BIOS"), QStringLiteral("Öffne 3870 X² BIOS"));
    }

    void labelColours()
    {
        QPalette system;
        system.setColor(QPalette::Button, QColor(1, 2, 3));
        system.setColor(QPalette::ButtonText, QColor(4, 5, 6));
        system.setColor(QPalette::HighlightedText, QColor(7, 8, 9));
        QCOMPARE(labelColour(app::LabelColour::ButtonFace, system), QColor(1, 2, 3));
        QCOMPARE(labelColour(app::LabelColour::ButtonText, system), QColor(4, 5, 6));
        QCOMPARE(labelColour(app::LabelColour::HighlightText, system), QColor(7, 8, 9));
        QCOMPARE(labelColour(app::LabelColour::Yellow, system), QColor(0xFF, 0xFF, 0x00));
        QCOMPARE(labelColour(app::LabelColour::Red, system), QColor(0xFF, 0x00, 0x00));
        QCOMPARE(labelColour(app::LabelColour::LightGrey, system), QColor(0xC0, 0xC0, 0xC0));
    }

    void settingsRootSection()
    {
        QCOMPARE(settingsKey("\\", "language"), QStringLiteral("language"));
        QCOMPARE(settingsKey("Options", "language"), QStringLiteral("Options/language"));
    }

    // The program's store: the desktop's per-user settings of "Orvanta Clockvane" (the test
    // runs with XDG_CONFIG_HOME pointing into the build folder).
    void settingsInTheUserStore()
    {
        QtPlatform platform;
        QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Orvanta Clockvane",
                        "Orvanta Clockvane");
        store.clear();
        store.sync();
        QCOMPARE(platform.readSetting("Orvanta Clockvane", "\\", "language"), std::nullopt);

        platform.writeSetting("Orvanta Clockvane", "\\", "language", "True");
        QCOMPARE(platform.readSetting("Orvanta Clockvane", "\\", "language"),
                 std::optional<std::string>("True"));
        store.sync();
        QCOMPARE(store.value("language").toString(), QStringLiteral("True"));
        QVERIFY(store.fileName().contains("Orvanta Clockvane"));

        platform.writeSetting("Orvanta Clockvane", "\\", "language", "False");
        QCOMPARE(platform.readSetting("Orvanta Clockvane", "\\", "language"),
                 std::optional<std::string>("False"));
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

    void decimalSeparatorFollowsTheLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<char>("separator");
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << ',';
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << '.';
        QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << ',';
    }
    void decimalSeparatorFollowsTheLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(char, separator);
        const QLocale before;
        QLocale::setDefault(locale);
        const char shown = QtPlatform().decimalSeparator();
        QLocale::setDefault(before);
        QCOMPARE(shown, separator);
    }

    void waitOfZeroReturnsWithoutProcessingEvents()
    {
        QtPlatform platform;
        bool ran = false;
        QTimer::singleShot(0, this, [&] { ran = true; });
        platform.waitSeconds(0);
        platform.waitSeconds(-1);
        QVERIFY(!ran);
        QTRY_VERIFY(ran);
    }

    void waitProcessesEventsWithoutSpinning()
    {
        QtPlatform platform;
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(20);
        QElapsedTimer wall;
        const std::clock_t cpuStart = std::clock();
        wall.start();
        platform.waitSeconds(0.3);
        const double cpuMs = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        QVERIFY2(wall.elapsed() >= 295, qPrintable(QString::number(wall.elapsed())));
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));   // events ran meanwhile
        QVERIFY2(cpuMs < 150, qPrintable(QString::number(cpuMs)));  // and nothing spun
    }

    void timeScaleShortensWaits()
    {
        QtPlatform platform({.timeScale = 0.1, .settingsFile = {}});
        QElapsedTimer wall;
        wall.start();
        platform.waitSeconds(1.0);
        QVERIFY(wall.elapsed() >= 95);
        QVERIFY2(wall.elapsed() < 700, qPrintable(QString::number(wall.elapsed())));
        QCOMPARE(platform.timer1().interval(), 300);
    }

    void timer1IsSingleShotOfThreeSeconds()
    {
        QtPlatform platform;
        QCOMPARE(platform.timer1().interval(), 3000);
        QVERIFY(platform.timer1().isSingleShot());
        QVERIFY(!platform.timer1().isActive());
    }

    void startingTimer1WhileItRunsLeavesItRunning()
    {
        QtPlatform platform({.timeScale = 0.1, .settingsFile = {}});
        QSignalSpy fired(&platform, &QtPlatform::timer1Fired);
        platform.startTimer1();
        QTest::qWait(150);
        const int remaining = platform.timer1().remainingTime();
        platform.startTimer1();  // must not restart the 300 ms
        QVERIFY(platform.timer1().remainingTime() <= remaining);
        QTRY_COMPARE_WITH_TIMEOUT(fired.count(), 1, 1000);
        QTest::qWait(400);
        QCOMPARE(fired.count(), 1);  // once per start
        QVERIFY(!platform.timer1().isActive());
    }
};

QTEST_MAIN(QtPlatformTest)
#include "qt_platform_test.moc"
