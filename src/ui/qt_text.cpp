#include "ui/qt_text.h"

#include <QRegularExpression>

#include "text/line_breaks.h"

namespace clockvane::ui {

QString toQt(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string fromQt(const QString& text) { return text.toUtf8().toStdString(); }

QString displayText(const std::string& text)
{
    return toQt(texts::withLineBreaks(text, texts::LineBreak::LineFeed));
}

QColor labelColour(app::LabelColour colour, const QPalette& system)
{
    switch (colour) {
    case app::LabelColour::ButtonFace: return system.color(QPalette::Active, QPalette::Button);
    case app::LabelColour::ButtonText: return system.color(QPalette::Active, QPalette::ButtonText);
    case app::LabelColour::HighlightText:
        return system.color(QPalette::Active, QPalette::HighlightedText);
    case app::LabelColour::Yellow: return QColor(0xFF, 0xFF, 0x00);
    case app::LabelColour::Red: return QColor(0xFF, 0x00, 0x00);
    case app::LabelColour::LightGrey: return QColor(0xC0, 0xC0, 0xC0);
    }
    return system.color(QPalette::Active, QPalette::ButtonText);
}

QStringList qtNameFilters(const std::string& filter)
{
    const QStringList parts = toQt(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // A description often repeats its patterns in parentheses; Qt shows its own list.
        static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        QString description = parts[i];
        description.remove(trailingPatterns);

        QStringList lower;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty() && !lower.contains(trimmed.toLower()))
                lower.append(trimmed.toLower());
        }
        // Both spellings: lower case first, then the same patterns in upper case.
        QStringList patterns = lower;
        for (const QString& pattern : lower) {
            if (!patterns.contains(pattern.toUpper())) patterns.append(pattern.toUpper());
        }
        filters.append(description.trimmed() + QStringLiteral(" (") +
                       patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    if (filters.isEmpty()) filters.append(QStringLiteral("*"));
    return filters;
}

}  // namespace clockvane::ui
