#include "distanzematrice.h"

#include "prompts.h"

#include <projectstate.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace urbaflux {

namespace {

QStringList lines(const QString& text)
{
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList result = body.split(QLatin1Char('\n'));
    // A spreadsheet ends its copy with a line break.
    while (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

} // namespace

DistanceMatrixModel::DistanceMatrixModel(ProjectState& state, std::function<void()> written,
                                         QObject* parent)
    : QAbstractTableModel(parent), m_state(state), m_written(std::move(written)), m_count(count())
{
}

int DistanceMatrixModel::count() const
{
    return std::clamp(m_state.areas.count, 0, kMaxAreas);
}

int DistanceMatrixModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int DistanceMatrixModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count;
}

QVariant DistanceMatrixModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_count || index.column() >= m_count)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_state.distances
            .distance[static_cast<size_t>(pairIndex(index.row() + 1, index.column() + 1, m_count))];
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole)
        return m_state.distances.pairNames[static_cast<size_t>(
            pairIndex(index.row() + 1, index.column() + 1, m_count))];
    return {};
}

QVariant DistanceMatrixModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section < 0 || section >= m_count)
        return {};
    const QString& name = m_state.areas.name[static_cast<size_t>(section + 1)];
    if (role == Qt::DisplayRole)
        return name.isEmpty() ? QString::number(section + 1) : name;
    if (role == Qt::ToolTipRole)
        return (orientation == Qt::Vertical ? QStringLiteral("origine n.")
                                            : QStringLiteral("destinazione n.")) +
               QString::number(section + 1);
    return {};
}

Qt::ItemFlags DistanceMatrixModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool DistanceMatrixModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_count ||
        index.column() >= m_count)
        return false;
    QString& distance =
        m_state.distances
            .distance[static_cast<size_t>(pairIndex(index.row() + 1, index.column() + 1, m_count))];
    const QString text = value.toString();
    if (distance == text)
        return true;
    distance = text;
    Q_EMIT dataChanged(index, index);
    if (m_written)
        m_written();
    return true;
}

bool DistanceMatrixModel::pasteMatrix(int row, int column, const QString& text, QString* error)
{
    const QStringList rows = lines(text);
    if (rows.isEmpty())
        return true;
    int widest = 0;
    for (const QString& line : rows)
        widest = std::max(widest, int(line.count(QLatin1Char('\t'))) + 1);
    const int lastRow = row + int(rows.size());
    const int lastColumn = column + widest;
    if (row < 0 || column < 0 || lastRow > m_count || lastColumn > m_count) {
        if (error)
            *error = QStringLiteral("Impossibile incollare: la tabella copiata ha %1 righe e %2 "
                                    "colonne, ma dall'origine n.%3 e dalla destinazione n.%4 le "
                                    "aree sono %5 e %6. Nessuna distanza è stata incollata.")
                         .arg(rows.size())
                         .arg(widest)
                         .arg(row + 1)
                         .arg(column + 1)
                         .arg(std::max(0, m_count - row))
                         .arg(std::max(0, m_count - column));
        return false;
    }
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList cells = rows[r].split(QLatin1Char('\t'));
        for (int c = 0; c < cells.size(); ++c)
            m_state.distances
                .distance[static_cast<size_t>(pairIndex(row + r + 1, column + c + 1, m_count))] =
                cells[c].trimmed();
    }
    Q_EMIT dataChanged(index(row, column), index(lastRow - 1, lastColumn - 1));
    if (m_written)
        m_written();
    return true;
}

void DistanceMatrixModel::refreshCells()
{
    if (m_count > 0)
        Q_EMIT dataChanged(index(0, 0), index(m_count - 1, m_count - 1));
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, std::max(0, m_count - 1));
    Q_EMIT headerDataChanged(Qt::Vertical, 0, std::max(0, m_count - 1));
}

void DistanceMatrixModel::reload()
{
    beginResetModel();
    m_count = count();
    endResetModel();
}

DistanzeMatrice::DistanzeMatrice(ProjectState& state, Prompts& prompts,
                                 std::function<void()> written, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_prompts(prompts)
{
    setObjectName(QStringLiteral("distanzematrice"));
    setWindowTitle(QStringLiteral("Urbaflux: distanze tra le aree (origini nelle righe, "
                                  "destinazioni nelle colonne)"));
    m_model = new DistanceMatrixModel(state, std::move(written), this);

    auto* bar = new QMenuBar(this);
    m_menu = bar->addMenu(QStringLiteral("&Matrice"));
    m_menu->setObjectName(QStringLiteral("mnuMatrice"));
    QAction* paste = m_menu->addAction(QStringLiteral("&Incolla dal foglio di calcolo"));
    paste->setObjectName(QStringLiteral("mnuIncollaMatrice"));
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(paste, &QAction::triggered, this, &DistanzeMatrice::pasteClipboard);
    m_menu->addSeparator();
    QAction* close = m_menu->addAction(QStringLiteral("&Chiudi"));
    close->setObjectName(QStringLiteral("mnuChiudiMatrice"));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(paste);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("matrice"));
    m_table->setModel(m_model);
    m_table->horizontalHeader()->setDefaultSectionSize(90);
    m_table->verticalHeader()->setDefaultSectionSize(22);
    m_table->setToolTip(QStringLiteral("una distanza per cella; una matrice copiata da un foglio "
                                       "di calcolo si incolla tutta insieme con Ctrl+V"));
    m_table->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(bar);
    layout->addWidget(m_table);
    resize(720, 480);
}

void DistanzeMatrice::refresh()
{
    if (m_model->rowCount() != std::clamp(m_state.areas.count, 0, kMaxAreas))
        m_model->reload();
    else
        m_model->refreshCells();
}

void DistanzeMatrice::pasteClipboard()
{
    QModelIndex at = m_table->currentIndex();
    if (!at.isValid())
        at = m_model->index(0, 0);
    QString error;
    if (!m_model->pasteMatrix(at.row(), at.column(), QGuiApplication::clipboard()->text(), &error))
        m_prompts.inform(MessageIcon::Exclamation, m_state.run.checkTitle, error);
}

bool DistanzeMatrice::eventFilter(QObject* watched, QEvent* event)
{
    // The view would copy its own cells on Ctrl+V's neighbours and ignore the paste itself;
    // the paste of a whole matrix is the command of this window.
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        pasteClipboard();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace urbaflux
