#pragma once

// "Importa zone da file GIS...": the dialog that reads a layer the user chose. It shows the
// layer's fields for the name, origin, destination and code, a filter with the count it
// selects, the representative point, the distance options, an encoding override and the
// system of a layer that declares none, and draws the zones it would import. Importa reads
// the layer and computes the distances; the dialog closes only on a study that succeeded
// (asking through Prompts whether to keep repeated names), which study() then holds. Nothing
// in the state changes here: the caller applies the study.

#include <zonestudy.h>

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace urbaflux {

class Prompts;
class ZonePreview;

class ZoneImportDialog : public QDialog
{
    Q_OBJECT

public:
    ZoneImportDialog(const QString& path, DistanceUnit unit, Prompts& prompts,
                     QWidget* parent = nullptr);
    ~ZoneImportDialog() override;

    // The study once Importa succeeded.
    const std::optional<ZoneStudy>& study() const { return m_study; }
    // The notices of the read (repairs), for the caller to show after applying.
    const QStringList& notices() const { return m_notices; }
    // The count line under the filter ("12 zone selezionate").
    QString countText() const;
    // The zones the preview draws.
    int previewZoneCount() const;

    // Runs Importa, as its button does.
    void runImport();

private:
    void describe();       // layer, encoding, system or filter changed
    void refreshPreview(); // the zones as they would come
    void fillFields(const std::vector<LayerField>& fields);
    ZoneQuery query() const;
    std::optional<DistanceOptions> distanceOptions();

    QString m_path;
    DistanceUnit m_unit;
    Prompts& m_prompts;
    QComboBox* m_layer = nullptr;
    QComboBox* m_nameField = nullptr;
    QComboBox* m_originField = nullptr;
    QComboBox* m_destinationField = nullptr;
    QComboBox* m_codeField = nullptr;
    QLineEdit* m_filter = nullptr;
    QLabel* m_count = nullptr;
    QComboBox* m_point = nullptr;
    QLineEdit* m_factor = nullptr;
    QComboBox* m_intrazonal = nullptr;
    QLineEdit* m_intrazonalValue = nullptr;
    QComboBox* m_encoding = nullptr;
    QLineEdit* m_srs = nullptr;
    QLabel* m_notice = nullptr;
    ZonePreview* m_preview = nullptr;
    QPushButton* m_import = nullptr;
    std::optional<ZoneStudy> m_study;
    QStringList m_notices;
    bool m_filling = false;
};

} // namespace urbaflux
