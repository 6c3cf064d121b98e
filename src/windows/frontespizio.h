#pragma once

// Window 5 of 5: the title page of the report. The eight boxes are the title page itself: the
// window holds their texts (titlePage()) for as long as it exists, and the complete archive and
// the full report read them from here. Beside them the window shows the technical office, a
// setting of the user edited in the "Studio tecnico" dialog. From here the title page is
// archived and reopened, the complete archive is written, and the report is started.

#include "officedialog.h"
#include "titlepage.h"
#include "windowframe.h"

#include <QDate>
#include <QPointer>
#include <QString>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace urbaflux {

// The date a new title page starts with: "dddd, d mmm yyyy" in Italian whatever the system's
// language, for instance "martedì, 8 dic 2026".
QString titlePageDate(const QDate& date);

class Frontespizio : public WindowFrame
{
    Q_OBJECT

public:
    // What the frame needs to know of this window.
    static WindowFacts facts();

    explicit Frontespizio(AppContext& context, QWidget* parent = nullptr);
    ~Frontespizio() override;

    // The eight boxes' current texts, kept in the state.
    const TitlePage& titlePage() const;
    // Sets the boxes in archive order (progetto, località, ..., allegati), each change with
    // its hint, as reading an archive does.
    void setTitlePage(TitlePage page);
    void titlePageRead(const TitlePage& page) override { setTitlePage(page); }
    // The box of a field, 0 to 7 in archive order.
    QLineEdit* box(int field) const;

    void refreshTitleHint();
    void checkTitlePage();
    void clearTitlePage();
    void printTitleData();

    void openTitleFile();
    void saveTitleFile();
    void saveTitleFileAs();
    // True when the whole elaboration was written.
    bool saveCompleteArchive();
    void deleteTitleFile();

    QString currentFile() const { return m_currentFile; }

    // Opens the "Studio tecnico" dialog (window-modal, without blocking); on OK the setting is
    // saved and the labels show it. An open dialog is brought to the front instead.
    void editTechnicalOffice();
    OfficeDialog* officeDialog() const { return m_officeDialog; }
    // The labels from the setting as it is stored now.
    void showTechnicalOffice();

    // --- What the frame dispatches to ---
    void apri_Click() override { openTitleFile(); }
    void salva_Click() override { saveTitleFile(); }
    void salvanome_Click() override { saveTitleFileAs(); }
    void salvatutto_Click() override { saveCompleteArchive(); }
    void eliminare_click() override { deleteTitleFile(); }
    void stampatutto_Click() override;
    void solodati_Click() override { printTitleData(); }
    void checkData() override { checkTitlePage(); }
    void clearData() override { clearTitlePage(); }

protected:
    void onLoad() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void writeTitleFile(const QString& knownFile, const QString& dialogTitle);
    QString archiveFailureTitle() const;

    std::array<QLineEdit*, TitlePage::kFieldCount> m_boxes{};
    QLabel* m_label1 = nullptr;
    QLabel* m_labelstudio = nullptr;
    QLabel* m_labelindirizzo = nullptr;
    QPushButton* m_officeButton = nullptr;
    QPushButton* m_stampa = nullptr;
    QPointer<OfficeDialog> m_officeDialog;

    QString m_currentFile;
    // What the file dialog's name box keeps between commands of this window.
    QString m_dialogFileName;
    // The complete archive's own: its name must not become the one the title-page save offers.
    QString m_completeDialogName;
};

// The whole elaboration saved through the title-page window's complete-archive command, as
// the exit question's "Salva" does; true when it was written.
bool saveWholeElaboration(AppContext& context);

} // namespace urbaflux
