#pragma once

// The prompts of a test: every answer is queued beforehand, in the order the code under test
// will ask, and every request is recorded for the test to inspect. A prompt that nobody queued,
// or of another kind than the next queued answer, fails the running test; since that happens
// deep inside the code under test, the test function must return early: use
// UF_VERIFY_PROMPTS(prompts) after each step that may prompt, and verifyDone() at the end.

#include "prompts.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTest>
#include <deque>
#include <optional>

namespace urbaflux {

class ScriptedPrompts : public Prompts
{
public:
    enum class Kind
    {
        Message,
        OpenFile,
        SaveFile,
        Colour,
        Printer
    };

    // One request as the code under test made it.
    struct Record
    {
        Kind kind = Kind::Message;
        MessageRequest message; // Kind::Message
        FileRequest file;       // Kind::OpenFile, Kind::SaveFile
        QColor colour;          // Kind::Colour: the current colour offered
    };

    ScriptedPrompts() = default;
    ~ScriptedPrompts() override = default;

    // Queue the answer to the next prompt of that kind.
    void expectMessage(MessageAnswer answer = MessageAnswer::Ok);
    void expectOpenFile(const QString& path);        // empty: the user cancels
    void expectSaveFile(const QString& path);        // empty: the user cancels
    void expectColour(std::optional<QColor> colour); // nullopt: the user cancels
    // An accepted printer prints into a PDF file (pdfPath, or a file in the temporary folder),
    // never onto a real printer.
    void expectPrinter(bool accept, const QString& pdfPath = QString());

    // --- Prompts ---
    MessageAnswer message(const MessageRequest& request) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;
    std::optional<QColor> chooseColour(const QColor& current) override;
    bool choosePrinter(QPrinter& printer) override;

    // Everything asked so far, in order, and views by kind.
    const QList<Record>& records() const { return m_records; }
    QList<MessageRequest> messages() const;
    QList<FileRequest> fileRequests() const; // open and save, in order
    QList<QColor> colourRequests() const;
    int printerRequests() const;
    MessageRequest lastMessage() const; // a default request when none was made

    // Prompts that came unexpected, described; empty while everything went to plan.
    const QStringList& failures() const { return m_failures; }
    bool hasFailed() const { return !m_failures.isEmpty(); }
    int pending() const { return static_cast<int>(m_queue.size()); }

    // True when every queued answer was used and nothing unexpected came; otherwise fails the
    // running test and returns false.
    bool verifyDone();
    // Forgets the queue, the records and the failures.
    void clear();

private:
    struct Answer
    {
        Kind kind = Kind::Message;
        MessageAnswer message = MessageAnswer::Ok;
        QString path;
        std::optional<QColor> colour;
        bool accept = false;
    };

    // The next answer when it is of the kind asked; otherwise records the failure.
    std::optional<Answer> take(Kind kind, const QString& what);
    void fail(const QString& description);

    std::deque<Answer> m_queue;
    QList<Record> m_records;
    QStringList m_failures;
};

QString describe(ScriptedPrompts::Kind kind);

} // namespace urbaflux

// Ends the test function at once when a prompt failed inside the code just run.
#define UF_VERIFY_PROMPTS(prompts)                                                                 \
    do {                                                                                           \
        if ((prompts).hasFailed() || QTest::currentTestFailed())                                   \
            QFAIL(qPrintable((prompts).failures().join(QStringLiteral("; "))));                    \
    } while (false)
