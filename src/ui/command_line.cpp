#include "ui/command_line.h"

#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>

#include "app/app_info.h"
#include "text/texts.h"

namespace clockvane::ui {

namespace {

constexpr int kExitUsage = 2;

QString text(std::string_view fixed)
{
    return QString::fromUtf8(fixed.data(), qsizetype(fixed.size()));
}

// The editor's options, described once for reading and for the help text.
struct Options {
    QCommandLineParser parser;
    // Not addHelpOption(): its --help-all would describe Qt's own options too.
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            text(texts::kEditorHelpOption)};
    QCommandLineOption version = parser.addVersionOption();

    Options()
    {
        parser.addOption(help);
        parser.setApplicationDescription(text(texts::kEditorDescription));
        parser.addPositionalArgument(QStringLiteral("FILE"), text(texts::kEditorFileArgument),
                                     QStringLiteral("[FILE]"));
    }
};

void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

}  // namespace

EditorCommand readEditorCommand(const QStringList& arguments)
{
    Options options;
    if (!options.parser.parse(arguments)) {
        return {EditorCommand::Kind::Error, {}, options.parser.errorText()};
    }
    if (options.parser.isSet(options.help)) return {EditorCommand::Kind::Help, {}, {}};
    if (options.parser.isSet(options.version)) return {EditorCommand::Kind::Version, {}, {}};
    const QStringList files = options.parser.positionalArguments();
    if (files.size() > 1) {
        return {EditorCommand::Kind::Error, {}, text(texts::kEditorOneFileOnly)};
    }
    return {EditorCommand::Kind::Open, files.isEmpty() ? QString() : files.front(), {}};
}

bool asksOnlyForText(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    const EditorCommand::Kind kind = readEditorCommand(arguments).kind;
    return kind == EditorCommand::Kind::Help || kind == EditorCommand::Kind::Version;
}

std::string rawArgument(int argc, char** argv, const QString& decoded)
{
    for (int i = argc - 1; i > 0; --i) {
        if (QString::fromLocal8Bit(argv[i]) == decoded) return argv[i];
    }
    return decoded.toLocal8Bit().toStdString();
}

int answerInText(const EditorCommand& command)
{
    Options options;
    switch (command.kind) {
    case EditorCommand::Kind::Help: print(stdout, options.parser.helpText()); return 0;
    case EditorCommand::Kind::Version:
        print(stdout, QStringLiteral("clockvane-editor %1\n")
                          .arg(QLatin1String(kVersion.data(), qsizetype(kVersion.size()))));
        return 0;
    case EditorCommand::Kind::Error:
        print(stderr, QStringLiteral("clockvane-editor: %1\n%2")
                          .arg(command.error, options.parser.helpText()));
        return kExitUsage;
    case EditorCommand::Kind::Open: break;
    }
    return 0;
}

}  // namespace clockvane::ui
