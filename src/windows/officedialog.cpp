#include "officedialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace urbaflux {

OfficeDialog::OfficeDialog(const TechnicalOffice& office, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("studiotecnico"));
    setWindowTitle(QStringLiteral("Studio tecnico"));

    m_name = new QLineEdit(office.name, this);
    m_name->setObjectName(QStringLiteral("nomestudio"));
    m_name->setToolTip(QStringLiteral("il nome dello studio che effettua la elaborazione"));
    m_address = new QLineEdit(office.address, this);
    m_address->setObjectName(QStringLiteral("indirizzostudio"));
    m_address->setToolTip(QStringLiteral("l'indirizzo dello studio"));
    // Room for a name and an address of a real office without scrolling sideways.
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * 50);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Nome:"), m_name);
    form->addRow(QStringLiteral("In&dirizzo:"), m_address);

    // The texts are set here rather than left to Qt's translations, which may be missing.
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_cancel = buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    m_cancel->setObjectName(QStringLiteral("annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);
    m_name->setFocus(Qt::OtherFocusReason);
}

OfficeDialog::~OfficeDialog() = default;

TechnicalOffice OfficeDialog::office() const
{
    return {m_name->text(), m_address->text()};
}

} // namespace urbaflux
