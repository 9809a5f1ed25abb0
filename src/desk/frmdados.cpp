#include "desk/frmdados.h"

#include <QLabel>
#include <QPushButton>

#include "data/estado.h"
#include "platform/texto.h"
#include "startup/arranque.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

FrmDados::FrmDados() : Ecra(QStringLiteral("FrmDados")) {
    setFixedSize(520, 220);
    const QString estilo = QStringLiteral(
        "QLabel { background: rgba(255, 255, 255, 225); color: rgb(0, 0, 96); border: 1px solid rgb(40, 90, 40);"
        " border-radius: 4px; padding: 6px; }");
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(20, 20, 480, 70);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setStyleSheet(estilo + QStringLiteral("QLabel { font-size: 13pt; font-weight: bold; }"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(20, 100, 480, 50);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);
    Label2->setStyleSheet(estilo);
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(190, 166, 140, 34);
    connect(Command1, &QPushButton::clicked, this, [] { Terminar_Programa(); });
}

void FrmDados::Form_Load() {
    setWindowTitle(QString::fromStdString(Clube_Treinador));
    Label1->setText(QString::fromStdString(Nome_Treinador + " - " + Clube_Treinador));
    const std::string epoca = std::to_string(Epoca_Actual) + "/" + std::to_string(Epoca_Actual + 1);
    Label2->setText(QString::fromStdString(
        std::string(txt("Época ", "Season ")) + epoca + "   " + txt("Jornada ", "Matchday ") +
        std::to_string(Jornada_Actual) + "\n" + Ficheiro_Jogo));
    Command1->setText(QString::fromUtf8(txt("Sair", "Exit")));
    Centrar_Form(*this);
}

void FrmDados::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

} // namespace gv
