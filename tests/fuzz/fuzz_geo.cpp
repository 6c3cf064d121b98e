// libFuzzer targets for the readers of the GIS import; the build picks one with
// URBAFLUX_FUZZ_<KIND>.
// - matrix: any bytes as a distance matrix file for an elaboration of 1 to 12 areas (the first
//   byte says how many); a matrix that parses gives each pair at most once, every pair number
//   within N², and the pairs it gives and those it lists as missing are all N² of them;
// - attributes: any bytes as the attribute table of a CSV layer of points (a header line with
//   nome, lon, lat, origine and destinazione is put before them); an import that succeeds
//   holds at most 180 zones, each with a name, and origins and destinations that are plain
//   numbers or empty; one that fails says why.

#include <distancematrix.h>
#include <projectstate.h>
#include <zonelayer.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <set>

using namespace urbaflux;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

#if defined(URBAFLUX_FUZZ_MATRIX)
void fuzzOne(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    ProjectState state;
    const int n = 1 + static_cast<unsigned char>(bytes[0]) % 12;
    state.areas.count = n;
    for (int i = 1; i <= n; ++i) {
        state.areas.name[static_cast<size_t>(i)] = QStringLiteral("A%1").arg(i);
        state.areas.destination[static_cast<size_t>(i)] = QStringLiteral("1");
    }
    buildPairList(state);
    const Parsed<DistanceMatrixImport> parsed =
        parseDistanceMatrix(bytes.mid(1), QStringLiteral("matrice.csv"), state);
    if (!parsed.ok()) {
        check(!parsed.error.isEmpty());
        return;
    }
    std::set<int> given;
    for (const auto& [k, text] : parsed.value->values) {
        check(k >= 1 && k <= n * n);
        check(given.insert(k).second);
    }
    check(static_cast<qsizetype>(given.size()) + parsed.value->missingPairs.size() == n * n);
}
#elif defined(URBAFLUX_FUZZ_ATTRIBUTES)
bool plainNumber(const QString& text)
{
    if (text.isEmpty())
        return true;
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && value >= 0;
}

void fuzzOne(const QByteArray& bytes)
{
    static QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("zone.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write("nome;lon;lat;origine;destinazione\n");
    file.write(bytes);
    file.close();
    ZoneQuery query;
    query.source.path = path;
    query.nameField = QStringLiteral("nome");
    query.originField = QStringLiteral("origine");
    query.destinationField = QStringLiteral("destinazione");
    query.keepDuplicateNames = true;
    const GeoResult<ZoneLayer> layer = readZoneLayer(query);
    if (!layer.ok()) {
        check(!layer.error.isEmpty());
        return;
    }
    check(layer.value->zones.size() <= static_cast<size_t>(kMaxAreas));
    for (const ImportedZone& zone : layer.value->zones) {
        check(!zone.name.trimmed().isEmpty());
        check(plainNumber(zone.origin));
        check(plainNumber(zone.destination));
    }
}
#else
#error "URBAFLUX_FUZZ_MATRIX or URBAFLUX_FUZZ_ATTRIBUTES"
#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzOne(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
