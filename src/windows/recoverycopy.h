#pragma once

// RecoveryCopy: what a crash or a kill must not lose. While the elaboration has changes that
// are not in the recovery copy yet, the copy is rewritten (the complete archive and the title
// page, through the safe-file step) at most once per interval, 30 s in the program. Nothing is
// written while nothing changed: the state's revision tells at no cost whether the data
// changed, a comparison of eight texts whether the title page did. The bytes are made on the
// user-interface thread (a few milliseconds even for 180 areas) and written by a worker, so a
// slow or full disk never holds up typing.
//
// At start, a copy left by a run that did not end cleanly is offered back ("Ripristinare i dati
// non salvati del <data ora>?"); a clean exit removes it.

#include "titlepage.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

class QLockFile;
class QThread;

namespace urbaflux {

struct AppContext;

// The title-page texts as the program holds them now (the title-page window's, while it
// exists); the one place the recovery copy reads them from.
TitlePage currentTitlePage(AppContext& context);

class RecoveryCopy : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultIntervalMs = 30000;

    // The copy lives in folder (the user's data folder when empty).
    explicit RecoveryCopy(AppContext& context, const QString& folder = QString(),
                          int intervalMs = kDefaultIntervalMs);
    ~RecoveryCopy() override;

    QString filePath() const { return m_path; }

    // At start: when a copy was left behind, asks whether to restore it; restores it exactly
    // on "Sì", removes it on "No". Returns true when the elaboration was restored.
    bool offerRestore();
    // Starts watching for changes.
    void start();
    // A clean exit: no copy stays behind.
    void removeCopy();

Q_SIGNALS:
    // A copy was written (ok) or could not be (the reason, for the tests and the log).
    void written(bool ok, const QString& error);

private:
    void tick();
    bool changed() const;

    AppContext& m_context;
    QString m_path;
    QTimer m_timer;
    quint64 m_writtenRevision = 0;
    TitlePage m_writtenTitlePage;
    QThread* m_worker = nullptr; // the copy being written, if any
    std::unique_ptr<QLockFile> m_lock;
    bool m_enabled = false; // this run holds the copy
};

} // namespace urbaflux
