// One libFuzzer target per archive kind, and one for the item reader; the build picks the
// kind with URBAFLUX_FUZZ_<KIND>.
//
// Beyond "no crash, no undefined behaviour", each target checks a property:
// - reader: bytes decode to a text that encodes and decodes back to itself, and items written
//   again read back as the same items (double quotes aside, which the writer replaces);
// - a kind: a file that parses, once applied and written, parses again and writes the very
//   same bytes;
// - recovery: a recovery copy that parses, once restored and written with its time, parses
//   again and writes the very same bytes;
// - calc: what urbaflux-calc does (parse a complete archive, apply it to a fresh elaboration,
//   calculate, write); a completed run's output, calculated again, gives the same bytes, and a
//   stopped run always says why.

#include <archivefile.h>
#include <areaarchive.h>
#include <calculation.h>
#include <completearchive.h>
#include <distancearchive.h>
#include <interactionarchive.h>
#include <modelchoicearchive.h>
#include <recoveryarchive.h>
#include <titlepagearchive.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace urbaflux;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

[[maybe_unused]] bool sameItem(const ArchiveItem& a, const ArchiveItem& b)
{
    if (a.kind != b.kind)
        return false;
    if (a.isNumber())
        return a.number == b.number || (std::isnan(a.number) && std::isnan(b.number));
    if (a.isText()) {
        QString expected = a.text;
        expected.replace(QLatin1Char('"'), QChar(0x201D));
        return expected == b.text;
    }
    return true;
}

[[maybe_unused]] void fuzzReader(const QByteArray& bytes)
{
    const QString text = decodeArchiveBytes(bytes);
    check(decodeArchiveBytes(encodeArchiveText(text)) == text);

    ArchiveReader reader(text);
    std::vector<ArchiveItem> items;
    ArchiveItem item;
    while (reader.next(item))
        items.push_back(item);
    check(reader.atEnd());
    if (items.empty())
        return;

    ArchiveWriter writer;
    for (const ArchiveItem& it : items) {
        switch (it.kind) {
        case ArchiveItem::Kind::Text:
            writer.writeText(it.text);
            break;
        case ArchiveItem::Kind::Number:
            writer.writeNumber(it.number);
            break;
        case ArchiveItem::Kind::Empty:
            writer.writeEmpty();
            break;
        }
    }
    writer.endRecord();
    ArchiveReader again(decodeArchiveBytes(writer.bytes()));
    for (const ArchiveItem& expected : items) {
        ArchiveItem got;
        check(again.next(got));
        check(sameItem(expected, got));
    }
    check(!again.next(item) && !again.failed());
}

// parse -> apply -> write -> parse -> apply -> write: both writes are the same bytes.
template <typename Parse, typename ApplyWrite>
void fuzzKind(const QByteArray& bytes, Parse parse, ApplyWrite applyWrite)
{
    const auto first = parse(bytes, QStringLiteral("fuzz"));
    if (!first.ok()) {
        check(!first.error.isEmpty());
        return;
    }
    const QByteArray written = applyWrite(*first.value);
    const auto second = parse(written, QStringLiteral("fuzz"));
    check(second.ok());
    check(applyWrite(*second.value) == written);
}

// The batch calculator's path; returns the archive it writes, or a null array when the file
// is refused or the run does not complete.
[[maybe_unused]] QByteArray calculateArchive(const QByteArray& bytes)
{
    const auto archive = parseCompleteBytes(bytes, QStringLiteral("fuzz"));
    if (!archive.ok()) {
        check(!archive.error.isEmpty());
        return QByteArray();
    }
    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    TitlePage page;
    applyComplete(*archive.value, *state, page);
    computeAreaTotals(*state);
    const CalculationOutcome outcome = calculateInteractions(*state);
    const QByteArray written = writeCompleteBytes(*state, page);
    check(parseCompleteBytes(written, QStringLiteral("fuzz")).ok());
    if (!outcome.completed()) {
        check(!describeOutcome(outcome).isEmpty());
        return QByteArray();
    }
    return written;
}

ProjectState& scratchState()
{
    static ProjectState state;
    return state;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    [[maybe_unused]] ProjectState& state = scratchState();
#if defined(URBAFLUX_FUZZ_READER)
    fuzzReader(bytes);
#elif defined(URBAFLUX_FUZZ_MODELCHOICE)
    fuzzKind(bytes, parseModelChoiceBytes, [&](const ModelChoiceRecord& r) {
        applyModelChoice(r, state);
        return writeModelChoiceBytes(modelChoiceRecordOf(state));
    });
#elif defined(URBAFLUX_FUZZ_AREAS)
    fuzzKind(bytes, parseAreaBytes, [&](const AreaRecords& r) {
        applyAreas(r, state);
        return writeAreaBytes(state);
    });
#elif defined(URBAFLUX_FUZZ_DISTANCES)
    fuzzKind(bytes, parseDistanceBytes, [&](const DistanceRecords& r) {
        applyDistances(r, state);
        return writeDistanceBytes(state);
    });
#elif defined(URBAFLUX_FUZZ_TITLEPAGE)
    fuzzKind(bytes, parseTitlePageBytes, [](const TitlePageRecord& r) {
        TitlePage page;
        applyTitlePage(r, page);
        return writeTitlePageBytes(page);
    });
#elif defined(URBAFLUX_FUZZ_COMPLETE)
    fuzzKind(bytes, parseCompleteBytes, [&](const CompleteRecord& r) {
        TitlePage page;
        applyComplete(r, state, page);
        return writeCompleteBytes(state, page);
    });
#elif defined(URBAFLUX_FUZZ_INTERACTIONS)
    fuzzKind(bytes, parseInteractionBytes, [&](const InteractionRecords& r) {
        applyInteractions(r, state);
        return writeInteractionBytes(state);
    });
#elif defined(URBAFLUX_FUZZ_RECOVERY)
    fuzzKind(bytes, parseRecoveryBytes, [&](const RecoveryRecord& r) {
        TitlePage page;
        applyComplete(r.elaboration, state, page);
        return writeRecoveryBytes(state, page, r.written);
    });
#elif defined(URBAFLUX_FUZZ_CALC)
    const QByteArray once = calculateArchive(bytes);
    if (!once.isNull())
        check(calculateArchive(once) == once);
#else
#error "define URBAFLUX_FUZZ_<KIND>"
#endif
    return 0;
}
