#include "market/frmestadio.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "data/clubes.h"
#include "data/erros.h"
#include "data/estado.h"
#include "market/comum.h"
#include "market/estadio.h"
#include "platform/interface_utilizador.h"
#include "platform/qt/controlos.h"
#include "platform/qt/caixa_imagem.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

FrmEstadio::FrmEstadio() : Ecra(QStringLiteral("FrmEstadio")) {
    setFixedSize(460, 240);
    Label1 = rotulo(this, "Label1", "0", {14, 16, 20, 20});
    pic1 = new CaixaImagem(this, QStringLiteral("pic1"));
    pic1->setGeometry(40, 12, 320, 30);
    Label2 = rotulo(this, "Label2", "100,000", {366, 16, 80, 20});
    Label6 = rotulo(this, "Label6", "", {14, 52, 430, 22});
    Label5 = rotulo(this, "Label5", " Lugares :", {14, 92, 140, 24});
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(160, 92, 120, 24);
    Text2->setMaxLength(9);
    Label3 = rotulo(this, "Label3", "Pagamento Total :", {14, 124, 140, 24});
    Label4 = rotulo(this, "Label4", "", {160, 124, 160, 24});
    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(230, 190, 100, 34);
    Command2 = new QPushButton(QStringLiteral("&Cancelar"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(340, 190, 100, 34);
    connect(Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Unload(); });
}

void FrmEstadio::Form_Load() {
    Centrar_Form(*this);
    long capacidade = 0;
    try {
        capacidade = Capacidade_Estadio(Clube_Treinador);
    } catch (const db::Erro_BD& e) {
        ui().aviso(Texto_Erro_Numerado(e), Icone::Critico);
    }
    const std::string manutencao = std::to_string(capacidade * Manutencao_Lugar);
    if (ingles()) {
        Label6->setText(QString::fromStdString("(Annual Maintenance : " + manutencao + ")"));
        Label5->setText(QString::fromUtf8("Nº of Seats: "));
        Label3->setText(QStringLiteral("Total Payment: "));
        Command2->setText(QStringLiteral("&Cancel"));
    } else {
        Label6->setText(QString::fromStdString("(A Manutenção Anual do Estádio é de : " + manutencao + ")"));
    }
    setWindowTitle(QString::fromUtf8(txt("Capacidade do Estádio", "Stadium Capacity")));
    Barra_Percentagem(*pic1, Fraccao_Estadio(capacidade), Texto_Estadio(capacidade));
}

void FrmEstadio::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

void FrmEstadio::Text2_Change() {
    Label4->setText(QString::number(static_cast<long long>(Val(Text2->text().toStdString())) * Preco_Lugar));
}

void FrmEstadio::Command1_Click() {
    if (Ampliar_Estadio(static_cast<long>(Val(Text2->text().toStdString()))) == Resultado_Negocio::Feito) Unload();
}

} // namespace gv
