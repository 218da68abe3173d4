#include "app/EditorCommandLine.h"

#include "VornixVersion.h"

#include <QCommandLineParser>

namespace {

// Laid out for help2man, which makes the manual page from it.
const QString kUsage = QStringLiteral(
    "Usage: vornix [OPTION]... [FILE]...\n"
    "Edit the sprites of the SWD sprite wads that Tomb Raider level editors use.\n"
    "\n"
    "Each FILE opens as a drop of it on the window would, in the order given: a sprite wad\n"
    "(.swd) opens; objects (.swo) and images after it go into it, as Import Object and Add\n"
    "Texture do. An object with no wad before it opens as a new wad holding that object.\n"
    "\n"
    "Options:\n"
    "  -h, --help     display this help and exit\n"
    "  -v, --version  output version information and exit\n"
    "\n"
    "Exit status:\n"
    "  0  the window was closed, or the help or the version was printed\n"
    "  2  an unknown option was given\n");

} // namespace

EditorCommandLine ParseEditorCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("file"), QString());

    EditorCommandLine result;
    if (!parser.parse(arguments)) {
        result.exitStatus = 2;
        result.text = QStringLiteral("vornix: ") + parser.errorText() + u'\n' + kUsage;
    } else if (parser.isSet(help)) {
        result.exitStatus = 0;
        result.text = kUsage;
    } else if (parser.isSet(version)) {
        result.exitStatus = 0;
        result.text = QStringLiteral("vornix ") + QLatin1String(kVornixVersion) + u'\n';
    } else {
        result.files = parser.positionalArguments();
    }
    return result;
}
