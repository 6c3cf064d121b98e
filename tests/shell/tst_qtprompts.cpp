#include "qtprompts.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace urbaflux;

namespace {

// Runs `inspect` on the modal dialog once it is up; the dialog must be closed by it.
template <typename Dialog> void whenShown(std::function<void(Dialog*)> inspect)
{
    QTimer::singleShot(0, qApp, [inspect] {
        QTRY_VERIFY(qobject_cast<Dialog*>(QApplication::activeModalWidget()));
        inspect(qobject_cast<Dialog*>(QApplication::activeModalWidget()));
    });
}

} // namespace

class TestQtPrompts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("program's distance filter")
            << QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-dis- | Urbaflux-dis-*")
            << QStringList{QStringLiteral("Tutti i file (*)"),
                           QStringLiteral("File Urbaflux-dis- (Urbaflux-dis-*)")};
        QTest::newRow("several patterns") << QStringLiteral("Immagini|*.jpg;*.bmp")
                                          << QStringList{QStringLiteral("Immagini (*.jpg *.bmp)")};
        QTest::newRow("empty description")
            << QStringLiteral("|*.txt") << QStringList{QStringLiteral("*.txt (*.txt)")};
        QTest::newRow("odd trailing description dropped")
            << QStringLiteral("Testo|*.txt|Resto") << QStringList{QStringLiteral("Testo (*.txt)")};
        QTest::newRow("empty") << QString() << QStringList{};
    }
    void nameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(QtPrompts::nameFilters(filter), expected);
    }

    void displayText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("carriage returns") << QStringLiteral("a\rb\rc") << QStringLiteral("a\nb\nc");
        QTest::newRow("crlf") << QStringLiteral("a\r\nb") << QStringLiteral("a\nb");
        QTest::newRow("plain") << QStringLiteral("a b") << QStringLiteral("a b");
    }
    void displayText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(QtPrompts::displayText(text), expected);
    }

    void yesNoMessageBox()
    {
        QtPrompts prompts;
        QString seenTitle, seenText, defaultText;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        whenShown<QMessageBox>([&](QMessageBox* box) {
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenIcon = box->icon();
            defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == QStringLiteral("&Sì"))
                    b->click();
            }
        });
        const MessageAnswer answer = prompts.message(
            {MessageIcon::Question, QStringLiteral("Attenzione"), QStringLiteral("riga 1\rriga 2"),
             MessageButtons::YesNo, MessageAnswer::No});
        QCOMPARE(answer, MessageAnswer::Yes);
        QCOMPARE(seenTitle, QStringLiteral("Attenzione"));
        QCOMPARE(seenText, QStringLiteral("riga 1\nriga 2"));
        QCOMPARE(seenIcon, QMessageBox::Question);
        QCOMPARE(defaultText, QStringLiteral("&No"));
    }

    void escapeAnswersNo()
    {
        QtPrompts prompts;
        whenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QVERIFY(!prompts.askYesNo(MessageIcon::None, QStringLiteral("t"), QStringLiteral("x")));
    }

    void fileDialogGetsFiltersAndName()
    {
        QtPrompts prompts;
        QStringList filters;
        QString selected, title;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            filters = dialog->nameFilters();
            selected = dialog->selectedNameFilter();
            title = dialog->windowTitle();
            dialog->reject();
        });
        FileRequest request;
        request.title = QStringLiteral("Apri");
        request.filter =
            QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-dis- | Urbaflux-dis-*");
        request.selectedFilter = 2;
        request.fileName = QStringLiteral("Urbaflux-dis-");
        QCOMPARE(prompts.openFile(request), QString()); // cancelled
        QCOMPARE(title, QStringLiteral("Apri"));
        QCOMPARE(filters.size(), 2);
        QCOMPARE(selected, QStringLiteral("File Urbaflux-dis- (Urbaflux-dis-*)"));
    }

    // Not the folder the program was started from: the user's documents, then wherever the
    // last file was chosen, by an open or a save dialog alike.
    void fileDialogsStartWhereTheUserWorks()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        QVERIFY(QDir(home.path()).mkpath(QStringLiteral("Documents/studio")));
        const QString documents = home.filePath(QStringLiteral("Documents"));
        const QString studio = home.filePath(QStringLiteral("Documents/studio"));

        QtPrompts prompts;
        QString firstFolder, secondFolder;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            firstFolder = dialog->directory().absolutePath();
            dialog->selectFile(studio + QStringLiteral("/Urbaflux-dis-prova"));
            static_cast<QDialog*>(dialog)->accept(); // as the Save button does
        });
        FileRequest request;
        request.title = QStringLiteral("Salva");
        request.filter = QStringLiteral("File Urbaflux-dis- | Urbaflux-dis-*");
        const QString saved = prompts.saveFile(request);
        QFile written(saved); // the save succeeded
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.close();
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            secondFolder = dialog->directory().absolutePath();
            dialog->reject();
        });
        prompts.openFile(request);

        qputenv("HOME", oldHome);
        if (oldConfig.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
        QCOMPARE(firstFolder, documents);
        QCOMPARE(saved, studio + QStringLiteral("/Urbaflux-dis-prova"));
        QCOMPARE(secondFolder, studio);
    }

    // A refused save into a folder of files that block when read (/proc) must not become the
    // folder the next dialog opens in; and no dialog reads the files it lists to guess a type.
    void refusedFolderIsForgottenAndFilesAreNotRead()
    {
        QTemporaryDir work;
        QtPrompts prompts;
        FileRequest request;
        request.title = QStringLiteral("Salva");
        request.filter = QStringLiteral("Tutti i file (*.*)|*.*");
        request.directory = work.path();
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            dialog->selectFile(work.filePath(QStringLiteral("Urbaflux-are-buono")));
            static_cast<QDialog*>(dialog)->accept();
        });
        QFile good(prompts.saveFile(request));
        QVERIFY(good.open(QIODevice::WriteOnly)); // that save succeeded
        good.close();

        request.directory.clear();
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            dialog->selectFile(QStringLiteral("/proc/Urbaflux-are-rifiutato"));
            static_cast<QDialog*>(dialog)->accept();
        });
        QCOMPARE(prompts.saveFile(request), QStringLiteral("/proc/Urbaflux-are-rifiutato"));
        // ... and the program refused to write there.
        QString folder, type;
        bool nativeAvoided = false;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            folder = dialog->directory().absolutePath();
            nativeAvoided = dialog->testOption(QFileDialog::DontUseNativeDialog);
            if (dialog->iconProvider())
                type = dialog->iconProvider()->type(QFileInfo(QStringLiteral("/proc/self/stat")));
            dialog->reject();
        });
        prompts.openFile(request);
        QCOMPARE(folder, QDir(work.path()).absolutePath());
        QVERIFY(nativeAvoided);
        QCOMPARE(type, QStringLiteral("File"));
    }

    // A message box belongs to the window whose command asked, even when another is active.
    void messageBoxOverItsOwner()
    {
        QWidget owner, other;
        owner.setGeometry(50, 50, 600, 400);
        other.setGeometry(700, 500, 300, 200);
        owner.show();
        other.show();
        other.activateWindow();
        QtPrompts prompts;
        prompts.setOwner(&owner);
        QWidget* parent = nullptr;
        bool centred = false;
        whenShown<QMessageBox>([&](QMessageBox* box) {
            parent = box->parentWidget();
            centred = owner.frameGeometry().contains(box->frameGeometry().center());
            box->accept();
        });
        prompts.inform(MessageIcon::Information, QStringLiteral("t"), QStringLiteral("x"));
        QCOMPARE(parent, &owner);
        QVERIFY(centred);
    }
};

QTEST_MAIN(TestQtPrompts)
#include "tst_qtprompts.moc"
