#include "recoverycopy.h"

#include "appcontext.h"
#include "frontespizio.h"
#include "menu.h"
#include "prompts.h"
#include "windowmanager.h"

#include <archivefile.h>
#include <projectstate.h>
#include <recoveryarchive.h>
#include <safefile.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace urbaflux {

namespace {

bool writeCopy(const QString& path, const QByteArray& bytes, QString* error)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error = QStringLiteral("la cartella \"%1\" non può essere creata")
                     .arg(archiveDisplayName(QFileInfo(path).absolutePath()));
        return false;
    }
    SafeFile file(path);
    if (file.open()) {
        file.write(bytes);
        if (file.commit())
            return true;
    }
    *error = file.failureMessage(QStringLiteral("la copia di recupero"));
    return false;
}

} // namespace

TitlePage currentTitlePage(AppContext& context)
{
    // The state holds the texts whether or not the title-page window is open.
    return context.state.titlePage;
}

RecoveryCopy::RecoveryCopy(AppContext& context, const QString& folder, int intervalMs)
    : m_context(context)
{
    const QString place = folder.isEmpty()
                              ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                              : folder;
    m_path = QDir(place).filePath(QStringLiteral("Urbaflux-recupero"));
    // A second copy of the program running at the same time neither offers nor rewrites the
    // first one's copy. A lock left by a killed run is stale (its process is gone) and taken.
    QDir().mkpath(place);
    m_lock = std::make_unique<QLockFile>(m_path + QStringLiteral(".lock"));
    m_enabled = m_lock->tryLock(0);
    m_timer.setInterval(intervalMs);
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryCopy::tick);
    m_writtenRevision = context.state.inputRevision;
    m_writtenTitlePage = currentTitlePage(context);
}

RecoveryCopy::~RecoveryCopy()
{
    if (m_worker) {
        m_worker->wait();
        delete m_worker;
    }
}

void RecoveryCopy::start()
{
    if (m_enabled)
        m_timer.start();
}

bool RecoveryCopy::changed() const
{
    return m_context.state.inputRevision != m_writtenRevision ||
           currentTitlePage(m_context) != m_writtenTitlePage;
}

void RecoveryCopy::tick()
{
    if (m_worker || !changed())
        return;
    const quint64 revision = m_context.state.inputRevision;
    const TitlePage page = currentTitlePage(m_context);
    const QByteArray bytes =
        writeRecoveryBytes(m_context.state, page, QDateTime::currentDateTimeUtc());
    auto error = std::make_shared<QString>();
    auto ok = std::make_shared<bool>(false);
    m_worker = QThread::create(
        [path = m_path, bytes, error, ok] { *ok = writeCopy(path, bytes, error.get()); });
    connect(m_worker, &QThread::finished, this, [this, revision, page, error, ok] {
        m_worker->deleteLater();
        m_worker = nullptr;
        // A failed copy is tried again at the next tick.
        if (*ok) {
            m_writtenRevision = revision;
            m_writtenTitlePage = page;
        }
        Q_EMIT written(*ok, *error);
    });
    m_worker->start();
}

bool RecoveryCopy::offerRestore()
{
    if (!m_enabled || !QFileInfo(m_path).isFile())
        return false;
    const auto bytes = readArchiveFileBytes(m_path, QStringLiteral("una copia di recupero"));
    auto parsed = bytes.ok() ? parseRecoveryBytes(*bytes.value, m_path)
                             : Parsed<RecoveryRecord>::failure(bytes.error);
    const QString title = QStringLiteral("Urbaflux: dati non salvati");
    if (!parsed.ok()) {
        m_context.prompts.inform(MessageIcon::Exclamation, title,
                                 parsed.error + QStringLiteral(" I dati non salvati non si possono "
                                                               "ripristinare."));
        QFile::remove(m_path);
        return false;
    }
    const QString when =
        parsed.value->written.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    const MessageAnswer answer = m_context.prompts.message(
        {MessageIcon::Question, title,
         QStringLiteral("Ripristinare i dati non salvati del %1?").arg(when), MessageButtons::YesNo,
         MessageAnswer::Yes});
    if (answer != MessageAnswer::Yes) {
        QFile::remove(m_path);
        return false;
    }
    auto* menu = m_context.windows.touchAs<Menu>(WindowId::Menu);
    if (!menu)
        return false;
    menu->showCompleteRecord(parsed.value->elaboration);
    // What was restored is still not saved anywhere else: the copy stays until the next
    // change replaces it or a clean exit removes it.
    m_writtenRevision = m_context.state.inputRevision;
    m_writtenTitlePage = currentTitlePage(m_context);
    return true;
}

void RecoveryCopy::removeCopy()
{
    m_timer.stop();
    // A copy being written would otherwise land after the removal.
    if (m_worker)
        m_worker->wait();
    if (m_enabled)
        QFile::remove(m_path);
}

} // namespace urbaflux
