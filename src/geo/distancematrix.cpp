#include "distancematrix.h"

#include <archivefile.h>
#include <numbertext.h>

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace urbaflux {

namespace {

using Result = Parsed<DistanceMatrixImport>;

// One record of the file: quotes as CSV writes them ("a;b" and "" for a quote).
QStringList splitRecord(QStringView line, QChar separator)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            fields << field.trimmed();
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field.trimmed();
    return fields;
}

// A numeric code written with or without its leading zeros ("040012", or 40012 as a
// spreadsheet or a CSV layer's number column keeps it) is the same code.
QString codeKey(const QString& code)
{
    const QString trimmed = code.trimmed();
    bool digits = !trimmed.isEmpty();
    for (const QChar c : trimmed)
        digits = digits && c.isDigit();
    if (!digits)
        return trimmed;
    qsizetype first = 0;
    while (first + 1 < trimmed.size() && trimmed[first] == u'0')
        ++first;
    return trimmed.mid(first);
}

struct Keys
{
    QHash<QString, int> byName;
    QHash<QString, int> byCode;
    int count = 0;
};

Keys keysOf(const ProjectState& state)
{
    Keys keys;
    keys.count = state.areas.count;
    for (int i = 1; i <= keys.count; ++i) {
        keys.byName.insert(state.areas.name[static_cast<size_t>(i)].trimmed().toLower(), i);
        if (static_cast<size_t>(i) <= state.zones.zones.size())
            keys.byCode.insert(codeKey(state.zones.zones[static_cast<size_t>(i - 1)].code), i);
    }
    return keys;
}

int areaOf(const QString& label, MatrixKey key, const Keys& keys)
{
    switch (key) {
    case MatrixKey::AreaNumber: {
        bool ok = false;
        const int number = label.toInt(&ok);
        return ok && number >= 1 && number <= keys.count ? number : 0;
    }
    case MatrixKey::AreaName:
        return keys.byName.value(label.toLower(), 0);
    case MatrixKey::ZoneCode:
        return keys.byCode.value(codeKey(label), 0);
    }
    return 0;
}

// The key under which every label of the file names an area: names first (they are what a
// person writes), then codes, then numbers.
std::optional<MatrixKey> keyFor(const QStringList& labels, const Keys& keys)
{
    for (const MatrixKey key : {MatrixKey::AreaName, MatrixKey::ZoneCode, MatrixKey::AreaNumber}) {
        bool all = !labels.isEmpty();
        for (const QString& label : labels) {
            if (areaOf(label, key, keys) == 0) {
                all = false;
                break;
            }
        }
        if (all)
            return key;
    }
    return std::nullopt;
}

} // namespace

Parsed<DistanceMatrixImport> parseDistanceMatrix(const QByteArray& bytes, const QString& fileName,
                                                 const ProjectState& state)
{
    const QString file = QStringLiteral("\"%1\"").arg(fileName);
    const int n = state.areas.count;
    if (n < 1 || n > kMaxAreas)
        return Result::failure(QStringLiteral("Prima di importare le distanze indicare le aree."));
    const QString text = decodeArchiveBytes(bytes);
    QList<QStringView> lines;
    for (const QStringView line : QStringView(text).split(u'\n')) {
        const QStringView trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            lines << trimmed;
    }
    if (lines.size() < 2)
        return Result::failure(QStringLiteral("Il file %1 non contiene distanze.").arg(file));
    const QChar separator = lines.front().contains(u';') ? u';' : u',';
    // With ";" between fields a "," is the decimal comma of an Italian spreadsheet.
    const bool decimalComma = separator == u';';
    std::vector<QStringList> rows;
    rows.reserve(static_cast<size_t>(lines.size()));
    for (const QStringView line : lines)
        rows.push_back(splitRecord(line, separator));

    const QStringList& header = rows.front();
    const bool longForm = header.size() >= 3 &&
                          header[0].compare(u"origine", Qt::CaseInsensitive) == 0 &&
                          header[1].compare(u"destinazione", Qt::CaseInsensitive) == 0;
    const Keys keys = keysOf(state);

    // Every cell as (row label, column label, value, line number).
    struct Cell
    {
        QString from;
        QString to;
        QString value;
        int line;
    };
    std::vector<Cell> cells;
    QStringList labels;
    if (longForm) {
        cells.reserve(rows.size());
        for (size_t r = 1; r < rows.size(); ++r) {
            const QStringList& row = rows[r];
            if (row.size() < 3) {
                return Result::failure(
                    QStringLiteral("Il file %1, riga %2: servono origine, destinazione e valore.")
                        .arg(file)
                        .arg(r + 1));
            }
            cells.push_back({row[0], row[1], row[2], static_cast<int>(r + 1)});
            labels << row[0] << row[1];
        }
    } else {
        const QStringList columns = header.mid(1);
        labels = columns;
        for (size_t r = 1; r < rows.size(); ++r) {
            const QStringList& row = rows[r];
            if (row.size() > columns.size() + 1) {
                return Result::failure(
                    QStringLiteral("Il file %1, riga %2: più valori che colonne.")
                        .arg(file)
                        .arg(r + 1));
            }
            labels << row[0];
            for (qsizetype c = 1; c < row.size(); ++c)
                cells.push_back({row[0], columns[c - 1], row[c], static_cast<int>(r + 1)});
        }
    }
    labels.removeDuplicates();
    const std::optional<MatrixKey> key = keyFor(labels, keys);
    if (!key) {
        QStringList unknown;
        for (const QString& label : labels) {
            if (areaOf(label, MatrixKey::AreaName, keys) == 0 &&
                areaOf(label, MatrixKey::ZoneCode, keys) == 0 &&
                areaOf(label, MatrixKey::AreaNumber, keys) == 0)
                unknown << QStringLiteral("\"%1\"").arg(label);
        }
        return Result::failure(
            unknown.isEmpty()
                ? QStringLiteral("Il file %1 mescola numeri, nomi e codici delle aree: usarne uno "
                                 "solo.")
                      .arg(file)
                : QStringLiteral("Il file %1 nomina zone che non sono tra le aree: %2.")
                      .arg(file, unknown.mid(0, 10).join(QStringLiteral(", "))));
    }

    DistanceMatrixImport matrix;
    matrix.key = *key;
    std::vector<bool> given(static_cast<size_t>(n * n) + 1, false);
    matrix.values.reserve(cells.size());
    for (const Cell& cell : cells) {
        if (cell.value.isEmpty())
            continue;
        QString value = cell.value;
        if (decimalComma)
            value.replace(u',', u'.');
        NumberError error = NumberError::None;
        const std::optional<double> number = parseStrictNumber(value, &error);
        if (!number || *number < 0) {
            return Result::failure(
                QStringLiteral("Il file %1, riga %2: la distanza \"%3\" tra \"%4\" e \"%5\" non è "
                               "un numero non negativo.")
                    .arg(file)
                    .arg(cell.line)
                    .arg(cell.value, cell.from, cell.to));
        }
        const int k = pairIndex(areaOf(cell.from, *key, keys), areaOf(cell.to, *key, keys), n);
        given[static_cast<size_t>(k)] = true;
        matrix.values.emplace_back(k, value);
    }
    for (int k = 1; k <= n * n; ++k) {
        if (given[static_cast<size_t>(k)])
            continue;
        const QString& name = state.distances.pairNames[static_cast<size_t>(k)];
        matrix.missingPairs << (name.isEmpty()
                                    ? pairNumbersText((k - 1) / n + 1, (k - 1) % n + 1).trimmed()
                                    : name);
    }
    return Result::success(std::move(matrix));
}

Parsed<DistanceMatrixImport> readDistanceMatrix(const QString& path, const ProjectState& state)
{
    QFile file(path);
    const QString name = QFileInfo(path).fileName();
    if (!file.open(QIODevice::ReadOnly)) {
        return Result::failure(
            QStringLiteral("Il file \"%1\" non si può aprire: %2.").arg(name, file.errorString()));
    }
    return parseDistanceMatrix(file.readAll(), name, state);
}

QString missingPairsText(const DistanceMatrixImport& matrix)
{
    if (matrix.missingPairs.isEmpty())
        return QString();
    constexpr int kShown = 20;
    QString text = QStringLiteral("Il file non indica %1 coppie, che restano come erano: %2")
                       .arg(matrix.missingPairs.size())
                       .arg(matrix.missingPairs.mid(0, kShown).join(QStringLiteral(", ")));
    if (matrix.missingPairs.size() > kShown)
        text += QStringLiteral(" e altre %1").arg(matrix.missingPairs.size() - kShown);
    return text + QLatin1Char('.');
}

void applyDistanceMatrix(const DistanceMatrixImport& matrix, ProjectState& state)
{
    for (const auto& [k, value] : matrix.values)
        state.distances.distance[static_cast<size_t>(k)] = value;
    markInputsChanged(state);
}

} // namespace urbaflux
