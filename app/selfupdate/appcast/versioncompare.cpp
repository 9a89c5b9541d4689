#include "versioncompare.h"

#include <QVector>

namespace appcast {

namespace {

enum class ChunkKind { Number, Separator, Word };

struct Chunk {
    ChunkKind kind;
    QStringRef text;
};

ChunkKind kindOf(QChar c) {
    if (c.isDigit())
        return ChunkKind::Number;
    if (c == QLatin1Char('.'))
        return ChunkKind::Separator;
    return ChunkKind::Word;
}

QVector<Chunk> split(const QString& version) {
    QVector<Chunk> chunks;
    int start = 0;
    for (int i = 1; i <= version.size(); ++i) {
        const ChunkKind kind = kindOf(version.at(start));
        // Every dot is a chunk of its own, so "1..2" keeps two separators.
        const bool ends =
            i == version.size() || kindOf(version.at(i)) != kind || kind == ChunkKind::Separator;
        if (ends) {
            chunks.push_back({kind, version.midRef(start, i - start)});
            start = i;
        }
    }
    return chunks;
}

int compareNumbers(QStringRef a, QStringRef b) {
    // Compared as digit strings, so no length of number can overflow.
    while (a.size() > 1 && a.front() == QLatin1Char('0'))
        a = a.mid(1);
    while (b.size() > 1 && b.front() == QLatin1Char('0'))
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

int compareVersions(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return sign(a.size() - b.size());
    const QVector<Chunk> left = split(a);
    const QVector<Chunk> right = split(b);
    const int common = std::min(left.size(), right.size());
    for (int i = 0; i < common; ++i) {
        const Chunk& l = left.at(i);
        const Chunk& r = right.at(i);
        if (l.kind != r.kind) {
            // A number outranks anything else in the same place: 1.0.1 > 1.0b.
            if (l.kind == ChunkKind::Number)
                return 1;
            if (r.kind == ChunkKind::Number)
                return -1;
            return l.kind == ChunkKind::Separator ? 1 : -1;
        }
        const int order = l.kind == ChunkKind::Number ? compareNumbers(l.text, r.text)
                                                      : sign(l.text.compare(r.text));
        if (order != 0)
            return sign(order);
    }
    if (left.size() == right.size())
        return 0;
    const bool leftLonger = left.size() > right.size();
    const Chunk& next = leftLonger ? left.at(common) : right.at(common);
    const bool longerIsNewer = next.kind != ChunkKind::Word;
    return leftLonger == longerIsNewer ? 1 : -1;
}

} // namespace appcast
