#include "matchday/frmequipa_adv.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QPushButton>

#include "data/erros.h"
#include "data/estado.h"
#include "matchday/intervalo.h"
#include "platform/interface_utilizador.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

QFont Fonte_Lista_Fixa() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (QFontDatabase::families().contains(QStringLiteral("Fixedsys"))) f.setFamily(QStringLiteral("Fixedsys"));
    f.setFixedPitch(true);
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

FrmEquipa_Adv::FrmEquipa_Adv() : Ecra(QStringLiteral("FrmEquipa_Adv")) {
    setFixedSize(420, 330);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(16, 16, 388, 250);
    List1->setFont(Fonte_Lista_Fixa());

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(300, 280, 104, 34);
    connect(Command1, &QPushButton::clicked, this, [this] { Unload(); });
}

void FrmEquipa_Adv::Form_Load() {
    Centrar_Form(*this);
    setWindowTitle(QString::fromStdString(txt("Constituição da Equipa: ", "Players of the Team: ") + Adversario));
    try {
        Escolher_Equipa_Adversario(Adversario, Jogo_Em_Casa);
        int numero = 0;
        for (const auto& j : Titulares_Adversario(Adversario))
            List1->addItem(QString::fromStdString(Texto_Linha_Adversario(++numero, j)));
    } catch (const db::Erro_BD& e) {
        ui().aviso(Texto_Erro_Numerado(e), Icone::Exclamacao);
    }
}

void FrmEquipa_Adv::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

} // namespace gv
