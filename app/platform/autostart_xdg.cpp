#include "autostart.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

namespace platform {
namespace {

const QString kDesktopEntryGroup = QStringLiteral("[Desktop Entry]");
const QString kExecKey = QStringLiteral("Exec=");

// Desktop entry values escape backslashes and blanks; quoted arguments inside Exec escape
// the characters the session's command parser would otherwise interpret.
QString encodeExec(const QString& command) {
    QString quotedEscaped;
    bool insideQuotes = false;
    for (const QChar c : command) {
        if (c == QLatin1Char('"') && !insideQuotes) {
            insideQuotes = true;
        } else if (c == QLatin1Char('"')) {
            insideQuotes = false;
        } else if (insideQuotes &&
                   (c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))) {
            quotedEscaped += QLatin1Char('\\');
        }
        quotedEscaped += c;
    }
    // A lone '%' would start a field code, which the session expands or drops.
    quotedEscaped.replace(QLatin1Char('%'), QStringLiteral("%%"));
    quotedEscaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return quotedEscaped;
}

// The program a command starts, for TryExec: the session skips the entry once that is gone, as
// after the program was uninstalled. A string value, so only its backslashes are escaped.
QString encodeTryExec(const QString& command) {
    QString program = command.section(QLatin1Char(' '), 0, 0);
    if (command.startsWith(QLatin1Char('"')))
        program = command.section(QLatin1Char('"'), 1, 1);
    return program.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

QString decodeExec(const QString& value) {
    QString unescaped;
    for (int i = 0; i < value.size(); ++i) {
        if (value.at(i) != QLatin1Char('\\') || i + 1 == value.size()) {
            unescaped += value.at(i);
            continue;
        }
        const QChar next = value.at(++i);
        if (next == QLatin1Char('s'))
            unescaped += QLatin1Char(' ');
        else if (next == QLatin1Char('n'))
            unescaped += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            unescaped += QLatin1Char('\t');
        else if (next == QLatin1Char('r'))
            unescaped += QLatin1Char('\r');
        else
            unescaped += next;
    }
    QString command;
    bool insideQuotes = false;
    for (int i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped.at(i);
        if (c == QLatin1Char('"'))
            insideQuotes = !insideQuotes;
        if ((insideQuotes && c == QLatin1Char('\\') && i + 1 < unescaped.size()) ||
            (c == QLatin1Char('%') && i + 1 < unescaped.size() &&
             unescaped.at(i + 1) == QLatin1Char('%'))) {
            command += unescaped.at(++i);
            continue;
        }
        command += c;
    }
    return command;
}

} // namespace

AutoStartEntry::AutoStartEntry(const QString& entryName)
    : filePath_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                QStringLiteral("/autostart/") + entryName + QStringLiteral(".desktop"))
    , entryName_(entryName) {}

QString AutoStartEntry::command() const {
    QFile file(filePath_);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    bool inEntryGroup = false;
    QString exec;
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntryGroup = line == kDesktopEntryGroup;
        } else if (inEntryGroup && line.startsWith(kExecKey)) {
            exec = decodeExec(line.mid(kExecKey.size()));
        } else if (inEntryGroup && (line == QLatin1String("Hidden=true") ||
                                    line == QLatin1String("X-GNOME-Autostart-enabled=false"))) {
            // The desktop will not start a hidden or disabled entry: it is as good as none.
            return QString();
        }
    }
    return exec;
}

bool AutoStartEntry::setCommand(const QString& command) {
    if (!QDir().mkpath(QFileInfo(filePath_).absolutePath()))
        return false;
    QSaveFile file(filePath_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    stream << kDesktopEntryGroup << '\n'
           << "Type=Application\n"
           << "Name=" << entryName_ << '\n'
           << kExecKey << encodeExec(command) << '\n'
           << "TryExec=" << encodeTryExec(command) << '\n'
           << "X-GNOME-Autostart-enabled=true\n";
    stream.flush();
    return file.commit();
}

bool AutoStartEntry::remove() {
    return !QFile::exists(filePath_) || QFile::remove(filePath_);
}

} // namespace platform
