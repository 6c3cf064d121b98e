#include "datafiles.h"
#include "frmsplash.h"
#include "windowtestfixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

namespace {

// Runs in `folder` as the working directory, and goes back on destruction.
class WorkingDirectory
{
public:
    explicit WorkingDirectory(const QString& folder) : m_previous(QDir::currentPath())
    {
        QDir::setCurrent(folder);
    }
    ~WorkingDirectory() { QDir::setCurrent(m_previous); }

private:
    QString m_previous;
};

bool touch(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

} // namespace

class TestDataFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void foldersInOrder_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<QString>("executableDirectory");
        QTest::addColumn<QStringList>("leading");
        // An installed or unpacked tree finds its share/urbaflux beside its bin.
        QTest::newRow("music, unpacked package")
            << int(DataFileFirst::WorkingDirectory) << QStringLiteral("/tmp/x/usr/bin")
            << QStringList{QStringLiteral("/home/u/lavori"),
                           QStringLiteral("/tmp/x/usr/share/urbaflux")};
        QTest::newRow("tips, unpacked package")
            << int(DataFileFirst::ExecutableDirectory) << QStringLiteral("/tmp/x/usr/bin")
            << QStringList{QStringLiteral("/tmp/x/usr/bin"),
                           QStringLiteral("/tmp/x/usr/share/urbaflux")};
        QTest::newRow("messy executable path")
            << int(DataFileFirst::ExecutableDirectory) << QStringLiteral("/opt/u/./bin/")
            << QStringList{QStringLiteral("/opt/u/bin"), QStringLiteral("/opt/u/share/urbaflux")};
    }
    void foldersInOrder()
    {
        QFETCH(int, first);
        QFETCH(QString, executableDirectory);
        QFETCH(QStringList, leading);
        const QStringList folders =
            dataFileFolders(static_cast<DataFileFirst>(first), QStringLiteral("/home/u/lavori"),
                            executableDirectory);
        QCOMPARE(folders.mid(0, leading.size()), leading);
        QVERIFY(folders.size() <= leading.size() + 1); // then at most the configured folder
        QCOMPARE(QStringList(folders).removeDuplicates(), 0);
        if (first == int(DataFileFirst::ExecutableDirectory))
            QVERIFY(!folders.contains(QStringLiteral("/home/u/lavori")));
    }

    void installedTreeRepeatsNoFolder()
    {
        // Installed where it was configured for, the two ways to the data folder meet.
        const QStringList folders =
            dataFileFolders(DataFileFirst::WorkingDirectory, QStringLiteral("/w"),
                            QStringLiteral("/usr/local/bin"));
        QCOMPARE(QStringList(folders).removeDuplicates(), 0);
        QVERIFY(folders.contains(QStringLiteral("/usr/local/share/urbaflux")));
    }

    void locatesInTheFirstFolderOnly()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString name = QStringLiteral("prova-urbaflux-datafiles.txt");
        QVERIFY(touch(dir.filePath(name)));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("cartella.mid")));
        WorkingDirectory here(dir.path());
        QCOMPARE(locateDataFile(name, DataFileFirst::WorkingDirectory),
                 QDir(dir.path()).absoluteFilePath(name));
        // The tips are not looked for where the program was started.
        QCOMPARE(locateDataFile(name, DataFileFirst::ExecutableDirectory), QString());
        // A folder of that name is no file, and an empty name finds nothing.
        QCOMPARE(locateDataFile(QStringLiteral("cartella.mid"), DataFileFirst::WorkingDirectory),
                 QString());
        QCOMPARE(locateDataFile(QString(), DataFileFirst::WorkingDirectory), QString());
    }

    void splashPlaysTheMusicOfTheWorkingDirectory()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(touch(dir.filePath(QStringLiteral("Internet.mid"))));
        WorkingDirectory here(dir.path());
        WindowTestFixture f(&makeRecordingWindow);
        auto* splash = f.show<FrmSplash>(WindowId::Splash);
        QVERIFY(splash);
        QCOMPARE(splash->player().fileName(),
                 QDir(dir.path()).absoluteFilePath(QStringLiteral("Internet.mid")));
    }
};

QTEST_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
