#include "market/frmestagio.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "data/estado.h"
#include "market/abrir_mercado.h"
#include "market/estagio.h"
#include "platform/interface_utilizador.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

FrmEstagio::FrmEstagio() : Ecra(QStringLiteral("FrmEstagio")) {
    setFixedSize(420, 250);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(14, 10, 300, 24);
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(10, 40, 400, 140);
    QRadioButton** opcoes[] = {&Option1, &Option2, &Option3};
    QLabel** rotulos[] = {&Label2, &Label3, &Label4};
    for (int i = 0; i < 3; ++i) {
        *opcoes[i] = new QRadioButton(Frame1);
        (*opcoes[i])->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        (*opcoes[i])->setGeometry(12, 16 + 40 * i, 24, 24);
        *rotulos[i] = new QLabel(Frame1);
        (*rotulos[i])->setObjectName(QStringLiteral("Label%1").arg(i + 2));
        (*rotulos[i])->setGeometry(40, 16 + 40 * i, 350, 24);
    }
    Option3->setChecked(true);
    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(200, 200, 100, 34);
    Command2 = new QPushButton(QStringLiteral("&Cancelar"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(310, 200, 100, 34);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Unload(); });
}

int FrmEstagio::nivel() const {
    if (Option1->isChecked()) return 1;
    if (Option2->isChecked()) return 2;
    return 3;
}

void FrmEstagio::Form_Load() {
    Centrar_Form(*this);
    setWindowTitle(QString::fromUtf8(txt("Estágio", "Training")));
    Label1->setText(QString::fromUtf8(txt("Nível do Estágio", "Level of the Training")));
    if (ingles()) Command2->setText(QStringLiteral("&Cancel"));
    QLabel* rotulos[] = {Label2, Label3, Label4};
    for (int n = 1; n <= 3; ++n) {
        std::string preco;
        try {
            preco = std::to_string(Preco_Estagio(n));
        } catch (const db::Erro_BD&) {
            preco = "?";
        }
        const std::string ganho = std::to_string(Niveis_Estagio[static_cast<std::size_t>(n - 1)].ganho);
        rotulos[n - 1]->setText(QString::fromUtf8(
            (std::to_string(n) + (ingles() ? "º Level (+ " + ganho + " Pts) - Price: " : "º Nível (+ " + ganho + " Pts) - Custo: ") +
             preco)
                .c_str()));
    }
}

void FrmEstagio::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

void FrmEstagio::Command1_Click() {
    if (Marcar_Estagio(nivel()) != Resultado_Negocio::Feito) return;
    Refrescar_Secretaria();
    Unload();
}

} // namespace gv
