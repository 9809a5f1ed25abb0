// Golvantario 99: the program's entry.

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "data/estado.h"
#include "platform/qt/ecra.h"
#include "startup/arranque.h"

namespace {

bool definida(const char* nome) {
    const char* v = std::getenv(nome);
    return v && *v;
}

} // namespace

int main(int argc, char* argv[]) {
    // Without a display Qt would abort with a message few people can act on.
    if (!definida("DISPLAY") && !definida("WAYLAND_DISPLAY") && !definida("QT_QPA_PLATFORM")) {
        std::fputs("Golvantario 99 needs a graphical display (X11 or Wayland). Set DISPLAY, "
                   "or run it under Xvfb: xvfb-run ./build/bin/golvantario\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    // Names the user's data folder of an installed game.
    QApplication::setApplicationName(QStringLiteral("golvantario99"));
    gv::Main();
    const int codigo = app.exec();
    gv::Ecra::libertar_todos();
    // The game file is closed while the program's libraries are all there.
    gv::Base_Dados.reset();
    return codigo;
}
