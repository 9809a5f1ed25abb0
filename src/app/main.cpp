// Golvantario 99: the program's entry.

#include <QApplication>

#include <cstdio>
#include <cstdlib>

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
    gv::Main();
    const int codigo = app.exec();
    gv::Ecra::libertar_todos();
    return codigo;
}
