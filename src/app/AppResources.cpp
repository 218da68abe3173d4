#include "app/AppResources.h"

#include <QFile>
#include <QMap>
#include <QTextStream>

static void InitQrc() {
    Q_INIT_RESOURCE(vornix);
}

namespace appres {

void Init() {
    static const bool done = (InitQrc(), true);
    (void)done;
}

QIcon AppIcon() {
    Init();
    QIcon icon;
    for (int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/icons/%1/vornix.png").arg(size), QSize(size, size));
    }
    return icon;
}

static QString Unescape(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            const QChar next = text[i + 1];
            if (next == u'r' || next == u'n' || next == u'\\') {
                out += next == u'r' ? u'\r' : next == u'n' ? u'\n' : u'\\';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

QStringList LoadStrings(int first, int last) {
    Init();
    QFile file(QStringLiteral(":/strings/descriptions.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    QMap<int, QString> table;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.isEmpty() || line.startsWith(u'#')) {
            continue;
        }
        const qsizetype tab = line.indexOf(u'\t');
        bool ok = false;
        const int id = tab > 0 ? line.left(tab).toInt(&ok) : 0;
        if (ok) {
            table.insert(id, Unescape(line.mid(tab + 1)));
        }
    }
    QStringList strings;
    for (int id = first; id <= last; ++id) {
        const auto it = table.constFind(id);
        if (it == table.constEnd()) {
            return {};
        }
        strings.append(*it);
    }
    return strings;
}

} // namespace appres
