#include <distancematrix.h>

#include <QTest>

#include <memory>

using namespace urbaflux;

namespace {

// Three areas, named, with codes from a GIS import, and the pair list built.
std::unique_ptr<ProjectState> threeAreas()
{
    auto state = std::make_unique<ProjectState>();
    state->areas.count = 3;
    const QString names[] = {QStringLiteral("Forlì"), QStringLiteral("Sant'Agata de' Goti"),
                             QStringLiteral("Ravenna")};
    const QString codes[] = {QStringLiteral("040012"), QStringLiteral("062070"),
                             QStringLiteral("039014")};
    for (int i = 1; i <= 3; ++i) {
        state->areas.name[size_t(i)] = names[i - 1];
        Zone zone;
        zone.code = codes[i - 1];
        state->zones.zones.push_back(zone);
    }
    buildPairList(*state);
    for (int k = 1; k <= 9; ++k)
        state->distances.distance[size_t(k)] = QStringLiteral("old");
    return state;
}

} // namespace

class TestDistanceMatrix : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void forms_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<MatrixKey>("key");
        QTest::addColumn<QStringList>("distances"); // pairs 1 to 9 after the import
        const QStringList all = {
            QStringLiteral("1"),    QStringLiteral("12.5"), QStringLiteral("30"),
            QStringLiteral("12.5"), QStringLiteral("2"),    QStringLiteral("25"),
            QStringLiteral("30"),   QStringLiteral("25"),   QStringLiteral("3")};
        QTest::newRow("square by number, commas")
            << QByteArray(",1,2,3\n1,1,12.5,30\n2,12.5,2,25\n3,30,25,3\n") << MatrixKey::AreaNumber
            << all;
        QTest::newRow("square by name, semicolons and decimal commas, UTF-8 and quotes")
            << QByteArray(";Forl\xc3\xac;\"Sant'Agata de' Goti\";ravenna\r\n"
                          "Forl\xc3\xac;1;12,5;30\r\n\"Sant'Agata de' Goti\";12,5;2;25\r\n"
                          "Ravenna;30;25;3\r\n")
            << MatrixKey::AreaName << all;
        QTest::newRow("long by code")
            << QByteArray(
                   "origine;destinazione;valore\n040012;040012;1\n040012;062070;12.5\n"
                   "040012;039014;30\n062070;040012;12.5\n062070;062070;2\n062070;039014;25\n"
                   "039014;040012;30\n039014;062070;25\n039014;039014;3\n")
            << MatrixKey::ZoneCode << all;
        QTest::newRow("square by code, leading zeros dropped by a spreadsheet")
            << QByteArray(",40012,62070,39014\n40012,1,12.5,30\n62070,12.5,2,25\n39014,30,25,3\n")
            << MatrixKey::ZoneCode << all;
        QStringList partial = all;
        partial[2] = partial[5] = partial[6] = partial[7] = QStringLiteral("old");
        QTest::newRow("long, pairs missing, by Latin-1 name")
            << QByteArray(
                   "Origine,Destinazione,Valore\nForl\xec,Forl\xec,1\nForl\xec,Sant'Agata de' "
                   "Goti,12.5\nSant'Agata de' Goti,Forl\xec,12.5\nSant'Agata de' Goti,Sant'Agata "
                   "de' Goti,2\nRavenna,Ravenna,3\n")
            << MatrixKey::AreaName << partial;
    }
    void forms()
    {
        QFETCH(QByteArray, csv);
        QFETCH(MatrixKey, key);
        QFETCH(QStringList, distances);
        auto state = threeAreas();
        const Parsed<DistanceMatrixImport> matrix =
            parseDistanceMatrix(csv, QStringLiteral("matrice.csv"), *state);
        QVERIFY2(matrix.ok(), qPrintable(matrix.error));
        QCOMPARE(matrix.value->key, key);
        const quint64 revision = state->inputRevision;
        applyDistanceMatrix(*matrix.value, *state);
        QCOMPARE(state->inputRevision, revision + 1);
        for (int k = 1; k <= 9; ++k)
            QCOMPARE(state->distances.distance[size_t(k)], distances[k - 1]);
        const qsizetype missing = distances.count(QStringLiteral("old"));
        QCOMPARE(matrix.value->missingPairs.size(), missing);
        if (missing > 0) {
            QCOMPARE(missingPairsText(*matrix.value),
                     QStringLiteral("Il file non indica 4 coppie, che restano come erano: "
                                    "Forlì-Ravenna, Sant'Agata de' Goti-Ravenna, Ravenna-Forlì, "
                                    "Ravenna-Sant'Agata de' Goti."));
        } else {
            QVERIFY(missingPairsText(*matrix.value).isEmpty());
        }
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown zone")
            << QByteArray(",1,2,Cesena\n1,1,2,3\n")
            << QStringLiteral(
                   "Il file \"matrice.csv\" nomina zone che non sono tra le aree: \"Cesena\".");
        QTest::newRow("mixed keys")
            << QByteArray("origine;destinazione;valore\n1;Ravenna;4\n")
            << QStringLiteral("Il file \"matrice.csv\" mescola numeri, nomi e codici delle aree: "
                              "usarne uno solo.");
        QTest::newRow("not a number")
            << QByteArray(",1,2\n1,1,dieci\n")
            << QStringLiteral("Il file \"matrice.csv\", riga 2: la distanza \"dieci\" tra \"1\" e "
                              "\"2\" non è un numero non negativo.");
        QTest::newRow("negative")
            << QByteArray("origine,destinazione,valore\n1,2,-4\n")
            << QStringLiteral("Il file \"matrice.csv\", riga 2: la distanza \"-4\" tra \"1\" e "
                              "\"2\" non è un numero non negativo.");
        QTest::newRow("too many values")
            << QByteArray(",1,2\n1,1,2,3\n")
            << QStringLiteral("Il file \"matrice.csv\", riga 2: più valori che colonne.");
        QTest::newRow("empty") << QByteArray("\n")
                               << QStringLiteral("Il file \"matrice.csv\" non contiene distanze.");
    }
    void refused()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, message);
        auto state = threeAreas();
        const Parsed<DistanceMatrixImport> matrix =
            parseDistanceMatrix(csv, QStringLiteral("matrice.csv"), *state);
        QVERIFY(!matrix.ok());
        QCOMPARE(matrix.error, message);
    }
};

QTEST_GUILESS_MAIN(TestDistanceMatrix)
#include "tst_distancematrix.moc"
