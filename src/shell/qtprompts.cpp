#include "qtprompts.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>

namespace urbaflux {

namespace {

// Names and kinds from the file names alone. Qt's own provider guesses a file's type from its
// contents, and reading a file that blocks (a device, a pipe, the pseudo files of /proc) would
// hang the dialog and the program with it.
class NameOnlyIconProvider : public QAbstractFileIconProvider
{
public:
    NameOnlyIconProvider() { setOptions(DontUseCustomDirectoryIcons); }

    QIcon icon(IconType type) const override { return QAbstractFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override
    {
        return QAbstractFileIconProvider::icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo& info) const override
    {
        if (info.isDir())
            return QStringLiteral("Cartella");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("File")
                                : QStringLiteral("File ") + suffix.toUpper();
    }
};

} // namespace

QtPrompts::QtPrompts(QWidget* fallbackParent) : m_fallbackParent(fallbackParent) {}

void QtPrompts::setOwner(QWidget* owner)
{
    m_owner = owner ? owner->window() : nullptr;
}

QWidget* QtPrompts::parentWidget() const
{
    if (m_owner && m_owner->isVisible())
        return m_owner;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_fallbackParent;
}

QString QtPrompts::displayText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QStringList QtPrompts::nameFilters(const QString& filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i).trimmed();
        QStringList patterns;
        for (const QString& raw : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            QString pattern = raw.trimmed();
            if (pattern.isEmpty())
                continue;
            // On Windows "*.*" matches names without a dot too; Qt's "*" is the equivalent.
            if (pattern == QStringLiteral("*.*"))
                pattern = QStringLiteral("*");
            patterns.append(pattern);
        }
        if (patterns.isEmpty())
            patterns.append(QStringLiteral("*"));
        // Qt reads the patterns from the last parenthesised group, so a description that already
        // shows its pattern in parentheses gives way to the converted one.
        static const QRegularExpression trailingGroup(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        description.remove(trailingGroup);
        if (description.isEmpty())
            description = patterns.join(QLatin1Char(' '));
        result.append(description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')'));
    }
    return result;
}

MessageAnswer QtPrompts::message(const MessageRequest& request)
{
    QMessageBox box(parentWidget());
    switch (request.icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    box.setWindowTitle(request.title);
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(request.text));
    if (request.buttons == MessageButtons::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("&Sì"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box.setDefaultButton(request.defaultAnswer == MessageAnswer::No ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    if (request.buttons == MessageButtons::SaveDiscardCancel) {
        QPushButton* save = box.addButton(QStringLiteral("&Salva"), QMessageBox::AcceptRole);
        QPushButton* discard =
            box.addButton(QStringLiteral("&Non salvare"), QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(QStringLiteral("&Annulla"), QMessageBox::RejectRole);
        box.setDefaultButton(request.defaultAnswer == MessageAnswer::Discard  ? discard
                             : request.defaultAnswer == MessageAnswer::Cancel ? cancel
                                                                              : save);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == save      ? MessageAnswer::Save
               : box.clickedButton() == discard ? MessageAnswer::Discard
                                                : MessageAnswer::Cancel;
    }
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return MessageAnswer::Ok;
}

QString QtPrompts::startingFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString QtPrompts::runFileDialog(const FileRequest& request, bool save)
{
    // The last command succeeded on its file: its folder is where the user works.
    if (!m_chosenFile.isEmpty()) {
        const QFileInfo chosen(m_chosenFile);
        if (chosen.isFile() && !chosen.isSymLink())
            m_lastFolder = chosen.absolutePath();
        m_chosenFile.clear();
    }
    QFileDialog dialog(parentWidget(), request.title);
    // Qt's own dialog, so that no file is read to guess its type (see NameOnlyIconProvider).
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    NameOnlyIconProvider icons;
    dialog.setIconProvider(&icons);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = nameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.selectedFilter - 1;
        if (index >= 0 && index < filters.size())
            dialog.selectNameFilter(filters.at(index));
    }
    // The program may be started from anywhere (its music is looked for in the working
    // directory); the archives belong with the user's documents, and one elaboration's files
    // usually lie together, so the dialogs start where the last file was chosen.
    if (!request.directory.isEmpty())
        dialog.setDirectory(request.directory);
    else if (!m_lastFolder.isEmpty())
        dialog.setDirectory(m_lastFolder);
    else
        dialog.setDirectory(startingFolder());
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return {};
    m_chosenFile = chosen.constFirst();
    return chosen.constFirst();
}

QString QtPrompts::openFile(const FileRequest& request)
{
    return runFileDialog(request, false);
}

QString QtPrompts::saveFile(const FileRequest& request)
{
    return runFileDialog(request, true);
}

std::optional<QColor> QtPrompts::chooseColour(const QColor& current)
{
    const QColor chosen = QColorDialog::getColor(current, parentWidget());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

bool QtPrompts::choosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, parentWidget());
    return dialog.exec() == QDialog::Accepted;
}

} // namespace urbaflux
