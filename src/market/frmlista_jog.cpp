#include "market/frmlista_jog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

#include "data/erros.h"
#include "data/estado.h"
#include "platform/interface_utilizador.h"
#include "platform/qt/controlos.h"
#include "platform/qt/grelha.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

FrmLista_Jog::FrmLista_Jog() : Ecra_Lista_Jogadores(QStringLiteral("FrmLista_Jog"), Lista_Origem::Todos) {
    setFixedSize(780, 560);
    setWindowTitle(QStringLiteral("Lista de Jogadores (Restantes Equipas)"));
    Label1 = rotulo(this, "Label1", "Divisão:", {10, 12, 70, 24});
    Label2 = rotulo(this, "Label2", "Posição:", {250, 12, 70, 24});
    Label3 = rotulo(this, "Label3", "Idade :", {450, 12, 60, 24});
    Combo1 = new QComboBox(this);
    Combo1->setGeometry(80, 12, 150, 26);
    Combo2 = new QComboBox(this);
    Combo2->setGeometry(320, 12, 100, 26);
    Combo3 = new QComboBox(this);
    Combo3->setGeometry(510, 12, 140, 26);
    int n = 1;
    for (QComboBox* c : {Combo1, Combo2, Combo3}) {
        c->setObjectName(QStringLiteral("Combo%1").arg(n));
        c->installEventFilter(this);
        connect(c, &QComboBox::activated, this, [this, n](int) { Refrescar(n); });
        ++n;
    }
    v1->setGeometry(10, 48, 760, 450);
    Command2->setGeometry(660, 512, 110, 36);
    acertar_colunas();
    connect(Command2, &QPushButton::clicked, this, [this] { Unload(); });
}

void FrmLista_Jog::Traduzir_Ingles() {
    setWindowTitle(QStringLiteral("All Players List"));
    Label1->setText(QStringLiteral("Division:"));
    Label2->setText(QStringLiteral("Position:"));
    Label3->setText(QStringLiteral("Age:"));
    cabecalhos_ingles();
}

void FrmLista_Jog::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) Traduzir_Ingles();
    for (int d = 1; d <= 3; ++d)
        Combo1->addItem(QString::fromUtf8((std::to_string(d) + txt("ª Divisão", "ª Division")).c_str()), d);
    for (const char* p : {"gk", "df", "md", "av"}) Combo2->addItem(QString::fromLatin1(p));
    for (const Faixa_Idade& f : Faixas_Idade) Combo3->addItem(QString::fromLatin1(f.texto));
    Combo1->setCurrentIndex(0);
    Combo2->setCurrentIndex(0);
    Combo3->setCurrentIndex(0);
    Refrescar(0);
}

void FrmLista_Jog::Refrescar(int filtro) {
    if (filtro != 0) ui().rato_ocupado();
    std::vector<Jogador_Listado> lista;
    try {
        lista = Jogadores_Lista(Combo1->currentData().toInt(), Combo2->currentText().toStdString(),
                                std::max(0, Combo3->currentIndex()));
    } catch (const db::Erro_BD& e) {
        ui().rato_normal();
        ui().aviso(Texto_Erro_Numerado(e), Icone::Critico);
        return;
    }
    ui().rato_normal();
    if (lista.empty()) {
        const char* en = filtro == 0   ? "There aren't player with that query."
                         : filtro == 1 ? "There aren't players with this query."
                                       : "There aren't players with that query.";
        ui().aviso(txt("Não existem Jogadores com esses Critérios.", en), Icone::Critico);
        // The first list with nobody in it is an empty grid; a refill keeps
        // the list it had.
        if (filtro == 0) mostrar({}, false);
        return;
    }
    mostrar(lista, false);
}

} // namespace gv
