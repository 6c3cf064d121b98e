#include "scriptedprompts.h"

#include <QDir>
#include <QPrinter>
#include <QTest>

namespace urbaflux {

QString describe(ScriptedPrompts::Kind kind)
{
    switch (kind) {
    case ScriptedPrompts::Kind::Message:
        return QStringLiteral("message box");
    case ScriptedPrompts::Kind::OpenFile:
        return QStringLiteral("open-file dialog");
    case ScriptedPrompts::Kind::SaveFile:
        return QStringLiteral("save-file dialog");
    case ScriptedPrompts::Kind::Colour:
        return QStringLiteral("colour dialog");
    case ScriptedPrompts::Kind::Printer:
        return QStringLiteral("printer dialog");
    }
    return {};
}

void ScriptedPrompts::expectMessage(MessageAnswer answer)
{
    Answer a;
    a.kind = Kind::Message;
    a.message = answer;
    m_queue.push_back(a);
}

void ScriptedPrompts::expectOpenFile(const QString& path)
{
    Answer a;
    a.kind = Kind::OpenFile;
    a.path = path;
    m_queue.push_back(a);
}

void ScriptedPrompts::expectSaveFile(const QString& path)
{
    Answer a;
    a.kind = Kind::SaveFile;
    a.path = path;
    m_queue.push_back(a);
}

void ScriptedPrompts::expectColour(std::optional<QColor> colour)
{
    Answer a;
    a.kind = Kind::Colour;
    a.colour = colour;
    m_queue.push_back(a);
}

void ScriptedPrompts::expectPrinter(bool accept, const QString& pdfPath)
{
    Answer a;
    a.kind = Kind::Printer;
    a.accept = accept;
    a.path = pdfPath;
    m_queue.push_back(a);
}

void ScriptedPrompts::fail(const QString& description)
{
    m_failures.append(description);
    // Marks the running test as failed even though the code under test carries on; the test
    // function sees it through UF_VERIFY_PROMPTS or verifyDone().
    QTest::qFail(qPrintable(description), __FILE__, __LINE__);
}

std::optional<ScriptedPrompts::Answer> ScriptedPrompts::take(Kind kind, const QString& what)
{
    if (m_queue.empty()) {
        fail(QStringLiteral("Unexpected %1: %2").arg(describe(kind), what));
        return std::nullopt;
    }
    const Answer next = m_queue.front();
    if (next.kind != kind) {
        fail(QStringLiteral("Expected a %1 but got a %2: %3")
                 .arg(describe(next.kind), describe(kind), what));
        return std::nullopt;
    }
    m_queue.pop_front();
    return next;
}

MessageAnswer ScriptedPrompts::message(const MessageRequest& request)
{
    Record record;
    record.kind = Kind::Message;
    record.message = request;
    m_records.append(record);
    const auto answer =
        take(Kind::Message, QStringLiteral("\"%1\" / \"%2\"").arg(request.title, request.text));
    if (!answer) {
        // The cautious answer: nothing destructive happens on a prompt nobody planned.
        return request.buttons == MessageButtons::YesNo               ? MessageAnswer::No
               : request.buttons == MessageButtons::SaveDiscardCancel ? MessageAnswer::Cancel
                                                                      : MessageAnswer::Ok;
    }
    const bool threeWay = answer->message == MessageAnswer::Save ||
                          answer->message == MessageAnswer::Discard ||
                          answer->message == MessageAnswer::Cancel;
    if ((request.buttons == MessageButtons::SaveDiscardCancel) != threeWay) {
        fail(QStringLiteral("Answer of another kind of message box: \"%1\"").arg(request.text));
        return request.buttons == MessageButtons::SaveDiscardCancel ? MessageAnswer::Cancel
                                                                    : MessageAnswer::No;
    }
    if (request.buttons == MessageButtons::Ok && answer->message != MessageAnswer::Ok) {
        fail(QStringLiteral("Answered Yes/No to an OK message box: \"%1\"").arg(request.text));
        return MessageAnswer::Ok;
    }
    if (request.buttons == MessageButtons::YesNo && answer->message == MessageAnswer::Ok) {
        fail(QStringLiteral("Answered OK to a Yes/No message box: \"%1\"").arg(request.text));
        return MessageAnswer::No;
    }
    return answer->message;
}

QString ScriptedPrompts::openFile(const FileRequest& request)
{
    Record record;
    record.kind = Kind::OpenFile;
    record.file = request;
    m_records.append(record);
    const auto answer = take(Kind::OpenFile, QStringLiteral("\"%1\"").arg(request.title));
    return answer ? answer->path : QString();
}

QString ScriptedPrompts::saveFile(const FileRequest& request)
{
    Record record;
    record.kind = Kind::SaveFile;
    record.file = request;
    m_records.append(record);
    const auto answer = take(Kind::SaveFile, QStringLiteral("\"%1\"").arg(request.title));
    return answer ? answer->path : QString();
}

std::optional<QColor> ScriptedPrompts::chooseColour(const QColor& current)
{
    Record record;
    record.kind = Kind::Colour;
    record.colour = current;
    m_records.append(record);
    const auto answer = take(Kind::Colour, current.name());
    return answer ? answer->colour : std::nullopt;
}

bool ScriptedPrompts::choosePrinter(QPrinter& printer)
{
    Record record;
    record.kind = Kind::Printer;
    m_records.append(record);
    const auto answer = take(Kind::Printer, QString());
    if (!answer || !answer->accept)
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(answer->path.isEmpty()
                                  ? QDir::temp().filePath(QStringLiteral("urbaflux-scripted.pdf"))
                                  : answer->path);
    return true;
}

QList<MessageRequest> ScriptedPrompts::messages() const
{
    QList<MessageRequest> result;
    for (const Record& r : m_records) {
        if (r.kind == Kind::Message)
            result.append(r.message);
    }
    return result;
}

QList<FileRequest> ScriptedPrompts::fileRequests() const
{
    QList<FileRequest> result;
    for (const Record& r : m_records) {
        if (r.kind == Kind::OpenFile || r.kind == Kind::SaveFile)
            result.append(r.file);
    }
    return result;
}

QList<QColor> ScriptedPrompts::colourRequests() const
{
    QList<QColor> result;
    for (const Record& r : m_records) {
        if (r.kind == Kind::Colour)
            result.append(r.colour);
    }
    return result;
}

int ScriptedPrompts::printerRequests() const
{
    int count = 0;
    for (const Record& r : m_records) {
        if (r.kind == Kind::Printer)
            ++count;
    }
    return count;
}

MessageRequest ScriptedPrompts::lastMessage() const
{
    for (auto it = m_records.crbegin(); it != m_records.crend(); ++it) {
        if (it->kind == Kind::Message)
            return it->message;
    }
    return {};
}

bool ScriptedPrompts::verifyDone()
{
    if (!m_failures.isEmpty())
        return false; // already reported where it happened
    if (!m_queue.empty()) {
        QStringList left;
        for (const Answer& a : m_queue)
            left.append(describe(a.kind));
        fail(QStringLiteral("Queued answers never asked for: %1")
                 .arg(left.join(QStringLiteral(", "))));
        return false;
    }
    return true;
}

void ScriptedPrompts::clear()
{
    m_queue.clear();
    m_records.clear();
    m_failures.clear();
}

} // namespace urbaflux
