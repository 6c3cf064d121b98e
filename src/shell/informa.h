#pragma once

// The about box: the program's name, description and version, and the system it runs on.
// "OK" hides it; it stays loaded until the exit sequence.

#include "windowmanager.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace urbaflux {

struct AppContext;

class Informa : public QWidget, public Loadable
{
    Q_OBJECT

public:
    explicit Informa(AppContext& context, QWidget* parent = nullptr);

    // The load step: caption and labels from the run values.
    void runLoad() override;

    // "per sistemi Linux a 64 bit " for the running system.
    static QString runningSystemText();
    // The same text for a kernel type and CPU architecture as QSysInfo names them.
    static QString systemText(const QString& kernelType, const QString& cpuArchitecture);

    QLabel* lblName() const { return m_lblName; }
    QLabel* lblDescription() const { return m_lblDescription; }
    QLabel* lblVersion() const { return m_lblVersion; }
    QLabel* lblSystem() const { return m_lblSystem; }
    QPushButton* cmdOK() const { return m_cmdOK; }

    void cmdOK_Click();

private:
    AppContext& m_context;
    QLabel* m_lblName = nullptr;
    QLabel* m_lblDescription = nullptr;
    QLabel* m_lblVersion = nullptr;
    QLabel* m_lblSystem = nullptr;
    QPushButton* m_cmdOK = nullptr;
};

} // namespace urbaflux
