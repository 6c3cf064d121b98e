#pragma once

// "Studio tecnico": the small dialog where the user sets the name and the address of the
// technical office that the title page shows and the report prints. It only edits the two
// texts; the title-page window saves them as the user's setting when the dialog is accepted.

#include "technicaloffice.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace urbaflux {

class OfficeDialog : public QDialog
{
    Q_OBJECT

public:
    explicit OfficeDialog(const TechnicalOffice& office, QWidget* parent = nullptr);
    ~OfficeDialog() override;

    // The texts as the boxes hold them now, blanks included.
    TechnicalOffice office() const;

    QLineEdit* nameBox() const { return m_name; }
    QLineEdit* addressBox() const { return m_address; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    QLineEdit* m_name = nullptr;
    QLineEdit* m_address = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace urbaflux
