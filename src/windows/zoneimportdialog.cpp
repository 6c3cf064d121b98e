#include "zoneimportdialog.h"

#include <numbertext.h>
#include <prompts.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace urbaflux {

// The zones drawn small, north up, longitudes shrunk by the cosine of the middle latitude so
// that the shapes look as on a map.
class ZonePreview : public QWidget
{
public:
    explicit ZonePreview(QWidget* parent) : QWidget(parent)
    {
        setMinimumSize(260, 220);
        setObjectName(QStringLiteral("anteprima"));
    }

    void setZones(std::vector<Zone> zones)
    {
        m_zones = std::move(zones);
        update();
    }
    int zoneCount() const { return static_cast<int>(m_zones.size()); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0xf4, 0xf1, 0xe8));
        if (m_zones.empty())
            return;
        double west = 1e9, east = -1e9, south = 1e9, north = -1e9;
        const auto widen = [&](const GeoPoint& p) {
            west = std::min(west, p.lon);
            east = std::max(east, p.lon);
            south = std::min(south, p.lat);
            north = std::max(north, p.lat);
        };
        for (const Zone& zone : m_zones) {
            widen(zone.point);
            for (const GeoPolygon& part : zone.parts)
                for (const GeoPoint& p : part.outer)
                    widen(p);
        }
        const double shrink = std::cos((south + north) / 2 * M_PI / 180.0);
        const double spanX = std::max((east - west) * shrink, 1e-9);
        const double spanY = std::max(north - south, 1e-9);
        const QRectF area = QRectF(rect()).adjusted(8, 8, -8, -8);
        const double scale = std::min(area.width() / spanX, area.height() / spanY);
        const double left = area.center().x() - spanX * scale / 2;
        const double top = area.center().y() - spanY * scale / 2;
        const auto place = [&](const GeoPoint& p) {
            return QPointF(left + (p.lon - west) * shrink * scale, top + (north - p.lat) * scale);
        };
        painter.setRenderHint(QPainter::Antialiasing);
        for (const Zone& zone : m_zones) {
            QPainterPath path;
            path.setFillRule(Qt::OddEvenFill);
            const auto addRing = [&](const GeoRing& ring) {
                QPolygonF polygon;
                for (const GeoPoint& p : ring)
                    polygon << place(p);
                path.addPolygon(polygon);
                path.closeSubpath();
            };
            for (const GeoPolygon& part : zone.parts) {
                addRing(part.outer);
                for (const GeoRing& hole : part.holes)
                    addRing(hole);
            }
            painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
            painter.setBrush(QColor(0xc8, 0xdc, 0xb4));
            painter.drawPath(path);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xb0, 0x30, 0x20));
        for (const Zone& zone : m_zones)
            painter.drawEllipse(place(zone.point), 2.5, 2.5);
    }

private:
    std::vector<Zone> m_zones;
};

namespace {

const QString kNone = QStringLiteral("(nessuno)");

QComboBox* combo(const QString& name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    return box;
}

QLineEdit* edit(const QString& name, const QString& text, QWidget* parent)
{
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

ZoneImportDialog::ZoneImportDialog(const QString& path, DistanceUnit unit, Prompts& prompts,
                                   QWidget* parent)
    : QDialog(parent), m_path(path), m_unit(unit), m_prompts(prompts)
{
    setObjectName(QStringLiteral("importazioneZone"));
    setWindowTitle(QStringLiteral("Importa zone da %1").arg(QFileInfo(path).fileName()));
    auto* form = new QFormLayout;
    m_layer = combo(QStringLiteral("strato"), this);
    m_nameField = combo(QStringLiteral("campoNome"), this);
    m_originField = combo(QStringLiteral("campoOrigine"), this);
    m_destinationField = combo(QStringLiteral("campoDestinazione"), this);
    m_codeField = combo(QStringLiteral("campoCodice"), this);
    m_filter = edit(QStringLiteral("filtro"), QString(), this);
    m_filter->setPlaceholderText(QStringLiteral("per esempio COD_PROV = 1"));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("conteggio"));
    m_point = combo(QStringLiteral("punto"), this);
    m_point->addItems({QStringLiteral("punto sulla superficie"), QStringLiteral("centroide")});
    m_factor = edit(QStringLiteral("tortuosita"), QStringLiteral("1.2"), this);
    m_intrazonal = combo(QStringLiteral("intrazonale"), this);
    m_intrazonal->addItems({QStringLiteral("metà della distanza dalla zona più vicina"),
                            QStringLiteral("2/3 del raggio del cerchio di uguale superficie"),
                            QStringLiteral("valore indicato")});
    m_intrazonalValue = edit(QStringLiteral("valoreIntrazonale"), QString(), this);
    m_intrazonalValue->setEnabled(false);
    m_encoding = combo(QStringLiteral("codifica"), this);
    for (const QString& encoding : zoneEncodings())
        m_encoding->addItem(encoding.isEmpty() ? QStringLiteral("automatica") : encoding, encoding);
    m_srs = edit(QStringLiteral("srs"), QString(), this);
    m_srs->setPlaceholderText(QStringLiteral("se lo strato non lo dichiara, es. EPSG:32632"));

    form->addRow(QStringLiteral("Strato"), m_layer);
    form->addRow(QStringLiteral("Campo dei nomi"), m_nameField);
    form->addRow(QStringLiteral("Campo delle origini"), m_originField);
    form->addRow(QStringLiteral("Campo delle destinazioni"), m_destinationField);
    form->addRow(QStringLiteral("Campo dei codici"), m_codeField);
    form->addRow(QStringLiteral("Filtro"), m_filter);
    form->addRow(QString(), m_count);
    form->addRow(QStringLiteral("Punto rappresentativo"), m_point);
    form->addRow(QStringLiteral("Coefficiente di tortuosità"), m_factor);
    form->addRow(QStringLiteral("Distanza intrazonale"), m_intrazonal);
    form->addRow(unit == DistanceUnit::Metres ? QStringLiteral("Valore (metri)")
                                              : QStringLiteral("Valore (chilometri)"),
                 m_intrazonalValue);
    form->addRow(QStringLiteral("Codifica dei testi"), m_encoding);
    form->addRow(QStringLiteral("Sistema di riferimento"), m_srs);

    m_preview = new ZonePreview(this);
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("avviso"));
    m_notice->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(QStringLiteral("&Importa"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("importa"));
    buttons->addButton(QStringLiteral("&Annulla"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ZoneImportDialog::runImport);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* columns = new QHBoxLayout;
    columns->addLayout(form, 3);
    columns->addWidget(m_preview, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(m_notice);
    layout->addWidget(buttons);

    connect(m_layer, &QComboBox::currentIndexChanged, this, [this] { describe(); });
    connect(m_encoding, &QComboBox::currentIndexChanged, this, [this] { describe(); });
    connect(m_filter, &QLineEdit::editingFinished, this, [this] { describe(); });
    connect(m_srs, &QLineEdit::editingFinished, this, [this] { describe(); });
    connect(m_point, &QComboBox::currentIndexChanged, this, [this] { refreshPreview(); });
    connect(m_nameField, &QComboBox::currentIndexChanged, this, [this] { refreshPreview(); });
    connect(m_intrazonal, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_intrazonalValue->setEnabled(index == 2); });
    describe();
}

ZoneImportDialog::~ZoneImportDialog() = default;

QString ZoneImportDialog::countText() const
{
    return m_count->text();
}

int ZoneImportDialog::previewZoneCount() const
{
    return m_preview->zoneCount();
}

void ZoneImportDialog::fillFields(const std::vector<LayerField>& fields)
{
    const auto keep = [](QComboBox* box) { return box->currentText(); };
    const QString name = keep(m_nameField);
    const QString origin = keep(m_originField);
    const QString destination = keep(m_destinationField);
    const QString code = keep(m_codeField);
    m_nameField->clear();
    for (QComboBox* box : {m_originField, m_destinationField, m_codeField}) {
        box->clear();
        box->addItem(kNone);
    }
    QString guess;
    int numericCount = 0;
    bool guessLooksLikeName = false;
    for (const LayerField& field : fields) {
        m_nameField->addItem(field.name);
        m_codeField->addItem(field.name);
        // Numeric fields first; a text field (every column of a CSV) may hold numbers too, which
        // the import checks one by one.
        if (field.numeric) {
            m_originField->insertItem(numericCount + 1, field.name);
            m_destinationField->insertItem(numericCount + 1, field.name);
            ++numericCount;
        } else {
            m_originField->addItem(field.name);
            m_destinationField->addItem(field.name);
        }
        const bool looksLikeName =
            field.name.contains(QStringLiteral("nom"), Qt::CaseInsensitive) ||
            field.name.contains(QStringLiteral("name"), Qt::CaseInsensitive);
        // The name field: the first text field, or the first whose name says it holds names.
        if (!field.numeric && (guess.isEmpty() || (looksLikeName && !guessLooksLikeName))) {
            guessLooksLikeName = looksLikeName;
            guess = field.name;
        }
    }
    const auto choose = [](QComboBox* box, const QString& text) {
        const int index = box->findText(text);
        if (index >= 0)
            box->setCurrentIndex(index);
    };
    choose(m_nameField, name.isEmpty() ? guess : name);
    choose(m_originField, origin);
    choose(m_destinationField, destination);
    choose(m_codeField, code);
}

ZoneQuery ZoneImportDialog::query() const
{
    ZoneQuery query;
    query.source.path = m_path;
    query.source.layer = m_layer->currentText();
    query.source.encoding = m_encoding->currentData().toString();
    query.source.srs = m_srs->text().trimmed();
    const auto field = [](const QComboBox* box) {
        return box->currentText() == kNone ? QString() : box->currentText();
    };
    query.nameField = field(m_nameField);
    query.originField = field(m_originField);
    query.destinationField = field(m_destinationField);
    query.codeField = field(m_codeField);
    query.filter = m_filter->text().trimmed();
    query.point = m_point->currentIndex() == 1 ? PointRule::Centroid : PointRule::PointOnSurface;
    return query;
}

void ZoneImportDialog::describe()
{
    if (m_filling)
        return;
    m_filling = true;
    ZoneQuery wanted = query();
    const GeoResult<LayerSummary> summary = describeLayer(wanted.source, wanted.filter);
    if (summary.ok()) {
        if (m_layer->count() != summary.value->layers.size()) {
            m_layer->clear();
            m_layer->addItems(summary.value->layers);
            m_layer->setCurrentText(summary.value->layer);
        }
        fillFields(summary.value->fields);
        const qint64 count = summary.value->featureCount;
        m_count->setText(count == 1 ? QStringLiteral("1 zona selezionata")
                                    : QStringLiteral("%1 zone selezionate").arg(count));
        m_notice->setText(!summary.value->hasCrs && !summary.value->points &&
                                  m_srs->text().isEmpty()
                              ? QStringLiteral("Lo strato non dichiara il sistema di riferimento: "
                                               "indicarlo.")
                              : QString());
    } else {
        m_count->clear();
        m_notice->setText(summary.error);
    }
    m_filling = false;
    refreshPreview();
}

void ZoneImportDialog::refreshPreview()
{
    if (m_filling)
        return;
    ZoneQuery wanted = query();
    wanted.keepDuplicateNames = true;
    std::vector<Zone> zones;
    if (!wanted.nameField.isEmpty()) {
        const GeoResult<ZoneLayer> read = readZoneLayer(wanted);
        if (read.ok()) {
            for (const ImportedZone& zone : read.value->zones)
                zones.push_back(zone.zone);
        }
    }
    m_preview->setZones(std::move(zones));
}

std::optional<DistanceOptions> ZoneImportDialog::distanceOptions()
{
    DistanceOptions options;
    options.unit = m_unit;
    const QString title = QStringLiteral("Importa zone");
    const std::optional<double> factor = parseStrictNumber(m_factor->text());
    if (!factor) {
        m_prompts.inform(MessageIcon::Exclamation, title,
                         QStringLiteral("Il coefficiente di tortuosità deve essere un numero "
                                        "(\".\" per i decimali)."));
        m_factor->setFocus();
        return std::nullopt;
    }
    options.detourFactor = *factor;
    options.intrazonal = m_intrazonal->currentIndex() == 1   ? IntrazonalRule::EqualAreaRadius
                         : m_intrazonal->currentIndex() == 2 ? IntrazonalRule::Typed
                                                             : IntrazonalRule::HalfNearest;
    if (options.intrazonal == IntrazonalRule::Typed) {
        const std::optional<double> value = parseStrictNumber(m_intrazonalValue->text());
        if (!value) {
            m_prompts.inform(MessageIcon::Exclamation, title,
                             QStringLiteral("Indicare la distanza intrazonale come numero (\".\" "
                                            "per i decimali)."));
            m_intrazonalValue->setFocus();
            return std::nullopt;
        }
        options.typedIntrazonal = *value;
    }
    return options;
}

void ZoneImportDialog::runImport()
{
    const QString title = QStringLiteral("Importa zone");
    const std::optional<DistanceOptions> options = distanceOptions();
    if (!options)
        return;
    m_prompts.setOwner(this);
    ZoneQuery wanted = query();
    GeoResult<ZoneLayer> read = readZoneLayer(wanted);
    if (read.problem == ZoneProblem::DuplicateNames) {
        if (!m_prompts.askYesNo(MessageIcon::Question, title,
                                read.error + QStringLiteral("\nTenerle comunque?"),
                                MessageAnswer::No))
            return;
        wanted.keepDuplicateNames = true;
        read = readZoneLayer(wanted);
    }
    if (!read.ok()) {
        m_prompts.inform(read.problem == ZoneProblem::MissingCrs ? MessageIcon::Exclamation
                                                                 : MessageIcon::Critical,
                         title, read.error);
        if (read.problem == ZoneProblem::MissingCrs || read.problem == ZoneProblem::BadCrs)
            m_srs->setFocus();
        return;
    }
    GeoResult<ZoneStudy> study = buildZoneStudy(*read.value, *options);
    if (!study.ok()) {
        m_prompts.inform(MessageIcon::Critical, title, study.error);
        return;
    }
    m_study = std::move(*study.value);
    m_notices = read.value->notices;
    accept();
}

} // namespace urbaflux
