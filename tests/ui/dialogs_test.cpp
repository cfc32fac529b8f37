// The modal windows: message boxes, the two file dialogs, the memory-size prompt and About.
#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "modal_driver.h"
#include "ui/file_dialogs.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/message_box.h"
#include "ui/qt_platform.h"
#include "ui/qt_text.h"
#include "ui/svg_picture.h"

using namespace clockvane;
using namespace clockvane::ui;
using testing::whenModalShown;

Q_DECLARE_METATYPE(app::MessageIcon)
Q_DECLARE_METATYPE(app::MessageButtons)

namespace {

app::AboutTexts englishAbout()
{
    return {
        " About the Editor",
        "You are using this editor at your own risk.\rThe author of this tool is NOT responsible",
        "1. Save your card's original BIOS with WinFlash\r2. Open the original BIOS.ROM",
        "V0.9 Beta"};
}

app::MemoryPromptTexts englishPrompt()
{
    return {" Amount of VGA RAM not found",
            "Please select the right amount of RAM of your ATI 38xx.\rThis is very important!!!",
            "256 MB", "512 MB"};
}

// What the user types into the dialog's file name box (selectFile does not overwrite the box
// while it has the focus, as a user would expect).
void typeFileName(QFileDialog* dialog, const QString& name)
{
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(edit);
    edit->setText(name);
}

void writeFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("rom");
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxLooks_data()
    {
        QTest::addColumn<app::MessageIcon>("icon");
        QTest::addColumn<app::MessageButtons>("buttons");
        QTest::addColumn<int>("qtIcon");
        QTest::addColumn<int>("qtButtons");
        QTest::addColumn<int>("qtDefault");
        QTest::newRow("exclamation")
            << app::MessageIcon::Exclamation << app::MessageButtons::Ok << int(QMessageBox::Warning)
            << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("information")
            << app::MessageIcon::Information << app::MessageButtons::Ok
            << int(QMessageBox::Information) << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("critical") << app::MessageIcon::Critical << app::MessageButtons::Ok
                                  << int(QMessageBox::Critical) << int(QMessageBox::Ok)
                                  << int(QMessageBox::Ok);
        QTest::newRow("question") << app::MessageIcon::Information << app::MessageButtons::YesNo
                                  << int(QMessageBox::Information)
                                  << int(QMessageBox::Yes | QMessageBox::No)
                                  << int(QMessageBox::Yes);
        QTest::newRow("question, No default")
            << app::MessageIcon::Exclamation << app::MessageButtons::YesNoDefaultNo
            << int(QMessageBox::Warning) << int(QMessageBox::Yes | QMessageBox::No)
            << int(QMessageBox::No);
    }
    void messageBoxLooks()
    {
        QFETCH(app::MessageIcon, icon);
        QFETCH(app::MessageButtons, buttons);
        QFETCH(int, qtIcon);
        QFETCH(int, qtButtons);
        QFETCH(int, qtDefault);
        const auto box =
            buildMessageBox("Takt zu hoch!\r\rBitte <prüfen>", "Titel", icon, buttons, nullptr);
        QCOMPARE(int(box->icon()), qtIcon);
        QCOMPARE(int(box->standardButtons()), qtButtons);
        QCOMPARE(int(box->standardButton(box->defaultButton())), qtDefault);
        QCOMPARE(box->text(), QStringLiteral("Takt zu hoch!\n\nBitte <prüfen>"));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->windowTitle(), QStringLiteral("Titel"));
    }

    void messageBoxAnswers_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << "yes" << int(app::MessageAnswer::Yes);
        QTest::newRow("no") << "no" << int(app::MessageAnswer::No);
        QTest::newRow("escape") << "escape" << int(app::MessageAnswer::No);
        QTest::newRow("close box") << "close" << int(app::MessageAnswer::No);
    }
    void messageBoxAnswers()
    {
        QFETCH(QString, action);
        QFETCH(int, answer);
        QtPlatform platform;
        QString shownText;
        whenModalShown([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            shownText = box->text();
            if (action == "yes") box->button(QMessageBox::Yes)->click();
            if (action == "no") box->button(QMessageBox::No)->click();
            if (action == "escape") QTest::keyClick(box, Qt::Key_Escape);
            if (action == "close") box->close();
        });
        const auto result =
            platform.messageBox("Korrigieren?\rJa oder Nein", "Checksum",
                                app::MessageIcon::Information, app::MessageButtons::YesNo);
        QCOMPARE(int(result), answer);
        QCOMPARE(shownText, QStringLiteral("Korrigieren?\nJa oder Nein"));
    }

    void okBoxAnswersOk()
    {
        QtPlatform platform;
        whenModalShown([](QWidget* modal) { modal->close(); });
        QCOMPARE(platform.messageBox("x", "t", app::MessageIcon::Critical, app::MessageButtons::Ok),
                 app::MessageAnswer::Ok);
    }

    void openDialogSetup()
    {
        QTemporaryDir dir;
        const QString proposed = dir.filePath("card.rom");
        const app::FileDialogRequest request{"Please select your BIOS.ROM file",
                                             "BIOS ROM files (*.rom;*.bin)|*.rom;*.bin",
                                             fromQt(proposed), app::kOpenDialogFlags};
        const auto dialog = buildFileDialog(request, FileDialogKind::Open, nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Please select your BIOS.ROM file"));
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog->nameFilters(), QStringList{"BIOS ROM files (*.rom *.bin *.ROM *.BIN)"});
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
    }

    void saveDialogSetup()
    {
        QTemporaryDir dir;
        const app::FileDialogRequest request{"Please enter a new filename for the modded BIOS.ROM",
                                             "BIOS ROM files (*.rom;*.bin)|*.rom;*.bin",
                                             fromQt(dir.filePath("card_mod.rom")),
                                             app::kSaveDialogFlags};
        const auto dialog = buildFileDialog(request, FileDialogKind::Save, nullptr);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);
        QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(),
                 QStringLiteral("card_mod.rom"));
    }

    void openDialogReturnsTheChosenFile()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("HD3870.ROM");
        writeFile(file);
        QtPlatform platform;
        whenModalShown([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            typeFileName(dialog, file);
            static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
        });
        const auto chosen = platform.showOpenDialog(
            {"t", "BIOS ROM files (*.rom;*.bin)|*.rom;*.bin", "", app::kOpenDialogFlags});
        QCOMPARE(chosen, std::optional<std::string>(fromQt(file)));
    }

    void cancelledDialogReturnsNothing()
    {
        QtPlatform platform;
        whenModalShown([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        QCOMPARE(platform.showOpenDialog({"t", "ROM|*.rom", "", app::kOpenDialogFlags}),
                 std::nullopt);
    }

    void saveIntoAMissingFolderIsRefused()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("gone/card_mod.rom");
        QtPlatform platform;
        QString notice;
        whenModalShown([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            whenModalShown(
                [&](QWidget* box) {
                    notice = qobject_cast<QMessageBox*>(box)->text();
                    box->close();
                    // The dialog is shown again; now the user gives up.
                    whenModalShown([](QWidget* again) { qobject_cast<QDialog*>(again)->reject(); });
                },
                dialog);
            typeFileName(dialog, missing);
            static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
        });
        const auto chosen =
            platform.showSaveDialog({"t", "ROM|*.rom", "card_mod.rom", app::kSaveDialogFlags});
        QCOMPARE(chosen, std::nullopt);
        QVERIFY2(notice.contains(dir.filePath("gone")), qPrintable(notice));
    }

    void saveOverAnExistingFileAsksFirst()
    {
        QTemporaryDir dir;
        const QString existing = dir.filePath("card_mod.rom");
        writeFile(existing);
        QtPlatform platform;
        bool asked = false;
        whenModalShown([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            whenModalShown(
                [&](QWidget* question) {
                    asked = true;
                    qobject_cast<QMessageBox*>(question)->button(QMessageBox::Yes)->click();
                },
                dialog);
            static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
        });
        const auto chosen =
            platform.showSaveDialog({"t", "ROM|*.rom", fromQt(existing), app::kSaveDialogFlags});
        QVERIFY(asked);
        QCOMPARE(chosen, std::optional<std::string>(fromQt(existing)));
    }

    void memoryPromptShowsItsTexts()
    {
        Form3 prompt(englishPrompt());
        QCOMPARE(prompt.windowTitle(), QStringLiteral(" Amount of VGA RAM not found"));
        QCOMPARE(prompt.findChild<QLabel*>("Label1")->text(),
                 QStringLiteral("Please select the right amount of RAM of your ATI 38xx.\n"
                                "This is very important!!!"));
        QCOMPARE(prompt.findChild<QPushButton*>("btn_256mb")->text(), QStringLiteral("256 MB"));
        QCOMPARE(prompt.findChild<QPushButton*>("btn_512mb")->text(), QStringLiteral("512 MB"));
        QCOMPARE(prompt.answer(), app::MemoryAnswer::Closed);
    }

    void memoryPromptAnswers_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");  // -1: none
        QTest::newRow("256 MB") << "btn_256mb" << 1;
        QTest::newRow("512 MB") << "btn_512mb" << 0;
        QTest::newRow("close box") << "" << -1;
    }
    void memoryPromptAnswers()
    {
        QFETCH(QString, button);
        QFETCH(int, answer);
        QtPlatform platform;
        whenModalShown([&](QWidget* modal) {
            QVERIFY(qobject_cast<Form3*>(modal));
            if (button.isEmpty()) {
                modal->close();
            } else {
                QTest::mouseClick(modal->findChild<QPushButton*>(button), Qt::LeftButton);
            }
        });
        const app::MemoryAnswer result = platform.askMemorySize(englishPrompt());
        const app::MemoryAnswer expected = answer < 0    ? app::MemoryAnswer::Closed
                                           : answer == 1 ? app::MemoryAnswer::MB256
                                                         : app::MemoryAnswer::MB512;
        QCOMPARE(result, expected);
    }

    void aboutShowsItsTexts()
    {
        Form2 about(englishAbout());
        QCOMPARE(about.windowTitle(), QStringLiteral(" About the Editor"));
        QCOMPARE(about.findChild<QLabel*>("Label1_0")->text(),
                 QStringLiteral("You are using this editor at your own risk.\n"
                                "The author of this tool is NOT responsible"));
        QCOMPARE(about.findChild<QLabel*>("Label1_1")->text(),
                 QStringLiteral("1. Save your card's original BIOS with WinFlash\n"
                                "2. Open the original BIOS.ROM"));
        QCOMPARE(about.findChild<QLabel*>("Label2")->text(), QStringLiteral("V0.9 Beta"));
        QVERIFY(about.picture()->isValidPicture());
    }

    void aboutPictureClickReachesThePlatformAndKeepsTheWindowOpen()
    {
        QtPlatform platform;
        QSignalSpy clicked(&platform, &QtPlatform::aboutPictureClicked);
        bool stillOpen = false;
        whenModalShown([&](QWidget* modal) {
            auto* about = qobject_cast<Form2*>(modal);
            QVERIFY(about);
            QTest::mouseClick(about->picture(), Qt::LeftButton);
            stillOpen = about->isVisible();
            about->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
        });
        platform.showAbout(englishAbout());
        QCOMPARE(clicked.count(), 1);
        QVERIFY(stillOpen);
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
