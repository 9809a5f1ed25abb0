#include "market/frmjogadores_equipas.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "data/erros.h"
#include "data/estado.h"
#include "market/lista_ecra.h"
#include "market/listas.h"
#include "platform/interface_utilizador.h"
#include "platform/qt/grelha.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

FrmJogadores_Equipas::FrmJogadores_Equipas() : Ecra(QStringLiteral("FrmJogadores_Equipas")) {
    setFixedSize(520, 520);
    setWindowTitle(QStringLiteral("Jogadores das outras Equipas"));
    Label1 = new QLabel(QStringLiteral("Equipas:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(10, 12, 70, 24);
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(80, 12, 260, 26);
    Combo1->installEventFilter(this);
    connect(Combo1, &QComboBox::activated, this, [this](int) { Combo1_Click(); });

    v1 = new Grelha(this, QStringLiteral("v1"));
    v1->setGeometry(10, 48, 500, 410);
    v1->set_MaxCols(5);
    const char* const cab[] = {"Pos.", "Nome", "Idade", "Força", "Golos"};
    const int larguras[] = {44, 200, 60, 60, 60};
    for (int c = 1; c <= 5; ++c) {
        v1->set_Text(c, 0, cab[c - 1]);
        v1->set_ColWidth(c, larguras[c - 1]);
    }
    for (int c = 3; c <= 5; ++c) v1->set_alinhamento(c, Qt::AlignRight | Qt::AlignVCenter);
    v1->alargar_coluna(2, v1->largura_nome());
    v1->tabela().installEventFilter(this);

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(400, 472, 110, 36);
    connect(Command1, &QPushButton::clicked, this, [this] { Unload(); });
    abrir_espaco(*v1, v1->largura_total());
}

void FrmJogadores_Equipas::Traduzir_Ingles() {
    setWindowTitle(QStringLiteral("Teams Players"));
    const char* const cab[] = {"Name", "Age", "Value", "Gols"};
    for (int c = 2; c <= 5; ++c) v1->set_Text(c, 0, cab[c - 2]);
}

void FrmJogadores_Equipas::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) {
        Traduzir_Ingles();
        Label1->setText(QStringLiteral("Teams:"));
    }
    try {
        for (const Clube_Divisao& c : Clubes_Por_Nome())
            Combo1->addItem(QString::fromStdString("(" + std::to_string(c.div) + ") " + c.clube),
                            QString::fromStdString(c.clube));
    } catch (const db::Erro_BD& e) {
        ui().aviso(Texto_Erro_Numerado(e), Icone::Critico);
    }
    // The club asked for is shown by its bare name until another is picked.
    Combo1->setCurrentIndex(-1);
    Combo1->setPlaceholderText(QString::fromStdString(Clube_Consulta));
    Preencher();
}

void FrmJogadores_Equipas::Form_Paint() { instancia<frmTiler>().TileForm(*this); }

bool FrmJogadores_Equipas::eventFilter(QObject* alvo, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress && (alvo == Combo1 || alvo == &v1->tabela())) return true;
    return Ecra::eventFilter(alvo, evento);
}

void FrmJogadores_Equipas::Combo1_Click() {
    if (Combo1->currentIndex() < 0) return;
    Clube_Consulta = Combo1->currentData().toString().toStdString();
    Preencher();
}

void FrmJogadores_Equipas::Preencher() {
    std::vector<Jogador_Listado> plantel;
    try {
        plantel = Plantel_Clube(Clube_Consulta);
    } catch (const db::Erro_BD& e) {
        ui().aviso(Texto_Erro_Numerado(e), Icone::Critico);
    }
    v1->Limpar();
    v1->set_MaxRows(static_cast<int>(plantel.size()));
    int r = 1;
    for (const Jogador_Listado& j : plantel) {
        v1->set_cor_linha(r, Cores_Mercado::Amarelo_Claro);
        v1->set_identidade(r, j.rowid);
        v1->set_Text(1, r, j.pos);
        v1->set_Text(2, r, j.nome);
        v1->set_Text(3, r, std::to_string(j.idade));
        v1->set_Text(4, r, std::to_string(j.forca));
        v1->set_Text(5, r, std::to_string(j.golos));
        ++r;
    }
}

} // namespace gv
