#include "projectstate.h"

#include <QApplication>
#include <QMainWindow>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    auto state = std::make_unique<urbaflux::ProjectState>();
    urbaflux::applyDefaults(*state);
    QMainWindow window;
    window.setWindowTitle(state->run.programName);
    window.show();
    return app.exec();
}
