#include "startup/frmentrada.h"

#include <QLabel>
#include <QPushButton>

#include "data/estado.h"
#include "startup/arranque.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

namespace {

QLabel* aviso(QWidget* pai, const char* nome, const QString& texto, int y) {
    auto* l = new QLabel(texto, pai);
    l->setObjectName(QString::fromLatin1(nome));
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignCenter);
    l->setStyleSheet(QStringLiteral(
        "QLabel { background: rgba(255, 255, 255, 215); color: rgb(0, 0, 96);"
        " border: 1px solid rgb(40, 90, 40); border-radius: 4px; padding: 6px; }"));
    l->setGeometry(24, y, 392, 62);
    return l;
}

} // namespace

Frmentrada::Frmentrada() : Ecra(QStringLiteral("Frmentrada")) {
    setWindowTitle(QStringLiteral("Golvantario"));
    setFixedSize(440, 230);

    Label1 = aviso(this, "Label1",
                   QStringLiteral("Novo Jogo e Continuar Jogo chegam em breve."), 22);
    Label2 = aviso(this, "Label2",
                   QStringLiteral("New Game and Load Game are coming soon."), 96);

    Command3 = new QPushButton(QStringLiteral("Sair/Exit"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(160, 176, 120, 32);
    connect(Command3, &QPushButton::clicked, this, [] { Terminar_Programa(); });
}

void Frmentrada::Form_Load() {
    Centrar_Form(*this);
    Lingua = "P";
}

void Frmentrada::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

} // namespace gv
