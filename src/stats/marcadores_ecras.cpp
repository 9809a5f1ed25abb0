// Average strength by position, the season's scorers and the all-time scorers.

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "data/esquema.h"
#include "data/estado.h"
#include "startup/servicos_ecra_qt.h"
#include "stats/ecras_estatisticas.h"
#include "stats/estatisticas.h"

namespace gv {

using namespace Cores_Consulta;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// A list line that remembers its club, for the way to the squad.
void acrescentar(QListWidget& l, const std::string& linha, const std::string& clube) {
    auto* it = new QListWidgetItem(q(linha), &l);
    it->setData(Qt::UserRole, q(clube));
}

// The squad of the line's club, when the squads screen is there.
void ligar_plantel(QListWidget& l, bool duplo) {
    auto abrir = [](QListWidgetItem* it) {
        if (it) Mostrar_Plantel(it->data(Qt::UserRole).toString().toStdString());
    };
    if (duplo)
        QObject::connect(&l, &QListWidget::itemDoubleClicked, &l, abrir);
    else
        QObject::connect(&l, &QListWidget::itemClicked, &l, abrir);
}

const char* const Divisoes_PT[] = {"1ª Divisão", "2ª Divisão", "3ª Divisão"};
const char* const Divisoes_EN[] = {"1st Division", "2nd Division", "3rd Division"};

} // namespace

// ---------------------------------------------------------------- average strength

FrmMedia_Jog::FrmMedia_Jog() : Ecra_Consulta(QStringLiteral("FrmMedia_Jog")) {
    setFixedSize(480, 520);
    setWindowTitle(QStringLiteral("Valor Médio Jogadores"));
    Label2 = rotulo("Label2", QStringLiteral("Posição:"), {16, 14, 80, 24});
    Combo2 = combo("Combo2", {100, 12, 90, 26});
    for (const char* p : Codigos_Posicao) Combo2->addItem(QString::fromLatin1(p));
    connect(Combo2, &QComboBox::activated, this, [this](int) {
        List1->clear();
        try {
            preencher(Combo2->currentText().toStdString());
        } catch (const db::Erro_BD&) {
            // The list stays empty.
        }
    });
    List1 = lista_fixa(QStringLiteral("List1"), Amarelo, Azul);
    List1->setGeometry(16, 48, 448, 410);
    ligar_plantel(*List1, true);
    botao_ok({360, 470, 104, 34});
}

void FrmMedia_Jog::Form_Load() {
    Centrar_Form(*this);
    if (ingles()) {
        setWindowTitle(QStringLiteral("Players Average Value"));
        Label2->setText(QStringLiteral("Position:"));
    }
    Combo2->setCurrentIndex(0);
    preencher(Codigos_Posicao[0]);
}

void FrmMedia_Jog::preencher(const std::string& pos) {
    int k = 1;
    for (const auto& m : Medias_Posicao(pos)) acrescentar(*List1, Linha_Media(k++, m), m.clube);
}

// ---------------------------------------------------------------- season scorers

FrmGolos::FrmGolos() : Ecra_Consulta(QStringLiteral("FrmGolos")) {
    setFixedSize(560, 520);
    setWindowTitle(QStringLiteral("Melhores Marcadores "));
    s1 = new QTabWidget(this);
    s1->setObjectName(QStringLiteral("s1"));
    s1->setGeometry(16, 16, 528, 440);
    const QColor fundos[] = {Amarelo, Cinzento, Azul_Claro};
    for (int i = 0; i < 3; ++i) {
        List1[i] = lista_fixa(QStringLiteral("List1_%1").arg(i), fundos[i], Azul, s1);
        ligar_plantel(*List1[i], false);
        s1->addTab(List1[i], QString::fromUtf8(Divisoes_PT[i]));
    }
    botao_ok({440, 470, 104, 34});
}

void FrmGolos::Form_Load() {
    Centrar_Form(*this);
    for (int d = 1; d <= 3; ++d) {
        int n = 1;
        for (const auto& m : Melhores_Marcadores_Divisao(d)) acrescentar(*List1[d - 1], Linha_Marcador_Epoca(n++, m), m.equipa);
    }
    if (ingles()) {
        for (int i = 0; i < 3; ++i) s1->setTabText(i, QString::fromUtf8(Divisoes_EN[i]));
        setWindowTitle(QStringLiteral("Best Scorers"));
    }
    s1->setCurrentIndex(0);
}

// ---------------------------------------------------------------- all-time scorers

FrmGolos_Sempre::FrmGolos_Sempre() : Ecra_Consulta(QStringLiteral("FrmGolos_Sempre")) {
    setFixedSize(640, 560);
    setWindowTitle(QStringLiteral("Melhores Marcadores (Todos os Campeonatos)"));
    Combo1 = filtro_equipas(Label1, [this] { preencher(); });
    s1 = new QTabWidget(this);
    s1->setObjectName(QStringLiteral("s1"));
    s1->setGeometry(16, 48, 608, 450);
    const char* separadores[] = {"Jogadores a Jogar", "Jogadores Retirados", "Global"};
    for (int i = 0; i < 3; ++i) {
        List1[i] = lista_fixa(QStringLiteral("List1_%1").arg(i), Amarelo, Azul, s1);
        ligar_plantel(*List1[i], true);
        s1->addTab(List1[i], QString::fromUtf8(separadores[i]));
    }
    botao_ok({520, 512, 104, 34});
}

void FrmGolos_Sempre::Form_Load() {
    Centrar_Form(*this);
    try {
        if (ingles()) Label1->setText(QStringLiteral("Teams:"));
        Combo1->addItem(QString::fromUtf8(txt("Todos os Clubes", "All Teams")));
        Preencher_Combo_Clubes(*Combo1);
        Combo1->setCurrentIndex(0);
        preencher();
    } catch (const db::Erro_BD&) {
        // What was filled stays; nothing is reported.
    }
    if (ingles()) {
        s1->setTabText(2, QStringLiteral("Global"));
        s1->setTabText(1, QStringLiteral("Players Retired"));
        s1->setTabText(0, QStringLiteral("Players in the Champ."));
        setWindowTitle(QStringLiteral("Best Scorers (All Championships)"));
    }
    s1->setCurrentIndex(0);
}

void FrmGolos_Sempre::preencher() {
    // The first item (every club) carries no club.
    const std::string clube = Clube_Do_Item(*Combo1, Combo1->currentIndex());
    for (int k = 0; k < 3; ++k) {
        List1[k]->clear();
        for (const auto& m : Marcadores_Sempre(static_cast<Lista_Sempre>(k), clube))
            acrescentar(*List1[k], Linha_Marcador_Sempre(m), m.equipa);
    }
}

} // namespace gv
