#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace clockvane::ui {

namespace {

struct QtTexts {
    QTranslator german;
    bool loaded = false;
    bool installed = false;
    UiLanguage language = UiLanguage::English;
};

QtTexts& qtTexts()
{
    static QtTexts texts;
    return texts;
}

}  // namespace

bool useQtTexts(UiLanguage language)
{
    QtTexts& texts = qtTexts();
    texts.language = language;
    const bool wantGerman = language == UiLanguage::German;
    if (wantGerman && !texts.loaded) {
        texts.loaded = texts.german.load(QLocale(QLocale::German, QLocale::Germany),
                                         QStringLiteral("qtbase"), QStringLiteral("_"),
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    if (wantGerman && texts.loaded && !texts.installed) {
        texts.installed = QCoreApplication::installTranslator(&texts.german);
    } else if (!wantGerman && texts.installed) {
        QCoreApplication::removeTranslator(&texts.german);
        texts.installed = false;
    }
    return wantGerman == texts.installed;
}

bool qtTextsDifferFromDesktop()
{
    const QLocale::Language program =
        qtTexts().language == UiLanguage::German ? QLocale::German : QLocale::English;
    return QLocale::system().language() != program;
}

}  // namespace clockvane::ui
